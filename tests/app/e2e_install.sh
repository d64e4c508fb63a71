#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a temporary prefix and runs the installed copy's self-check against a
# fake backend placed where the installed resolver looks (share/velmora/Backend/velmora).
set -uo pipefail
build=$1 probe=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "FAIL: install"; exit 1; }
for f in bin/velmora-ui share/velmora/Info.json share/velmora/VerdictTooltips.txt \
         share/velmora/translations/velmora_de.qm \
         share/applications/velmora.desktop share/icons/hicolor/scalable/apps/velmora.svg; do
  [ -e "$prefix/$f" ] || { echo "FAIL: $f not installed"; exit 1; }
done
mkdir -p "$prefix/share/velmora/Backend"
rm -f "$prefix/share/velmora/Backend/velmora"
cp "$probe" "$prefix/share/velmora/Backend/velmora"
unset VELMORA_BACKEND_BIN VELMORA_RESOURCES_DIR DISPLAY
out=$(cd / && APP_PROBE_MODE=ok "$prefix/bin/velmora-ui" --smoke-test); rc=$?
[ $rc -eq 0 ] || { echo "FAIL: installed self-check exit $rc"; exit 1; }
[[ $out == "VELMORA_UI_SMOKE_OK {"* ]] || { echo "FAIL: '$out'"; exit 1; }
echo "installed copy passed its self-check"
