#!/usr/bin/env bash
# Measures the processor time Palunor6 takes while it idles connected to the
# controller emulator under Xvfb: its CPU seconds (user and system) over 30 s, and
# the share of one core; the emulator's own share is shown beside it. Needs a build
# in build-gui (BUILD= to choose); PROGRAM=Palunor and IDLE_SECONDS= as wanted.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build="${BUILD:-$root/build-gui}"
program=${PROGRAM:-Palunor6}
idle_seconds=${IDLE_SECONDS:-30}
target_percent=0.5

# shellcheck source=scripts/lib/scratch_display.sh
source "$root/scripts/lib/scratch_display.sh"
start_scratch
start_xvfb
start_controller_sim "$build/controller-sim" "$scratch/sim.log"

start_connected_program "$build/app/$program"
connected() { xdotool getwindowname "$window" 2>/dev/null | grep -q "Version"; }

start=$(now_ns)
ticks=$(cpu_ticks "$pid")
sim_ticks=$(cpu_ticks "$controller_sim_pid")
# In the background, so that an interrupt ends the wait at once.
sleep "$idle_seconds" &
track_pid $!
wait $!
ticks=$(($(cpu_ticks "$pid") - ticks))
sim_ticks=$(($(cpu_ticks "$controller_sim_pid") - sim_ticks))
elapsed_ns=$(($(now_ns) - start))
if ! connected; then
  echo "$program lost the controller while idle: $(xdotool getwindowname "$window")" >&2
  exit 1
fi

hz=$(getconf CLK_TCK)
awk -v t="$ticks" -v s="$sim_ticks" -v hz="$hz" -v ns="$elapsed_ns" -v p="$program" \
  -v target="$target_percent" 'BEGIN {
    wall = ns / 1e9
    printf "%s idle, connected, %.1f s: %.2f CPU s, %.2f %% of one core (target under %s %%); ",
      p, wall, t / hz, 100 * t / hz / wall, target
    printf "controller-sim %.2f CPU s, %.2f %%\n", s / hz, 100 * s / hz / wall
  }'
