#!/usr/bin/env bash
# Runs a command in a fresh Debian root made for it, with a copy of this
# clone, and removes the root afterwards:
#   scripts/on-debian.sh RELEASE COMMAND [ARGS...]
# e.g. scripts/on-debian.sh 13 ./test.sh. RELEASE is 12 or 13 (or its name).
# The command runs as root in the copy's folder with a plain environment:
# PATH, HOME, LANG, CI and TMPDIR (when set, the folder is made in the root).
# The packages the root downloads are kept for the next run, in
# LIROTUNE_DEBIAN_CACHE (by default /var/cache/lirotune/debian-RELEASE).
set -euo pipefail
case ${1:-} in
  12|bookworm) release=12 suite=bookworm ;;
  13|trixie) release=13 suite=trixie ;;
  *) echo "usage: $0 12|13 COMMAND [ARGS...]" >&2; exit 2 ;;
esac
shift
[ $# -gt 0 ] || { echo "usage: $0 12|13 COMMAND [ARGS...]" >&2; exit 2; }
cd "$(dirname "$0")/.."

sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
if ! command -v mmdebstrap >/dev/null; then
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends mmdebstrap
fi

cache=${LIROTUNE_DEBIAN_CACHE:-/var/cache/lirotune/debian-$release}
"${sudo[@]}" mkdir -p "$cache"
root=$("${sudo[@]}" mktemp -d "/var/tmp/lirotune-debian-$release.XXXXXX")
mounted=()
cleanup() {
  local i p
  # A program that outlived the command (a Wine process that crashed) would
  # hold the root's mounts: end everything that runs inside it.
  for p in /proc/[0-9]*; do
    [ "$("${sudo[@]}" readlink "$p/root" 2>/dev/null)" = "$root" ] && "${sudo[@]}" kill -9 "${p#/proc/}" 2>/dev/null
  done
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
    "${sudo[@]}" umount -l "${mounted[i]}" 2>/dev/null || true
  done
  # Nothing of the host is mounted in it any more: only the root goes.
  if ! findmnt -rn -o TARGET | grep -q "^$root/"; then
    "${sudo[@]}" rm -rf --one-file-system "$root"
  fi
}
trap cleanup EXIT
trap "exit 143" INT TERM HUP
bind() {
  "${sudo[@]}" mkdir -p "$root$2"
  "${sudo[@]}" mount "${@:3}" "$1" "$root$2"
  mounted+=("$root$2")
}

echo "== Making a Debian $release ($suite) root in $root"
"${sudo[@]}" mmdebstrap --quiet --variant=apt --include=git,ca-certificates,sudo,procps \
  --skip=essential/unlink \
  --setup-hook="mkdir -p \"\$1/var/cache/apt/archives\"" \
  --setup-hook="sync-in '$cache' /var/cache/apt/archives" \
  --customize-hook="sync-out /var/cache/apt/archives '$cache'" \
  "$suite" "$root"
bind /proc /proc --bind
bind /sys /sys --bind
bind /dev /dev --bind
bind /dev/pts /dev/pts --bind
bind tmpfs /tmp -t tmpfs
# What the command installs is kept for the next root.
bind "$cache" /var/cache/apt/archives --bind
"${sudo[@]}" cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true

# The clone as it stands, uncommitted changes included, without its builds.
src=/work/lirotune
"${sudo[@]}" mkdir -p "$root$src"
{ git ls-files -z --cached --others --exclude-standard; printf '.git\0'; } |
  tar --null --ignore-failed-read -cf - -T - 2>/dev/null | "${sudo[@]}" tar -C "$root$src" -xf -

environment=(PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 CI="${CI:-}")
if [ -n "${TMPDIR:-}" ]; then
  "${sudo[@]}" mkdir -p "$root$TMPDIR"
  environment+=(TMPDIR="$TMPDIR")
fi
echo "== Running in Debian $release: $*"
"${sudo[@]}" chroot "$root" /usr/bin/env -i "${environment[@]}" \
  bash -c 'cd "$0" && exec "$@"' "$src" "$@"
