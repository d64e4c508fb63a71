#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer target for the response decoder with clang and runs it for 60 s
# (or FUZZ_SECONDS) over a seed corpus generated into the build directory.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${VELMORA_FUZZ_BUILD_DIR:-build-fuzz}
seconds=${FUZZ_SECONDS:-60}
scripts/setup.sh fuzz

CC=clang CXX=clang++ cmake -S . -B "$build_dir" -G Ninja -DVELMORA_FUZZ=ON \
  -DVELMORA_BUILD_UI=OFF -DVELMORA_BUILD_BENCH=OFF >/dev/null
cmake --build "$build_dir" -j2 --target envelope_fuzzer envelope_fuzz_seeds

corpus="$build_dir/fuzz/corpus"
mkdir -p "$corpus" "$build_dir/fuzz/artifacts"
cp tests/fuzz/corpus/*.json "$corpus/"
"$build_dir/fuzz/envelope_fuzz_seeds" "$corpus"

"$build_dir/fuzz/envelope_fuzzer" "$corpus" -max_total_time="$seconds" -timeout=10 \
  -rss_limit_mb=2048 -max_len=262144 -artifact_prefix="$build_dir/fuzz/artifacts/"
