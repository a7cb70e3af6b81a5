#!/usr/bin/env bash
# Renders the start window of both programs under Xvfb, each connected to the
# controller emulator on a private port map, and writes docs/palunor6.png and
# docs/palunor.png cropped to the window.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build="$root/build-gui"

scripts/install-deps.sh
cmake -S "$root" -B "$build" -G Ninja >/dev/null
cmake --build "$build" -j2 --target Palunor6 Palunor controller-sim

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT INT TERM

# The emulator and the programs share a port map of their own, so the user's is
# left alone; Advance.ini is written into the scratch directory.
export XDG_CONFIG_HOME="$work/config"
export HOME="$work"
mkdir -p "$XDG_CONFIG_HOME"

display=":$((90 + RANDOM % 9))"
Xvfb "$display" -screen 0 1024x600x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY="$display"
for _ in $(seq 50); do [ -S "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done

"$build/controller-sim" --port COM2 &
pids+=($!)
for _ in $(seq 50); do [ -L "$XDG_CONFIG_HOME/palunor/dosdevices/com2" ] && break; sleep 0.1; done

mkdir -p "$root/docs"
shoot() {
  local program=$1 shot=$2
  (cd "$work" && exec "$build/app/$program") &
  local pid=$!
  local window=""
  for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --pid "$pid" --name "VYN Advance" 2>/dev/null | head -1 || true)
    [ -n "$window" ] && break
    sleep 0.1
  done
  if [ -z "$window" ]; then
    echo "$program showed no window" >&2
    kill "$pid" 2>/dev/null || true
    return 1
  fi
  # Without a window manager nothing activates the window; focusing it does, and the
  # first activation sends the version request.
  xdotool windowfocus "$window" 2>/dev/null || true
  # Time for the version request and its reply to reach the window.
  sleep 2
  import -window "$window" "$shot"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  echo "Screenshot written: $shot"
}
shoot Palunor6 "$root/docs/palunor6.png"
shoot Palunor "$root/docs/palunor.png"
