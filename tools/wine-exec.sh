#!/usr/bin/env bash
# Runs one Windows executable under wine64 for ctest.
#
#   tools/wine-exec.sh [--gtest] [--unmanaged-windows] PROGRAM.exe [ARGS...]
#
# Wine's helper processes inherit and keep open whatever pipe the program
# writes to, which makes ctest wait for seconds per test; so the output goes
# to a file that is printed afterwards. With --gtest the run counts as
# failed unless GoogleTest printed its summary and no failure: a program that
# dies silently (or a 32-bit one, which this wine "runs" with exit code 0)
# must not pass. The wine session (prefix, display) comes from
# tools/wine-session.sh. With --unmanaged-windows the program's X11 windows
# are unmanaged (its own AppDefaults key, whatever the session's): hiding or
# closing a window does not wait about 2 s for a window manager that never
# answers, but the X focus moves with Wine's activation instead of following
# the pointer.
set -u
usage="usage: wine-exec.sh [--gtest] [--unmanaged-windows] PROGRAM [ARGS...]"
gtest=0 unmanaged=0
while [ $# -ge 1 ]; do
  case $1 in
    --gtest) gtest=1 ;;
    --unmanaged-windows) unmanaged=1 ;;
    --*) echo "$usage" >&2; exit 2 ;;
    *) break ;;
  esac
  shift
done
[ $# -ge 1 ] || { echo "$usage" >&2; exit 2; }
if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
  echo "wine-exec.sh: no wine session; run through tools/wine-session.sh" >&2
  exit 2
fi
if [ $unmanaged = 1 ]; then
  wine reg add "HKCU\\Software\\Wine\\AppDefaults\\${1##*/}\\X11 Driver" /v Managed /d N /f \
    >/dev/null 2>&1 </dev/null
fi
out=$(mktemp "${TMPDIR:-/tmp}/qs-wine-out.XXXXXX")
wine "$@" >"$out" 2>&1 </dev/null
rc=$?
# A program started just as the previous one's wineserver was shutting down
# cannot reach it ("wine client error") and never runs: start it once more.
# A program that did run (GoogleTest printed its banner) is never repeated.
if grep -q '^wine client error' "$out" && ! grep -q '^\[==========\]' "$out"; then
  wine "$@" >"$out" 2>&1 </dev/null
  rc=$?
fi
# Wine's own diagnostics (fixme:, err: of its modules) are noise for a test log.
grep -v -E '^[0-9a-f]{4}:(fixme|err|warn|trace):' "$out"
if [ $gtest = 1 ] && [ $rc = 0 ]; then
  if ! grep -q -E '^\[  PASSED  \] [0-9]+ test' "$out" || grep -q -E '^\[  FAILED  \]' "$out"; then
    echo "wine-exec.sh: no GoogleTest success summary from $1 (exit code $rc): counted as failed" >&2
    rc=1
  fi
fi
rm -f "$out"
exit $rc
