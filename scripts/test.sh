#!/usr/bin/env bash
# Runs the native sanitizer tests, then the Windows tests under Wine in a virtual
# display: every test under code page 936, then the tests that depend on the system's
# code page again under each row of scripts/settings.table, each in its own prefix (the
# default one for a row at zh_CN.UTF-8 and 96 DPI).
# Any failure fails the run.
set -uo pipefail
native=$1 win=$2
here=$(cd "$(dirname "$0")/.." && pwd)
status=0
echo "== native tests (address and undefined-behaviour sanitizers)"
ctest --test-dir "$native" --output-on-failure --timeout 300 -j "$(nproc)" || status=1

# The Windows tests under one setting: locale, display scale, the code page the run
# expects, the tests (all when none are named), the Wine DLL overrides added to the
# usual ones (- for none) and the regex engine the tests expect (component when none
# is named).
windows_tests() {
  local locale=$1 dpi=$2 codepage=$3 tests=${4:-} dlls=${5:--} engine=${6:-component} start=$SECONDS
  [ "$dlls" != - ] || dlls=
  echo "== Windows tests under Wine: $locale, $dpi DPI, code page $codepage${tests:+, tests $tests}${dlls:+, DLL overrides $dlls}, regex engine $engine"
  (
    [ "$locale $dpi" = "zh_CN.UTF-8 96" ] || unset WINEPREFIX
    export LINKWRIGHT_LOCALE=$locale LINKWRIGHT_DPI=$dpi LINKWRIGHT_EXPECT_ACP=$codepage
    export LINKWRIGHT_EXPECT_REGEX_ENGINE=$engine
    . "$here/scripts/wine-env.sh"
    [ -f "$WINEPREFIX/system.reg" ] || bash "$here/scripts/wine-prefix.sh" </dev/null
    # Only once the prefix is there: a prefix made with a library turned off would
    # lack it for every other setting too.
    [ -z "$dlls" ] || export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;$dlls"
    xvfb-run -a -s "-screen 0 1280x1024x24" \
      ctest --test-dir "$win" --output-on-failure --timeout 300 ${tests:+-R "$tests"}
  ) || status=1
  echo "== took $((SECONDS - start)) s"
}
rm -f "$win"/artifacts/wire-cp*.txt "$win"/artifacts/qr_taken_away.txt "$win"/artifacts/cp*/qr_taken_away.txt
windows_tests zh_CN.UTF-8 96 936
while read -r locale dpi codepage tests dlls engine; do
  windows_tests "$locale" "$dpi" "$codepage" "$tests" "$dlls" "$engine" </dev/null
done < <(awk '!/^#/ && NF' "$here/scripts/settings.table")

# The QR pictures the Windows runs copied and saved, read by the native build's QR reader.
echo "== the QR pictures taken away from the QR window, read back by a QR reader"
LINKWRIGHT_QR_ARTIFACTS="$(cd "$win" && pwd)/artifacts" ctest --test-dir "$native" --output-on-failure -R '^QrWindowArtifacts\.' || status=1

# What the program sent over the wire does not depend on the system's code page.
wire=$win/artifacts
for file in "$wire"/wire-cp*.txt; do
  [ -f "$file" ] && [ "$file" != "$wire/wire-cp936.txt" ] || continue
  if cmp -s "$wire/wire-cp936.txt" "$file"; then
    echo "== the requests under $(basename "$file" .txt) are those under code page 936, byte for byte"
  else
    echo "== the requests in $file differ from those in $wire/wire-cp936.txt"
    status=1
  fi
done
exit $status
