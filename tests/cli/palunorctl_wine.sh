#!/usr/bin/env bash
# palunorctl.exe under wine against the emulator: a workshop's day (read to a map
# file, send with record, diff) on the COM port that wine leads to controller-sim,
# judged by the exit statuses and the files on disk.
# Usage: palunorctl_wine.sh BUILD-MINGW/palunorctl.exe PORT
# The caller runs wine's server and the emulator, and maps PORT to it.
set -euo pipefail
exe=$1
port=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
  echo "FAIL: palunorctl.exe: $*" >&2
  exit 1
}
tool() {
  local status=0
  wine "$exe" --port "$port" "$@" >"$work/out" 2>"$work/err" || status=$?
  tr -d '\r' <"$work/out" >"$work/out.txt"
  return "$status"
}

tool info || fail "info: status $?: $(cat "$work/err")"
grep -q '^controller: QZR' "$work/out.txt" || fail "info: $(cat "$work/out.txt")"

tool read -o "$(winepath -w "$work/before.IJJ")" || fail "read: status $?: $(cat "$work/err")"
[ "$(stat -c %s "$work/before.IJJ")" = 62 ] || fail "read wrote no map file"

# A map of its own: Advance 1 at +5 degrees, Advance 2 at +2, every point.
printf 'SD1%s\r\nSD2%s\r\n' "$(printf 'Z%.0s' {1..26})" "$(printf 'W%.0s' {1..26})" >"$work/good.IJJ"
tool send "$(winepath -w "$work/good.IJJ")" --record || fail "send: status $?: $(cat "$work/err")"
grep -q 'recorded in EEPROM' "$work/out.txt" || fail "send: $(cat "$work/out.txt")"
tool diff "$(winepath -w "$work/good.IJJ")" || fail "diff after send: status $?"
tool read -o "$(winepath -w "$work/after.IJJ")" || fail "read after send: status $?"
cmp -s "$work/after.IJJ" "$work/good.IJJ" || fail "the controller's copy is not the map sent"

status=0
tool --port COM9 info || status=$?
[ "$status" = 2 ] || fail "a port that leads nowhere: status $status"
echo "palunorctl.exe under wine: ok"
