#!/usr/bin/env bash
# Installs what is missing, builds the player and its tests for Windows, and
# runs every test under Wine on a virtual display.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh
scripts/wine-session.sh build/wine --keep-alive build/desktop_keeper.exe \
  ctest --test-dir build --output-on-failure -j2 "$@"
