#!/usr/bin/env bash
# Sets up what is missing, builds the x86_64 program and starts it under
# Wine: on the current display, or on a new Xvfb when there is none.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
tools/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target Quillsnapper
exe=build/win64/app/Quillsnapper.exe
export WINEDEBUG=${WINEDEBUG:--all}
if [ -z "${DISPLAY:-}" ]; then
  echo "run: no display; starting Xvfb (use xdotool or a VNC viewer on it to interact)"
  exec xvfb-run -a -s "-screen 0 1920x1080x24" wine "$exe" "$@"
fi
exec wine "$exe" "$@"
