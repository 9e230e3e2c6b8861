#!/usr/bin/env bash
# Fails unless the first icon group of a Windows program, the one the shell shows for the file,
# is the program icon (id 107) and its one image is exactly the icon's PNG file.
#   tools/windows/check-program-icon.sh program.exe icon.png
# Reads the resource directory with wrestool (icoutils, tools/install-deps.sh windows).
set -euo pipefail

program="$1"
png="$2"
command -v wrestool >/dev/null || { echo "check-program-icon: wrestool is missing (icoutils)" >&2; exit 1; }

first_group="$(wrestool --list --type=group_icon "$program" | head -n 1)"
case "$first_group" in
  *"--name=107 "*) ;;
  *) echo "check-program-icon: the first icon group is '${first_group:-none}', not 107" >&2; exit 1 ;;
esac

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
wrestool --extract --type=group_icon --name=107 --output="$work/icon.ico" "$program"
# The .ico wrestool rebuilds: a 6-byte header whose last field counts the images, a 16-byte
# entry per image (its size at byte 8 of the entry), then the images.
count="$(od -An -tu2 -j4 -N2 "$work/icon.ico" | tr -d ' ')"
if [ "$count" != 1 ]; then
  echo "check-program-icon: icon 107 has $count images, expected 1" >&2
  exit 1
fi
size="$(od -An -tu4 -j14 -N4 "$work/icon.ico" | tr -d ' ')"
if [ "$size" != "$(stat -c %s "$png")" ] || ! tail -c +23 "$work/icon.ico" | head -c "$size" | cmp -s - "$png"; then
  echo "check-program-icon: the image of icon 107 is not $png" >&2
  exit 1
fi
echo "check-program-icon: $program shows icon 107, $(stat -c %s "$png") bytes of PNG"
