#!/usr/bin/env bash
# Installs what building and testing need on a Debian 12 machine (as root),
# then cross-builds the third-party libraries for MinGW into the cache under
# build/deps. Only what is missing is installed; a second run is quick.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
packages=(
  cmake ninja-build ccache g++ pkg-config clang-14 libclang-rt-14-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  zlib1g-dev libpng-dev libjpeg62-turbo-dev libgif-dev libopenjp2-7-dev libdeflate-dev libpixman-1-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  mingw-w64-tools libz-mingw-w64-dev nasm dpkg-dev file
  wine wine64 xvfb xauth xdotool x11-utils
  imagemagick netpbm libopenjp2-tools giflib-tools libimage-exiftool-perl pngcheck libjpeg-turbo-progs
  python3
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q >/dev/null
  apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
fi
"$top/tools/build-deps.sh" x86_64-w64-mingw32 i686-w64-mingw32
