#!/usr/bin/env bash
# Builds a libFuzzer program for each of our own picture decoders (BMP, icon and
# cursor, GIF, PCX) with AddressSanitizer and UndefinedBehaviorSanitizer, and runs
# each for a bounded time. Seeds are the sample pictures plus a few more made with
# ImageMagick when it is there. Crashing inputs are kept under
# <build>/crashes/<decoder>/; add each as a regression test.
#   tools/fuzz_pictures.sh [seconds per decoder, default 60] [build dir, default build/fuzz-pics]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
out=${2:-$here/build/fuzz-pics}
mkdir -p "$out"

sources=(runtime/picture/decode.cpp runtime/picture/bmp.cpp runtime/picture/ico.cpp
         runtime/picture/gif.cpp runtime/picture/pcx.cpp runtime/picture/png.cpp
         runtime/picture/jpeg.cpp runtime/core/values/memory.cpp runtime/core/values/runtime_error.cpp runtime/core/values/byte_reader.cpp)
flags=(-std=c++17 -O1 -g -fno-omit-frame-pointer -fsanitize=fuzzer,address,undefined
       -fno-sanitize-recover=undefined -I"$here")

# The decoders once, then one program per entry.
objects=()
for src in "${sources[@]}"; do
  obj=$out/$(basename "${src%.cpp}").o
  clang++ "${flags[@]/-fsanitize=fuzzer,/-fsanitize=fuzzer-no-link,}" -c "$here/$src" -o "$obj"
  objects+=("$obj")
done

# Seeds: the samples of each format, and more variants when ImageMagick is here.
seeds=$out/seeds
rm -rf "$seeds"
mkdir -p "$seeds"/{bmp,icon,gif,pcx}
cp "$here"/tests/data/pictures/*.bmp "$seeds/bmp/"
cp "$here"/tests/data/pictures/*.ico "$seeds/icon/"
cp "$here"/tests/data/pictures/*.gif "$seeds/gif/"
cp "$here"/tests/data/pictures/*.pcx "$seeds/pcx/"
if [ -x /usr/bin/convert ]; then
  im=/usr/bin/convert
  pattern=(-size 20x13 gradient:red-blue -fill lime -draw "rectangle 3,2 9,7")
  $im "${pattern[@]}" -colors 2 -type Palette BMP3:"$seeds/bmp/p1.bmp"
  $im "${pattern[@]}" -colors 16 -type Palette BMP3:"$seeds/bmp/p4.bmp"
  $im "${pattern[@]}" -colors 200 -type Palette BMP3:"$seeds/bmp/p8.bmp"
  $im "${pattern[@]}" -alpha on -type TrueColorAlpha BMP3:"$seeds/bmp/p32.bmp"
  $im "${pattern[@]}" -colors 16 -define icon:auto-resize=32,16 "$seeds/icon/p.ico"
  $im "${pattern[@]}" -resize 32x32! "$seeds/icon/p.cur"
  $im "${pattern[@]}" -interlace GIF "$seeds/gif/p.gif"
  $im "${pattern[@]}" -monochrome "$seeds/pcx/mono.pcx"
  $im "${pattern[@]}" -colors 50 -type Palette "$seeds/pcx/p8.pcx"
fi

summary=()
for decoder in bmp icon gif pcx; do
  bin=$out/fuzz_$decoder
  clang++ "${flags[@]}" "$here/tools/fuzz/fuzz_$decoder.cpp" "${objects[@]}" -lpng -ljpeg -lz -o "$bin"
  corpus=$out/corpus/$decoder crashes=$out/crashes/$decoder
  mkdir -p "$corpus" "$crashes"
  log=$out/fuzz_$decoder.log
  echo "== $decoder: $seconds s"
  status=0
  "$bin" "$corpus" "$seeds/$decoder" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len=65536 -print_final_stats=1 -artifact_prefix="$crashes/" >"$log" 2>&1 || status=$?
  runs=$(grep -o 'Done [0-9]* runs' "$log" | grep -o '[0-9]*' || echo "?")
  found=$(find "$crashes" -type f | wc -l)
  summary+=("$decoder: $runs runs, exit $status, $found crashing inputs kept")
  [ "$status" = 0 ] || tail -n 40 "$log"
done
printf '%s\n' "${summary[@]}"
