#!/usr/bin/env bash
# Checks the release zip as a user gets it: the files it holds, the guide readable
# by Notepad, a notice per library, a stripped program, and that the program starts
# under Wine and shows its start window (a screenshot is kept in `artifacts`).
set -uo pipefail
zip=$1 artifacts=$2
fail() { echo "dist check: $*" >&2; exit 1; }
[ -f "$zip" ] || fail "expected $zip (made by make dist)"
name=$(basename "$zip" .zip)

expected=$(printf '%s\n' linkwright.exe 使用说明.txt licenses/zlib.txt licenses/libpng.txt \
  licenses/libjpeg-turbo.txt licenses/qrcodegen.txt licenses/pcre2.txt licenses/mingw-w64-runtime.txt \
  licenses/gcc-runtime-libraries.txt | sed "s|^|$name/|" | sort)
got=$(unzip -Z1 "$zip" | grep -v '/$' | sort)
[ "$expected" = "$got" ] || fail "expected the files
$expected
got
$got"

python3 - "$zip" <<'PY' || fail "expected names that are not ASCII flagged as UTF-8"
import sys, zipfile
sys.exit(any(not i.filename.isascii() and not i.flag_bits & 0x800 for i in zipfile.ZipFile(sys.argv[1]).infolist()))
PY

tmp=$(mktemp -d)
pid=
cleanup() { [ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$tmp"; }
trap cleanup EXIT
unzip -q "$zip" -d "$tmp" || fail "the zip does not unpack"
dir=$tmp/$name
[ "$(head -c 3 "$dir/使用说明.txt" | od -An -tx1 | tr -d ' ')" = efbbbf ] || fail "expected a byte-order mark on the guide"
iconv -f UTF-8 -t UTF-8 "$dir/使用说明.txt" >/dev/null || fail "expected the guide in UTF-8"
grep -q '显示二维码' "$dir/使用说明.txt" || fail "expected the guide to name the buttons"
# Each notice is the one of its library.
while read -r file marker; do
  grep -qi "$marker" "$dir/licenses/$file" || fail "expected $file to mention $marker"
done <<'NOTICES'
zlib.txt Jean-loup Gailly
libpng.txt PNG Reference Library
libjpeg-turbo.txt Independent JPEG Group
qrcodegen.txt Project Nayuki
pcre2.txt PCRE2 LICENCE
pcre2.txt STACK-LESS JUST-IN-TIME COMPILER
mingw-w64-runtime.txt mingw-w64
gcc-runtime-libraries.txt GCC RUNTIME LIBRARY EXCEPTION
NOTICES
# Read whole before they are searched: a search that stops at its first match would
# cut the reader off, and the pipe's failure would count as the search's.
sections=$(i686-w64-mingw32-objdump -h "$dir/linkwright.exe")
headers=$(i686-w64-mingw32-objdump -p "$dir/linkwright.exe")
grep -q '\.debug' <<<"$sections" && fail "expected no debugging sections"
# Nothing of the moment it was built: no link time, one time for every entry.
grep -q '^Time/Date[[:space:]]*Thu Jan  1 00:00:00 1970' <<<"$headers" || fail "expected no link time in the program"
[ "$(unzip -Z -T "$zip" | awk '/^-/ {print $(NF-1)}' | sort -u | wc -l)" = 1 ] ||
  fail "expected one time on every entry"
[ -z "$(i686-w64-mingw32-nm "$dir/linkwright.exe" 2>/dev/null)" ] || fail "expected the symbols stripped"

# The program, started from the unpacked folder, shows its start window.
(cd "$dir" && exec wine linkwright.exe) >/dev/null 2>&1 &
pid=$!
shown=
for _ in $(seq 120); do
  if xwininfo -root -tree 2>/dev/null | grep -q '"Linkwright"'; then shown=1; break; fi
  sleep 0.5
done
[ -n "$shown" ] || fail "expected the start window of the released program"
sleep 1
mkdir -p "$artifacts"
import -window root "$artifacts/dist_start_window.png" 2>/dev/null || true
kill -0 "$pid" 2>/dev/null || fail "expected the program still running"
echo "dist check: $(unzip -Z1 "$zip" | grep -vc '/$') files, $(stat -c %s "$zip") bytes, start window shown"
