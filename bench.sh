#!/usr/bin/env bash
# Measures the player side by side with two floor programs under Wine and
# prints a table: ./bench.sh [RUNS [MAX]]   (RUNS per size, default 5; MAX the
# largest playlist, default 1000000). LIROTUNE_BENCH_PLAYER=path/lirotune.exe
# measures another build of the player instead (an earlier commit's, say);
# LIROTUNE_BENCH_BASELINE=path/lirotune.exe measures one more build in the
# same runs, beside this one (the build before a change, say).
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh

build=$(pwd)/build
runs=${1:-5}
mkdir -p "$build/bench-work"
track="$build/bench-work/bench tone.mp3"
[ -f "$track" ] || scripts/make-tone.sh "$track" 30 440
win() { printf 'Z:%s' "${1//\//\\}"; }
[ -z "${LIROTUNE_BENCH_BASELINE:-}" ] || export LIROTUNE_BENCH_BASELINE="$(win "$(realpath "$LIROTUNE_BENCH_BASELINE")")"

scripts/wine-session.sh "$build/wine" --keep-alive "$build/desktop_keeper.exe" \
  scripts/wine-run.sh "$build/wine" "$build/bench/bench_probe.exe" \
    "$(win "$build/bench-work")" "$(win "${LIROTUNE_BENCH_PLAYER:-$build/lirotune.exe}")" \
    "$(win "$build/bench/floor_window.exe")" "$(win "$build/bench/floor_list.exe")" \
    "$(win "$build/bench/floor_durable.exe")" \
    "$(win "$track")" "$runs" ${2:+"$2"} \
    2> >(grep -v -e '^ALSA lib' -e 'FS volume label and serial are not available' >&2)
