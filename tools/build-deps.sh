#!/usr/bin/env bash
# Cross-builds the third-party libraries for MinGW-w64 from Debian's source
# packages into a cache: build/deps/<key>/<triplet>, where <key> names the
# package versions, the compiler and this script. A stamp file, written last,
# marks a finished build; build/deps/<triplet> links to the current one.
#
#   tools/build-deps.sh x86_64-w64-mingw32|i686-w64-mingw32 ...
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
packages=(libpng1.6 libjpeg-turbo giflib openjpeg2 libdeflate)

need_src_lists() {
  if ! apt-cache showsrc libpng1.6 2>/dev/null | grep -q '^Version'; then
    for f in /etc/apt/sources.list.d/*.sources; do
      [ -e "$f" ] || continue
      case "$f" in *qs-deb-src.sources) continue ;; esac
      sed -n 's/^Types: deb$/Types: deb-src/;p' "$f"
      echo
    done > /etc/apt/sources.list.d/qs-deb-src.sources
    apt-get update -q >/dev/null
  fi
}

src_version() { apt-get source --print-uris "$1/bookworm" 2>/dev/null | grep -o "[^/' ]*\.dsc" | head -n1; }

need_src_lists
versions=""
for p in "${packages[@]}"; do
  v=$(src_version "$p")
  [ -n "$v" ] || { echo "build-deps: no source package $p/bookworm" >&2; exit 1; }
  versions+="$p=$v;"
done


# Downloads, unpacks (applying Debian's patches) and builds every library for
# one triplet into build/deps/<key>/<triplet>; the stamp file comes last.
build_one() {
  local triplet=$1 key=$2
  local cc="$triplet-gcc-posix"
  local prefix="$top/build/deps/$key/$triplet"
  local work="$top/build/deps/$key/src-$triplet"
  rm -rf "$work" "$prefix"; mkdir -p "$work" "$prefix/include" "$prefix/lib"
  cd "$work"
  for p in "${packages[@]}"; do
    apt-get source --download-only "$p/bookworm" >/dev/null 2>&1 || apt-get source --download-only "$p/bookworm"
  done
  for d in *.dsc; do dpkg-source -x "$d" >/dev/null; done

  tc="$work/toolchain.cmake"
  cat > "$tc" <<TC
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${triplet%%-*})
set(CMAKE_C_COMPILER $triplet-gcc-posix)
set(CMAKE_CXX_COMPILER $triplet-g++-posix)
set(CMAKE_RC_COMPILER $triplet-windres)
set(CMAKE_FIND_ROOT_PATH /usr/$triplet $prefix)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
TC
  common=(-G Ninja -DCMAKE_TOOLCHAIN_FILE="$tc" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF -DCMAKE_POSITION_INDEPENDENT_CODE=OFF)

  # zlib comes from libz-mingw-w64-dev; copy it into the prefix so every
  # library below and the project find one consistent copy.
  cp /usr/$triplet/include/zlib.h /usr/$triplet/include/zconf.h "$prefix/include/"
  cp /usr/$triplet/lib/libz.a "$prefix/lib/"

  cmake -S libpng1.6-*/ -B b-png "${common[@]}" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
        -DPNG_EXECUTABLES=OFF -DZLIB_INCLUDE_DIR="$prefix/include" -DZLIB_LIBRARY="$prefix/lib/libz.a" >/dev/null
  cmake --build b-png >/dev/null && cmake --install b-png >/dev/null

  cmake -S libjpeg-turbo-*/ -B b-jpeg "${common[@]}" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=ON \
        -DWITH_TURBOJPEG=OFF -DWITH_JPEG8=OFF >/dev/null
  cmake --build b-jpeg >/dev/null && cmake --install b-jpeg >/dev/null

  cmake -S openjpeg2-*/ -B b-opj "${common[@]}" -DBUILD_CODEC=OFF -DBUILD_TESTING=OFF -DBUILD_STATIC_LIBS=ON >/dev/null
  cmake --build b-opj >/dev/null && cmake --install b-opj >/dev/null

  # giflib and libdeflate have plain makefiles: compile their library files directly.
  (cd giflib-*/ && for f in dgif_lib egif_lib gifalloc gif_err gif_font gif_hash openbsd-reallocarray quantize; do
     "$cc" -O2 -c "$f.c" -o "$f.o"; done && "$triplet-ar" rcs "$prefix/lib/libgif.a" ./*.o && cp gif_lib.h "$prefix/include/")
  (cd libdeflate-*/ && for f in lib/*.c lib/x86/*.c; do
     "$cc" -O2 -I. -c "$f" -o "${f//\//_}.o"; done && "$triplet-ar" rcs "$prefix/lib/libdeflate.a" ./*.o && cp libdeflate.h "$prefix/include/")

  cd "$top"; rm -rf "$work"
  touch "$prefix/.stamp"
}

if [ "${1:-}" = "--one" ]; then
  build_one "$2" "$3"
  exit 0
fi

for triplet in "$@"; do
  cc="$triplet-gcc-posix"
  key=$( { echo "$versions"; "$cc" --version | head -n1; sha256sum "$0" | cut -c1-64; } | sha256sum | cut -c1-16)
  prefix="$top/build/deps/$key/$triplet"
  if [ -f "$prefix/.stamp" ]; then
    ln -sfn "$key/$triplet" "$top/build/deps/$triplet"
    echo "build-deps: $triplet up to date ($key)"
    continue
  fi
  start=$SECONDS
  log="$top/build/deps/$key/build-$triplet.log"
  mkdir -p "$top/build/deps/$key"
  # A separate process, so that set -e stops it at the first failure.
  set +e
  "$0" --one "$triplet" "$key" >"$log" 2>&1
  status=$?
  set -e
  if [ $status -ne 0 ]; then
    tail -n 60 "$log" >&2
    echo "build-deps: building the libraries for $triplet failed (whole log: $log)" >&2
    exit 1
  fi
  ln -sfn "$key/$triplet" "$top/build/deps/$triplet"
  echo "build-deps: $triplet built in $((SECONDS - start)) s ($key)"
done
