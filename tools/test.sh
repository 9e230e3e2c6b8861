#!/usr/bin/env bash
# The one command that runs the test suite on a fresh machine: installs the Debian packages the
# project needs (as root, or through sudo), configures, builds and runs every test.
#
#   tools/test.sh            normal build, then the end-to-end runs (demo build)
#   tools/test.sh asan       AddressSanitizer + UndefinedBehaviorSanitizer build
#   tools/test.sh tsan       ThreadSanitizer build
#   tools/test.sh demo       only the end-to-end runs: the real installer, built with the demo
#                            service's loopback addresses, against the demo service
#   tools/test.sh windows    the Windows cross build (MinGW-w64, libraries cross-built from
#                            Debian's source packages) and its tests under Wine
#   tools/test.sh wine-e2e   the end-to-end runs of the Windows installer under Wine: the
#                            windows-demo build (the installer with the demo service's addresses
#                            by the name localhost), then the Linux driver of the runs (wine-e2e)
#   tools/test.sh all        the six, one after the other
set -euo pipefail
cd "$(dirname "$0")/.."

presets=("$@")
[ ${#presets[@]} -eq 0 ] && presets=(default demo)
[ "${presets[0]}" = all ] && presets=(default asan tsan demo windows wine-e2e)

bash tools/install-deps.sh
for preset in "${presets[@]}"; do
  case "$preset" in windows|wine-e2e) bash tools/install-deps.sh windows; break ;; esac
done

for preset in "${presets[@]}"; do
  case "$preset" in
    default|asan|tsan|demo|windows|wine-e2e) ;;
    *) echo "usage: tools/test.sh [default|asan|tsan|demo|windows|wine-e2e|all]" >&2; exit 2 ;;
  esac
  echo "== $preset build =="
  started=$SECONDS
  if [ "$preset" = wine-e2e ]; then
    cmake --preset windows-demo >/dev/null
    cmake --build --preset windows-demo
  fi
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset"
  echo "== $preset: $((SECONDS - started)) s =="
done
