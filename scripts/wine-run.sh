#!/usr/bin/env bash
# Runs a Windows program of the build under Wine with the project's prefix and locale.
# Used by CTest as the emulator of every test program.
. "$(dirname "$0")/wine-env.sh"
exec wine "$@"
