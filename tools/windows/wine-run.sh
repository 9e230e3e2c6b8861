#!/usr/bin/env bash
# Runs one Windows program under Wine in a fresh prefix of its own, for CTest's cross-compiling
# emulator. The first call of a run makes a template prefix with `wineboot -i` (under a lock, so
# parallel tests wait for one another only then); every program gets a copy of it, removed after.
#   QV_WINE_TEMPLATE  where the template prefix lives (default: under the build's temporary dir)
set -euo pipefail

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

prefix="$(mktemp -d "${TMPDIR:-/tmp}/qv-wine-XXXXXX")"
cleanup() {
  # End the prefix's server and every process in it, wait until the server has gone (it writes
  # its files into the prefix as it ends), then remove the prefix.
  WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true
  WINEPREFIX="$prefix" /usr/lib/wine/wineserver -w 2>/dev/null || true
  rm -rf "$prefix" || true
}
trap cleanup EXIT
cp -a "$template/." "$prefix/"
rm -f "$prefix/.ready"
# wineboot links the user's shell folders (Desktop, Documents, ...) to the Linux user's home: a
# program writing its desktop shortcut would write into that home. Each becomes a folder of the
# prefix's own.
for link in "$prefix"/drive_c/users/*/*; do
  if [ -L "$link" ]; then
    rm -f "$link"
    mkdir -p "$link"
  fi
done
export WINEPREFIX="$prefix"
status=0
"$wine" "$@" || status=$?
# A program that ends before it printed anything otherwise leaves no trace in the test's log.
[ "$status" -eq 0 ] || echo "wine-run: $1 ended with status $status" >&2
# Whatever the program left running in its prefix (a console host, a child it ended but whose
# helpers linger) goes with the prefix: the trap ends the prefix's server and its processes
# rather than waiting for them.
exit "$status"
