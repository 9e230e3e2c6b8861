#!/usr/bin/env bash
# Runs one Windows program under Wine in a fresh prefix of its own, for CTest's cross-compiling
# emulator: a copy of the template prefix (tools/windows/wine-prefix.sh), removed after.
#   QV_WINE_TEMPLATE  where the template prefix lives (default: under the build's temporary dir)
set -euo pipefail

wine=/usr/lib/wine/wine64
export WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

prefix="$(mktemp -d "${TMPDIR:-/tmp}/qv-wine-XXXXXX")"
cleanup() {
  # End the prefix's server and every process in it, wait until the server has gone (it writes
  # its files into the prefix as it ends), then remove the prefix.
  WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true
  WINEPREFIX="$prefix" /usr/lib/wine/wineserver -w 2>/dev/null || true
  rm -rf "$prefix" || true
}
trap cleanup EXIT
"$(dirname "$0")/wine-prefix.sh" "$prefix"
export WINEPREFIX="$prefix"
status=0
"$wine" "$@" || status=$?
# A program that ends before it printed anything otherwise leaves no trace in the test's log.
[ "$status" -eq 0 ] || echo "wine-run: $1 ended with status $status" >&2
# Whatever the program left running in its prefix (a console host, a child it ended but whose
# helpers linger) goes with the prefix: the trap ends the prefix's server and its processes
# rather than waiting for them.
exit "$status"
