#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package with CPack's DEB generator and prints the path of the .deb on
# standard output (the build talks on standard error).
#   scripts/package.sh [cmake arguments]: a Release build of the app and the monitor (no tests,
#     no benchmarks) in build-package/ (or $VELMORA_PACKAGE_BUILD_DIR).
#   scripts/package.sh --from DIR: packs an existing Release build, such as the build/ that the
#     tests ran on, without compiling anything twice. The build must be hardened and free of
#     sanitizers, as the package's own build is; tests and benchmarks are never installed.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh >&2

cache_value() { sed -n "s/^$2:[A-Z]*=//p" "$1/CMakeCache.txt"; }

if [ "${1:-}" == "--from" ]; then
  build_dir=${2:?"--from needs a build folder"}
  [ -f "$build_dir/CMakeCache.txt" ] || { echo "package: $build_dir is not a configured build" >&2; exit 1; }
  type=$(cache_value "$build_dir" CMAKE_BUILD_TYPE)
  sanitize=$(cache_value "$build_dir" VELMORA_SANITIZE)
  hardening=$(cache_value "$build_dir" VELMORA_HARDENING)
  ui=$(cache_value "$build_dir" VELMORA_BUILD_UI)
  if [ "$type" != "Release" ] || [ -n "$sanitize" ] || [ "$hardening" != "ON" ] || [ "$ui" != "ON" ]; then
    echo "package: $build_dir is not a hardened Release build with the app and without sanitizers" \
      "(type '$type', sanitize '$sanitize', hardening '$hardening', app '$ui')" >&2
    exit 1
  fi
else
  build_dir=${VELMORA_PACKAGE_BUILD_DIR:-build-package}
  cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMORA_BUILD_UI=ON \
    -DVELMORA_BUILD_TESTS=OFF -DVELMORA_BUILD_BENCH=OFF -DVELMORA_SANITIZE= -DVELMORA_HARDENING=ON \
    "$@" >/dev/null
fi
cmake --build "$build_dir" >&2
(cd "$build_dir" && cpack -G DEB >&2)
deb=$(ls -t "$build_dir"/velmora_*.deb | head -1)
realpath "$deb"
