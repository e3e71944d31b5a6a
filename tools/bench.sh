#!/usr/bin/env bash
# Builds the optimised native preset and runs every benchmark (or the named ones).
#   tools/bench.sh [bench_NAME...] [-- BENCHMARK_ARGS...]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
cmake --preset bench >/dev/null && cmake --build --preset bench >/dev/null
names=(); while [ $# -gt 0 ] && [ "$1" != "--" ]; do names+=("$1"); shift; done
[ "${1:-}" = "--" ] && shift
if [ ${#names[@]} -eq 0 ]; then for f in build/bench/bench/bench_*; do [ -x "$f" ] && names+=("$(basename "$f")"); done; fi
for n in "${names[@]}"; do echo "=== $n"; "build/bench/bench/$n" "$@"; done
