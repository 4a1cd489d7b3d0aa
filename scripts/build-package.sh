#!/usr/bin/env bash
# Builds the Debian package tessaro_<version>_<arch>.deb and prints its path.
# PACKAGE_BUILD names the build folder (build-package unless set); a new
# folder builds only the programs, not the tests.
set -euo pipefail
cd "$(dirname "$0")/.."
JOBS=${JOBS:-$(nproc)}
build=${PACKAGE_BUILD:-build-package}
options=()
if [ ! -f "$build/CMakeCache.txt" ]; then
  options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSARO_BUILD_TESTS=OFF -DTESSARO_BUILD_BENCH=OFF)
fi
cmake -S . -B "$build" -G Ninja "${options[@]}" >/dev/null
cmake --build "$build" -j"$JOBS" >&2
rm -f "$build"/tessaro_*.deb
(cd "$build" && cpack -G DEB >&2)
ls "$build"/tessaro_*.deb
