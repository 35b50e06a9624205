#!/usr/bin/env bash
# Writes a short MP3 tone: make-tone.sh OUT.mp3 SECONDS HERTZ
set -euo pipefail
out=$1 seconds=$2 hertz=$3
wav="${out%.mp3}.wav"
sox -n -r 44100 -c 2 "$wav" synth "$seconds" sine "$hertz"
lame --quiet "$wav" "$out"
rm -f "$wav"
