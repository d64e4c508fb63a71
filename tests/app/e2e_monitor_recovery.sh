#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# velmora-ui in its normal mode with the real monitor, under a private Xvfb display with a tray
# host (trayer) and a throw-away home. The monitor is killed (SIGKILL), then stopped (SIGSTOP):
# each time the app must say, within its deadlines, that Velmora is not watching, and a new
# monitor must answer. Every stderr line is stamped with the time it was written; the measured
# times are printed at the end.
#
#   e2e_monitor_recovery.sh VELMORA_UI MONITOR
#
# Exits 77 (skipped) when Xvfb or trayer is missing. With VELMORA_E2E_SCREENSHOTS=DIR it also
# saves the screen while Velmora is not watching and after it recovered.
set -uo pipefail
export LC_ALL=C
ui=$1 monitor=$2
for tool in Xvfb trayer; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "SKIP: $tool is not installed; the monitor recovery check needs a display and a tray"
    exit 77
  fi
done

# The deadlines the app promises (the answer deadline is the client's 15 s).
kill_to_shown_limit=5
shown_to_answer_limit=3
answer_deadline=15
stop_to_answer_limit=$((answer_deadline + 5))

source "$(dirname "$0")/e2e_display.sh"
begin_private_session
err=$work/stderr
export VELMORA_BACKEND_BIN=$monitor


