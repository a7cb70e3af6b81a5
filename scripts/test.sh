#!/usr/bin/env bash
# Runs every test: the unit, system, gui and e2e suites, the Debian package checked
# by lintian and appstreamcli and started from a scratch root, the unit and system tests
# built with AddressSanitizer and UndefinedBehaviorSanitizer, the clang build of the unit tests
# with the fuzz targets run briefly from their seeds, the Windows step (the core and the
# driver's tests cross-built with mingw-w64 and run under wine) and the format check.
# Exits non-zero on the first failure.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
jobs=$(nproc)

step() { printf '\n== %s\n' "$*"; }

step "build"
cmake --preset default >/dev/null
cmake --build --preset default -j "$jobs"

step "unit, system, gui and e2e tests"
ctest --preset default -j "$jobs"

step "Debian package: built, checked by lintian and appstreamcli, unpacked, both programs started from it"
# Packed from the build above (stripped), so CI compiles the programs once.
scripts/package.sh build
tests/packaging/installed_programs_smoke.sh build/palunor_*.deb

step "sanitizer build of the unit and system tests"
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize -j "$jobs"
ctest --preset sanitize -j "$jobs"

step "clang build: unit tests, and each fuzz target briefly from its seeds"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs"
ctest --preset fuzz -j "$jobs"

if [ -x scripts/windows-tests.sh ]; then
  step "Windows step: mingw-w64 build under wine"
  scripts/windows-tests.sh
fi

step "format check"
git ls-files -co --exclude-standard -- '*.cpp' '*.h' | grep -v -E '^build' |
  xargs -r clang-format --dry-run -Werror

echo
echo "All tests passed."
