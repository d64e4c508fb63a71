#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds only what running needs (velmora-ui and the monitor
# velmora, with the resources they find in build/share/velmora/) and starts the tray app.
# Arguments go to velmora-ui (for instance --demo-detail-routing to run it on the built-in
# demo scenario). scripts/test.sh builds everything else in the same build directory.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
VELMORA_BUILD_TARGETS="velmora-ui velmora" scripts/build.sh
exec "${VELMORA_BUILD_DIR:-build}/bin/velmora-ui" "$@"
