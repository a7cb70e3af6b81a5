#!/usr/bin/env bash
# Builds and starts Palunor6. With no controller attached it first starts the
# built-in controller emulator on a pseudo-terminal linked into the port map as COM2,
# so the program finds, reads, sends and records against it. On a machine without a
# display the program runs under Xvfb and a screenshot is written instead.
# With a real controller on COM2: scripts/run.sh --no-emulator
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)" --target Palunor6 Palunor controller-sim

program=${PROGRAM:-Palunor6}
rundir="$root/build/run"
mkdir -p "$rundir"

# shellcheck source=scripts/lib/scratch_display.sh
source "$root/scripts/lib/scratch_display.sh"

portmap="${XDG_CONFIG_HOME:-$HOME/.config}/palunor/dosdevices"
if [ "${1:-}" = "--no-emulator" ]; then
  echo "Using the controller on COM2 (the port map in $portmap, else /dev/ttyS1)."
else
  start_controller_sim "$root/build/controller-sim"
fi

cd "$rundir"
if [ -n "${DISPLAY:-}" ]; then
  "$root/build/app/$program"
else
  shot="$root/build/$program-run.png"
  echo "No display: running $program under Xvfb for 10 seconds and writing a screenshot to $shot"
  start_xvfb
  "$root/build/app/$program" &
  track_pid $!
  sleep 10
  import -window root -crop 800x440+0+0 "$shot"
  echo "Screenshot written: $shot"
fi
