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

pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
}
trap cleanup EXIT INT TERM

portmap="${XDG_CONFIG_HOME:-$HOME/.config}/palunor/dosdevices"
if [ "${1:-}" = "--no-emulator" ]; then
  echo "Using the controller on COM2 (the port map in $portmap, else /dev/ttyS1)."
else
  "$root/build/controller-sim" --port COM2 &
  pids+=($!)
  for _ in $(seq 50); do [ -L "$portmap/com2" ] && break; sleep 0.1; done
fi

cd "$rundir"
if [ -n "${DISPLAY:-}" ]; then
  "$root/build/app/$program"
else
  shot="$root/build/$program-run.png"
  echo "No display: running $program under Xvfb for 10 seconds and writing a screenshot to $shot"
  display=:$((90 + RANDOM % 9))
  Xvfb "$display" -screen 0 1024x600x24 -nolisten tcp >/dev/null 2>&1 &
  pids+=($!)
  sleep 1
  DISPLAY=$display "$root/build/app/$program" &
  pids+=($!)
  sleep 10
  DISPLAY=$display import -window root -crop 800x440+0+0 "$shot"
  echo "Screenshot written: $shot"
fi
