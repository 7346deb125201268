# Environment for running the program under Wine: the project's 32-bit prefix,
# quiet logging, no Mono or Gecko prompts, and code page 936 through the locale.
export WINEPREFIX=${WINEPREFIX:-${LINKWRIGHT_CACHE:-/var/cache/linkwright}/wineprefix}
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
export LC_ALL=zh_CN.UTF-8 LANG=zh_CN.UTF-8
