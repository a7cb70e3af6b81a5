#!/usr/bin/env bash
# Renders the context menu and its dialogs of Palunor6 on Linux (Qt under Xvfb with
# openbox) and on Windows (Palunor6.exe under wine, driven by the robot), each against
# the controller emulator after a Read and one dragged point:
#   docs/menu.png            the context menu open over the chart
#   docs/differences.png     "Differences..." listing the dragged point
#   docs/backups.png         "Backups..." listing the Read's backup
#   docs/close-warning.png   the warning on closing; answered Cancel, the drag undone
#                            and the window closed
# and the same with "-windows" before ".png".
#   scripts/screenshot-additions.sh [linux|windows]   # one platform only
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build="${BUILD:-$root/build}"
mingw="${MINGW_BUILD:-$root/build-mingw}"
platforms=("${1:-linux}")
[ $# -eq 0 ] && platforms=(linux windows)
for platform in "${platforms[@]}"; do
  case $platform in
    linux | windows) ;;
    *)
      echo "usage: $0 [linux|windows]" >&2
      exit 2
      ;;
  esac
done

scripts/install-deps.sh
cmake --preset default -B "$build" >/dev/null
cmake --build "$build" -j2 --target Palunor6 controller-sim
if [[ " ${platforms[*]} " == *" windows "* ]]; then
  cmake --preset mingw -B "$mingw" >/dev/null
  cmake --build "$mingw" -j2 --target Palunor6 e2e_robot
fi

# shellcheck source=scripts/lib/scratch_display.sh
source "$root/scripts/lib/scratch_display.sh"
start_scratch
# Room below the window for the context menu.
start_xvfb 1024x768
openbox >/dev/null 2>&1 &
track_pid $!
# A window mapped while openbox takes over the screen can stay unmapped: programs
# start once it manages windows.
for _ in $(seq 50); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
  sleep 0.1
done
log="$scratch/sim.log"
start_controller_sim "$build/controller-sim" "$log" --log
mkdir -p "$root/docs"

# The first visible window named by the regular expression NAME, once shown (within
# 10 s), on stdout.
wait_for_named() {
  local name=$1 found
  for _ in $(seq 100); do
    found=$(xdotool search --onlyvisible --name "$name" 2>/dev/null | head -1 || true)
    if [ -n "$found" ]; then
      echo "$found"
      return 0
    fi
    sleep 0.1
  done
  echo "no window \"$name\" was shown" >&2
  return 1
}

# The popup windows shown now: mapped, override-redirect children of the root, as Qt
# and wine show a popup menu.
popups() {
  local id
  for id in $(xwininfo -root -children | grep -o '^ *0x[0-9a-f]*'); do
    xwininfo -id "$id" | grep -q 'Override Redirect State: yes' || continue
    xwininfo -id "$id" | grep -q 'Map State: IsViewable' && echo "$id"
  done
  return 0
}

# The popup menu once shown (within 5 s), on stdout: a popup not among those in
# BEFORE (the output of popups before the click).
wait_for_popup() {
  local before=$1 id
  for _ in $(seq 50); do
    for id in $(popups); do
      if [[ $'\n'"$before"$'\n' != *$'\n'"$id"$'\n'* ]]; then
        echo "$id"
        return 0
      fi
    done
    sleep 0.1
  done
  echo "no popup menu was shown" >&2
  return 1
}

# Writes SHOT: the screen cropped to the WINDOWs, and transparent wherever none of
# them is (a menu reaching below the main window).
shoot() {
  local shot=$1 screen="$scratch/screen.png"
  shift
  # Time for the window to paint what it just opened.
  sleep 0.7
  import -window root "$screen"
  local left=100000 top=100000 right=0 bottom=0 geometries=() id x y w h
  for id in "$@"; do
    read -r x y w h < <(xwininfo -id "$id" | awk '
      /Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF}
      /Width:/ {w = $NF} /Height:/ {h = $NF} END {print x, y, w, h}')
    geometries+=("$x $y $w $h")
    ((x < left)) && left=$x
    ((y < top)) && top=$y
    ((x + w > right)) && right=$((x + w))
    ((y + h > bottom)) && bottom=$((y + h))
  done
  local layers=(-size "$((right - left))x$((bottom - top))" xc:none)
  for geometry in "${geometries[@]}"; do
    read -r x y w h <<<"$geometry"
    layers+=("(" "$screen" -crop "${w}x${h}+${x}+${y}" +repage ")"
      -geometry "+$((x - left))+$((y - top))" -composite)
  done
  convert "${layers[@]}" "$shot"
  echo "Screenshot written: $shot"
}

# Whether process PID has ended.
exited() {
  ! kill -0 "$1" 2>/dev/null
}

