#!/usr/bin/env bash
# Runs one Windows program under Wine: wine-run.sh WINE_ROOT PROGRAM.exe [ARGS...]
# CMake uses it as the emulator for every test program.
set -eu
root=$1; shift
. "$(dirname "$0")/wine-env.sh" "$root"
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" wine "$@"
fi
exec wine "$@"
