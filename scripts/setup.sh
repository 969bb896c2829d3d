#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian packages that building, running and testing Cuebolt need; skips what is there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config clang libclang-rt-14-dev
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-image-formats-plugins libgl-dev
  libplist-dev libjack-jackd2-dev jackd2 jack-tools libasound2-dev
  libx11-dev libxtst-dev libxkbcommon-dev libxkbcommon-x11-dev libx11-xcb-dev libxcb1-dev libxcb-xkb-dev
  libcurl4-openssl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  dbus-daemon xvfb x11-xkb-utils x11-utils xdotool desktop-file-utils
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
