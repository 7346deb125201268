#!/usr/bin/env bash
# Keeps one wineserver alive for a test run (start) and ends it afterwards (stop).
. "$(dirname "$0")/wine-env.sh"
case "$1" in
  start) wineserver -p && wine cmd /c exit ;;
  stop) wineserver -k || true ;;
esac
