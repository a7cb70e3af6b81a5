#!/usr/bin/env bash
# Builds the Debian package of Palunor6, Palunor, palunorctl and controller-sim (a Release build
# without the tests) into build-package/, and prints its name, size and dependencies.
# Install it with: apt install ./build-package/palunor_*.deb
#
#   scripts/package.sh          # a Release build of its own in build-package/
#   scripts/package.sh build    # packs what an existing build folder has built (CI)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build="$root/build-package"
reuse=""
if (($#)); then
  build=$(realpath "$1")
  reuse=1
fi

# install-deps brings dpkg-shlibdeps (dpkg-dev) for the dependencies, rsvg-convert
# (librsvg2-bin) for the icon's sizes, and desktop-file-validate, lintian and
# appstreamcli for tests/packaging.
scripts/install-deps.sh

if [ -z "$reuse" ]; then
  # -O2 as the other Release presets: GCC 12's -O3 warns falsely inside std::string.
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DPALUNOR_TESTS=OFF -DPALUNOR_WERROR=ON >/dev/null
fi
targets=(Palunor6 Palunor palunorctl controller-sim palunor_docs)
if cmake --build "$build" --target help | grep -q '^palunor_icons:'; then targets+=(palunor_icons); fi
cmake --build "$build" -j "$(nproc)" --target "${targets[@]}"
rm -f "$build"/palunor_*.deb
(cd "$build" && cpack -G DEB >/dev/null)

deb=$(ls "$build"/palunor_*.deb)
echo "Package: $deb ($(du -k "$deb" | cut -f1) KiB)"
echo "Depends: $(dpkg-deb -f "$deb" Depends)"
