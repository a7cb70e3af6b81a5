#!/usr/bin/env bash
# Renders the windows of both Windows programs under wine on Xvfb, each connected to
# the controller emulator (native, its pseudo-terminal mapped to COM2 through wine's
# registry) and after a click on Read, and writes docs/palunor6-windows.png and
# docs/palunor-windows.png cropped to the window.
#   scripts/screenshot-windows.sh --scale 150   # wine at 144 DPI: docs/palunor6-windows-150.png,
#                                               # docs/palunor-windows-150.png and the settings
#                                               # dialog over Palunor6, docs/settings-windows-150.png
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build="${BUILD:-$root/build-mingw}"
native="${NATIVE_BUILD:-$root/build}"
percent=100
if [ "${1:-}" = --scale ]; then
  percent=$2
fi
suffix=""
[ "$percent" = 100 ] || suffix="-$percent"

scripts/install-deps.sh
cmake --preset mingw -B "$build" >/dev/null
cmake --build "$build" -j2 --target Palunor6 Palunor
cmake --preset default -B "$native" >/dev/null
cmake --build "$native" -j2 --target controller-sim

# shellcheck source=scripts/lib/scratch_display.sh
source "$root/scripts/lib/scratch_display.sh"
start_scratch
start_xvfb "$((1024 * percent / 100))x$((600 * percent / 100))"
openbox >/dev/null 2>&1 &
track_pid $!
export WINEPREFIX="$scratch/wine" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
wineboot -i >/dev/null 2>&1
# Wine's display scale: the programs, aware of it, lay themselves out at it.
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d $((96 * percent / 100)) \
  /f >/dev/null 2>&1
wine reg add 'HKLM\Software\Wine\Ports' /v COM2 /t REG_SZ \
  /d "$XDG_CONFIG_HOME/palunor/dosdevices/com2" /f >/dev/null 2>&1
wineserver -w
log="$scratch/sim.log"
start_controller_sim "$native/controller-sim" "$log" --log

mkdir -p "$root/docs"
shoot() {
  local program=$1 shot=$2
  (cd "$scratch" && exec wine "$build/app/$program.exe") &
  local pid=$!
  # Wine's windows carry no usable process id; the title names the controller once
  # the version request at activation has been answered.
  local window=""
  for _ in $(seq 150); do
    window=$(xdotool search --onlyvisible --name "Version" 2>/dev/null | head -1 || true)
    [ -n "$window" ] && break
    sleep 0.1
  done
  if [ -z "$window" ]; then
    echo "$program did not find the controller" >&2
    kill "$pid" 2>/dev/null || true
    return 1
  fi
  read_both_curves "$window" "$log" "$percent"
  import -window "$window" "$shot"
  if [ -n "${3:-}" ]; then
    shoot_settings "$window" "$3" "$percent"
  fi
  # Its settings are not wanted: end it and everything wine started with it.
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  echo "Screenshot written: $shot"
}
shoot Palunor6 "$root/docs/palunor6-windows$suffix.png" \
  ${suffix:+"$root/docs/settings-windows$suffix.png"}
shoot Palunor "$root/docs/palunor-windows$suffix.png"
