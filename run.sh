#!/usr/bin/env bash
# Installs what is missing, builds the player and starts it under Wine.
# On the first run it writes a playlist of three generated demo tones beside
# the built program; an existing playlist is never touched. Without a display
# it plays the first track on a virtual display, saves a screenshot and exits.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh

build=$(pwd)/build
if [ ! -e "$build/playlist.txt" ]; then
  mkdir -p "$build/demo"
  playlist=
  for tone in "Demo tone A;6;440" "Demo tone B;6;554" "Demo tone C;6;659"; do
    IFS=';' read -r name seconds hertz <<<"$tone"
    [ -f "$build/demo/$name.mp3" ] || scripts/make-tone.sh "$build/demo/$name.mp3" "$seconds" "$hertz"
    # Wine shows the Linux root as drive Z:.
    playlist+="Z:${build//\//\\}\\demo\\$name.mp3"$'\r\n'
  done
  printf '%s' "$playlist" > "$build/playlist.txt"
  echo "Wrote a demo playlist: $build/playlist.txt"
fi

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  # A prefix of its own, whose windows the desktop's window manager handles.
  . scripts/wine-env.sh "$build/wine-desktop" managed
  exec wine "$build/lirotune.exe"
fi

echo "No display: running the player on a virtual display."
shot="$build/lirotune-screenshot.png"
scripts/wine-session.sh "$build/wine" \
  scripts/wine-run.sh "$build/wine" "$build/lirotune_demo.exe" "$build/lirotune.exe" "$shot"
echo "Screenshot: $shot"
