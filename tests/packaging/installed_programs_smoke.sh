#!/usr/bin/env bash
# The Debian package as a user gets it: lintian finds neither error nor warning in it,
# its AppStream metainfo validates, every program has its manual page; unpacked into a
# scratch root, its programs start from bin under Xvfb against its controller-sim,
# name the controller in their title and find their help; its desktop entries, icons
# and dependencies hold.
# Usage: installed_programs_smoke.sh PACKAGE.deb
set -euo pipefail
deb=$(realpath "$1")
# shellcheck source=scripts/lib/scratch_display.sh
source "$(dirname "$0")/../../scripts/lib/scratch_display.sh"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

start_scratch
export XDG_RUNTIME_DIR="$scratch/run"
mkdir -m 700 "$XDG_RUNTIME_DIR"
root="$scratch/root"
dpkg -x "$deb" "$root"
usr="$root/usr"

# Debian's checks of the package as a distribution would run them.
lintian_report=$(lintian --fail-on error,warning "$deb" 2>&1) ||
  fail "lintian: $lintian_report"
metainfo=("$usr"/share/metainfo/*.metainfo.xml)
[ "${#metainfo[@]}" -eq 2 ] || fail "not two metainfo files: ${metainfo[*]}"
for file in "${metainfo[@]}"; do
  appstreamcli validate --no-net "$file" >/dev/null || fail "$(appstreamcli validate --no-net "$file")"
  desktop_id=$(sed -n 's|.*<launchable type="desktop-id">\(.*\)</launchable>.*|\1|p' "$file")
  [ -f "$usr/share/applications/$desktop_id" ] || fail "$file launches $desktop_id, which the package lacks"
done
for program in "$usr"/bin/*; do
  page="$usr/share/man/man1/$(basename "$program").1.gz"
  gzip -t "$page" 2>/dev/null || fail "no manual page $page for $(basename "$program")"
done

# Without the Qt libraries in Depends, apt would install programs that cannot start.
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6; do
  grep -q "\b$library\b" <<<"$depends" || fail "Depends lacks $library: $depends"
done

# A program finds its help as its own resolved path with ".hlp".
for program in Palunor6 Palunor; do
  real=$(readlink -f "$usr/bin/$program")
  [ -x "$real" ] || fail "bin/$program leads to no program"
  cmp -s "$real.hlp" "$(dirname "$0")/../../gui/help/palunor.html" ||
    fail "no help file $real.hlp beside $program"
done

# The fonts are built into the programs; their licences travel with them.
for licence in "$(dirname "$0")"/../../gui/resources/fonts/*-LICENSE.txt; do
  [ -f "$usr/share/doc/palunor/$(basename "$licence")" ] || fail "no $(basename "$licence") in the package"
done

entries=("$usr"/share/applications/*.desktop)
[ "${#entries[@]}" -eq 3 ] || fail "not three desktop entries: ${entries[*]}"
for entry in "${entries[@]}"; do
  desktop-file-validate "$entry" || fail "$entry is not a valid desktop entry"
  exec_line=$(sed -n 's/^Exec=//p' "$entry")
  [ -x "$usr/bin/${exec_line%% *}" ] || fail "$entry starts $exec_line, which the package lacks"
  icon=$(sed -n 's/^Icon=//p' "$entry")
  [ -f "$usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "$entry: no icon $icon.svg"
done
for size in 16 22 24 32 48 64 128 256; do
  png="$usr/share/icons/hicolor/${size}x${size}/apps/palunor.png"
  [ "$(identify -format %wx%h "$png" 2>/dev/null)" = "${size}x${size}" ] ||
    fail "icon $png is not ${size}x${size}"
done

start_xvfb
start_controller_sim "$usr/bin/controller-sim" "$scratch/sim.log" || fail "controller-sim did not start"

# The command-line tool from the package, with its completion.
[ -f "$usr/share/bash-completion/completions/palunorctl" ] || fail "no bash completion for palunorctl"
info=$("$usr/bin/palunorctl" info) || fail "palunorctl info: status $?"
grep -q "^controller: QZR 6.0" <<<"$info" || fail "palunorctl info: $info"

named() { xdotool getwindowname "$window" | grep -q "(QZR Version 6.0, Dual Channel)"; }
help_shown() { xdotool search --all --onlyvisible --pid "$pid" --name "^VYN Advance Controller Program - Help$"; }

for program in Palunor6 Palunor; do
  (cd "$scratch" && exec "$usr/bin/$program") &
  pid=$!
  track_pid "$pid"
  window=$(find_window "$pid") || fail "$program: no window"
  # With no window manager nothing activates the window; focusing it does.
  xdotool windowfocus "$window" || true
  within 50 named || fail "$program: title never named the controller: $(xdotool getwindowname "$window")"
  # HELP, in the command column.
  for _ in 1 2 3; do
    xdotool mousemove --window "$window" 52 348 click 1
    within 20 help_shown && break
  done
  help_shown >/dev/null || fail "$program: HELP showed no help window"
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  echo "$program from the package: named the controller and showed its help"
done
echo "Package $(basename "$deb"): $(du -k "$deb" | cut -f1) KiB; Depends: $depends"
