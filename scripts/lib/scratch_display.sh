# Sourced by the scripts that run the programs: a scratch home, a virtual display and
# the controller emulator, all of them gone again when the script ends. Sourcing it
# installs the clean-up; an interrupted script cleans up and ends.
#   start_scratch                       # $scratch is HOME and holds XDG_CONFIG_HOME and XDG_DATA_HOME
#   start_xvfb [WIDTHxHEIGHT]           # exports DISPLAY (1024x600 unless given)
#   start_controller_sim BUILD/controller-sim [LOG [OPTION...]]   # sets $controller_sim_pid
#   track_pid PID                       # ended at clean-up as well
#   window=$(find_window PID)           # the program's window once shown
#   read_both_curves WINDOW LOG [PERCENT]   # Read clicked until the emulator answered it
#   shoot_settings WINDOW SHOT [PERCENT]    # the settings dialog over WINDOW, to SHOT
# shellcheck shell=bash

scratch=""
controller_sim_pid=""
_tracked_pids=()

track_pid() {
  _tracked_pids+=("$1")
}

_scratch_display_cleanup() {
  local pid
  for pid in "${_tracked_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  if [ -n "$scratch" ]; then rm -rf "$scratch"; fi
}
trap _scratch_display_cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# A private home and port map, so the programs and the emulator write their settings,
# links and backups in scratch and leave the user's alone.
start_scratch() {
  scratch=$(mktemp -d)
  export XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data" HOME="$scratch"
  mkdir -p "$XDG_CONFIG_HOME"
}

# Xvfb on a display no other server uses; it names the display once it takes
# connections. -noreset: a client that comes and goes (xdotool looking for a window)
# must not reset the server under a program that is connecting.
start_xvfb() {
  local named
  named=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "${1:-1024x600}x24" -nolisten tcp -noreset 3>"$named" >/dev/null 2>&1 &
  local pid=$!
  track_pid "$pid"
  local number=""
  for _ in $(seq 50); do
    number=$(tr -dc 0-9 <"$named")
    [ -n "$number" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  rm -f "$named"
  if [ -z "$number" ]; then
    echo "Xvfb did not start" >&2
    return 1
  fi
  export DISPLAY=":$number"
}

# controller-sim on COM2 of the current port map (output to LOG if given, with its
# further OPTIONs); returns once COM2 leads to its pseudo-terminal.
start_controller_sim() {
  local program=$1 log=${2:-}
  local options=("${@:3}")
  local link="${XDG_CONFIG_HOME:-$HOME/.config}/palunor/dosdevices/com2"
  # A link already there (a real device, or one left by an emulator that was killed)
  # is not the emulator's until it has been replaced; the emulator makes a fresh link
  # and renames it over the old one, so the link's inode tells.
  local before
  before=$(stat -c %i "$link" 2>/dev/null || true)
  if [ -n "$log" ]; then
    "$program" --port COM2 "${options[@]}" >"$log" 2>&1 &
  else
    "$program" --port COM2 "${options[@]}" &
  fi
  local pid=$!
  track_pid "$pid"
  # shellcheck disable=SC2034 # read by the scripts that source this file
  controller_sim_pid=$pid
  local target inode
  for _ in $(seq 50); do
    target=$(readlink "$link" 2>/dev/null || true)
    inode=$(stat -c %i "$link" 2>/dev/null || true)
    [[ "$target" == /dev/pts/* && "$inode" != "$before" ]] && return 0
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  echo "controller-sim did not link COM2 in ${link%/*}" >&2
  return 1
}

# The window of the program PID once it is shown (within 10 s), on stdout.
find_window() {
  local pid=$1 window=""
  for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --pid "$pid" --name "VYN Advance" 2>/dev/null | head -1 || true)
    if [ -n "$window" ]; then
      echo "$window"
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# Starts the program file PROGRAM in the scratch folder and waits until its window
# names the controller; sets `pid` and `window`. Without a window manager nothing
# activates the window; focusing it does, and the first activation sends "VER".
start_connected_program() {
  local program=$1
  (cd "$scratch" && exec "$program") &
  pid=$!
  track_pid "$pid"
  if ! window=$(find_window "$pid"); then
    echo "${program##*/} showed no window" >&2
    return 1
  fi
  xdotool windowfocus "$window" 2>/dev/null || true
  for _ in $(seq 50); do
    xdotool getwindowname "$window" 2>/dev/null | grep -q "Version" && return 0
    sleep 0.1
  done
  echo "${program##*/} did not find the controller" >&2
  return 1
}

# The user and system time of process PID so far, in clock ticks. The command name in
# the second field may hold spaces, so the fields are counted after its ")".
cpu_ticks() {
  local stat fields
  stat=$(<"/proc/$1/stat")
  read -ra fields <<<"${stat##*) }"
  echo $((fields[11] + fields[12]))
}

now_ns() { date +%s%N; }

# Waits up to $1 tenths of a second for the command after it to succeed.
within() {
  local tenths=$1
  shift
  for _ in $(seq "$tenths"); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}

# Clicks Read (at its place in the command column of WINDOW) until the emulator, whose
# --log is LOG, hears the request for curve 2 that follows its reply with curve 1, and
# waits for the reply with curve 2 and the options. A click within the command lockout
# of the link poll is refused, as it is for a user.
# PERCENT is the display scale the window is drawn at (100 unless given).
read_both_curves() {
  local window=$1 log=$2 percent=${3:-100} before
  before=$(grep -c -- "<- 52 44 32" "$log" || true)
  for _ in 1 2 3 4 5; do
    xdotool mousemove --window "$window" $((52 * percent / 100)) $((180 * percent / 100)) click 1
    sleep 1.5
    [ "$(grep -c -- "<- 52 44 32" "$log" || true)" -gt "$before" ] && break
  done
  sleep 1
}

# Opens the settings dialog with "Settings" in the command column of WINDOW (drawn at
# PERCENT, 100 unless given), confirms closing the connection, writes the dialog to
# SHOT and cancels it.
shoot_settings() {
  local window=$1 shot=$2 percent=${3:-100} dialog=""
  xdotool mousemove --window "$window" $((52 * percent / 100)) $((308 * percent / 100)) click 1
  # "Confirm": closing the connection first is what the user agrees to.
  local confirm=""
  for _ in $(seq 50); do
    confirm=$(xdotool search --onlyvisible --name "^Confirm$" 2>/dev/null | head -1 || true)
    [ -n "$confirm" ] && break
    sleep 0.1
  done
  if [ -n "$confirm" ]; then
    xdotool windowfocus "$confirm" 2>/dev/null || true
    sleep 0.3
    xdotool key Return 2>/dev/null || true
  fi
  for _ in $(seq 50); do
    dialog=$(xdotool search --onlyvisible --name "^Settings$" 2>/dev/null | head -1 || true)
    [ -n "$dialog" ] && break
    sleep 0.1
  done
  if [ -z "$dialog" ]; then
    echo "the settings dialog did not open" >&2
    return 1
  fi
  xdotool windowfocus "$dialog" 2>/dev/null || true
  sleep 0.5
  import -window "$dialog" "$shot"
  xdotool key Escape 2>/dev/null || true
  echo "Screenshot written: $shot"
}
