#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package: a Release build of the app and the monitor (no tests, no
# benchmarks) in build-package/ (or $VELMORA_PACKAGE_BUILD_DIR), then CPack's DEB generator.
# Prints the path of the .deb on standard output (the build talks on standard error). Extra
# arguments go to cmake.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh >&2
build_dir=${VELMORA_PACKAGE_BUILD_DIR:-build-package}
# Debian's hardening flags (those of dpkg-buildflags with hardening=+all, without -g).
hardening="-D_FORTIFY_SOURCE=2 -fstack-protector-strong -Wformat -Werror=format-security"
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DVELMORA_BUILD_TESTS=OFF -DVELMORA_BUILD_BENCH=OFF -DVELMORA_SANITIZE= \
  -DCMAKE_CXX_FLAGS="$hardening" -DCMAKE_C_FLAGS="$hardening" \
  -DCMAKE_EXE_LINKER_FLAGS="-Wl,-z,relro -Wl,-z,now" \
  "$@" >/dev/null
cmake --build "$build_dir" >&2
(cd "$build_dir" && cpack -G DEB >&2)
deb=$(ls -t "$build_dir"/velmora_*.deb | head -1)
realpath "$deb"
