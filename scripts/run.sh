#!/usr/bin/env bash
# Starts the program under Wine. Without a display it runs in a virtual one, saves a
# screenshot of the screen once the window is up and says where it is.
set -uo pipefail
exe=$1
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/scripts/wine-env.sh"
if [ -n "${DISPLAY:-}" ]; then
  exec wine "$exe"
fi
shot=$here/build/screenshot.png
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  wine "$1" & pid=$!
  for i in $(seq 1 40); do sleep 0.5; xwininfo -root -children 2>/dev/null | grep -q "\"" && break; done
  sleep 2
  import -window root "$2" 2>/dev/null || xwd -root -silent | convert xwd:- "$2"
  kill $pid 2>/dev/null; wineserver -k 2>/dev/null; true' _ "$exe" "$shot"
echo "no display: the program ran in a virtual display; screenshot saved to $shot"
