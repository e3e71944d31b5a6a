#!/usr/bin/env bash
# Checks that a Windows executable is of the expected machine type and
# imports only DLLs that every Windows installation has.
#
#   tools/check-imports.sh pe32|pe32+ PROGRAM.exe
set -euo pipefail
kind=$1 exe=$2
case "$kind" in
  pe32)  file "$exe" | grep -q 'PE32 executable' ;;
  pe32+) file "$exe" | grep -q 'PE32+ executable' ;;
esac || { echo "check-imports: $exe is not $kind: $(file -b "$exe")" >&2; exit 1; }
system='^(kernel32|user32|gdi32|advapi32|shell32|shlwapi|ole32|oleaut32|comctl32|comdlg32|msvcrt|ws2_32|psapi|imm32|usp10|winmm|version|uxtheme|dwmapi|shcore|bcrypt|crypt32|rpcrt4|uuid)\.dll$'
bad=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | grep -v -E "$system" || true)
if [ -n "$bad" ]; then
  echo "check-imports: $exe imports non-system DLLs: $bad" >&2; exit 1
fi
echo "check-imports: $exe is $kind and imports only system DLLs"
