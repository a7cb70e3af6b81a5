#!/usr/bin/env bash
# Builds the Windows installer and ZIP of Palunor6, Palunor and palunorctl from a
# mingw-w64 build folder (default build-mingw, preset "mingw"): the programs stripped,
# their help files beside them, palunorctl's manual page as text (palunorctl.txt) and
# the font licences, staged in <build>/windows-package/Palunor/,
# then packed as <build>/Palunor-<version>-win64.zip (folder "Palunor/") and
# <build>/Palunor-<version>-win64-setup.exe (NSIS, packaging/windows/palunor.nsi).
# Prints both names and sizes.
#
#   scripts/package-windows.sh                  # configures and builds build-mingw
#   scripts/package-windows.sh BUILD --no-build # packs what BUILD has built (CI)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$(realpath -m "${1:-$root/build-mingw}")
build_programs=1
[ "${2:-}" = "--no-build" ] && build_programs=""

if [ -n "$build_programs" ]; then
  # mingw-w64 for the build, nsis for the installer.
  scripts/install-deps.sh
  cmake --preset mingw -B "$build" >/dev/null
  cmake --build "$build" -j "$(nproc)" --target Palunor6 Palunor palunorctl
fi

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
if [ -z "$version" ]; then
  echo "no project version in $build/CMakeCache.txt" >&2
  exit 1
fi
# Version resources want four numbers: 1.0 -> 1.0.0.0.
IFS=. read -r -a numbers <<<"$version"
while ((${#numbers[@]} < 4)); do numbers+=(0); done
file_version=$(IFS=.; echo "${numbers[*]:0:4}")

stage=$build/windows-package/Palunor
rm -rf "$build/windows-package"
mkdir -p "$stage"
for program in Palunor6 Palunor; do
  x86_64-w64-mingw32-strip -o "$stage/$program.exe" "$build/app/$program.exe"
  cp "$build/app/$program.hlp" "$stage/"
done
x86_64-w64-mingw32-strip -o "$stage/palunorctl.exe" "$build/palunorctl.exe"
# The manual page as plain text with Windows line ends, for Notepad.
groff -man -Tascii -P-cbou "$root/packaging/man/palunorctl.1" | sed 's/$/\r/' >"$stage/palunorctl.txt"
cp "$root"/gui/resources/fonts/*-LICENSE.txt "$stage/"

zip=$build/Palunor-$version-win64.zip
setup=$build/Palunor-$version-win64-setup.exe
rm -f "$zip" "$setup"
(cd "$build/windows-package" && cmake -E tar cf "$zip" --format=zip Palunor)

makensis -V2 -DVERSION="$version" -DFILE_VERSION="$file_version" -DSTAGE="$stage" \
  -DOUTFILE="$setup" -DICON="$root/win32gui/resources/palunor.ico" \
  "$root/packaging/windows/palunor.nsi"

for file in "$zip" "$setup"; do
  echo "$(basename "$file"): $(du -k "$file" | cut -f1) KiB"
done
