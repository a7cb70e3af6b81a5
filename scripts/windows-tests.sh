#!/usr/bin/env bash
# The Windows step: cross-builds the core's tests, the Win32 front end's tests, the
# two programs and palunorctl (preset "mingw", mingw-w64, static) and runs them under
# wine:
#  1. the ui, files, serial and win32gui unit tests; the files system tests (replacing
#     a read-only file); the serial system tests with COM2 mapped
#     to a pseudo-terminal whose master tests/serial/com_peer.py holds on the Linux
#     side and COM3 to the controller emulator (the native controller-sim of the
#     default build), and palunorctl.exe against the emulator on COM3; the win32gui
#     system tests on a virtual display, the settings
#     dialog's again at 120 to 192 DPI; the GDI
#     canvas's rasterisations of the gauges and the chart compared with the Qt
#     canvas's (gui_tests' CanvasAgreement, native);
#  2. the e2e suite of both programs, each in a Cyrillic working folder, on a virtual
#     display with a window manager,
#     driven by the robot against the emulator (tests/e2e/win32);
#  3. the installer and ZIP (scripts/package-windows.sh), installed, started and
#     uninstalled under wine (tests/packaging/windows_installer_test.sh).
# Exits non-zero on any failure; safe to run again on the same build directory.
# PALUNOR_MINGW_BUILD and PALUNOR_NATIVE_BUILD name other build directories than
# build-mingw and build (whose controller-sim and gui_tests it uses).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${PALUNOR_MINGW_BUILD:-$root/build-mingw}
native=${PALUNOR_NATIVE_BUILD:-$root/build}
# shellcheck source=scripts/lib/scratch_display.sh
source "$root/scripts/lib/scratch_display.sh"

cmake --preset mingw -B "$build" >/dev/null
targets=(ui_tests files_tests files_system_tests serial_tests serial_system_tests win32gui_tests Palunor6
  Palunor palunorctl e2e_robot)
if cmake --build "$build" --target help | grep -q '^win32gui_system_tests:'; then
  targets+=(win32gui_system_tests)
fi
cmake --build "$build" -j "$(nproc)" --target "${targets[@]}"
cmake --preset default -B "$native" >/dev/null
cmake --build "$native" -j "$(nproc)" --target controller-sim gui_tests

export WINEPREFIX=$build/wine-prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
link=$build/com2-link
log=$build/wineserver.log
# controller-sim links its pty as com3 in a port map of its own, which wine's COM3 follows.
sim_config=$build/sim-config
sim_link=$sim_config/palunor/dosdevices/com3

# The display first: wine's desktop, which every later window joins, opens it once.
start_xvfb
# And a window manager: without one wine waits about two seconds for every window it
# shows and activates to be mapped and focused.
openbox --sm-disable >/dev/null 2>&1 &
track_pid $!
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot -i >/dev/null 2>&1
  wineserver -w
fi
wine reg add 'HKLM\Software\Wine\Ports' /v COM2 /t REG_SZ /d "$link" /f >/dev/null 2>&1
wine reg add 'HKLM\Software\Wine\Ports' /v COM3 /t REG_SZ /d "$sim_link" /f >/dev/null 2>&1
wineserver -w

# Our own wineserver, so its chatter (it is loud when a pty hangs up) goes to a log.
wineserver -f -p >"$log" 2>&1 &
server=$!
mkdir -p "$sim_config"
XDG_CONFIG_HOME=$sim_config "$native/controller-sim" --port COM3 --log >"$build/controller-sim.log" 2>&1 &
sim=$!
stop_wine() {
  kill "$sim" 2>/dev/null || true
  wait "$sim" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  wait "$server" 2>/dev/null || true
}
finish() {
  stop_wine
  _scratch_display_cleanup
}
trap finish EXIT

status=0
wine "$build/tests/ui_tests.exe" --gtest_brief=1 || status=1
wine "$build/tests/files_tests.exe" --gtest_brief=1 || status=1
wine "$build/tests/files_system_tests.exe" --gtest_brief=1 || status=1
wine "$build/tests/serial_tests.exe" --gtest_brief=1 || status=1
canvas_dir=$build/canvas-scenes
rm -rf "$canvas_dir"
PALUNOR_CANVAS_DIR=$canvas_dir wine "$build/tests/win32gui_tests.exe" --gtest_brief=1 || status=1
PALUNOR_CANVAS_DIR=$canvas_dir QT_QPA_PLATFORM=offscreen "$native/tests/gui_tests" \
  --gtest_brief=1 --gtest_filter='*CanvasAgreement*' || status=1
for _ in $(seq 50); do [ -L "$sim_link" ] && break; sleep 0.1; done
PALUNOR_EMULATOR_COM3=1 PALUNOR_COM_PEER=1 python3 "$root/tests/serial/com_peer.py" "$link" \
  wine "$build/tests/serial_system_tests.exe" --gtest_brief=1 || status=1
tests/cli/palunorctl_wine.sh "$build/palunorctl.exe" COM3 || status=1
if [ -f "$build/tests/win32gui_system_tests.exe" ]; then
  wine "$build/tests/win32gui_system_tests.exe" --gtest_brief=1 || status=1
  # The settings dialog and the plot window's pointer again at 125, 150, 175 and 200 %
  # (wine's display scale).
  desktop='HKCU\Control Panel\Desktop'
  for dpi in 120 144 168 192; do
    wine reg add "$desktop" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    wine "$build/tests/win32gui_system_tests.exe" --gtest_brief=1 \
      --gtest_filter='Win32SettingsDialog.ShowsTheRequest*:Win32SecondWindow.Reports*' || status=1
  done
  wine reg add "$desktop" /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1
fi
# The e2e suite and the installer test bring up their own wineserver and display.
stop_wine

PALUNOR_MINGW_BUILD=$build CONTROLLER_SIM=$native/controller-sim \
  python3 "$root/tests/e2e/win32/windows_programs_test.py" || status=1

scripts/package-windows.sh "$build" --no-build
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
tests/packaging/windows_installer_test.sh "$build/Palunor-$version-win64-setup.exe" \
  "$build/Palunor-$version-win64.zip" "$version" "$native/controller-sim" || status=1
exit "$status"
