#!/usr/bin/env bash
# Installs the Debian packages the project needs, only those missing. Idempotent.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config clang-format
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools libgl1-mesa-dev
  xvfb xauth fonts-dseg imagemagick xdotool
  mingw-w64 g++-mingw-w64-x86-64-posix wine wine64 fonts-wine nsis openbox
  clang libclang-rt-14-dev llvm
  dpkg-dev librsvg2-bin desktop-file-utils lintian appstream groff-base
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    echo "These packages are missing; run as root or install them: ${missing[*]}" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
