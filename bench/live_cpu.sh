#!/usr/bin/env bash
# Measures the processor time a program takes with live data running against the
# controller emulator under Xvfb, at the emulator's frame rate: its CPU seconds (user
# and system) over 20 s and the share of one core, the frames that came meanwhile, and
# the emulator's own share beside it. Needs a build in build-gui (BUILD= to choose);
# PROGRAM=Palunor and LIVE_SECONDS= as wanted.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build="${BUILD:-$root/build-gui}"
program=${PROGRAM:-Palunor6}
live_seconds=${LIVE_SECONDS:-20}
# The "Live Data" button in the window: the gauge panel at (340, 152), the button at
# (160, 8) in it, 89 x 25.
button_x=$((340 + 160 + 44))
button_y=$((152 + 8 + 12))

# shellcheck source=scripts/lib/scratch_display.sh
source "$root/scripts/lib/scratch_display.sh"
start_scratch
start_xvfb
sim_log="$scratch/sim.log"
start_controller_sim "$build/controller-sim" "$sim_log" --log

# The bytes the emulator has sent since it heard "LON" (4C 4F 4E): all live frames.
bytes_since_lon() {
  awk '$2 == "<-" && / 4C 4F 4E$/ { n = 0; next } $2 == "->" { n += NF - 2 } END { print n + 0 }' \
    "$sim_log"
}

start_connected_program "$build/app/$program"

# Clicked once the lockout of the last link poll is surely over; again if the click
# met a poll's lockout and "LON" did not go out.
heard_lon() { grep -q '<- 4C 4F 4E$' "$sim_log"; }
for _ in 1 2 3; do
  sleep 0.7
  xdotool mousemove --window "$window" "$button_x" "$button_y" click 1
  for _ in $(seq 10); do heard_lon && break; sleep 0.1; done
  heard_lon && break
done
if ! heard_lon; then
  echo "$program did not start live data" >&2
  exit 1
fi
sleep 1

start=$(now_ns)
ticks=$(cpu_ticks "$pid")
sim_ticks=$(cpu_ticks "$controller_sim_pid")
bytes=$(bytes_since_lon)
# In the background, so that an interrupt ends the wait at once.
sleep "$live_seconds" &
track_pid $!
wait $!
ticks=$(($(cpu_ticks "$pid") - ticks))
sim_ticks=$(($(cpu_ticks "$controller_sim_pid") - sim_ticks))
frames=$((($(bytes_since_lon) - bytes) / 2))
elapsed_ns=$(($(now_ns) - start))
if ! kill -0 "$pid" 2>/dev/null; then
  echo "$program ended during live data" >&2
  exit 1
fi
# Ended before the display goes, which it would otherwise complain about.
kill "$pid"
wait "$pid" 2>/dev/null || true

hz=$(getconf CLK_TCK)
awk -v t="$ticks" -v s="$sim_ticks" -v hz="$hz" -v ns="$elapsed_ns" -v p="$program" \
  -v f="$frames" 'BEGIN {
    wall = ns / 1e9
    printf "%s live data, %.1f s, %d frames (%.1f a second): %.2f CPU s, %.2f %% of one core; ",
      p, wall, f, f / wall, t / hz, 100 * t / hz / wall
    printf "controller-sim %.2f CPU s, %.2f %%\n", s / hz, 100 * s / hz / wall
  }'
