#!/usr/bin/env bash
# Installs what is missing from Debian's packages (run as root). Quiet when all is there.
set -euo pipefail
packages=(cmake ninja-build g++ zlib1g-dev googletest
          g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686
          binutils-mingw-w64-x86-64 libz-mingw-w64-dev
          wine64 xvfb x11-utils imagemagick python3 pulseaudio
          clang libclang-rt-14-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
