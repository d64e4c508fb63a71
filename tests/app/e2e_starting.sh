#!/usr/bin/env bash
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

work=$(mktemp -d)
err=$work/stderr
app="" tray="" xvfb=""
display_number=$((90 + RANDOM % 400))
cleanup() {
  [ -n "$app" ] && kill -TERM "$app" 2>/dev/null
  [ -n "$tray" ] && kill "$tray" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb ":$display_number" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=":$display_number"
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display_number" ] && break; sleep 0.1; done
trayer --edge top --align right --widthtype pixel --width 200 --height 28 >/dev/null 2>&1 &
tray=$!
sleep 0.5

export QT_QPA_PLATFORM=xcb HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run
export XDG_DATA_HOME=$work/data XDG_STATE_HOME=$work/state VELMORA_BACKEND_BIN=$backend
export VELMORA_FIXTURE_LOG=$work/requests.log
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" "$XDG_DATA_HOME"
chmod 700 "$XDG_RUNTIME_DIR"

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
finish() {
  if [ $failures -ne 0 ]; then
    echo "--- velmora-ui standard error ---" >&2
    cat "$err" >&2
  fi
  exit $((failures > 0))
}
# Waits up to $2 seconds for a line of velmora-ui's standard error that contains $1.
await_line() {
  local end=$((SECONDS + $2))
  until grep -qF -- "$1" "$err"; do
    [ $SECONDS -ge $end ] && return 1
    sleep 0.1
  done
}
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

await_line "VelmoraUIApp: the tray shows that Velmora is starting its monitor" 10 \
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

await_line "VelmoraUIApp: the tray shows that Velmora is not watching (monitor not answering)" \
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