# Microseconds since the epoch, from an $EPOCHREALTIME reading.
micros() { local t=${1/./}; echo $((10#$t)); }
now() { micros "$EPOCHREALTIME"; }
# "1.234 s" from a span in microseconds.
seconds() { printf '%d.%03d s' $(($1 / 1000000)) $((($1 % 1000000) / 1000)); }

# The stamp (in microseconds) of the first stderr line after line $1 that contains $2,
# waiting up to $3 seconds for it.
await_line() {
  local from=$1 text=$2 limit=$3 end found
  end=$(($(now) + limit * 1000000))
  while :; do
    found=$(tail -n +"$((from + 1))" "$err" | grep -m1 -F -- "$text")
    if [ -n "$found" ]; then
      micros "${found%% *}"
      return 0
    fi
    [ "$(now)" -gt "$end" ] && return 1
    sleep 0.05
  done
}
lines() { wc -l <"$err"; }

# The monitor that velmora-ui runs now (its child, running the monitor's executable).
monitor_pid() {
  local pid
  for pid in $(pgrep -P "$app"); do
    [ "$(readlink "/proc/$pid/exe" 2>/dev/null)" = "$(readlink -f "$monitor")" ] && {
      echo "$pid"
      return 0
    }
  done
  return 1
}
await_monitor() { # a monitor other than $1, within $2 seconds
  local end pid
  end=$(($(now) + $2 * 1000000))
  while [ "$(now)" -le "$end" ]; do
    pid=$(monitor_pid) && [ "$pid" != "$1" ] && { echo "$pid"; return 0; }
    sleep 0.05
  done
  return 1
}
gone() { # the process has ended and been reaped (no zombie left)
  [ ! -e "/proc/$1" ]
}
screenshot() {
  [ -n "${VELMORA_E2E_SCREENSHOTS:-}" ] || return 0
  mkdir -p "$VELMORA_E2E_SCREENSHOTS"
  import -window root "$VELMORA_E2E_SCREENSHOTS/$1.png" 2>/dev/null
}

# Stamps every line of velmora-ui's standard error with the time it was written.
stamp() { while IFS= read -r line; do printf '%s %s\n' "$EPOCHREALTIME" "$line"; done; }
: >"$err"
"$ui" 2> >(stamp >>"$err") >/dev/null &
app=$!

if ! first=$(await_monitor "" 10); then
  if grep -q "duplicate UI launch detected" "$err"; then
    fail "another velmora-ui of this build is running; it took over this launch"
  else
    fail "no monitor started within 10 s"
  fi
  finish
fi
# Let the first exchanges go through (the monitor's first answer takes a moment).
sleep 2
grep -q "velmora-ui: the tray shows that Velmora is not watching" "$err" \
  && fail "the app showed 'not watching' before anything failed"
screenshot watching

# 1. Killed: the app notices the exit, shows it and starts a new monitor after 1 s.
from=$(lines)
killed_at=$(now)
kill -KILL "$first"
if shown=$(await_line "$from" "velmora-ui: the tray shows that Velmora is not watching" 10); then
  screenshot not-watching-killed
  answered=$(await_line "$from" "velmora-ui: monitor is watching again" 10) \
    || fail "kill: no new monitor answered within 10 s"
  cleared=$(await_line "$from" "velmora-ui: the tray shows that Velmora is watching again" 5) \
    || fail "kill: the tray went on showing 'not watching' after the new monitor answered"
else
  fail "kill: the app did not show 'not watching' within 10 s"
  finish
fi
grep -q "velmora-ui: monitor killed by signal 9" "$err" || fail "kill: no line for the signal"
tail -n +"$((from + 1))" "$err" | grep -q "(monitor killed by signal 9)" \
  || fail "kill: the tray's line does not name the signal"
kill_shown=$((shown - killed_at))
kill_answer=$((answered - killed_at))
[ $kill_shown -le $((kill_to_shown_limit * 1000000)) ] \
  || fail "kill: 'not watching' shown after $(seconds $kill_shown) (limit ${kill_to_shown_limit} s)"
[ $((answered - shown)) -le $((shown_to_answer_limit * 1000000)) ] \
  || fail "kill: a new monitor answered $(seconds $((answered - shown))) after the app showed it" \
          "(limit ${shown_to_answer_limit} s)"
gone "$first" || fail "kill: the killed monitor $first was not reaped"
second=$(monitor_pid) || { fail "kill: no monitor runs after the restart"; finish; }
[ "$second" != "$first" ] || fail "kill: the monitor was not replaced"
screenshot watching-again
echo "ok: killed monitor $first: shown after $(seconds $kill_shown), new monitor $second" \
     "answered after $(seconds $kill_answer)"

# 2. Stopped: it misses the answer deadline, is ended and replaced (the second failure in a
# row waits 2 s).
sleep 1
from=$(lines)
stopped_at=$(now)
kill -STOP "$second"
limit=$((stop_to_answer_limit + 5))
if shown=$(await_line "$from" "velmora-ui: the tray shows that Velmora is not watching" $limit); then
  screenshot not-watching-stopped
  answered=$(await_line "$from" "velmora-ui: monitor is watching again" $limit) \
    || fail "stop: no new monitor answered"
else
  fail "stop: the app did not show 'not watching' within $limit s"
  kill -CONT "$second" 2>/dev/null
  finish
fi
tail -n +"$((from + 1))" "$err" | grep -q "(monitor not answering)" \
  || fail "stop: the tray's line does not say 'not answering'"
stop_shown=$((shown - stopped_at))
stop_answer=$((answered - stopped_at))
[ $stop_shown -ge $((answer_deadline * 1000000 - 500000)) ] \
  || fail "stop: 'not watching' shown after $(seconds $stop_shown), before the deadline"
[ $stop_answer -le $((stop_to_answer_limit * 1000000)) ] \
  || fail "stop: a new monitor answered after $(seconds $stop_answer)" \
          "(limit ${stop_to_answer_limit} s)"
gone "$second" || fail "stop: the stopped monitor $second was not ended and reaped"
third=$(monitor_pid) || { fail "stop: no monitor runs after the restart"; finish; }
echo "ok: stopped monitor $second: shown after $(seconds $stop_shown), new monitor $third" \
     "answered after $(seconds $stop_answer)"

# 3. The app ends cleanly and takes its monitor with it.
kill -TERM "$app"
wait "$app"
rc=$?
app=""
[ $rc -eq 0 ] || fail "velmora-ui exited with $rc on SIGTERM"
for _ in $(seq 40); do gone "$third" && break; sleep 0.05; done
gone "$third" || fail "the monitor $third outlived velmora-ui"

echo "measured: kill -9 -> not watching shown $(seconds $kill_shown)," \
     "-> first good answer $(seconds $kill_answer)"
echo "measured: kill -STOP -> not watching shown $(seconds $stop_shown)," \
     "-> first good answer $(seconds $stop_answer)"
[ $failures -eq 0 ] && echo "monitor recovery checks passed"
finish
