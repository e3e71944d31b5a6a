#!/usr/bin/env bash
# Measures Quillsnapper.exe under Wine: start to visible tool window, idle
# memory and Print Screen to the PNG on disk, next to a bare Win32 program
# and an in-process grab + PNG save measured in the same run. Wine's X11
# windows are unmanaged for the run, so hiding a window does not wait for a
# window manager that never answers.
#   tools/bench-program.sh [RUNS]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target Quillsnapper bench_ProgramStartup >/dev/null
exe="$top/build/win64/app/Quillsnapper.exe"
bench="$top/build/win64/bench/bench_ProgramStartup.exe"
QS_XVFB=1 exec tools/wine-session.sh --unmanaged-windows bash -c '
  wine "$0" "Z:$1" "$2" 2>/dev/null </dev/null | tr -d "\r"
' "$bench" "$exe" "${1:-5}"
