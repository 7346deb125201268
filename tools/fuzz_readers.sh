#!/usr/bin/env bash
# Builds a libFuzzer program for each reader of outside bytes that is not a picture
# decoder of its own (address and header routines, cookie merging, response
# headers, the notice reader, the feed span and QQ number) and for the whole picture
# dispatch with PNG and JPEG, with AddressSanitizer and UndefinedBehaviorSanitizer,
# and runs each for a number of runs or a time, whichever ends first. Crashing inputs
# are kept under <build>/crashes/<entry>/; add each as a regression test.
#   tools/fuzz_readers.sh [runs per entry, default 1000000] [seconds per entry, default 600]
#                         [build dir, default build/fuzz-readers] [entry...]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-1000000}
seconds=${2:-600}
out=${3:-$here/build/fuzz-readers}
shift $(( $# < 3 ? $# : 3 ))
entries=("$@")
[ ${#entries[@]} -gt 0 ] || entries=(address cookies response_headers notice feed picture)
mkdir -p "$out"
command -v clang++ >/dev/null || { echo "fuzz_readers.sh: clang++ is needed for libFuzzer" >&2; exit 2; }

# The readers and what they stand on, instrumented once. clang takes only UTF-8 execution texts, so
# the program's own texts stay UTF-8 here; the readers treat them as bytes alike.
flags=(-std=c++17 -O1 -g -fno-omit-frame-pointer -fsanitize=address,undefined -fno-sanitize-recover=undefined
       -finput-charset=UTF-8 -I"$here" -DLINKWRIGHT_SHARE_HOST='"share.test"' -DLINKWRIGHT_FEED_HOST='"feed.test"'
       -DLINKWRIGHT_QR_HOST='"qr.test"' -DLINKWRIGHT_NOTICE_URL='"http://notice.test/n.txt"')
objects=()
sources=(web/address.cpp web/cookies.cpp app/update_notice.cpp app/feed_list.cpp app/endpoints.cpp
         app/text_between.cpp runtime/core/text_commands.cpp runtime/core/values.cpp runtime/core/memory.cpp
         runtime/core/runtime_error.cpp tests/support/codepage_native.cpp
         runtime/ui/picture_decode.cpp runtime/ui/picture_bmp.cpp runtime/ui/picture_ico.cpp runtime/ui/picture_gif.cpp
         runtime/ui/picture_pcx.cpp runtime/ui/picture_png.cpp runtime/ui/picture_jpeg.cpp)
for src in "${sources[@]}"; do
  obj=$out/obj/${src//\//_}.o
  mkdir -p "$out/obj"
  if [ ! -f "$obj" ] || [ "$here/$src" -nt "$obj" ]; then
    clang++ "${flags[@]}" -fsanitize=fuzzer-no-link -c "$here/$src" -o "$obj"
  fi
  objects+=("$obj")
done

# Seeds: a few ordinary inputs of each kind.
seeds=$out/seeds
rm -rf "$seeds"
mkdir -p "$seeds"/{address,cookies,response_headers,notice,feed,picture}
printf 'http://user.qzone.qq.com:8080/12345/blog/678?x=1\0User-Agent: a\r\nAccept: */*\0p:3128\0a=1; b=2\0\x35' \
  >"$seeds/address/1"
printf 'HTTPS://Host/Path\0\0\0\0\x02' >"$seeds/address/2"
printf 'a=1; b=2; c=deleted\0b=3; d=4' >"$seeds/cookies/1"
printf 'HTTP/1.1 200 OK\r\nset-cookie: a=1; path=/\r\nSet-Cookie: b=2\r\nContent-Length: 0\r\n\r\n' \
  >"$seeds/response_headers/1"
printf '<p>\xe7\x89\x88\xe6\x9c\xac\xef\xbc\x9a 3.2 #</p>\r\n<p>\xe4\xb8\x8b\xe8\xbd\xbd\xe5\x9c\xb0\xe5\x9d\x80\xef\xbc\x9aHTTP://x/lw.zip#</p>' \
  >"$seeds/notice/1"
printf '/link>\0<item><title><![CDATA[a]]></title><link>x/blog/1</link></item>' >"$seeds/feed/1"
printf '/link>\0 \xa3\xb1\xa3\xb2345\xa1\xa1' >"$seeds/feed/2"
cp "$here"/tests/data/pictures/*.{bmp,gif,ico,jpg,pcx,png} "$seeds/picture/"

summary=()
for entry in "${entries[@]}"; do
  bin=$out/fuzz_$entry
  clang++ "${flags[@]}" -fsanitize=fuzzer "$here/tools/fuzz/fuzz_$entry.cpp" "${objects[@]}" -lpng -ljpeg -lz -o "$bin"
  corpus=$out/corpus/$entry crashes=$out/crashes/$entry
  mkdir -p "$corpus" "$crashes"
  log=$out/fuzz_$entry.log
  echo "== $entry: $runs runs or $seconds s"
  status=0
  "$bin" "$corpus" "$seeds/$entry" -runs="$runs" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len=65536 -print_final_stats=1 -artifact_prefix="$crashes/" >"$log" 2>&1 || status=$?
  done_runs=$(grep -o 'Done [0-9]* runs' "$log" | grep -o '[0-9]*' || echo "?")
  found=$(find "$crashes" -type f | wc -l)
  summary+=("$entry: $done_runs runs, exit $status, $found crashing inputs kept")
  [ "$status" = 0 ] || tail -n 40 "$log"
done
printf '%s\n' "${summary[@]}"
