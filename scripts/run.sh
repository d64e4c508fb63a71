#!/usr/bin/env bash
# Installs what is missing, builds everything and starts the tray app. Arguments go to velmora-ui.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
if [ -x build/bin/velmora-ui ]; then
  exec build/bin/velmora-ui "$@"
fi
echo "velmora-ui is not built yet: the tray app has not landed. The tests run with scripts/test.sh." >&2
exit 1
