#!/usr/bin/env bash
# Installs what the build and the three test tiers need from Debian's packages.
# Quick when everything is there already.
set -euo pipefail

packages=(cmake g++ make zlib1g-dev libgtest-dev googletest libbenchmark-dev
          g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix libz-mingw-w64-dev
          wine wine32:i386 wine64 xvfb xauth x11-utils imagemagick
          liblnk-utils python3-pefile zip unzip file)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
echo "bootstrap: installing ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
