#!/usr/bin/env bash
# Runs a command inside a scratch wine session: a fresh 64-bit WINEPREFIX
# with the crash debugger switched off (a crash then exits non-zero at once
# instead of hanging on a dialog), and an X display: the caller's, or a new
# Xvfb on a free display when there is none (or when QS_XVFB=1). Everything
# is torn down afterwards; the command's exit code is returned.
#
#   tools/wine-session.sh COMMAND [ARGS...]
set -u
[ $# -ge 1 ] || { echo "usage: wine-session.sh COMMAND [ARGS...]" >&2; exit 2; }
base=$(mktemp -d "${TMPDIR:-/tmp}/qs-wine.XXXXXX")
export WINEPREFIX="$base/prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
xvfb_pid=""
cleanup() {
  wineserver -k >/dev/null 2>&1
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$base"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if [ -z "${DISPLAY:-}" ] || [ "${QS_XVFB:-0}" = 1 ]; then
  # -displayfd writes the number and the newline separately: read the whole
  # line before the pipe closes, or the server may die.
  fifo="$base/displayfd"; mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$fifo" >"$base/xvfb.log" 2>&1 &
  xvfb_pid=$!
  display=""
  if read -r -t 20 display <"$fifo" && [ -n "$display" ]; then
    export DISPLAY=":$display"
  else
    echo "wine-session.sh: Xvfb did not start" >&2; cat "$base/xvfb.log" >&2; exit 1
  fi
fi

mkdir -p "$WINEPREFIX"
wineboot -i >/dev/null 2>&1 </dev/null
wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d no-debugger.exe /f \
  >/dev/null 2>&1 </dev/null
wineserver -w
"$@"
