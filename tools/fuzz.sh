#!/usr/bin/env bash
# Runs every libFuzzer target of build/fuzz: first it replays the target's
# committed corpus (fuzz/corpus/NAME, crashers included as regression
# cases), then fuzzes for SECONDS (default 20) from that corpus into a
# scratch copy. Exits non-zero when any target crashed.
#
#   tools/fuzz.sh [SECONDS] [TARGET...]
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-20}; shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in "$top"/build/fuzz/fuzz/fuzz_*; do [ -x "$f" ] && targets+=("$(basename "$f")"); done
fi
[ ${#targets[@]} -gt 0 ] || { echo "fuzz: no targets built (cmake --preset fuzz && cmake --build --preset fuzz)"; exit 1; }
status=0
for t in "${targets[@]}"; do
  exe="$top/build/fuzz/fuzz/$t"
  corpus="$top/fuzz/corpus/${t#fuzz_}"
  scratch=$(mktemp -d)
  [ -d "$corpus" ] && cp -r "$corpus"/. "$scratch"/ 2>/dev/null
  if [ -d "$corpus" ] && [ -n "$(ls -A "$corpus")" ]; then
    if ! "$exe" -runs=0 "$corpus" >"$scratch.log" 2>&1; then
      echo "fuzz: $t fails on its committed corpus"; tail -40 "$scratch.log"; status=1; rm -rf "$scratch" "$scratch.log"; continue
    fi
  fi
  if "$exe" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -artifact_prefix="$scratch/" "$scratch" >"$scratch.log" 2>&1; then
    echo "fuzz: $t clean for $seconds s ($(grep -c . <(ls "$scratch")) inputs)"
  else
    echo "fuzz: $t CRASHED"; tail -60 "$scratch.log"
    ls "$scratch"/crash-* "$scratch"/leak-* "$scratch"/timeout-* 2>/dev/null
    status=1
  fi
  rm -rf "$scratch" "$scratch.log"
done
exit $status
