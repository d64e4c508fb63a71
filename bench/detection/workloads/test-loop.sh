#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the "core" CTest suite of a build tree again and again until a time budget is spent.
# Usage: test-loop.sh BUILD_DIR [SECONDS] [JOBS] [EXCLUDE_REGEX]
set -u
dir=${1:?build directory}
budget=${2:-600}
jobs=${3:-2}
exclude=()
if [[ -n "${4:-}" ]]; then exclude=(-E "$4"); fi
round=0
while (( SECONDS < budget )); do
  round=$((round + 1))
  start=$SECONDS
  if ctest --test-dir "$dir" -L core -j"$jobs" "${exclude[@]}" >/dev/null 2>&1; then
    echo "test-loop: round $round passed in $((SECONDS - start)) s" >&2
  else
    echo "test-loop: round $round had failures in $((SECONDS - start)) s" >&2
  fi
done
echo "test-loop: $round rounds in $SECONDS s" >&2
