#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package and checks it as a distribution would: lintian (errors fail, the
# rest is printed), the desktop entry, the AppStream metainfo, the file list, and the unpacked
# package itself: velmora-ui's self-check against the packaged monitor and the monitor's
# version. Usage: tests/packaging/check-package.sh [path.deb] (builds one when none is given).
set -uo pipefail
cd "$(dirname "$0")/../.."
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

deb=${1:-}
if [ -z "$deb" ]; then
  deb=$(scripts/package.sh | tail -1) || { echo "FAIL: scripts/package.sh" >&2; exit 1; }
fi
[ -f "$deb" ] || { echo "FAIL: no package at '$deb'" >&2; exit 1; }
echo "package: $deb"
version=$(dpkg-deb -f "$deb" Version)
echo "Depends: $(dpkg-deb -f "$deb" Depends)"
# Heap tracking ("Find where it leaks", velmora where) needs heaptrack and gdb.
recommends=$(dpkg-deb -f "$deb" Recommends)
echo "Recommends: $recommends"
for package in heaptrack gdb; do
  grep -qE "(^|, )$package(,|$| )" <<<"$recommends" || fail "$package is not recommended"
done

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root" || { echo "FAIL: dpkg-deb -x" >&2; exit 1; }

# lintian: any error fails; warnings and the rest are shown to be read.
lintian_out=$(lintian --tag-display-limit 0 --display-info "$deb" 2>&1)
echo "lintian:"; echo "${lintian_out:-  (nothing to report)}"
if grep -q '^E: ' <<<"$lintian_out"; then
  fail "lintian reports errors"
fi

desktop=$root/usr/share/applications/velmora.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate"
grep -qx 'StartupWMClass=Velmora' "$desktop" || fail "StartupWMClass is not Velmora"
metainfo=$root/usr/share/metainfo/velmora.metainfo.xml
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"
grep -q "<launchable type=\"desktop-id\">velmora.desktop</launchable>" "$metainfo" \
  || fail "the metainfo does not launch velmora.desktop"
grep -q "<release version=\"$version\"" "$metainfo" || fail "no metainfo release for $version"

for f in usr/bin/velmora-ui usr/bin/velmora usr/share/velmora/Backend/velmora \
         usr/share/velmora/VerdictTooltips.txt usr/share/velmora/Info.json \
         usr/share/velmora/translations/velmora_de.qm \
         usr/share/icons/hicolor/scalable/apps/velmora.svg \
         usr/share/man/man1/velmora.1.gz usr/share/man/man1/velmora-ui.1.gz \
         usr/share/doc/velmora/copyright usr/share/doc/velmora/changelog.gz \
         usr/share/velmora/prometheus/velmora-alerts.yml \
         usr/lib/systemd/user/velmora-serve.service \
         usr/lib/systemd/system/velmora-serve-all.service; do
  [ -f "$root/$f" ] || fail "$f is not in the package"
done
# The pseudo-language is for the tests of a build tree only.
[ ! -e "$root/usr/share/velmora/translations/velmora_pseudo.qm" ] \
  || fail "the pseudo-language's catalogue is in the package"
# The information dictionary holds the version and nothing else.
info=$(tr -d ' \n' <"$root/usr/share/velmora/Info.json")
[ "$info" == "{\"version\":\"$version\"}" ] || fail "Info.json is '$info'"
for size in 16 24 32 48 64 128 256; do
  icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/velmora.png
  [ "$(identify -format '%wx%h' "$icon" 2>/dev/null)" == "${size}x${size}" ] \
    || fail "no ${size}x${size} icon"
done
for page in velmora velmora-ui; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$root/usr/share/man/man1/$page.1.gz" \
    2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "$page(1): $warnings"
done

# The headless monitor's units are valid, its rules load, and the package pulls in the
# prometheus-cpp libraries it links.
if command -v systemd-analyze >/dev/null; then
  for unit in usr/lib/systemd/user/velmora-serve.service usr/lib/systemd/system/velmora-serve-all.service; do
    problems=$(systemd-analyze verify "$root/$unit" 2>&1 | grep -v -e 'is not executable' \
      -e "Command 'man velmora(1)' failed" -e 'RuntimeDirectory path' -e 'initialize manager')
    [ -z "$problems" ] || fail "$unit: $problems"
  done
fi
if command -v promtool >/dev/null; then
  promtool check rules "$root/usr/share/velmora/prometheus/velmora-alerts.yml" >/dev/null \
    || fail "promtool check rules"
fi
dpkg-deb -f "$deb" Depends | grep -q libprometheus-cpp-pull || fail "Depends lacks libprometheus-cpp-pull"

# The monitor says the package's version.
monitor_version=$("$root/usr/bin/velmora" --version) || fail "velmora --version exited $?"
[ "$monitor_version" == "velmora $version" ] \
  || fail "velmora --version says '$monitor_version', the package is $version"

# The unpacked app finds the packaged monitor by its own location, with no help from the
# environment, and passes its self-check with a throwaway home.
unset VELMORA_BACKEND_BIN VELMORA_RESOURCES_DIR DISPLAY WAYLAND_DISPLAY
out=$(cd / && QT_QPA_PLATFORM=offscreen timeout 60 "$root/usr/bin/velmora-ui" --smoke-test \
  --smoke-home "$root/home" 2>&1)
rc=$?
[ $rc -eq 0 ] || fail "velmora-ui --smoke-test exited $rc: $out"
[[ $out == "VELMORA_UI_SMOKE_OK {"* ]] || fail "velmora-ui --smoke-test said '$out'"
echo "unpacked self-check: ${out:0:200}"

[ $failures -eq 0 ] && echo "package checks passed"
exit $((failures > 0))
