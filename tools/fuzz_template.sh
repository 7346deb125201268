#!/usr/bin/env bash
# Builds the libFuzzer program for the window template reader and the property
# block decoders with AddressSanitizer and UndefinedBehaviorSanitizer, and runs it
# for a bounded time. Seeds: the program's own section and a few cuts of it.
# Crashing inputs are kept under <build>/crashes/; add each as a regression test.
#   tools/fuzz_template.sh [seconds, default 60] [build dir, default build/fuzz-template]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
out=${2:-$here/build/fuzz-template}
mkdir -p "$out"
command -v clang++ >/dev/null || { echo "fuzz_template.sh: clang++ is needed for libFuzzer" >&2; exit 2; }

sources=(runtime/core/values/byte_reader.cpp runtime/ui/properties/template_format.cpp runtime/ui/properties/unit_properties.cpp)
charset=(-finput-charset=UTF-8 -fexec-charset=GBK)
# clang takes only UTF-8 execution texts; the kinds' names then stay UTF-8, which
# the reader never looks at.
clang++ -std=c++17 -fsyntax-only -fexec-charset=GBK -x c++ /dev/null 2>/dev/null || charset=()
flags=(-std=c++17 -O1 -g -fno-omit-frame-pointer -fsanitize=fuzzer,address,undefined
       -fno-sanitize-recover=undefined "${charset[@]}" -I"$here")

bin=$out/fuzz_template
clang++ "${flags[@]}" "$here/tools/fuzz/fuzz_template.cpp" "${sources[@]/#/$here/}" -o "$bin"

# Seeds: the section as the build writes it, whole and cut.
seeds=$out/seeds
rm -rf "$seeds"
mkdir -p "$seeds"
c++ -std=c++17 -O1 -finput-charset=UTF-8 -fexec-charset=GBK -I"$here" "$here/tools/window_section_tool.cpp" \
  "$here/app/window_definition.cpp" "${sources[@]/#/$here/}" -o "$out/window_section_tool"
"$out/window_section_tool" "$out/window_section_data.h" "$seeds/section.bin"
for n in 20 400 1000 2000; do head -c "$n" "$seeds/section.bin" >"$seeds/cut$n.bin"; done

corpus=$out/corpus crashes=$out/crashes
mkdir -p "$corpus" "$crashes"
log=$out/fuzz_template.log
status=0
"$bin" "$corpus" "$seeds" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=16384 \
  -print_final_stats=1 -artifact_prefix="$crashes/" >"$log" 2>&1 || status=$?
runs=$(grep -o 'Done [0-9]* runs' "$log" | grep -o '[0-9]*' || echo "?")
found=$(find "$crashes" -type f | wc -l)
[ "$status" = 0 ] || tail -n 40 "$log"
echo "template reader: $runs runs in $seconds s, exit $status, $found crashing inputs kept"
exit "$status"
