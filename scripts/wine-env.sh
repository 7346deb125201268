# Environment for running the program under Wine: a 32-bit prefix, quiet logging, no
# Mono or Gecko prompts, and the system's code page through the locale.
# LINKWRIGHT_LOCALE (default zh_CN.UTF-8, code page 936) and LINKWRIGHT_DPI (default
# 96) pick the setting. Each setting has its own prefix, since Wine rewrites a
# prefix's font settings when the code page changes; the default one keeps the plain
# name. An explicitly set WINEPREFIX wins.
export LINKWRIGHT_LOCALE=${LINKWRIGHT_LOCALE:-zh_CN.UTF-8}
export LINKWRIGHT_DPI=${LINKWRIGHT_DPI:-96}
if [ "$LINKWRIGHT_LOCALE $LINKWRIGHT_DPI" = "zh_CN.UTF-8 96" ]; then
  export WINEPREFIX=${WINEPREFIX:-${LINKWRIGHT_CACHE:-/var/cache/linkwright}/wineprefix}
else
  export WINEPREFIX=${WINEPREFIX:-${LINKWRIGHT_CACHE:-/var/cache/linkwright}/wineprefix-${LINKWRIGHT_LOCALE%.UTF-8}-$LINKWRIGHT_DPI}
fi
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
export LC_ALL=$LINKWRIGHT_LOCALE LANG=$LINKWRIGHT_LOCALE
# What the guard tests check the prefix against.
export LINKWRIGHT_EXPECT_DPI=${LINKWRIGHT_EXPECT_DPI:-$LINKWRIGHT_DPI}
