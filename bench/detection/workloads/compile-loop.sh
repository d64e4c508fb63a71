#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Repeats a clean parallel build of a build tree until a time budget is spent.
# Usage: compile-loop.sh BUILD_DIR [SECONDS] [JOBS]
# If the full build fails (sources moving under it), later rounds build only the
# model and backend libraries. Each round is logged on stderr.
set -u
dir=${1:?build directory}
budget=${2:-720}
jobs=${3:-2}
targets=()
round=0
while (( SECONDS < budget )); do
  round=$((round + 1))
  start=$SECONDS
  ninja -C "$dir" clean >/dev/null
  if ninja -C "$dir" -j"$jobs" "${targets[@]}" >/dev/null; then
    echo "compile-loop: round $round ok in $((SECONDS - start)) s (${targets[*]:-all})" >&2
  else
    echo "compile-loop: round $round FAILED in $((SECONDS - start)) s (${targets[*]:-all})" >&2
    if (( ${#targets[@]} == 0 )); then
      targets=(velmora_model velmora_backend)
    fi
  fi
done
echo "compile-loop: $round rounds in $SECONDS s" >&2
