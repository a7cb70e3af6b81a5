#!/usr/bin/env bash
# Measures, for both programs under Xvfb, the time from process start to the window
# being shown on the screen (the first paint follows the map at once), and the peak
# resident memory of a run of a few seconds. Needs a build in build-gui.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build="${BUILD:-$root/build-gui}"
runs=${RUNS:-5}

# shellcheck source=scripts/lib/scratch_display.sh
source "$root/scripts/lib/scratch_display.sh"
start_scratch
start_xvfb
start_controller_sim "$build/controller-sim" "$scratch/sim.log"

now_ms() { date +%s%3N; }

for program in Palunor6 Palunor; do
  times=()
  for _ in $(seq "$runs"); do
    start=$(now_ms)
    (cd "$scratch" && exec "$build/app/$program") &
    pid=$!
    until xdotool search --onlyvisible --pid "$pid" --name "VYN Advance" >/dev/null 2>&1; do
      if ! kill -0 "$pid" 2>/dev/null || (($(now_ms) - start > 10000)); then
        echo "$program showed no window" >&2
        exit 1
      fi
      sleep 0.005
    done
    times+=($(($(now_ms) - start)))
    kill "$pid"
    wait "$pid" 2>/dev/null || true
  done
  median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p")
  (cd "$scratch" && /usr/bin/time -v -o "$scratch/time.txt" timeout -s TERM 3 "$build/app/$program") \
    >/dev/null 2>&1 || true
  peak_kb=$(awk -F: '/Maximum resident set size/ {gsub(/ /, "", $2); print $2}' "$scratch/time.txt")
  echo "$program: first paint median ${median} ms (runs: ${times[*]}), peak memory $((peak_kb / 1024)) MB"
done
