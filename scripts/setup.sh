#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs every Debian 12 package Velmora needs to build, test, package and run; with the
# argument `fuzz`, clang and its fuzzing runtime too (only scripts/fuzz.sh builds with them).
# Safe to run again: packages already present are left alone.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-qpa-plugins qt6-wayland qt6-l10n-tools qt6-tools-dev
  nlohmann-json3-dev
  libgtest-dev libgmock-dev googletest
  libbenchmark-dev
  libsqlite3-dev
  prometheus-cpp-dev prometheus libcrypt-dev openssl
  xvfb xauth trayer x11-utils xdotool weston imagemagick fonts-dejavu-core
  xdg-utils dbus-daemon
  heaptrack gdb
  dpkg-dev file lintian desktop-file-utils appstream man-db
)
if [ "${1:-}" = fuzz ]; then
  packages+=(clang libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
echo "setup: installing ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
