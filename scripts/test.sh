#!/usr/bin/env bash
# Builds Tessaro and runs every test: once normally, once under
# AddressSanitizer + UndefinedBehaviorSanitizer, then a short fuzz run.
set -euo pipefail
cd "$(dirname "$0")/.."
JOBS=${JOBS:-$(nproc)}
export QT_QPA_PLATFORM=offscreen

echo "== build and test =="
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$JOBS"
ctest --test-dir build --output-on-failure -j"$JOBS"

echo "== build and test with ASan + UBSan =="
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTESSARO_SANITIZE=ON \
  -DTESSARO_BUILD_GUI=OFF -DTESSARO_BUILD_BENCH=OFF
cmake --build build-asan -j"$JOBS"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j"$JOBS"

if [ -f fuzz/CMakeLists.txt ] && command -v clang++ >/dev/null; then
  echo "== fuzz (short run) =="
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTESSARO_FUZZ=ON -DTESSARO_BUILD_GUI=OFF -DTESSARO_BUILD_TESTS=OFF -DTESSARO_BUILD_BENCH=OFF
  cmake --build build-fuzz -j"$JOBS"
  for target in build-fuzz/bin/*_fuzz; do
    [ -x "$target" ] || continue
    corpus=fuzz/corpus/$(basename "$target" _fuzz)
    work=$(mktemp -d)
    "$target" -max_total_time="${FUZZ_SECONDS:-30}" -rss_limit_mb=2048 "$work" "$corpus"
    rm -rf "$work"
  done
fi
