#!/usr/bin/env bash
# The two program files as a user starts them, under Xvfb against controller-sim on
# COM2 of a private port map: the window finds the controller (its title names it),
# and clicks on Read, Send and REC EEPR reach the controller, which answers each.
# Usage: programs_smoke.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
# shellcheck source=scripts/lib/scratch_display.sh
source "$(dirname "$0")/../../scripts/lib/scratch_display.sh"

start_scratch
export XDG_RUNTIME_DIR="$scratch/run"
mkdir -m 700 "$XDG_RUNTIME_DIR"
start_xvfb

fail() {
  echo "FAIL: $program: $*" >&2
  echo "--- controller-sim traffic:" >&2
  cat "$log" >&2
  exit 1
}

# Centre of a control, in window coordinates, at its design place.
declare -A centre=([RDBut]="52 180" [SDBut]="52 216" [Button6]="52 264")
heard() { grep -q -- "<- $1" "$log"; }
# The controller's bytes as one stream: its paced replies are logged a few at a time.
answered() { grep -- '-> ' "$log" | sed 's/.*-> //' | tr '\n' ' ' | grep -q -- "$1"; }
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
named() { xdotool getwindowname "$window" | grep -q "(QZR Version 6.0, Dual Channel)"; }

log="$scratch/sim.log"
for program in Palunor6 Palunor; do
  start_controller_sim "$build/controller-sim" "$log" --log || fail "controller-sim did not start"
  (cd "$scratch" && exec "$build/app/$program") &
  pid=$!
  track_pid "$pid"
  window=$(find_window "$pid") || fail "no window"
  # With no window manager nothing activates the window; focusing it does.
  xdotool windowfocus "$window" || true
  within 50 named || fail "title never named the controller: $(xdotool getwindowname "$window")"

  press RDBut "52 44 31" || fail "Read: no RD1"
  within 30 heard "52 44 32" || fail "Read: no RD2 after the curve-1 reply"
  press SDBut "53 44 32" || fail "Send: no SD2"
  within 30 answered "4F 4B" || fail "Send: no OK"
  press Button6 "45 57 32" || fail "REC EEPR: no EW2"
  within 30 answered "52 45 43 4F 4B" || fail "REC EEPR: no RECOK"

  kill "$pid" "$controller_sim_pid"
  wait "$pid" "$controller_sim_pid" 2>/dev/null || true
  echo "$program: found the controller; Read, Send and REC EEPR reached it"
done
