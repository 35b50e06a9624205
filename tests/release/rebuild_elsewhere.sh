#!/usr/bin/env bash
# The release zip is a function of the source: rebuilt from a clean copy of
# the tree in another folder, under a clock moved on by a day, it is the same
# zip byte for byte, and its .sha256 file holds for it.
#   rebuild_elsewhere.sh SOURCE_DIR BUILD_DIR ZIP_NAME TOOLCHAIN_FILE
set -euo pipefail
source=$1 build=$2 name=$3 toolchain=$4
elsewhere=$(mktemp -d "${TMPDIR:-/tmp}/lirotune-rebuild.XXXXXX")
trap 'rm -rf "$elsewhere"' EXIT
mkdir "$elsewhere/tree"
# The toolchain file, from the copy when it is one of the tree's.
[[ $toolchain = /* && $toolchain != "$source"/* ]] || toolchain=$elsewhere/tree/${toolchain#"$source"/}
tar -C "$source" --exclude=./.git --exclude='./build*' -cf - . | tar -C "$elsewhere/tree" -xf -
later() { faketime -f +1d "$@" >>"$elsewhere/build.log" 2>&1 || { cat "$elsewhere/build.log"; exit 1; }; }
later cmake -S "$elsewhere/tree" -B "$elsewhere/tree/build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
later cmake --build "$elsewhere/tree/build" --target release -j"$(nproc)"

(cd "$build" && sha256sum -c "$name.zip.sha256")
if cmp "$build/$name.zip" "$elsewhere/tree/build/$name.zip"; then
  echo "$name.zip rebuilt elsewhere a day later: the same bytes"
  exit 0
fi
# Which entry differs, or whether only the zip's own records do.
n=0
for zip in "$build/$name.zip" "$elsewhere/tree/build/$name.zip"; do
  mkdir -p "$elsewhere/unpacked$((++n))" && python3 -m zipfile -e "$zip" "$elsewhere/unpacked$n"
done
diff -r "$elsewhere/unpacked1" "$elsewhere/unpacked2" || true
python3 - "$build/$name.zip" "$elsewhere/tree/build/$name.zip" <<'PY'
import sys, zipfile
for path in sys.argv[1:]:
    print(path)
    for e in zipfile.ZipFile(path).infolist():
        print(" ", e.filename, e.date_time, oct(e.external_attr >> 16), e.compress_type, e.CRC, e.compress_size, e.extra)
PY
echo "The rebuilt zip differs from the first." >&2
exit 1
