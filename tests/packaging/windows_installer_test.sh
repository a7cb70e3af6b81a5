#!/usr/bin/env bash
# The Windows installer and ZIP as a user gets them: the ZIP holds exactly the
# programs, their help and the font licences under "Palunor/"; the installer, run
# silently under wine, puts the same files under Program Files, a Start-menu entry for
# each program and an Add/Remove Programs entry with the project's version; each
# program starts from its Start-menu entry, finds the controller (the emulator on
# COM2) and keeps "Advance.ini" in the user's folder; the silent uninstall leaves
# nothing of it behind.
# Usage: windows_installer_test.sh SETUP.exe PACKAGE.zip VERSION CONTROLLER-SIM
# WINEPREFIX names the wine prefix to install into (made if missing).
set -euo pipefail
setup=$(realpath "$1")
zip=$(realpath "$2")
version=$3
controller_sim=$(realpath "$4")
# shellcheck source=scripts/lib/scratch_display.sh
source "$(dirname "$0")/../../scripts/lib/scratch_display.sh"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

files=(DSEG-LICENSE.txt DejaVu-LICENSE.txt Palunor.exe Palunor.hlp Palunor6.exe Palunor6.hlp
  palunorctl.exe palunorctl.txt)

# The ZIP: one folder, the files and nothing else.
listing=$(python3 -c 'import sys, zipfile; print("\n".join(sorted(zipfile.ZipFile(sys.argv[1]).namelist())))' "$zip")
expected=$(printf 'Palunor/\n'; printf 'Palunor/%s\n' "${files[@]}")
[ "$listing" = "$expected" ] || fail "the ZIP holds:"$'\n'"$listing"$'\n'"expected:"$'\n'"$expected"

: "${WINEPREFIX:?WINEPREFIX must name the wine prefix}"
export WINEDEBUG=-all
# No Gecko or Mono prompts; no menu entries on the host for the installed shortcuts.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
start_scratch
start_xvfb

drive_c=$WINEPREFIX/drive_c
program_dir="$drive_c/Program Files/Palunor"
menu_dir="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Palunor"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Palunor'

wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot -i >/dev/null 2>&1
fi
# A run that failed half-way may have left an installation behind.
rm -rf "$program_dir" "$menu_dir"
wine reg delete "$key" /f >/dev/null 2>&1 || true
# COM2 leads to the emulator; COM1, where a program turns when COM2 fails, leads
# nowhere rather than to the machine's own serial port.
for port in 1 2; do
  wine reg add 'HKLM\Software\Wine\Ports' /v "COM$port" /t REG_SZ \
    /d "$XDG_CONFIG_HOME/palunor/dosdevices/com$port" /f >/dev/null 2>&1
done
wineserver -w
start_controller_sim "$controller_sim" "$scratch/controller-sim.log"

wine "$setup" /S
wineserver -w
for file in "${files[@]}" Uninstall.exe; do
  [ -f "$program_dir/$file" ] || fail "not installed: $file"
done
for file in "${files[@]}"; do
  cmp -s "$program_dir/$file" <(python3 -c 'import sys, zipfile; sys.stdout.buffer.write(zipfile.ZipFile(sys.argv[1]).read("Palunor/" + sys.argv[2]))' "$zip" "$file") ||
    fail "$file differs from the ZIP's"
done
entry=$(wine reg query "$key" 2>/dev/null | tr -d '\r') || fail "no Add/Remove Programs entry"
grep -Eq "DisplayName +REG_SZ +Palunor$" <<<"$entry" || fail "DisplayName: $entry"
grep -Eq "DisplayVersion +REG_SZ +$version$" <<<"$entry" || fail "DisplayVersion: $entry"
grep -Eq 'UninstallString +REG_SZ +"C:\\Program Files\\Palunor\\Uninstall.exe"$' <<<"$entry" ||
  fail "UninstallString: $entry"

# The command-line tool from the installation finds the controller on COM2.
info=$(wine "$program_dir/palunorctl.exe" info 2>&1 | tr -d '\r') || fail "palunorctl.exe info: $info"
grep -q "^controller: QZR 6.0" <<<"$info" || fail "palunorctl.exe info: $info"
wineserver -w

# Each program from its Start-menu entry: its window shows and names the controller.
profile="$drive_c/users/$(id -un)"
rm -f "$profile/Advance.INI"
for program in Palunor6 Palunor; do
  link="$menu_dir/$program.lnk"
  [ -f "$link" ] || fail "no Start-menu entry $program.lnk"
  wine start /unix "$link" >/dev/null 2>&1
  within 300 xdotool search --onlyvisible --name '^VYN Advance Controller Program \(QZR Version' ||
    fail "$program found no controller from its Start-menu entry: $(xdotool search --onlyvisible --name . getwindowname %@ 2>&1)"
  # Closed, it writes "Advance.ini" where it started: the user's own folder.
  wine taskkill /IM "$program.exe" >/dev/null 2>&1
  within 100 test -f "$profile/Advance.INI" || fail "$program did not keep Advance.INI in $profile"
  rm -f "$profile/Advance.INI"
  wineserver -k
  wineserver -w
done

wine "C:\\Program Files\\Palunor\\Uninstall.exe" /S
# The uninstaller runs from a copy of itself: the server ends when that has ended.
wineserver -w
[ ! -e "$program_dir" ] || fail "left behind: $(ls -A "$program_dir")"
[ ! -e "$menu_dir" ] || fail "Start-menu folder left behind"
if wine reg query "$key" >/dev/null 2>&1; then fail "Add/Remove Programs entry left behind"; fi
echo "Windows installer and ZIP: ok"
