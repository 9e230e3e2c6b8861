#!/usr/bin/env bash
# Reads a shortcut that the Windows shell saved (under Wine) with lnkinfo, the Linux tool, and
# checks every field the installer sets.
#   tools/windows/check-lnkinfo.sh FILE.lnk
set -euo pipefail
file="$1"
info="$(lnkinfo "$file")"
status=0
expect() {  # LABEL VALUE
  if ! grep -qF "$1"$'\t'": $2" <<<"$info" && ! grep -qE "^[[:space:]]*$1[[:space:]]*: $(printf '%s' "$2" | sed 's/[][\.*^$/]/\\&/g')\$" <<<"$info"; then
    echo "check-lnkinfo: $file: no \"$1: $2\" in:" >&2
    status=1
  fi
}
expect "Local path" 'C:\users\Public\Qvorvane\app\QVorvane.exe'
expect "Command line arguments" '/startgame=VGlkZXM= /game_id=312'
expect "Working directory" 'C:\users\Public\Qvorvane\app'
expect "Icon location" 'C:\users\Public\Qvorvane\gamebag\312\icon.ico'
expect "Description" 'Tides of Valoria Ⅲ'
[ "$status" -eq 0 ] || echo "$info" >&2
exit "$status"
