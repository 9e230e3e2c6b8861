#!/usr/bin/env bash
# Reads a shortcut that the Windows shell saved (under Wine) with lnkinfo, the Linux tool, and
# checks every field the installer sets.
#   tools/windows/check-lnkinfo.sh FILE.lnk
set -euo pipefail
file="$1"
info="$(lnkinfo "$file")"
status=0
expect() {  # LABEL VALUE: the value lnkinfo shows after "LABEL<tabs>: "
  local shown
  shown="$(sed -n "s/^[[:space:]]*$1[[:space:]]*: //p" <<<"$info" | head -n1)"
  if [ "$shown" != "$2" ]; then
    echo "check-lnkinfo: $file: $1 is \"$shown\", not \"$2\"" >&2
    status=1
  fi
}
expect "Local path" 'C:\users\Public\Qvorvane\app\QVorvane.exe'
expect "Command line arguments" '/startgame=VGlkZXM= /game_id=312 /flag=tov3_web'
expect "Working directory" 'C:\users\Public\Qvorvane\app'
expect "Icon location" 'C:\users\Public\Qvorvane\gamebag\312\icon.ico'
expect "Description" 'Tides of Valoria Ⅲ'
[ "$status" -eq 0 ] || echo "$info" >&2
exit "$status"
