#!/usr/bin/env bash
# Renders the window of both programs under Xvfb, each connected to the controller
# emulator on a private port map and after a click on Read, and writes
# docs/palunor6.png and docs/palunor.png cropped to the window.
#   scripts/screenshot.sh --scale 150   # at 150 %: docs/palunor6-150.png,
#                                       # docs/palunor-150.png and the settings dialog
#                                       # over Palunor6, docs/settings-150.png
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build="${BUILD:-$root/build-gui}"
percent=100
if [ "${1:-}" = --scale ]; then
  percent=$2
fi
suffix=""
[ "$percent" = 100 ] || suffix="-$percent"
# Qt draws the window at the scale; the screen grows with it.
if [ "$percent" != 100 ]; then
  QT_SCALE_FACTOR=$(printf '%d.%02d' $((percent / 100)) $((percent % 100)))
  export QT_SCALE_FACTOR
fi

scripts/install-deps.sh
cmake -S "$root" -B "$build" -G Ninja >/dev/null
cmake --build "$build" -j2 --target Palunor6 Palunor controller-sim

# The emulator and the programs share a port map of their own, so the user's is
# left alone; Advance.ini is written into the scratch directory.
# shellcheck source=scripts/lib/scratch_display.sh
source "$root/scripts/lib/scratch_display.sh"
start_scratch
start_xvfb "$((1024 * percent / 100))x$((600 * percent / 100))"
log="$scratch/sim.log"
start_controller_sim "$build/controller-sim" "$log" --log

mkdir -p "$root/docs"
shoot() {
  local program=$1 shot=$2
  (cd "$scratch" && exec "$build/app/$program") &
  local pid=$!
  local window
  if ! window=$(find_window "$pid"); then
    echo "$program showed no window" >&2
    kill "$pid" 2>/dev/null || true
    return 1
  fi
  # Without a window manager nothing activates the window; focusing it does, and the
  # first activation sends the version request.
  xdotool windowfocus "$window" 2>/dev/null || true
  # Time for the version request and its reply to reach the window.
  sleep 2
  read_both_curves "$window" "$log" "$percent"
  import -window "$window" "$shot"
  if [ -n "${3:-}" ]; then
    shoot_settings "$window" "$3" "$percent"
  fi
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  echo "Screenshot written: $shot"
}
shoot Palunor6 "$root/docs/palunor6$suffix.png" ${suffix:+"$root/docs/settings$suffix.png"}
shoot Palunor "$root/docs/palunor$suffix.png"
