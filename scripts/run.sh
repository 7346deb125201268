#!/usr/bin/env bash
# Starts the program under Wine, under the setting LINKWRIGHT_LOCALE and
# LINKWRIGHT_DPI pick (see wine-env.sh). Without a display it runs in a virtual one,
# saves a screenshot of the screen once the window is up (to the second argument,
# build/screenshot.png when there is none) and says where it is.
set -uo pipefail
exe=$1
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/scripts/wine-env.sh"
[ -f "$WINEPREFIX/system.reg" ] || bash "$here/scripts/wine-prefix.sh" </dev/null || exit 1
if [ -n "${DISPLAY:-}" ]; then
  exec wine "$exe"
fi
shot=${2:-$here/build/screenshot.png}
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  wine "$1" & pid=$!
  for i in $(seq 1 40); do sleep 0.5; xwininfo -root -children 2>/dev/null | grep -q "\"" && break; done
  sleep 2
  import -window root "$2" 2>/dev/null || xwd -root -silent | convert xwd:- "$2"
  kill $pid 2>/dev/null; wineserver -k 2>/dev/null; true' _ "$exe" "$shot"
echo "no display: the program ran in a virtual display ($LINKWRIGHT_LOCALE, $LINKWRIGHT_DPI DPI); screenshot saved to $shot"
