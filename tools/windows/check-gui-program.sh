#!/usr/bin/env bash
# Fails unless a Windows program is a GUI-subsystem program: started from the desktop it opens
# no console window beside its own windows.
#   tools/windows/check-gui-program.sh program.exe
set -euo pipefail

program="$1"
subsystem="$(x86_64-w64-mingw32-objdump -p "$program" | sed -n 's/^Subsystem[[:space:]]*//p')"
case "$subsystem" in
  *"(Windows GUI)"*) echo "check-gui-program: $program is a GUI program" ;;
  *) echo "check-gui-program: $program has the subsystem '${subsystem:-none}', not Windows GUI" >&2
     exit 1 ;;
esac
