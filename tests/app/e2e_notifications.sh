#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# velmora-ui in its normal mode with the real monitor, a private session bus (dbus-daemon) with
# the fake notification server on it, under a private Xvfb display with a tray host. A real
# child leaks memory: the desktop must hear about it once, from the snapshot's own texts, and
# the notification's "Capture evidence" button, pressed by the server, must reach the monitor,
# which writes the evidence file.
#
#   e2e_notifications.sh VELMORA_UI MONITOR FAKE_NOTIFICATION_SERVER MEMORY_CHILD
#
# Exits 77 (skipped) when Xvfb, trayer or dbus-daemon is missing.
set -uo pipefail
export LC_ALL=C
ui=$1 monitor=$2 server=$3 child=$4
for tool in Xvfb trayer dbus-daemon; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "SKIP: $tool is not installed; the notification check needs a display, a tray and a bus"
    exit 77
  fi
done

work=$(mktemp -d)
pids=()
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill -TERM "${pids[i]}" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

source "$(dirname "$0")/e2e_display.sh"
start_display_with_tray
pids+=("${display_pids[@]}")

dbus-daemon --session --nofork --print-address=1 >"$work/bus" 2>/dev/null &
pids+=($!)
for _ in $(seq 50); do [ -s "$work/bus" ] && break; sleep 0.1; done
export DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$work/bus")

use_throwaway_home "$work"
export VELMORA_BACKEND_BIN=$monitor
mkdir -p "$XDG_CONFIG_HOME/velmora"
# Windows shortened so that a real leak shows within seconds.
cat >"$XDG_CONFIG_HOME/velmora/config.json" <<'JSON'
{"tuning": {"sampleIntervalSeconds": 0.25, "suspectDetailSeconds": 0.5,
            "backgroundDetailSeconds": 1.0, "bucketSeconds": 1.0, "rateWindowBuckets": 8,
            "minRateBuckets": 5, "curvatureBuckets": 3, "minFootprintMiB": 16.0,
            "actionWaitSeconds": 3.0}}
JSON

dump=$work/notifications.json
# The child's notification, not that of a compiler that a busy machine runs at the same time.
"$server" "$dump" capture memory_child >"$work/server.log" 2>&1 &
pids+=($!)
sleep 0.5
"$ui" 2>"$work/stderr" &
pids+=($!)
sleep 2
"$child" leak 6 40 &
leaker=$!
pids+=($leaker)

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
# Waits up to $2 seconds for the command $1 to succeed.
await() {
  local end=$((SECONDS + $2))
  until eval "$1"; do
    [ $SECONDS -ge $end ] && return 1
    sleep 0.5
  done
}

notified() { grep -q 'memory_child' "$dump" 2>/dev/null; }
if await notified 60; then
  grep -E '"(summary|body)"' "$dump" | sed 's/^ */  /'
else
  fail "no notification about the leaking child within 60 s"
fi
evidence() { ls "$XDG_DATA_HOME"/velmora/artifacts/*"_${leaker}_"*.json >/dev/null 2>&1; }
await evidence 20 || fail "the notification's Capture evidence wrote no evidence file"

# Many more polls of the same incident: at most the escalation follows, replacing the first.
sleep 8
count=$(grep -c '"summary": ".*memory_child' "$dump")
if [ "$count" -gt 2 ]; then
  fail "$count notifications about one incident"
elif [ "$count" -eq 2 ] && ! grep -q '"replaces_id": 1' "$dump"; then
  fail "the escalation did not replace the first notification"
fi
grep -q "notifications are unavailable" "$work/stderr" && fail "the app found no server"

if [ $failures -ne 0 ]; then
  echo "--- fake server ---" >&2
  cat "$work/server.log" >&2
  echo "--- velmora-ui standard error ---" >&2
  cat "$work/stderr" >&2
  exit 1
fi
echo "PASS: one notification per incident, and its Capture evidence reached the monitor"
