#!/usr/bin/env bash
# Builds the release program (optimised, symbols stripped) and packs it with the
# user guide and the licence notices of every library linked in:
#   build/dist/Linkwright-<version>.zip
# The zip is the same bytes wherever and whenever one commit is packed: the program
# carries no link time, and every entry has the commit's time and the same modes,
# so anyone can rebuild a published zip and compare its SHA-256.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cache=${LINKWRIGHT_CACHE:-/var/cache/linkwright}
deps=$cache/deps
release=${1:-$here/build/release}
out=${2:-$here/build/dist}
version=$(sed -n 's/.*kOwnVersion\[\] = "\(.*\)";.*/\1/p' "$here/app/update_notice.cpp")
[ -n "$version" ] || { echo "dist: no version found" >&2; exit 1; }
name=Linkwright-$version

cmake -S "$here" -B "$release" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-i686.cmake" \
  -DCMAKE_BUILD_TYPE=Release "-DCMAKE_EXE_LINKER_FLAGS=-s -Wl,--no-insert-timestamp" >/dev/null
cmake --build "$release" --target linkwright -j "${JOBS:-$(nproc)}"

stage=$out/$name
rm -rf "$stage" "$out/$name.zip"
mkdir -p "$stage/licenses"
cp "$release/bin/linkwright.exe" "$stage/"
# Notepad wants a byte-order mark and CR LF line ends.
{ printf '\xEF\xBB\xBF'; sed 's/$/\r/' "$here/docs/使用说明.txt"; } >"$stage/使用说明.txt"

# One notice per library, from the sources and packages the program is built with.
src=$deps/src
cp /usr/share/doc/libz-mingw-w64-dev/copyright "$stage/licenses/zlib.txt"
cp "$src"/libpng1.6/src/LICENSE "$stage/licenses/libpng.txt"
cat "$src"/libjpeg-turbo/src/LICENSE.md "$src"/libjpeg-turbo/src/README.ijg >"$stage/licenses/libjpeg-turbo.txt"
sed -n '1,/\*\//p' "$deps/i686/include/qrcodegen.h" >"$stage/licenses/qrcodegen.txt"
cp "$deps/i686/share/doc/pcre2/LICENCE" "$stage/licenses/pcre2.txt"
cp /usr/share/doc/mingw-w64-common/copyright "$stage/licenses/mingw-w64-runtime.txt"
cp /usr/share/doc/gcc-mingw-w64-base/copyright "$stage/licenses/gcc-runtime-libraries.txt"
for f in "$stage"/licenses/*.txt; do sed -i 's/\r\?$/\r/' "$f"; done

# The entries' time: the commit's (SOURCE_DATE_EPOCH when given), else the zip
# format's first day.
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$here" log -1 --format=%ct 2>/dev/null || echo 315532800)}

# Python's zip writer flags names that are not ASCII as UTF-8, which is how Windows
# reads the guide's name (Info-ZIP's zip leaves the flag off).
(cd "$out" && python3 - "$name" "$epoch" <<'PY'
import os, sys, time, zipfile
top, epoch = sys.argv[1], max(int(sys.argv[2]), 315532800)
stamp = time.gmtime(epoch)[:6]
with zipfile.ZipFile(top + ".zip", "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
    for folder, dirs, files in os.walk(top):
        dirs.sort()
        for f in sorted(files):
            path = os.path.join(folder, f)
            entry = zipfile.ZipInfo(path, stamp)
            entry.external_attr = (0o100755 if f.endswith(".exe") else 0o100644) << 16
            entry.create_system = 3
            entry.compress_type = zipfile.ZIP_DEFLATED
            with open(path, "rb") as data:
                z.writestr(entry, data.read(), compresslevel=9)
PY
)
echo "dist: $out/$name.zip ($(stat -c %s "$out/$name.zip") bytes)"
