#!/usr/bin/env bash
# A save flushes the new playlist to the disk: under Wine, FlushFileBuffers is
# an fsync in the program's own process, which strace sees together with the
# file it was made on (the temporary file, before it replaces playlist.txt).
#   flush_seen.sh PROGRAM_AND_ARGUMENTS...
set -euo pipefail
log=$(mktemp)
trap 'rm -f "$log"' EXIT
strace -f -qq -y -e trace=fsync,fdatasync -e signal=none -o "$log" "$@" >/dev/null
if ! grep -E 'f(data)?sync\([0-9]+<[^>]*/playlist\.txt\.[0-9]+\.tmp>\) += 0' "$log"; then
  echo "no flush of the temporary playlist file was seen; the calls traced were:" >&2
  cat "$log" >&2
  exit 1
fi
