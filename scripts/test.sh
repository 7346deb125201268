#!/usr/bin/env bash
# Runs the native sanitizer tests, then the Windows tests under Wine in a virtual display.
set -uo pipefail
native=$1 win=$2
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/scripts/wine-env.sh"
status=0
echo "== native tests (address and undefined-behaviour sanitizers)"
ctest --test-dir "$native" --output-on-failure --timeout 300 -j "$(nproc)" || status=1
echo "== Windows tests under Wine"
xvfb-run -a -s "-screen 0 1280x1024x24" \
  ctest --test-dir "$win" --output-on-failure --timeout 300 || status=1
exit $status
