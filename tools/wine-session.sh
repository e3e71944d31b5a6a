#!/usr/bin/env bash
# Runs a command inside a scratch wine session: a fresh 64-bit WINEPREFIX
# with the crash debugger switched off (a crash then exits non-zero at once
# instead of hanging on a dialog), one wineserver that persists until the
# end, and an X display: the caller's, or a new
# Xvfb on a free display when there is none (or when QS_XVFB=1). Everything
# is torn down afterwards; the command's exit code is returned.
#
#   tools/wine-session.sh [--two-monitors] [--unmanaged-windows] COMMAND [ARGS...]
#
# --two-monitors: always a new X server with two monitors, whatever the
# caller's display: Xorg with the dummy video driver (unpacked under
# build/xorg by tools/setup.sh), the primary monitor 3840 x 2160 and left of
# it one of 1920 x 1080, which Windows places at (-1920, 0). Plain Xvfb
# gives Wine one monitor only, also with Xinerama.
# --unmanaged-windows: Wine's X11 windows are unmanaged, so hiding or
# closing a window does not wait about 2 s for a window manager that never
# answers; but Wine then moves the X focus with its activation, and keys
# may stop reaching a program that has lost the foreground.
set -u
top=$(cd "$(dirname "$0")/.." && pwd)
usage="usage: wine-session.sh [--two-monitors] [--unmanaged-windows] COMMAND [ARGS...]"
two_monitors=0 unmanaged=0
while [ $# -ge 1 ]; do
  case $1 in
    --two-monitors) two_monitors=1 ;;
    --unmanaged-windows) unmanaged=1 ;;
    --*) echo "$usage" >&2; exit 2 ;;
    *) break ;;
  esac
  shift
done
[ $# -ge 1 ] || { echo "$usage" >&2; exit 2; }
base=$(mktemp -d "${TMPDIR:-/tmp}/qs-wine.XXXXXX")
export WINEPREFIX="$base/prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
x_pid=""
cleanup() {
  wineserver -k >/dev/null 2>&1
  [ -n "$x_pid" ] && kill "$x_pid" 2>/dev/null && wait "$x_pid" 2>/dev/null
  # The wineserver's socket folder, /tmp/wine-XXXXXX/server-DEVICE-INODE
  # after the prefix's device and inode (in hex), outlives the server.
  if [ -d "$WINEPREFIX" ]; then
    local server folder
    server="server-$(stat -c %D "$WINEPREFIX")-$(printf %x "$(stat -c %i "$WINEPREFIX")")"
    for folder in /tmp/wine-*/"$server"; do
      [ -d "$folder" ] && rm -rf "$folder" && rmdir "${folder%/*}" 2>/dev/null
    done
  fi
  rm -rf "$base"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# start_x NAME SERVER [ARGS...]: starts the X server on a free display
# (-displayfd) and exports DISPLAY. -displayfd writes the number and the
# newline separately: read the whole line before the pipe closes, or the
# server may die.
start_x() {
  local name=$1; shift
  local fifo="$base/displayfd" display=""
  mkfifo "$fifo"
  "$@" -displayfd 3 3>"$fifo" >"$base/$name.out" 2>&1 &
  x_pid=$!
  if read -r -t 20 display <"$fifo" && [ -n "$display" ]; then
    export DISPLAY=":$display"
  else
    echo "wine-session.sh: $name did not start" >&2
    cat "$base/$name.out" "$base/$name.log" 2>/dev/null >&2
    exit 1
  fi
}

if [ $two_monitors = 1 ]; then
  xorg_root="$top/build/xorg/root"
  if [ ! -x "$xorg_root/usr/lib/xorg/Xorg" ] || ! command -v xrandr >/dev/null; then
    echo "wine-session.sh: no Xorg dummy server in build/xorg or no xrandr: run tools/setup.sh" >&2
    exit 1
  fi
  # No input devices (xdotool uses XTEST), no console: the dummy driver
  # needs no VT. The frame buffer holds the whole 5760 x 2160 desktop at
  # 32 bits; the dummy's default dot-clock limit (300 MHz) would reject a
  # 3840 x 2160 mode.
  mkdir -p "$base/xorg.conf.d"
  cat >"$base/xorg.conf" <<'CONF'
Section "ServerFlags"
  Option "DontVTSwitch" "true"
  Option "AutoAddDevices" "false"
  Option "AutoEnableDevices" "false"
  Option "AllowMouseOpenFail" "true"
EndSection
Section "Device"
  Identifier "card"
  Driver "dummy"
  VideoRam 65536
  DacSpeed 1000
EndSection
Section "Monitor"
  Identifier "monitor"
  HorizSync 1.0 - 2000.0
  VertRefresh 1.0 - 200.0
  Modeline "3840x2160" 338.75 3840 4080 4488 5136 2160 2163 2168 2200 -hsync +vsync
  Modeline "1920x1080" 173.00 1920 2048 2248 2576 1080 1083 1088 1120 -hsync +vsync
EndSection
Section "Screen"
  Identifier "screen"
  Device "card"
  Monitor "monitor"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Virtual 5760 2160
    Modes "3840x2160"
  EndSubSection
EndSection
CONF
  start_x xorg "$xorg_root/usr/lib/xorg/Xorg" -config "$base/xorg.conf" -configdir "$base/xorg.conf.d" \
    -modulepath "$xorg_root/usr/lib/xorg/modules" -logfile "$base/xorg.log" -noreset -nolisten tcp +extension RANDR
  # X coordinates start at the desktop's top left corner: the second output
  # at x 0, the primary right of it. Wine reads the outputs' cached state,
  # which the query refreshes.
  if ! { xrandr --addmode DUMMY1 1920x1080 &&
         xrandr --output DUMMY1 --mode 1920x1080 --pos 0x0 --output DUMMY0 --primary --mode 3840x2160 --pos 1920x0 &&
         xrandr --query >/dev/null; }; then
    echo "wine-session.sh: could not set up the two monitors" >&2
    xrandr --query >&2
    exit 1
  fi
elif [ -z "${DISPLAY:-}" ] || [ "${QS_XVFB:-0}" = 1 ]; then
  start_x xvfb Xvfb -screen 0 1920x1080x24 -nolisten tcp
fi

mkdir -p "$WINEPREFIX"
# One wineserver for the whole session, kept when no program runs: each
# program then starts without waiting for a new server (nor meets one that
# is shutting down), and the prefix is usable as soon as wineboot returns.
wineserver -p
wineboot -i >/dev/null 2>&1 </dev/null
wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d no-debugger.exe /f \
  >/dev/null 2>&1 </dev/null
if [ $unmanaged = 1 ]; then
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null
fi
"$@"
