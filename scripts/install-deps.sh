#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the player need,
# skipping any that are already there. Extra package names may be passed.
set -euo pipefail

packages=(
  cmake make
  g++-mingw-w64-x86-64       # the cross-compiler (POSIX-threads flavour included)
  clang lld                  # the second compiler, and the fuzzer's
  googletest                 # GoogleTest sources, built for Windows here
  wine wine64                # runs the Windows program and its tests
  xvfb xauth x11-utils       # a virtual display for Wine's windows
  gstreamer1.0-plugins-good gstreamer1.0-plugins-base  # Wine's MP3 decoding
  pulseaudio                 # a sink that plays in real time, with no sound card
  sox lame                   # generated test and demo tracks
  procps                     # pgrep, used to wait for Wine's desktop
  strace                     # sees the save's flush, an fsync inside Wine
  python3                    # writes the release zip
  faketime                   # rebuilds the release a day later, to show it is the same
  locales                    # ru_RU.UTF-8, under which Wine's ANSI code page is Windows-1251
  "$@"
)
# libFuzzer and the sanitizers' runtime: their own package on Debian 12,
# part of clang's common files on older releases.
optional=(libclang-rt-dev)

sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
# The tests of a Cyrillic system run the player under this locale.
make_locale() {
  locale -a 2>/dev/null | grep -qx 'ru_RU.utf8' ||
    "${sudo[@]}" localedef -i ru_RU -f UTF-8 ru_RU.UTF-8
}

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "ok installed"; }
missing=()
for p in "${packages[@]}"; do installed "$p" || missing+=("$p"); done
wanted=()
for p in "${optional[@]}"; do installed "$p" || wanted+=("$p"); done
if [ ${#missing[@]} -eq 0 ] && [ ${#wanted[@]} -eq 0 ]; then make_locale; exit 0; fi

export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
for p in "${wanted[@]}"; do
  if apt-cache show "$p" >/dev/null 2>&1; then missing+=("$p"); fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
make_locale
