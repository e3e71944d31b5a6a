#!/usr/bin/env bash
# Runs every libFuzzer target of build/fuzz (two at a time): first it replays
# the target's committed corpus (fuzz/corpus/NAME, crashers included as
# regression cases), then fuzzes for SECONDS (default 30) starting from that
# corpus, in a scratch copy. Exits non-zero when any target failed.
#
#   tools/fuzz.sh [SECONDS] [fuzz_NAME...]
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-30}; shift || true
jobs=${QS_FUZZ_JOBS:-2}

run_one() {
  local t=$1 seconds=$2 top=$3
  local exe="$top/build/fuzz/fuzz/$t" corpus="$top/fuzz/corpus/${t#fuzz_}"
  local scratch; scratch=$(mktemp -d)
  local log="$scratch.log"
  if [ -d "$corpus" ] && [ -n "$(ls -A "$corpus")" ]; then
    cp -r "$corpus"/. "$scratch"/
    if ! "$exe" -runs=0 -rss_limit_mb=2048 "$corpus" >"$log" 2>&1; then
      echo "fuzz: $t FAILS on its committed corpus"; tail -40 "$log"; rm -rf "$scratch" "$log"; return 1
    fi
  fi
  local status=0
  mkdir -p "$scratch/artifacts"
  if "$exe" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=20 -print_final_stats=1 \
       -artifact_prefix="$scratch/artifacts/" "$scratch" >"$log" 2>&1; then
    echo "fuzz: $t clean for $seconds s ($(sed -n 's/^stat::number_of_executed_units: *//p' "$log") runs)"
  else
    echo "fuzz: $t CRASHED"; tail -60 "$log"; ls -l "$scratch/artifacts"; status=1
  fi
  rm -rf "$scratch" "$log"
  return $status
}
export -f run_one

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in "$top"/build/fuzz/fuzz/fuzz_*; do [ -x "$f" ] && targets+=("$(basename "$f")"); done
fi
[ ${#targets[@]} -gt 0 ] || { echo "fuzz: no targets built (cmake --preset fuzz && cmake --build --preset fuzz)"; exit 1; }
printf '%s\n' "${targets[@]}" | xargs -P "$jobs" -I{} bash -c 'run_one "$@"' _ {} "$seconds" "$top"
