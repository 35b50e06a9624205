#!/usr/bin/env bash
# Installs what is missing, builds the player and its tests for Windows with
# two compilers (warnings are errors in the player's own code), fuzzes the
# playlist's text code natively, and runs every test under Wine on a virtual
# display: the in-process tests of the clang build, then the whole suite of
# the GCC build, whose summary comes last. CTest arguments are passed on to
# that last run (e.g. ./test.sh -R Controller).
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh build cmake/mingw-w64-x86_64.cmake -DLIROTUNE_WARNINGS_AS_ERRORS=ON
# The clang build shares the GCC build's Wine prefix, so one session serves both.
scripts/build.sh build-clang cmake/clang-mingw-w64-x86_64.cmake -DLIROTUNE_WARNINGS_AS_ERRORS=ON \
  -DLIROTUNE_END_TO_END_TESTS=OFF -DLIROTUNE_WINE_ROOT="$(pwd)/build/wine"

echo "== Fuzzing the playlist's text code"
scripts/fuzz.sh

scripts/wine-session.sh build/wine --keep-alive build/desktop_keeper.exe bash -c '
  set -euo pipefail
  echo "== In-process tests, clang build"
  ctest --test-dir build-clang --output-on-failure -j2 | grep -v -E "^ +Start |Passed"
  echo "== Every test, GCC build"
  ctest --test-dir build --output-on-failure -j2 "$@"' test.sh "$@"
