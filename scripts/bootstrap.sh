#!/usr/bin/env bash
# Installs everything the build and the tests need on a Debian 12 machine, as root.
# Idempotent: each step checks what is already there and skips it.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
cache=${LINKWRIGHT_CACHE:-/var/cache/linkwright}
deps=$cache/deps

log() { printf 'bootstrap: %s\n' "$*"; }
# Each step says what it starts and, when the next one starts or all is done, how
# long it took, so a first run shows progress rather than a silent wait.
step_name= step_start=$SECONDS
finish() { [ -z "$step_name" ] || log "$step_name: done in $((SECONDS - step_start)) s"; step_name=; }
step() { finish; step_name=$*; step_start=$SECONDS; log "$*..."; }
as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

packages=(
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
  wine wine32:i386 fonts-wine xvfb xauth x11-apps x11-utils imagemagick locales fonts-wqy-microhei
  cmake make ninja-build googletest libz-mingw-w64-dev nasm dpkg-dev curl
  g++ python3 clang libclang-rt-14-dev libpng-dev libjpeg62-turbo-dev zlib1g-dev
  libqrcodegen-dev libzbar-dev pkg-config unzip libpcre2-dev
)

# The archive's mirrors are now and then caught mid-sync: an index of the wrong size,
# a hash that does not match. Such a failure mostly passes within minutes, so apt is
# asked again a few times, waiting longer each time. An update that still fails is not
# fatal by itself: apt goes on with the lists it has, and the install that follows
# says if they lack a package.
APT_RETRIES=-oAcquire::Retries=3
apt_updated=0
apt_update() {
  [ $apt_updated = 1 ] && return
  local try errors=$cache/apt-update.err
  mkdir -p "$cache"
  for try in 1 2 3; do
    if as_root apt-get "$APT_RETRIES" update -qq 2>"$errors"; then apt_updated=1; return; fi
    cat "$errors" >&2
    log "the package lists could not all be read (try $try of 3)" >&2
    [ $try = 3 ] || sleep $((try * 20))
  done
  take_unmatched_indexes "$errors"
  apt_updated=1
}
# A mirror stuck with an index that no longer matches its signed release file leaves
# a fresh machine with no list for that part of the archive at all, where apt would
# otherwise keep an older one. Without it, the 32-bit twins of the system's libraries
# cannot be had at the versions the 64-bit ones have, and the install fails. So such
# an index is taken as the mirror serves it, in place of the older list apt would
# use: the packages are still checked against the hashes it names. An index apt
# already has a list for is left to apt.
take_unmatched_indexes() {
  local url lists=/var/lib/apt/lists name helper=/usr/lib/apt/apt-helper
  for url in $(sed -n 's/^E: Failed to fetch \(http[^ ]*\/Packages\.xz\) .*/\1/p' "$1" | sort -u); do
    name=${url#http://}; name=${name%.xz}; name=${name//\//_}
    if ls "$lists/$name"* >/dev/null 2>&1; then continue; fi
    # apt's own helper fetches and unpacks it: a fresh machine may have neither curl nor xz.
    if as_root "$helper" -o APT::Sandbox::User=root download-file "$url" "$cache/index.xz" >/dev/null &&
       "$helper" cat-file "$cache/index.xz" >"$cache/index" && [ -s "$cache/index" ]; then
      as_root cp "$cache/index" "$lists/$name"
      log "using $url as the mirror serves it, unmatched by its release file" >&2
    fi
    rm -f "$cache/index.xz" "$cache/index"
  done
}
apt_install() {
  local try
  for try in 1 2 3; do
    if DEBIAN_FRONTEND=noninteractive as_root apt-get "$APT_RETRIES" install -y -qq \
        --no-install-recommends "$@" >/dev/null; then return; fi
    [ $try = 3 ] && return 1
    log "installing failed (try $try of 3); reading the package lists again" >&2
    sleep $((try * 30)); apt_updated=0; apt_update
  done
}

# 1. i386 multiarch, needed for the 32-bit Wine.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  step "adding i386 architecture"
  as_root dpkg --add-architecture i386
fi

# 2. Source entries for the libraries that have no mingw package.
srcfile=/etc/apt/sources.list.d/linkwright-src.sources
if [ ! -f "$srcfile" ]; then
  step "enabling Debian source entries"
  as_root tee "$srcfile" >/dev/null <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  apt_updated=0
fi

# 3. Packages.
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  step "installing ${missing[*]}"
  apt_update
  apt_install "${missing[@]}"
fi
# (grep -c reads to the end: with pipefail, grep -q would let apt-cache die of a
# broken pipe and make a found source look missing.)
if ! apt-cache showsrc libpng1.6 2>/dev/null | grep -c '^Version' >/dev/null; then apt_update; fi

# 4. The locales of the settings the tests run under: zh_CN.UTF-8 gives Wine code page
# 936, the others those of scripts/settings.table.
locales=()
for loc in zh_CN.UTF-8 $(awk '!/^#/ && NF {print $1}' "$here/scripts/settings.table" | sort -u); do
  if ! locale -a 2>/dev/null | grep -qix "${loc%.UTF-8}\.utf-\?8"; then
    grep -q "^$loc UTF-8" /etc/locale.gen 2>/dev/null || echo "$loc UTF-8" | as_root tee -a /etc/locale.gen >/dev/null
    locales+=("$loc")
  fi
done
if [ ${#locales[@]} -gt 0 ]; then
  step "generating the locales ${locales[*]}"
  as_root locale-gen >/dev/null
fi

# 5. libpng, libjpeg-turbo and PCRE2, cross-built as static libraries from Debian's sources.
fetch_source() { # package -> directory holding the unpacked source
  local pkg=$1 dir=$deps/src/$pkg ver
  if [ -f "$dir/.unpacked" ]; then echo "$dir"; return; fi
  rm -rf "$dir"; mkdir -p "$dir"
  for ver in $(apt-cache showsrc "$pkg" | awk '/^Version:/{print $2}' | sort -urV); do
    if (cd "$dir" && apt-get "$APT_RETRIES" -o APT::Sandbox::User=root source --download-only -qq "$pkg=$ver" >/dev/null 2>&1); then
      (cd "$dir" && dpkg-source -x ./*.dsc src >/dev/null)
      touch "$dir/.unpacked"; echo "$dir"; return
    fi
    log "source $pkg=$ver could not be fetched, trying an older one" >&2
    rm -f "$dir"/*
  done
  log "no source of $pkg could be fetched" >&2; return 1
}
cross_build() { # package, extra cmake args...
  local pkg=$1; shift
  local stamp=$deps/i686/.$pkg.built
  [ -f "$stamp" ] && return
  step "cross-building $pkg"
  local dir; dir=$(fetch_source "$pkg")
  rm -rf "$dir/build"
  cmake -S "$dir/src" -B "$dir/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-i686.cmake" \
    -DCMAKE_INSTALL_PREFIX="$deps/i686" -Wno-dev "$@" >/dev/null
  cmake --build "$dir/build" >/dev/null
  cmake --install "$dir/build" >/dev/null
  touch "$stamp"
}
mkdir -p "$deps"
cross_build libpng1.6 -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
  -DZLIB_USE_STATIC_LIBS=ON -DSKIP_INSTALL_PROGRAMS=ON -DSKIP_INSTALL_FILES=ON
cross_build libjpeg-turbo -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DREQUIRE_SIMD=OFF
# PCRE2: the 16-bit library alone (the regex object works in UTF-16), with its JIT
# compiler, and none of its programs, tests or optional compression and line-editing
# libraries. Its licence, which covers the JIT compiler too, goes beside the others'
# notices for the release.
cross_build pcre2 -DBUILD_SHARED_LIBS=OFF -DBUILD_STATIC_LIBS=ON \
  -DPCRE2_BUILD_PCRE2_8=OFF -DPCRE2_BUILD_PCRE2_16=ON -DPCRE2_BUILD_PCRE2_32=OFF \
  -DPCRE2_SUPPORT_JIT=ON -DPCRE2_SUPPORT_UNICODE=ON -DPCRE2_BUILD_TESTS=OFF -DPCRE2_BUILD_PCRE2GREP=OFF \
  -DPCRE2_SUPPORT_LIBZ=OFF -DPCRE2_SUPPORT_LIBBZ2=OFF -DPCRE2_SUPPORT_LIBREADLINE=OFF \
  -DPCRE2_SUPPORT_LIBEDIT=OFF -DPCRE2_SHOW_REPORT=OFF
if [ ! -f "$deps/i686/share/doc/pcre2/LICENCE" ]; then
  install -D -m 644 "$deps/src/pcre2/src/LICENCE" "$deps/i686/share/doc/pcre2/LICENCE"
fi

# 6. The QR encoder: one C file, cross-compiled into a static library. Only the
# upstream tarball is needed, so a missing Debian packaging tarball does not matter.
if [ ! -f "$deps/i686/.qr-code-generator.built" ]; then
  step "cross-building qr-code-generator"
  dir=$deps/src/qr-code-generator
  orig() { ls "$dir"/*.orig.tar.* 2>/dev/null | grep -v '\.asc$' | head -n 1; }
  if [ -z "$(orig)" ]; then
    rm -rf "$dir"; mkdir -p "$dir"
    (cd "$dir" && apt-get "$APT_RETRIES" -o APT::Sandbox::User=root source --download-only -qq qr-code-generator >/dev/null 2>&1) || true
    [ -n "$(orig)" ] || { log "no source of qr-code-generator could be fetched" >&2; exit 1; }
  fi
  rm -rf "$dir/src"; mkdir -p "$dir/src"
  tar -xf "$(orig)" -C "$dir/src" --strip-components=1
  mkdir -p "$deps/i686/include" "$deps/i686/lib" "$deps/i686/share/doc/qrcodegen"
  i686-w64-mingw32-gcc -std=c99 -O2 -c "$dir/src/c/qrcodegen.c" -o "$dir/qrcodegen.o"
  rm -f "$deps/i686/lib/libqrcodegen.a"
  i686-w64-mingw32-ar rcs "$deps/i686/lib/libqrcodegen.a" "$dir/qrcodegen.o"
  cp "$dir/src/c/qrcodegen.h" "$deps/i686/include/"
  cp "$dir/src/Readme.markdown" "$deps/i686/share/doc/qrcodegen/" 2>/dev/null || true
  touch "$deps/i686/.qr-code-generator.built"
fi

# 7. A 32-bit Wine prefix for each setting: the default one, and every row of
# scripts/settings.table unless only the default is asked for (LINKWRIGHT_PREFIXES=
# default, as running the program needs no other). Each prefix reports its own time.
finish
LINKWRIGHT_LOCALE=zh_CN.UTF-8 LINKWRIGHT_DPI=96 bash "$here/scripts/wine-prefix.sh" </dev/null
if [ "${LINKWRIGHT_PREFIXES:-all}" != default ]; then
  while read -r loc dpi; do
    env -u WINEPREFIX LINKWRIGHT_LOCALE="$loc" LINKWRIGHT_DPI="$dpi" bash "$here/scripts/wine-prefix.sh" </dev/null
  done < <(awk '!/^#/ && NF {print $1, $2}' "$here/scripts/settings.table")
fi
log "ready in $SECONDS s (cache $cache)"
