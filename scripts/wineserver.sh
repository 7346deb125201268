#!/usr/bin/env bash
# Keeps one wineserver alive for a test run (start) and ends it afterwards (stop).
# Its output goes nowhere: a daemon holding CTest's pipe would make CTest wait for it.
. "$(dirname "$0")/wine-env.sh"
case "$1" in
  start) wineserver -p </dev/null >/dev/null 2>&1; wine cmd /c exit </dev/null >/dev/null 2>&1 ;;
  stop) wineserver -k </dev/null >/dev/null 2>&1 || true ;;
esac
