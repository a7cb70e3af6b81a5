#!/usr/bin/env bash
# The two program files as a user starts them, under Xvfb against controller-sim on
# COM2 of a private port map: the window finds the controller (its title names it),
# and clicks on Read, Send and REC EEPR reach the controller, which answers each.
# Usage: programs_smoke.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT INT TERM
export XDG_CONFIG_HOME="$work/config" HOME="$work" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$XDG_CONFIG_HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"

# The first display number free from :70 on.
display=70
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1024x600x24 -nolisten tcp -noreset >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=":$display"

# Waits up to $1 tenths of a second for the command after it to succeed.
within() {
  local tenths=$1
  shift
  for _ in $(seq "$tenths"); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}
within 50 xdotool getdisplaygeometry || { echo "Xvfb did not start" >&2; exit 1; }

fail() {
  echo "FAIL: $program: $*" >&2
  echo "--- controller-sim traffic:" >&2
  cat "$work/sim.log" >&2
  exit 1
}

# Centre of a control, in window coordinates, at its design place.
declare -A centre=([RDBut]="52 180" [SDBut]="52 216" [Button6]="52 264")
heard() { grep -q -- "<- $1" "$work/sim.log"; }
# The controller's bytes as one stream: its paced replies are logged a few at a time.
answered() { grep -- '-> ' "$work/sim.log" | sed 's/.*-> //' | tr '\n' ' ' | grep -q -- "$1"; }
# Clicks the control until the controller hears the bytes: a click within the
# command lockout of the previous command is refused, as it is for a user.
press() {
  local name=$1 bytes=$2
  for _ in 1 2 3 4 5; do
    # shellcheck disable=SC2086
    xdotool mousemove --window "$window" ${centre[$name]} click 1
    within 15 heard "$bytes" && return 0
  done
  return 1
}

for program in Palunor6 Palunor; do
  rm -f "$work/sim.log"
  "$build/controller-sim" --port COM2 --log >"$work/sim.log" 2>&1 &
  sim=$!
  pids+=("$sim")
  within 50 test -L "$XDG_CONFIG_HOME/palunor/dosdevices/com2" || fail "controller-sim did not start"

  (cd "$work" && exec "$build/app/$program") &
  pid=$!
  pids+=("$pid")
  window=""
  find_window() { window=$(xdotool search --onlyvisible --pid "$pid" --name "VYN Advance" | head -1); [ -n "$window" ]; }
  within 100 find_window || fail "no window"
  # With no window manager nothing activates the window; focusing it does.
  xdotool windowfocus "$window" || true
  title() { xdotool getwindowname "$window" | grep -q "(QZR Version 6.0, Dual Channel)"; }
  within 50 title || fail "title never named the controller: $(xdotool getwindowname "$window")"

  press RDBut "52 44 31" || fail "Read: no RD1"
  within 30 heard "52 44 32" || fail "Read: no RD2 after the curve-1 reply"
  press SDBut "53 44 32" || fail "Send: no SD2"
  within 30 answered "4F 4B" || fail "Send: no OK"
  press Button6 "45 57 32" || fail "REC EEPR: no EW2"
  within 30 answered "52 45 43 4F 4B" || fail "REC EEPR: no RECOK"

  kill "$pid" "$sim"
  wait "$pid" "$sim" 2>/dev/null || true
  echo "$program: found the controller; Read, Send and REC EEPR reached it"
done
