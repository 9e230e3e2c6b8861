#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test and run its demo.
# Idempotent: when every package is already installed it returns at once without touching apt.
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
)

missing=()
for p in "${packages[@]}"; do
  if [ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null)" != "install ok installed" ]; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "install-deps: installing ${missing[*]}" >&2
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
