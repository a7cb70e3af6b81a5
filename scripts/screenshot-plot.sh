#!/usr/bin/env bash
# Renders the plot window of Palunor6 under Xvfb: the curves read from the controller
# emulator, live data running for a few seconds, and the window opened from the
# context menu of the chart; writes docs/plot.png cropped to the plot window.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build="${BUILD:-$root/build-gui}"
live_seconds=${LIVE_SECONDS:-12}

cmake -S "$root" -B "$build" -G Ninja >/dev/null
cmake --build "$build" -j2 --target Palunor6 controller-sim

# shellcheck source=scripts/lib/scratch_display.sh
source "$root/scripts/lib/scratch_display.sh"
start_scratch
# Room for the main window and the plot window beside it.
start_xvfb 1440x600
log="$scratch/sim.log"
start_controller_sim "$build/controller-sim" "$log" --log
start_connected_program "$build/app/Palunor6"
read_both_curves "$window" "$log"

# "Live Data" in the gauge panel (at (340, 152); the button at (160, 8) in it).
xdotool mousemove --window "$window" 544 172 click 1
sleep 1
# The context menu on the curve chart, and "&Plot..." by its access key.
xdotool mousemove --window "$window" 620 110 click 3
sleep 0.5
xdotool key p
plot=""
for _ in $(seq 50); do
  plot=$(xdotool search --all --onlyvisible --pid "$pid" --name "Plot: live data" 2>/dev/null | head -1 || true)
  [ -n "$plot" ] && break
  sleep 0.1
done
if [ -z "$plot" ]; then
  echo "Palunor6 showed no plot window" >&2
  exit 1
fi
sleep "$live_seconds"
# The pointer over the operating view, for the cursor's read-out.
xdotool mousemove --window "$plot" 320 380
sleep 0.3
mkdir -p "$root/docs"
import -window "$plot" "$root/docs/plot.png"
echo "Screenshot written: $root/docs/plot.png"
