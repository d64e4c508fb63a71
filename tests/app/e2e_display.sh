# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the end-to-end scripts that run velmora-ui on a screen of their own.

# A private Xvfb display (1280 x 800) with a tray host (trayer, top right). Sets DISPLAY, and
# display_pids to the two processes, which the caller ends.
start_display_with_tray() {
  local number=$((90 + RANDOM % 400))
  Xvfb ":$number" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  display_pids=($!)
  export DISPLAY=":$number"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$number" ] && break; sleep 0.1; done
  trayer --edge top --align right --widthtype pixel --width 200 --height 28 >/dev/null 2>&1 &
  display_pids+=($!)
  sleep 0.5
}

# A throw-away home under the folder $1, with a session of its own (runtime directory), so
# that nothing touches the person's settings, data or running copy.
use_throwaway_home() {
  export QT_QPA_PLATFORM=xcb HOME=$1/home XDG_CONFIG_HOME=$1/config XDG_RUNTIME_DIR=$1/run
  export XDG_DATA_HOME=$1/data XDG_STATE_HOME=$1/state
  mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" "$XDG_DATA_HOME"
  chmod 700 "$XDG_RUNTIME_DIR"
}

# All of the above for a script: `work` becomes a fresh folder holding the throw-away home; at
# exit `app` (when set), the display and the folder go.
begin_private_session() {
  work=$(mktemp -d)
  app=""
  display_pids=()
  trap end_private_session EXIT
  start_display_with_tray
  use_throwaway_home "$work"
}
end_private_session() {
  [ -n "${app:-}" ] && kill -TERM "$app" 2>/dev/null
  kill "${display_pids[@]}" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}

# Waits up to $2 seconds for a line of velmora-ui's standard error (the file `err`) that
# contains $1.
await_line() {
  local end=$((SECONDS + $2))
  until grep -qF -- "$1" "$err"; do
    [ $SECONDS -ge $end ] && return 1
    sleep 0.1
  done
}

# Failures are counted as they come; finish ends the script with them, showing velmora-ui's
# standard error (the file `err`, when set) if there were any.
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
finish() {
  if [ $failures -ne 0 ] && [ -n "${err:-}" ]; then
    echo "--- velmora-ui standard error ---" >&2
    cat "$err" >&2
  fi
  exit $((failures > 0))
}
