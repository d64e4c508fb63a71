#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# One velmora-ui per graphical session, not per user: copies with different runtime directories
# ($XDG_RUNTIME_DIR, one per login session) run side by side; a later launch in a session hands
# over to that session's copy, which shows itself, and ends; a copy killed without cleaning up
# leaves a lock the next launch takes over. Without a runtime directory, a stand-in folder in the
# temporary folder that is not private is never used. Offscreen: no display is needed.
#
#   e2e_session_instance.sh VELMORA_UI BACKEND
set -uo pipefail
ui=$1 backend=$2
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill -TERM "$pid" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
export QT_QPA_PLATFORM=offscreen HOME=$work/home XDG_CONFIG_HOME=$work/config
export XDG_DATA_HOME=$work/data XDG_STATE_HOME=$work/state VELMORA_BACKEND_BIN=$backend
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$work/session1" "$work/session2"
chmod 700 "$work/session1" "$work/session2"

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
finish() {
  if [ $failures -ne 0 ]; then
    for log in "$work"/*.err; do echo "--- $(basename "$log") ---" >&2; cat "$log" >&2; done
  fi
  exit $((failures > 0))
}
# Waits up to $2 seconds for the command $1 to succeed.
await() {
  local end=$((SECONDS + $2))
  until eval "$1"; do
    [ $SECONDS -ge $end ] && return 1
    sleep 0.1
  done
}
# A copy has got past the one-copy check once it has started its monitor.
launch() { # name, runtime directory: starts a copy in the background
  XDG_RUNTIME_DIR=$2 VELMORA_FIXTURE_START_LOG=$work/$1.start "$ui" >/dev/null 2>"$work/$1.err" &
}
started() { [ -s "$work/$1.start" ]; }

launch first "$work/session1"
first=$!
pids+=("$first")
await "started first" 10 || { fail "the first copy did not start"; finish; }
sleep 0.5 # listening by now

# Another session of the same user: a copy of its own.
launch other "$work/session2"
other=$!
pids+=("$other")
await "started other || ! kill -0 $other 2>/dev/null" 10
started other || fail "the copy of the second session did not start"
kill -0 "$first" 2>/dev/null || fail "the first copy ended"
kill -0 "$other" 2>/dev/null || fail "the copy of the second session ended"
grep -q "duplicate UI launch" "$work/other.err" && fail "the second session handed over to the first"
echo "ok: two sessions, two copies"

# A later launch in the first session: it hands over and ends; the first copy shows itself.
XDG_RUNTIME_DIR=$work/session1 VELMORA_FIXTURE_START_LOG=$work/later.start timeout 10 "$ui" \
  >/dev/null 2>"$work/later.err"
rc=$?
started later && fail "the later launch started a monitor of its own"
[ $rc -eq 0 ] || fail "the later launch ended with $rc"
grep -qx "velmora-ui: duplicate UI launch detected; keeping existing instance pid $first" \
  "$work/later.err" || fail "the later launch did not name the first copy"
await "grep -q 'another launch in this session asked to show Velmora' '$work/first.err'" 5 \
  || fail "the first copy was not asked to show itself"
echo "ok: a later launch in the session shows the running copy"

# Killed, the first copy leaves its lock file and socket: the next launch takes over.
kill -KILL "$first"
wait "$first" 2>/dev/null
[ -e "$work/session1/velmora-ui.lock" ] || fail "the killed copy left no lock to take over"
launch next "$work/session1"
next=$!
pids+=("$next")
await "started next" 10 || fail "the launch after a killed copy did not start"
kill -0 "$next" 2>/dev/null || fail "the launch after a killed copy ended"
grep -q "duplicate UI launch" "$work/next.err" && fail "a dead copy's lock was kept"
echo "ok: the lock of a killed copy is taken over"

# No runtime directory, and the stand-in folder is open to everyone: not used, said in one line,
# and the copy runs alone.
mkdir -p "$work/shared/velmora-ui-$(id -u)"
chmod 777 "$work/shared/velmora-ui-$(id -u)"
env -u XDG_RUNTIME_DIR TMPDIR="$work/shared" VELMORA_FIXTURE_START_LOG=$work/alone.start "$ui" \
  >/dev/null 2>"$work/alone.err" &
alone=$!
pids+=("$alone")
await "started alone" 10 || fail "the copy without a private folder did not start"
grep -qxF "velmora-ui: $work/shared/velmora-ui-$(id -u) is not private (mode 0777, not 0700);\
 running without the one-copy-per-session check" "$work/alone.err" \
  || fail "the copy without a private folder did not say why it runs alone"
[ -e "$work/shared/velmora-ui-$(id -u)/velmora-ui.lock" ] && fail "a folder open to all was used"
echo "ok: a stand-in folder open to all is not used"

[ $failures -eq 0 ] && echo "session instance checks passed"
finish
