#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: once in
# a normal build, once under AddressSanitizer and UndefinedBehaviorSanitizer,
# and once as Windows programs under Wine (the 32-bit Windows build is only
# compiled and linked); then the packages are made and tried.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
jobs=$(nproc)

cmake -S . -B build -G Ninja -DKORV_WERROR=ON >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

cmake -S . -B build-asan -G Ninja -DKORV_WERROR=ON -DKORV_ASAN=ON \
    -DKORV_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build-asan -j"$jobs"
(source scripts/sanitizer-env.sh && ctest --test-dir build-asan --output-on-failure -j"$jobs")

# The Windows programs, cross-built; Wine makes its prefix inside build-win
# on the first start (some ten seconds) and needs no display.
cmake -S . -B build-win -G Ninja -DKORV_WERROR=ON \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
cmake --build build-win -j"$jobs"
ctest --test-dir build-win --output-on-failure -j"$jobs"
cmake -S . -B build-win32 -G Ninja -DKORV_WERROR=ON \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake >/dev/null
cmake --build build-win32 -j"$jobs"

# Then each fuzz target for a short, bounded time.
fuzz/run.sh build-fuzz

# The packages: the Debian one installed and run as an ordinary user, the
# Windows setup program installed and uninstalled under Wine.
scripts/package-tests.sh
