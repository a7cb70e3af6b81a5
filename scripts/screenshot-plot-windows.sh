#!/usr/bin/env bash
# Renders the plot window of Palunor6.exe under wine on Xvfb: the curves read from the
# controller emulator (native, its pseudo-terminal mapped to COM2 through wine's
# registry), live data running for a few seconds, and the window opened from the
# context menu of the chart; writes docs/plot-windows.png cropped to the plot window.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build="${BUILD:-$root/build-mingw}"
native="${NATIVE_BUILD:-$root/build}"
live_seconds=${LIVE_SECONDS:-12}

cmake --preset mingw -B "$build" >/dev/null
cmake --build "$build" -j2 --target Palunor6
cmake --preset default -B "$native" >/dev/null
cmake --build "$native" -j2 --target controller-sim

# shellcheck source=scripts/lib/scratch_display.sh
source "$root/scripts/lib/scratch_display.sh"
start_scratch
# Room for the main window and the plot window beside it.
start_xvfb 1440x600
openbox >/dev/null 2>&1 &
track_pid $!
export WINEPREFIX="$scratch/wine" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
wineboot -i >/dev/null 2>&1
wine reg add 'HKLM\Software\Wine\Ports' /v COM2 /t REG_SZ \
  /d "$XDG_CONFIG_HOME/palunor/dosdevices/com2" /f >/dev/null 2>&1
wineserver -w
log="$scratch/sim.log"
start_controller_sim "$native/controller-sim" "$log" --log

(cd "$scratch" && exec wine "$build/app/Palunor6.exe") &
pid=$!
track_pid "$pid"
# Wine's windows carry no usable process id; the title names the controller once the
# version request at activation has been answered.
window=""
for _ in $(seq 150); do
  window=$(xdotool search --onlyvisible --name "Version" 2>/dev/null | head -1 || true)
  [ -n "$window" ] && break
  sleep 0.1
done
if [ -z "$window" ]; then
  echo "Palunor6.exe did not find the controller" >&2
  exit 1
fi
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
  plot=$(xdotool search --onlyvisible --name "Plot: live data" 2>/dev/null | head -1 || true)
  [ -n "$plot" ] && break
  sleep 0.1
done
if [ -z "$plot" ]; then
  echo "Palunor6.exe showed no plot window" >&2
  exit 1
fi
sleep "$live_seconds"
# The pointer over the operating view, for the cursor's read-out.
xdotool mousemove --window "$plot" 320 380
sleep 0.3
mkdir -p "$root/docs"
import -window "$plot" "$root/docs/plot-windows.png"
echo "Screenshot written: $root/docs/plot-windows.png"
wineserver -k 2>/dev/null || true
