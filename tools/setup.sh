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
  wine wine64 xvfb xauth xdotool x11-utils x11-xserver-utils
  libegl1 libgbm1 libgl1 libpciaccess0 libxfont2 libunwind8 libxshmfence1 libepoxy0 libxcvt0 libaudit1 libdrm2
  xserver-common xkb-data x11-xkb-utils
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

# The end-to-end tests on two monitors run Xorg with the dummy video driver
# (tools/wine-session.sh --two-monitors). Installing xserver-xorg-core would
# pull udev and with it a systemd upgrade, so the server and the driver are
# unpacked into build/xorg instead; the libraries they load come from the
# packages above. Unpacked again only when Debian has other versions.
xorg_packages=(xserver-xorg-core xserver-xorg-video-dummy)
xorg_dir="$top/build/xorg"
candidates() {
  apt-cache policy "${xorg_packages[@]}" | awk '/^[^ ]/ { name = $1; sub(/:$/, "", name) } /^ *Candidate:/ { print name "=" $2 }'
}
wanted=$(candidates)
if grep -q '=(none)$\|=$' <<<"$wanted"; then
  apt-get update -q >/dev/null
  wanted=$(candidates)
fi
if [ "$(cat "$xorg_dir/stamp" 2>/dev/null)" != "$wanted" ]; then
  echo "setup: unpacking $(echo $wanted) into build/xorg"
  rm -rf "$xorg_dir"
  mkdir -p "$xorg_dir/debs"
  (cd "$xorg_dir/debs" && apt-get download -q -o APT::Sandbox::User=root $wanted >/dev/null)
  for deb in "$xorg_dir"/debs/*.deb; do dpkg -x "$deb" "$xorg_dir/root"; done
  rm -rf "$xorg_dir/debs"
  missing_libs=$(ldd "$xorg_dir/root/usr/lib/xorg/Xorg" "$xorg_dir/root/usr/lib/xorg/modules/drivers/dummy_drv.so" |
                 grep 'not found' || true)
  if [ -n "$missing_libs" ]; then echo "setup: Xorg misses libraries:"; echo "$missing_libs"; exit 1; fi
  echo "$wanted" >"$xorg_dir/stamp"
fi

"$top/tools/build-deps.sh" x86_64-w64-mingw32 i686-w64-mingw32
