#!/usr/bin/env bash
# Configures and builds the Windows program and its tests:
#   build.sh [BUILD_DIR [TOOLCHAIN_FILE [CMAKE_OPTIONS...]]]
# By default build/ with MinGW-w64's GCC. The folder is configured once;
# options given later are applied to it, and only what changed is rebuilt.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
toolchain=${2:-cmake/mingw-w64-x86_64.cmake}
options=("${@:3}")
if [ ! -f "$dir/CMakeCache.txt" ]; then
  cmake -S . -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    "${options[@]}" >/dev/null
elif [ ${#options[@]} -gt 0 ]; then
  cmake -S . -B "$dir" "${options[@]}" >/dev/null
fi
cmake --build "$dir" -j"$(nproc)" -- --no-print-directory | grep -v -E '^\[ *[0-9]+%\] (Building|Linking|Built)' || true
test "${PIPESTATUS[0]}" -eq 0
