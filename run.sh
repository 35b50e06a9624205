#!/usr/bin/env bash
# Installs what is missing and builds the player.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh
