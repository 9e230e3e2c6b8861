#!/usr/bin/env bash
# The lower bound of an installation by hand: the transfers and the unpacking the installer makes
# for a new installation, with curl -o, md5sum and unzip -q, one after another.
#
# Usage: tools/bench/install-by-hand.sh CA_FILE HTTPS_BASE_URL DESTINATION
# DESTINATION (made when missing) receives the downloads and the unpacked platform, plug-in and
# game bag. Exits non-zero when a transfer, the plug-in digest or an unpacking fails.
set -euo pipefail
ca="$1" base="$2" dest="$3"
readonly repository="qvorvane/repository"
mkdir -p "$dest/download" "$dest/platform" "$dest/plugin" "$dest/gamebag"
fetch() { curl -s -f --cacert "$ca" -o "$2" "$base/$1"; }

fetch "api/micro/packageInfo?code=tov3_web&lang=en-us&client_id=0" "$dest/download/answer.json"
fetch "$repository/install/QVorvaneSetup_3.2.1.45.zip" "$dest/download/platform.zip"
fetch "$repository/plugin/air/air_runtime_27.zip" "$dest/download/plugin.zip"
fetch "$repository/gamebag/tov3_bag_2.zip" "$dest/download/gamebag.zip"
expected=$(sed -n 's/.*"md5" *: *"\([0-9a-f]*\)".*/\1/p' "$dest/download/answer.json")
actual=$(md5sum "$dest/download/plugin.zip" | cut -d' ' -f1)
[ "$expected" = "$actual" ] || { echo "install-by-hand: plug-in digest $actual, not $expected" >&2; exit 1; }
unzip -q "$dest/download/platform.zip" -d "$dest/platform"
unzip -q "$dest/download/plugin.zip" -d "$dest/plugin"
unzip -q "$dest/download/gamebag.zip" -d "$dest/gamebag"
rm "$dest/download/platform.zip" "$dest/download/plugin.zip"
