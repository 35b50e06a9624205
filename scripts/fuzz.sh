#!/usr/bin/env bash
# Builds the playlist text fuzzer natively (clang, libFuzzer, ASan, UBSan) in
# build-fuzz/ and runs it from the seed corpus in tests/fuzz/corpus for a
# bounded time:   fuzz.sh [SECONDS]   (default 20)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
if [ ! -f build-fuzz/CMakeCache.txt ]; then
  cmake -S tests/fuzz -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
# Only the progress lines are dropped: the compiler's messages stay, and a
# failed build fails this script (pipefail: the grep never fails).
if ! cmake --build build-fuzz -- --no-print-directory 2>&1 |
     { grep -v -E '^\[ *[0-9]+%\] (Building|Linking|Built)' || true; }; then
  echo "The build failed (messages above)." >&2
  exit 1
fi
# New inputs the fuzzer finds go to build-fuzz/corpus; the seeds stay as they are.
mkdir -p build-fuzz/corpus
log=build-fuzz/last-run.log
if ! build-fuzz/playlist_text_fuzzer -max_total_time="$seconds" -print_final_stats=1 \
     -artifact_prefix=build-fuzz/ build-fuzz/corpus tests/fuzz/corpus >"$log" 2>&1; then
  cat "$log"
  echo "The fuzzer found a failing input (saved in build-fuzz/, named above)." >&2
  exit 1
fi
grep -E '^(#[0-9]+[[:space:]]+DONE|stat::number_of_executed_units)' "$log"
