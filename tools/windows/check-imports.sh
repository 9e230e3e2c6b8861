#!/usr/bin/env bash
# Fails when a Windows program imports a DLL that is not Windows' own: what a user downloads must
# run from its one file (libgcc, libstdc++, winpthread and every library linked statically).
#   tools/windows/check-imports.sh program.exe...
set -euo pipefail

# The system's own DLLs the programs may use (upper case).
allowed=" ADVAPI32.DLL BCRYPT.DLL COMCTL32.DLL COMDLG32.DLL CRYPT32.DLL GDI32.DLL GDIPLUS.DLL \
IPHLPAPI.DLL KERNEL32.DLL MSIMG32.DLL MSVCRT.DLL OLE32.DLL OLEAUT32.DLL SHELL32.DLL SHLWAPI.DLL \
USER32.DLL UXTHEME.DLL VERSION.DLL WINMM.DLL WS2_32.DLL "

status=0
for program in "$@"; do
  imports="$(x86_64-w64-mingw32-objdump -p "$program" | sed -n 's/^[[:space:]]*DLL Name: //p')"
  if [ -z "$imports" ]; then
    echo "check-imports: $program: no import table read" >&2
    status=1
    continue
  fi
  for dll in $imports; do
    upper="$(printf '%s' "$dll" | tr '[:lower:]' '[:upper:]')"
    case "$allowed" in
      *" $upper "*) ;;
      *) echo "check-imports: $program imports $dll, which is not Windows' own" >&2; status=1 ;;
    esac
  done
done
exit "$status"
