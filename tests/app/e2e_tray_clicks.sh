#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# velmora-ui in its normal mode under a private Xvfb display with an XEmbed tray (trayer) and a
# throw-away home: a click on the tray icon opens the popover under the icon, another click
# closes it, and a double click leaves it open.
#
#   e2e_tray_clicks.sh VELMORA_UI BACKEND
#
# Exits 77 (skipped) when Xvfb, trayer, xwininfo or xdotool is missing.
set -uo pipefail
export LC_ALL=C
ui=$1 backend=$2
for tool in Xvfb trayer xwininfo xdotool; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "SKIP: $tool is not installed; the tray click check needs a display, a tray and a pointer"
    exit 77
  fi
done

source "$(dirname "$0")/e2e_display.sh"
begin_private_session
err=$work/stderr
export VELMORA_BACKEND_BIN=$backend

# The visible windows of velmora-ui, each as "id x y width height" on the screen.
app_windows() {
  local window
  for window in $(xdotool search --onlyvisible --class velmora 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$window")"
    echo "$window $X $Y $WIDTH $HEIGHT"
  done
}
# The tray icon is the small one, the popover the one at least 400 pixels wide.
icon_window() { app_windows | awk '$4 < 100 {print; exit}'; }
popover_window() { app_windows | awk '$4 >= 400 {print; exit}'; }
await_popover() { # shown|hidden
  for _ in $(seq 30); do
    if [ -n "$(popover_window)" ]; then [ "$1" = shown ] && return 0
    else [ "$1" = hidden ] && return 0; fi
    sleep 0.1
  done
  return 1
}

: >"$err"
"$ui" 2>"$err" >/dev/null &
app=$!
await_line "velmora-ui: showing Velmora in the tray (XEmbed)" 10 \
  || { fail "velmora-ui did not put its icon in the XEmbed tray"; finish; }
for _ in $(seq 30); do [ -n "$(icon_window)" ] && break; sleep 0.1; done
read -r icon icon_x icon_y icon_w icon_h < <(icon_window)
[ -n "${icon:-}" ] || { fail "no tray icon window on screen"; finish; }
click() { xdotool mousemove --window "$icon" 5 5 click "$@" 1; }

# A click opens the popover under the icon: below it, across its centre.
click
await_popover shown || { fail "a click did not open the popover"; finish; }
read -r _ x y width _ < <(popover_window)
centre=$((icon_x + icon_w / 2))
if [ -n "${x:-}" ]; then
  [ "$y" -ge $((icon_y + icon_h)) ] || fail "the popover (y $y) is not under the icon (bottom $((icon_y + icon_h)))"
  [ "$x" -le "$centre" ] && [ $((x + width)) -ge "$centre" ] \
    || fail "the popover ($x..$((x + width))) is not across the icon's centre $centre"
fi
grep -qF "velmora-ui: the popover opens under the tray icon" "$err" \
  || fail "the popover was not placed at the icon"
echo "ok: a click opens the popover under the icon"

sleep 0.6 # past the double-click interval: a click of its own
click
if await_popover hidden; then echo "ok: another click closes it"
else fail "a second click did not close the popover"; fi

# A double click leaves it open (its first click opens it; the second must not close it).
sleep 0.6
click --repeat 2 --delay 80
sleep 0.5 # the double click's events have all arrived
if [ -n "$(popover_window)" ]; then
  echo "ok: a double click leaves it open"
else
  fail "a double click left the popover closed"
fi

kill -0 "$app" 2>/dev/null || fail "velmora-ui ended"
[ $failures -eq 0 ] && echo "tray click checks passed"
finish
