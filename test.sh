#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: once in
# a normal build, once under AddressSanitizer and UndefinedBehaviorSanitizer.
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
# Then each fuzz target for a short, bounded time.
fuzz/run.sh build-fuzz
