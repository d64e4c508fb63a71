#!/usr/bin/env bash
# Installs what is missing, builds everything and starts the tray app. Arguments go to velmora-ui
# (for instance --demo-detail-routing to run it on the built-in demo scenario).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
exec "${VELMORA_BUILD_DIR:-build}/bin/velmora-ui" "$@"
