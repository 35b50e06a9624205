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
# Only the progress lines are dropped: the compiler's messages stay, and a
# failed build fails this script (pipefail: the grep never fails).
if ! cmake --build "$dir" -j"$(nproc)" -- --no-print-directory 2>&1 |
     { grep -v -E '^\[ *[0-9]+%\] (Building|Linking|Built)' || true; }; then
  echo "The build failed (messages above)." >&2
  exit 1
fi
