#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the player need,
# skipping any that are already there. Extra package names may be passed.
set -euo pipefail

packages=(
  cmake make
  g++-mingw-w64-x86-64       # the cross-compiler (POSIX-threads flavour included)
  googletest                 # GoogleTest sources, built for Windows here
  wine wine64                # runs the Windows program and its tests
  xvfb xauth x11-utils       # a virtual display for Wine's windows
  gstreamer1.0-plugins-good gstreamer1.0-plugins-base  # Wine's MP3 decoding
  sox lame                   # generated test and demo tracks
  procps                     # pgrep, used to wait for Wine's desktop
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
