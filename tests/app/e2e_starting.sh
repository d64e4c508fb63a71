#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# velmora-ui in its normal mode with a monitor that never answers, under a private Xvfb display
# with a tray host (trayer) and a throw-away home: until the first answer the tray and the
# popover say that Velmora is starting its monitor, with no figures; when the answer deadline
# passes they say it is not watching. At no point do they show an all clear. A second launch
# in the session brings the popover up.
#
#   e2e_starting.sh VELMORA_UI SILENT_BACKEND
#
# Exits 77 (skipped) when Xvfb or trayer is missing. With VELMORA_E2E_SCREENSHOTS=DIR it saves
# the popover while starting and once not watching (app-starting.png,
# app-starting-not-watching.png).
set -uo pipefail
export LC_ALL=C
ui=$1 backend=$2
for tool in Xvfb trayer xwininfo; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "SKIP: $tool is not installed; this check needs a display and a tray"
    exit 77
  fi
done
answer_deadline=15

source "$(dirname "$0")/e2e_display.sh"
begin_private_session
err=$work/stderr
export VELMORA_BACKEND_BIN=$backend VELMORA_FIXTURE_LOG=$work/requests.log

# The popover's window (titled "Velmora", 448 wide inside its shadow margin), once mapped.
popover_window() {
  xwininfo -root -tree 2>/dev/null | awk '/"Velmora"/ && / 4[4-9][0-9]x[0-9]+/ {print $1; exit}'
}
screenshot() { # name
  [ -n "${VELMORA_E2E_SCREENSHOTS:-}" ] || return 0
  local window
  window=$(popover_window)
  [ -n "$window" ] || { fail "no popover window to picture for $1"; return; }
  mkdir -p "$VELMORA_E2E_SCREENSHOTS"
  import -window "$window" "$VELMORA_E2E_SCREENSHOTS/$1.png" 2>/dev/null \
    || fail "could not save $1.png"
}

: >"$err"
start=$SECONDS
"$ui" 2>"$err" >/dev/null &
app=$!

await_line "velmora-ui: the tray shows that Velmora is starting its monitor" 10 \
  || { fail "the tray did not say that the monitor is starting"; finish; }
# A second launch in the session: the running copy shows its popover.
timeout 10 "$ui" >/dev/null 2>"$work/second.err" || fail "the second launch failed"
await_line "another launch in this session asked to show Velmora" 5 \
  || fail "the popover was not asked for"
for _ in $(seq 30); do [ -n "$(popover_window)" ] && break; sleep 0.1; done
[ -n "$(popover_window)" ] || fail "no popover on screen"
sleep 1 # let it settle
[ -s "$work/requests.log" ] || fail "the monitor was not asked for a snapshot"
screenshot app-starting
grep -q "the tray shows that Velmora is not watching" "$err" \
  && fail "'not watching' before the answer deadline"

await_line "velmora-ui: the tray shows that Velmora is not watching (monitor not answering)" \
  $((answer_deadline + 10)) || fail "'not watching' did not follow the missed first answer"
elapsed=$((SECONDS - start))
[ $elapsed -ge $((answer_deadline - 1)) ] || fail "'not watching' after ${elapsed} s, before the deadline"
sleep 0.4 # the popover has grown to the notice; the next try comes 1 s after the miss
screenshot app-starting-not-watching

grep -q "the tray shows that Velmora is watching" "$err" \
  && fail "the tray showed Velmora as watching without an answer"
kill -0 "$app" 2>/dev/null || fail "velmora-ui ended"
echo "measured: starting shown, then not watching after ${elapsed} s"
[ $failures -eq 0 ] && echo "starting checks passed"
finish
