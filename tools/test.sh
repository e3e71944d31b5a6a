#!/usr/bin/env bash
# Sets up what is missing, builds every preset and runs every test:
#   linux  native tests under AddressSanitizer and UndefinedBehaviorSanitizer
#   win64  the same and the Windows-only tests, under wine64 on Xvfb (the
#          two-monitor tests on an Xorg of their own, with the dummy driver)
#   win32  the release program: must build, be PE32 and import only system DLLs
#   fuzz   each libFuzzer target replays its corpus, then runs briefly
#          (QS_FUZZ_SECONDS, default 30; two at a time)
#   bench  the benchmarks build (run them with tools/bench.sh)
# Prints how long each phase took. Exits non-zero when anything failed.
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
failed=()
timings=()
phase() {
  local name=$1; shift
  local start=$SECONDS
  echo "=== $name"
  if "$@"; then status=ok; else status=FAILED; failed+=("$name"); fi
  timings+=("$(printf '%-22s %5d s  %s' "$name" $((SECONDS - start)) "$status")")
}

phase setup tools/setup.sh || true
if [ ${#failed[@]} -gt 0 ]; then echo "setup failed"; exit 1; fi

build() { cmake --preset "$1" >"build/configure-$1.log" 2>&1 || { cat "build/configure-$1.log"; return 1; }; cmake --build --preset "$1"; }
mkdir -p build
phase "linux build" build linux
phase "linux tests" ctest --preset linux
phase "win64 build" build win64
phase "win64 tests" tools/wine-session.sh ctest --preset win64
phase "win32 build" build win32
phase "win32 release exe" tools/check-imports.sh pe32 build/win32/app/Quillsnapper.exe
phase "win64 exe imports" tools/check-imports.sh pe32+ build/win64/app/Quillsnapper.exe
phase "fuzz build" build fuzz
phase "fuzz run" tools/fuzz.sh "${QS_FUZZ_SECONDS:-30}"
phase "bench build" build bench

echo
echo "=== phase timings"
printf '%s\n' "${timings[@]}"
if [ ${#failed[@]} -gt 0 ]; then
  echo "FAILED: ${failed[*]}"
  exit 1
fi
echo "all phases passed"
