#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Configures (once) and builds the tree in build/ with Ninja. Extra arguments go to cmake.
# VELMORA_BUILD_TARGETS (space-separated) builds only those targets and what they need.
# A fresh build directory is configured as a unity build: eight sources compiled as one parse
# the Qt, JSON and test headers an eighth as often, which makes a clean build on two cores take
# about half the time. VELMORA_UNITY_BUILD=OFF configures one object per source instead, which
# suits editing and rebuilding one file at a time.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${VELMORA_BUILD_DIR:-build}
if [ ! -f "$build_dir/build.ninja" ]; then
  cmake -S . -B "$build_dir" -G Ninja -DCMAKE_UNITY_BUILD="${VELMORA_UNITY_BUILD:-ON}" "$@"
fi
targets=()
if [ -n "${VELMORA_BUILD_TARGETS:-}" ]; then
  read -r -a names <<<"$VELMORA_BUILD_TARGETS"
  targets=(--target "${names[@]}")
fi
cmake --build "$build_dir" "${targets[@]}"
