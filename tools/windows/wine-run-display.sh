#!/usr/bin/env bash
# Runs one Windows program under Wine (wine-run.sh, a fresh prefix of its own) on a virtual X
# display of its own: Wine shows windows only where an X server is. Xvfb takes a free display
# number itself (-displayfd) and says which once it accepts clients; it ends with the program.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

coproc XVFB { exec /usr/bin/Xvfb -displayfd 1 -screen 0 1280x800x24 -nolisten tcp 2>/dev/null; }
xvfb_pid=$XVFB_PID
trap 'kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true' EXIT
if ! read -r -t 60 number <&"${XVFB[0]}"; then
  echo "wine-run-display: Xvfb did not start" >&2
  exit 1
fi
status=0
DISPLAY=":$number" "$here/wine-run.sh" "$@" || status=$?
exit "$status"
