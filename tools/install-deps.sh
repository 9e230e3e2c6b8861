#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test and run its demo.
# Idempotent: when every package is already installed it returns at once without touching apt.
#
#   tools/install-deps.sh           the Linux build's packages
#   tools/install-deps.sh windows   the cross build's packages (MinGW-w64, Wine), then the Windows
#                                   libraries cross-built into their cached sysroot
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ pkg-config
  # transfer/
  libcurl4-openssl-dev libssl-dev
  # util/ zip extraction (the zip API only in tests and tools)
  zlib1g-dev libminizip-dev
  # workflow/ package answer, records, language tables
  libjsoncpp-dev libpugixml-dev
  # shortcut icon conversion outside the UI
  libpng-dev
  # ui/, app/
  qt6-base-dev qt6-qpa-plugins libxcb-shape0-dev
  fonts-wqy-microhei fonts-thai-tlwg fonts-dejavu-core
  # tests
  googletest libgtest-dev libgmock-dev libcpp-httplib-dev zip unzip python3 liblnk-utils openssl
  # fuzz targets (tests/fuzz, the fuzz preset): clang and its libFuzzer and sanitizer runtimes
  clang libclang-rt-14-dev llvm-14  # llvm-14: the symbolizer for readable reports
  # benchmarks (tools/bench): the peers our download and extraction are compared with
  curl libarchive-tools
  # the demo (tools/demo/run-demo.sh): real-window runs under Xvfb with a compositing manager,
  # a display check, screenshots
  xvfb xauth xcompmgr x11-utils imagemagick
  # end-to-end tests: the no-connection box is answered with a key press on an Xvfb display;
  # fault injection kills the installer at a chosen rename
  xdotool strace
  # desktop entries: checked with desktop-file-validate and the desktop's own tools (gio,
  # xdg-mime, xdg-open), the MIME cache refreshed with update-desktop-database
  desktop-file-utils xdg-utils libglib2.0-bin
)
if [ "${1:-}" = windows ]; then
  packages+=(
    # the cross toolchain (posix thread model), zlib for Windows, the source-package tools
    g++-mingw-w64-x86-64-posix libz-mingw-w64-dev dpkg-dev
    # the resource directory of the programs read back (wrestool)
    icoutils
    # the tests run under Wine
    wine64
  )
fi

missing=()
for p in "${packages[@]}"; do
  if [ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null)" != "install ok installed" ]; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -ne 0 ]; then
  echo "install-deps: installing ${missing[*]}" >&2
  sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -q
  "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

if [ "${1:-}" = windows ]; then
  "$(dirname "$0")/windows/build-deps.sh" >/dev/null
fi
