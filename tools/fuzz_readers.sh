#!/usr/bin/env bash
# Builds a libFuzzer program for each reader of outside bytes that is not a picture
# decoder of its own (address and header routines, cookie merging, response
# headers, the notice reader, the feed span and QQ number, the regex object's PCRE2
# matcher) and for the whole picture
# dispatch with PNG and JPEG, with AddressSanitizer and UndefinedBehaviorSanitizer,
# and runs each for a number of runs or a time, whichever ends first. Crashing inputs
# are kept under <build>/crashes/<entry>/; add each as a regression test.
#   tools/fuzz_readers.sh [runs per entry, default 1000000] [seconds per entry, default 600]
#                         [build dir, default build/fuzz-readers] [entry...]
# FUZZ_JOBS=N shares each entry's runs among N processes on one corpus (libFuzzer's
# jobs), one per core; their runs are added up.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-1000000}
seconds=${2:-600}
out=${3:-$here/build/fuzz-readers}
shift $(( $# < 3 ? $# : 3 ))
entries=("$@")
[ ${#entries[@]} -gt 0 ] || entries=(address cookies response_headers notice feed regex picture)
mkdir -p "$out"
out=$(cd "$out" && pwd)  # jobs start in a folder of their own
command -v clang++ >/dev/null || { echo "fuzz_readers.sh: clang++ is needed for libFuzzer" >&2; exit 2; }

# The readers and what they stand on, instrumented once. clang takes only UTF-8 execution texts, so
# the program's own texts stay UTF-8 here; the readers treat them as bytes alike.
flags=(-std=c++17 -O1 -g -fno-omit-frame-pointer -fsanitize=address,undefined -fno-sanitize-recover=undefined
       -finput-charset=UTF-8 -I"$here" -DLINKWRIGHT_SHARE_HOST='"share.test"' -DLINKWRIGHT_FEED_HOST='"feed.test"'
       -DLINKWRIGHT_QR_HOST='"qr.test"' -DLINKWRIGHT_NOTICE_URL='"http://notice.test/n.txt"'
       -DPCRE2_CODE_UNIT_WIDTH=16)
objects=()
sources=(web/address.cpp web/cookies.cpp app/update_notice.cpp app/feed_list.cpp app/endpoints.cpp
         runtime/core/text/text_strings.cpp runtime/core/text/text_commands.cpp runtime/core/values/values.cpp runtime/core/values/memory.cpp
         runtime/core/values/runtime_error.cpp tests/support/codepage_native.cpp regex/pattern_syntax.cpp regex/pcre_matcher.cpp
         runtime/picture/decode.cpp runtime/picture/bmp.cpp runtime/picture/ico.cpp runtime/picture/gif.cpp
         runtime/picture/pcx.cpp runtime/picture/png.cpp runtime/picture/jpeg.cpp runtime/core/values/byte_reader.cpp)
for src in "${sources[@]}"; do
  obj=$out/obj/${src//\//_}.o
  mkdir -p "$out/obj"
  if [ ! -f "$obj" ] || [ "$here/$src" -nt "$obj" ] || [ "$here/tools/fuzz/coverage_ignore.txt" -nt "$obj" ]; then
    clang++ "${flags[@]}" -fsanitize=fuzzer-no-link -fsanitize-coverage-ignorelist="$here/tools/fuzz/coverage_ignore.txt" \
      -c "$here/$src" -o "$obj"
  fi
  objects+=("$obj")
done

# Seeds: the ones the native build replays through each entry.
seeds=$out/seeds
rm -rf "$seeds"
mkdir -p "$seeds/picture"
cp -r "$here"/tests/data/fuzz/{address,cookies,response_headers,notice,feed,regex} "$seeds/"
cp "$here"/tests/data/pictures/*.{bmp,gif,ico,jpg,pcx,png} "$here"/tests/data/fuzz/picture/* "$seeds/picture/"

summary=()
for entry in "${entries[@]}"; do
  bin=$out/fuzz_$entry
  clang++ "${flags[@]}" -fsanitize=fuzzer "$here/tools/fuzz/fuzz_$entry.cpp" "${objects[@]}" -lpng -ljpeg -lz -lpcre2-16 -o "$bin"
  corpus=$out/corpus/$entry crashes=$out/crashes/$entry
  mkdir -p "$corpus" "$crashes"
  log=$out/fuzz_$entry.log
  # Texts longer than 1 KiB find nothing that shorter ones do not, and slow each run.
  max_len=1024
  [ "$entry" = picture ] && max_len=65536
  jobs=${FUZZ_JOBS:-1}
  echo "== $entry: $runs runs or $seconds s, in $jobs process(es)"
  status=0
  common=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len="$max_len" -print_final_stats=1
          -artifact_prefix="$crashes/")
  if [ "$jobs" -gt 1 ]; then
    # Each job logs to fuzz-<n>.log in the folder it starts in; the launcher copies
    # a job's log into its own output when the job ends.
    rm -rf "$out/jobs/$entry" && mkdir -p "$out/jobs/$entry"
    (cd "$out/jobs/$entry" && "$bin" "$corpus" "$seeds/$entry" -jobs="$jobs" -workers="$jobs" \
      -runs=$(( (runs + jobs - 1) / jobs )) "${common[@]}") >"$log" 2>&1 || status=$?
  else
    "$bin" "$corpus" "$seeds/$entry" -runs="$runs" "${common[@]}" >"$log" 2>&1 || status=$?
  fi
  done_runs=$(grep -o 'number_of_executed_units: [0-9]*' "$log" | awk '{s += $2} END {print s + 0}')
  found=$(find "$crashes" -type f | wc -l)
  summary+=("$entry: $done_runs runs, exit $status, $found crashing inputs kept")
  [ "$status" = 0 ] || tail -n 40 "$log"
done
printf '%s\n' "${summary[@]}"
