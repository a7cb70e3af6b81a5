#!/usr/bin/env bash
# Measures, for both programs under Xvfb, the time from process start to the window
# being shown on the screen (the first paint follows the map at once), and the peak
# resident memory of a run of a few seconds. Needs a build in build-gui.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build="${BUILD:-$root/build-gui}"
runs=${RUNS:-5}

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT INT TERM

# A private port map and home, so the programs write their settings in scratch.
export XDG_CONFIG_HOME="$work/config" HOME="$work"
mkdir -p "$XDG_CONFIG_HOME"
display=":$((80 + RANDOM % 9))"
Xvfb "$display" -screen 0 1024x600x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY="$display"
for _ in $(seq 50); do [ -S "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done

"$build/controller-sim" --port COM2 >"$work/sim.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do [ -L "$XDG_CONFIG_HOME/palunor/dosdevices/com2" ] && break; sleep 0.1; done

now_ms() { date +%s%3N; }

for program in Palunor6 Palunor; do
  times=()
  for _ in $(seq "$runs"); do
    start=$(now_ms)
    (cd "$work" && exec "$build/app/$program") &
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
  (cd "$work" && /usr/bin/time -v -o "$work/time.txt" timeout -s TERM 3 "$build/app/$program") \
    >/dev/null 2>&1 || true
  peak_kb=$(awk -F: '/Maximum resident set size/ {gsub(/ /, "", $2); print $2}' "$work/time.txt")
  echo "$program: first paint median ${median} ms (runs: ${times[*]}), peak memory $((peak_kb / 1024)) MB"
done
