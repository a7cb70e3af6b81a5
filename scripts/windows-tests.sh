#!/usr/bin/env bash
# The Windows step: cross-builds the core with the ui and serial tests (preset "mingw",
# mingw-w64, static) and runs them under wine, with COM2 mapped to a pseudo-terminal
# whose master tests/serial/com_peer.py holds on the Linux side. Exits non-zero on any
# failure; safe to run again on the same build directory.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build-mingw

cmake --preset mingw >/dev/null
cmake --build --preset mingw -j "$(nproc)" --target ui_tests serial_tests

export WINEPREFIX=$build/wine-prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
link=$build/com2-link
log=$build/wineserver.log

wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot -i >/dev/null 2>&1
  wineserver -w
fi
wine reg add 'HKLM\Software\Wine\Ports' /v COM2 /t REG_SZ /d "$link" /f >/dev/null 2>&1
wineserver -w

# Our own wineserver, so its chatter (it is loud when a pty hangs up) goes to a log.
wineserver -f -p >"$log" 2>&1 &
server=$!
finish() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  wait "$server" 2>/dev/null || true
}
trap finish EXIT

status=0
wine "$build/tests/ui_tests.exe" --gtest_brief=1 || status=1
PALUNOR_COM_PEER=1 python3 "$root/tests/serial/com_peer.py" "$link" \
  wine "$build/tests/serial_tests.exe" --gtest_brief=1 || status=1
exit "$status"