# Palunor6 under Xvfb, driven with xdotool as a user at the keyboard and mouse.
linux_shots() {
  start_connected_program "$build/app/Palunor6"
  xdotool windowactivate --sync "$window" 2>/dev/null || true
  read_both_curves "$window" "$log"
  # Point 5 of the curve as read (at 218, 58 in the window) dragged 10 degrees down.
  xdotool mousemove --window "$window" 218 58 mousedown 1
  for y in 62 66 70 74 78; do
    xdotool mousemove --window "$window" 218 "$y"
    sleep 0.05
  done
  xdotool mouseup 1
  sleep 0.3

  # A right click on the chart beside the curve.
  local before
  before=$(popups)
  xdotool mousemove --window "$window" 560 112 click 3
  shoot "$root/docs/menu.png" "$window" "$(wait_for_popup "$before")"
  xdotool key Escape

  xdotool key ctrl+d
  local dialog
  dialog=$(wait_for_named "^Differences$")
  shoot "$root/docs/differences.png" "$dialog"
  xdotool key Escape

  before=$(popups)
  xdotool mousemove --window "$window" 560 112 click 3
  wait_for_popup "$before" >/dev/null
  xdotool key b
  dialog=$(wait_for_named "^Backups$")
  shoot "$root/docs/backups.png" "$dialog"
  xdotool key Escape

  # Closing as the window manager asks a window to close.
  xdotool windowactivate --sync "$window" 2>/dev/null || true
  xdotool key alt+F4
  dialog=$(wait_for_named "^Palunor6$")
  shoot "$root/docs/close-warning.png" "$dialog"
  xdotool key Escape
  sleep 0.5
  if ! kill -0 "$pid" 2>/dev/null; then
    echo "Palunor6 closed although the warning was cancelled" >&2
    return 1
  fi
  # Undone, the screen shows what the controller holds: the window closes at once.
  xdotool windowactivate --sync "$window" 2>/dev/null || true
  xdotool key ctrl+z
  sleep 0.3
  xdotool key alt+F4
  if ! within 100 exited "$pid"; then
    echo "Palunor6 did not close" >&2
    return 1
  fi
  local status=0
  wait "$pid" || status=$?
  if [ "$status" -ne 0 ]; then
    echo "Palunor6 ended with status $status" >&2
    return 1
  fi
}

# Windows paths of files under Linux paths, as wine maps them to Z:.
windows_path() {
  printf 'Z:%s' "${1//\//\\}"
}

# One command to the robot, its fields as arguments; its values, tab-separated, on
# stdout. An answer other than "ok" ends the script.
ask() {
  local IFS=$'\t' answer
  printf '%s\n' "$*" >&"${robot[1]}"
  if ! read -r answer <&"${robot[0]}"; then
    echo "the robot ended at: $*" >&2
    return 1
  fi
  if [ "${answer%%$'\t'*}" != ok ]; then
    echo "robot: $*: ${answer#*$'\t'}" >&2
    return 1
  fi
  [[ "$answer" == *$'\t'* ]] && printf '%s\n' "${answer#*$'\t'}"
  return 0
}

# Polls the robot command in the arguments until its answer matches the pattern in the
# first (within 15 s).
ask_until() {
  local pattern=$1 answer
  shift
  for _ in $(seq 75); do
    answer=$(ask "$@")
    # shellcheck disable=SC2053 # a glob pattern
    [[ "$answer" == $pattern ]] && return 0
    sleep 0.2
  done
  echo "robot: $* answered \"$answer\", not $pattern" >&2
  return 1
}

# Palunor6.exe under wine, driven by the robot as a user at its window.
windows_shots() {
  export WINEPREFIX="$scratch/wine" WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  wineboot -i >/dev/null 2>&1
  wine reg add 'HKLM\Software\Wine\Ports' /v COM2 /t REG_SZ \
    /d "$XDG_CONFIG_HOME/palunor/dosdevices/com2" /f >/dev/null 2>&1
  wineserver -w
  local workdir="$scratch/windows"
  mkdir -p "$workdir"
  coproc robot { wine "$mingw/tests/e2e/win32/e2e_robot.exe" 2>>"$scratch/robot.log"; }
  # shellcheck disable=SC2154 # set by coproc
  track_pid "$robot_PID"
  ask start Palunor6 "$(windows_path "$mingw/app/Palunor6.exe")" "$(windows_path "$workdir")"
  ask_until "VYN Advance Controller Program (QZR Version*" caption
  ask_until "Ready!" text lblstat
  # Read, clicked again until the emulator hears the request for curve 2 that follows
  # its reply with curve 1; a click within the link poll's lockout is refused.
  local before
  for _ in 1 2 3 4 5; do
    before=$(grep -c -- "<- 52 44 32" "$log" || true)
    ask click RDBut
    sleep 1.5
    [ "$(grep -c -- "<- 52 44 32" "$log" || true)" -gt "$before" ] && break
  done
  # The reply with curve 2 and the options.
  sleep 1
  # Point 5 dragged 10 degrees away from the middle.
  local curve
  read -ra curve <<<"$(ask curve)"
  ask drag Lb5 "$((curve[4] > 25 ? 20 : -20))"
  local window
  window=$(wait_for_named "^VYN Advance")

  before=$(popups)
  ask rclick Image1
  shoot "$root/docs/menu-windows.png" "$window" "$(wait_for_popup "$before")"
  ask menukey escape

  ask rclick Image1
  ask menukey d
  ask table >/dev/null
  shoot "$root/docs/differences-windows.png" "$(wait_for_named "^Differences$")"
  ask key escape

  ask rclick Image1
  ask menukey b
  ask table >/dev/null
  shoot "$root/docs/backups-windows.png" "$(wait_for_named "^Backups$")"
  ask key escape

  # Closing waits for the program to end, which it does not while the warning is
  # shown: the robot answers once it has waited its limit.
  [ "$(ask close)" = -1 ]
  shoot "$root/docs/close-warning-windows.png" "$(wait_for_named "^Palunor6$")"
  ask message cancel >/dev/null
  ask_until "VYN Advance Controller Program*" caption
  ask rclick Image1
  ask menukey u
  sleep 0.3
  if [ "$(ask close)" != 0 ]; then
    echo "Palunor6.exe did not close cleanly" >&2
    return 1
  fi
  printf 'quit\n' >&"${robot[1]}"
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
}

for platform in "${platforms[@]}"; do
  "${platform}_shots"
done
