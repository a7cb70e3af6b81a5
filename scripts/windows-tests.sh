#!/usr/bin/env bash
# The Windows step: cross-builds the core with the ui and serial tests (preset "mingw",
# mingw-w64, static) and runs them under wine, with COM2 mapped to a pseudo-terminal
# whose master tests/serial/com_peer.py holds on the Linux side, and COM3 to the
# controller emulator (the native controller-sim of the default build). Exits
# non-zero on any failure; safe to run again on the same build directory.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build-mingw

cmake --preset mingw >/dev/null
cmake --build --preset mingw -j "$(nproc)" --target ui_tests serial_tests serial_system_tests
cmake --preset default >/dev/null
cmake --build --preset default --target controller-sim

export WINEPREFIX=$build/wine-prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
link=$build/com2-link
log=$build/wineserver.log
# controller-sim links its pty as com3 in a port map of its own, which wine's COM3 follows.
sim_config=$build/sim-config
sim_link=$sim_config/palunor/dosdevices/com3

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
XDG_CONFIG_HOME=$sim_config "$root/build/controller-sim" --port COM3 --log >"$build/controller-sim.log" 2>&1 &
sim=$!
finish() {
  kill "$sim" 2>/dev/null || true
  wait "$sim" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  wait "$server" 2>/dev/null || true
}
trap finish EXIT

status=0
wine "$build/tests/ui_tests.exe" --gtest_brief=1 || status=1
wine "$build/tests/serial_tests.exe" --gtest_brief=1 || status=1
for _ in $(seq 50); do [ -L "$sim_link" ] && break; sleep 0.1; done
PALUNOR_EMULATOR_COM3=1 PALUNOR_COM_PEER=1 python3 "$root/tests/serial/com_peer.py" "$link" \
  wine "$build/tests/serial_system_tests.exe" --gtest_brief=1 || status=1
exit "$status"
