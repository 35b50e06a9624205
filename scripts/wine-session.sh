#!/usr/bin/env bash
# Runs a command with one virtual display and one Wine server kept alive for
# its whole length, so every Wine start inside it is quick:
#   wine-session.sh WINE_ROOT [--keep-alive PROGRAM.exe] COMMAND [ARGS...]
# The keep-alive program (a hidden window) keeps Wine's desktop process up.
set -eu
root=$1; shift
keeper=
if [ "${1:-}" = --keep-alive ]; then keeper=$2; shift 2; fi

pids=()
cleanup() {
  # Ends every Windows process of this private prefix, then the server.
  [ -z "${WINEPREFIX:-}" ] || wineserver -k 2>/dev/null || true
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
}
trap cleanup EXIT
trap "exit 143" INT TERM HUP

# A sound server whose only sink plays to nowhere, but in real time, as a
# sound card does: Wine's media service, on finding it, plays through it.
# It runs before the prefix is made: Wine 10 kept to ALSA's null device
# for the whole session when the prefix was made without it. It has the
# home the prefix's programs get, whose cookie they show it.
root=$(mkdir -p "$root" && cd "$root" && pwd)
export XDG_RUNTIME_DIR="$root/run"
mkdir -p "$XDG_RUNTIME_DIR" "$root/home" && chmod 700 "$XDG_RUNTIME_DIR"
if command -v pulseaudio >/dev/null; then
  HOME="$root/home" pulseaudio -n --daemonize=no --exit-idle-time=-1 --disable-shm=yes \
    --load=module-null-sink --load=module-native-protocol-unix >/dev/null 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/pulse/native" ] && break; sleep 0.05; done
fi
. "$(dirname "$0")/wine-env.sh" "$root"

if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    pids+=($!)
    for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.05; done
    export DISPLAY=":$n"
    break
  done
fi

wineserver -f -p >/dev/null 2>&1 &
pids+=($!)

if [ -n "$keeper" ] && [ -f "$keeper" ]; then
  wine "$keeper" </dev/null >/dev/null 2>&1 &
  pids+=($!)
  # Ready once Wine's desktop process runs: from then on no test program
  # starts a helper process that would hold its output open.
  for _ in $(seq 200); do
    pgrep -f 'explorer.exe /desktop' >/dev/null && break
    sleep 0.05
  done
fi
"$@"
