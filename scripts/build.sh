#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Configures (once) and builds the tree in build/ with Ninja. Extra arguments go to cmake.
# VELMORA_BUILD_TARGETS (space-separated) builds only those targets and what they need.
# VELMORA_UNITY_BUILD=ON configures a fresh build directory as a unity build: eight sources
# compiled as one parse the Qt, JSON and test headers an eighth as often (the model library
# compiled in a third of the compiler time). The default, one object per source, suits editing
# and rebuilding one file at a time.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${VELMORA_BUILD_DIR:-build}
if [ ! -f "$build_dir/build.ninja" ]; then
  cmake -S . -B "$build_dir" -G Ninja -DCMAKE_UNITY_BUILD="${VELMORA_UNITY_BUILD:-OFF}" "$@"
fi
targets=()
if [ -n "${VELMORA_BUILD_TARGETS:-}" ]; then
  read -r -a names <<<"$VELMORA_BUILD_TARGETS"
  targets=(--target "${names[@]}")
fi
cmake --build "$build_dir" "${targets[@]}"
