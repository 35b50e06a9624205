#!/usr/bin/env bash
# Configures (once) and builds the Windows program and its tests in build/.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ ! -f build/CMakeCache.txt ]; then
  cmake -S . -B build -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build build -j"$(nproc)" -- --no-print-directory | grep -v -E '^\[ *[0-9]+%\] (Building|Linking|Built)' || true
test "${PIPESTATUS[0]}" -eq 0
