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
#   tools/test.sh all        the five, one after the other
set -euo pipefail
cd "$(dirname "$0")/.."

presets=("$@")
[ ${#presets[@]} -eq 0 ] && presets=(default demo)
[ "${presets[0]}" = all ] && presets=(default asan tsan demo windows)

bash tools/install-deps.sh
for preset in "${presets[@]}"; do
  [ "$preset" = windows ] && bash tools/install-deps.sh windows
done

for preset in "${presets[@]}"; do
  case "$preset" in
    default|asan|tsan|demo|windows) ;;
    *) echo "usage: tools/test.sh [default|asan|tsan|demo|windows|all]" >&2; exit 2 ;;
  esac
  echo "== $preset build =="
  started=$SECONDS
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset"
  echo "== $preset: $((SECONDS - started)) s =="
done
