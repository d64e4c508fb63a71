#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# End-to-end runs of the interactive self-checks under a private Xvfb display with a tray host
# (trayer), each with its own throw-away home so nothing touches the user's settings.
set -uo pipefail
ui=$1 session=$2 monitor=${3:-}
source "$(dirname "$0")/e2e_display.sh"
begin_private_session

expect_ok() { # name, expected fragment, args...
  local name=$1 fragment=$2; shift 2
  out=$(timeout 30 "$ui" --interactive-menu-smoke "$@" 2>"$work/err"); rc=$?
  [ $rc -eq 0 ] || { fail "$name: exit $rc: $(cat "$work/err")"; return; }
  [[ $out == "VELMORA_UI_SMOKE_OK {"* ]] || fail "$name: output '$out'"
  [[ $out == *'"menuBarButtonPresent":true,"popoverShown":true'* ]] || fail "$name: surfaces: $out"
  [[ $out == *"$fragment"* ]] || fail "$name: missing $fragment in $out"
  echo "ok: $name"
}

expect_ok "detail routing" '"hasSelectedDetail":true' --demo-detail-routing
expect_ok "advanced history" '"historicalDetailShown":true' --demo-detail-routing --advanced-history-smoke
expect_ok "export feedback" '"actionFeedbackTitle":"Report exported"' --demo-detail-routing --export-feedback-smoke

export VELMORA_BACKEND_BIN=$session
expect_ok "restart feedback" '"actionFeedbackTitle":"Restart completed"' --restart-feedback-smoke
expect_ok "restart feedback with a key" '"actionFeedbackTitle":"Restart completed"' \
  --restart-feedback-smoke --restart-feedback-target-key org.example.editor

# A real process for the backend to stop; orphaned so that it is reaped as soon as it ends.
( sleep 120 & echo $! >"$work/target.pid" )
target=$(cat "$work/target.pid")
APP_RECOVERY_TARGET_PID=$target expect_ok "recovery feedback" '"recoveryTargetExited":true' \
  --recovery-feedback-smoke --recovery-smoke-pid "$target"
kill "$target" 2>/dev/null

start=$(date +%s)
out=$(timeout 30 "$ui" --interactive-menu-smoke --recovery-feedback-smoke 2>"$work/err"); rc=$?
elapsed=$(($(date +%s) - start))
[ $rc -eq 1 ] || fail "recovery without a pid: exit $rc"
[ -z "$out" ] || fail "recovery without a pid printed '$out'"
grep -qx "velmora-ui: interactive menu smoke timed out" "$work/err" \
  || grep -qx "velmora-ui: recovery feedback smoke timed out waiting for action feedback" "$work/err" \
  || fail "recovery without a pid: $(cat "$work/err")"
[ $elapsed -le 15 ] || fail "recovery without a pid took ${elapsed}s"
echo "ok: recovery without a pid ends by its time-out"

# The same self-checks against the real monitor, with targets named in the file that
# VELMORA_SELF_CHECK_TARGETS names (the monitor reads no other).
if [ -n "$monitor" ]; then
  export VELMORA_BACKEND_BIN=$monitor
  export VELMORA_SELF_CHECK_TARGETS=$work/self-check-targets.json
  # A distinctive argument finds the relaunched copy, which nothing else owns.
  restart_argument=$((3000 + RANDOM % 1000)).$$
  ( setsid sleep "$restart_argument" & echo $! >"$work/restart.pid" )
  echo "{\"restart\": $(cat "$work/restart.pid")}" >"$VELMORA_SELF_CHECK_TARGETS"
  expect_ok "monitor: restart feedback" '"actionFeedbackTitle":"Restart completed"' \
    --restart-feedback-smoke
  kill "$(cat "$work/restart.pid")" 2>/dev/null
  pkill -u "$(id -u)" -fx "sleep $restart_argument" 2>/dev/null

  ( setsid sleep 120 & echo $! >"$work/target.pid" )
  target=$(cat "$work/target.pid")
  echo "{\"recovery\": $target}" >"$VELMORA_SELF_CHECK_TARGETS"
  expect_ok "monitor: recovery feedback" '"recoveryTargetExited":true' \
    --recovery-feedback-smoke --recovery-smoke-pid "$target"
  kill "$target" 2>/dev/null
  unset VELMORA_SELF_CHECK_TARGETS
fi

[ $failures -eq 0 ] && echo "all interactive checks passed"
exit $((failures > 0))
