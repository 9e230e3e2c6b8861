#!/usr/bin/env bash
# Makes a fresh Wine prefix at PREFIX (a folder that does not exist yet, or an empty one):
# a copy of a template prefix made once with `wineboot -i` (under a lock, so parallel callers
# wait for one another only then), with the user's shell folders (Desktop, Documents, ...) made
# folders of the prefix's own; wineboot links them to the Linux user's home, where a program
# writing its desktop shortcut would write.
#   tools/windows/wine-prefix.sh PREFIX [--fonts]
#   --fonts           map the font faces the installer's windows ask for to installed fonts
#                     with CJK, Thai and Arabic coverage (tools/windows/wine-fonts.reg); Wine
#                     takes no letters from the fonts linked to a replaced face, so a prefix
#                     whose language is Thai or Arabic (LC_ALL, LC_MESSAGES or LANG) maps the
#                     face to a font of that script with Latin letters instead of the CJK one
#   QV_WINE_TEMPLATE  where the template prefix lives (default: under the temporary folder)
set -euo pipefail

prefix="${1:?usage: wine-prefix.sh PREFIX [--fonts]}"
fonts=0
[ "${2:-}" = --fonts ] && fonts=1
wine=/usr/lib/wine/wine64
template="${QV_WINE_TEMPLATE:-${TMPDIR:-/tmp}/qv-wine-template-$(id -u)}"
export WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

(
  flock 9
  if [ ! -f "$template/.ready" ]; then
    rm -rf "$template"
    WINEPREFIX="$template" "$wine" wineboot -i >/dev/null 2>&1
    WINEPREFIX="$template" /usr/lib/wine/wineserver -w
    touch "$template/.ready"
  fi
) 9>"$template.lock"

mkdir -p "$prefix"
cp -a "$template/." "$prefix/"
rm -f "$prefix/.ready"
for link in "$prefix"/drive_c/users/*/*; do
  if [ -L "$link" ]; then
    rm -f "$link"
    mkdir -p "$link"
  fi
done
if [ "$fonts" -eq 1 ]; then
  WINEPREFIX="$prefix" "$wine" regedit /S \
    "Z:$(realpath "$(dirname "$0")")/wine-fonts.reg" >/dev/null 2>&1
  case "${LC_ALL:-${LC_MESSAGES:-${LANG:-}}}" in
    th*) face=Loma ;;
    ar*) face="DejaVu Sans" ;;
    *) face= ;;
  esac
  if [ -n "$face" ]; then
    WINEPREFIX="$prefix" "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' \
      /v "Microsoft YaHei" /d "$face" /f >/dev/null 2>&1
  fi
  WINEPREFIX="$prefix" /usr/lib/wine/wineserver -w
fi
