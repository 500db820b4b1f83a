#!/usr/bin/env bash
# Builds the fuzz targets with clang in the folder given (default
# build-fuzz) and runs each for a bounded time over a copy of its corpus,
# so the corpora in the repository stay as they are. Fails on the first
# crash, leak or mismatch with a reference; the input that showed it is
# kept in <build folder>/fuzz-failures/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(mkdir -p "${1:-build-fuzz}" && cd "${1:-build-fuzz}" && pwd)"
seconds="${KORV_FUZZ_SECONDS:-20}"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DKORV_WERROR=ON \
    -DKORV_BUILD_FUZZ=ON -DKORV_BUILD_TESTS=OFF -DKORV_BUILD_BENCH=OFF -DKORV_BUILD_GUI=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target fuzz_targets

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures="$build/fuzz-failures"
mkdir -p "$failures"

for target in line_model replace_str file_variables; do
    corpus="$work/$target"
    mkdir -p "$corpus"
    cp "$root/fuzz/corpus/$target/." "$corpus/" -r
    options=(-max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048
        -print_final_stats=1 -artifact_prefix="$failures/$target-")
    if [ -f "$root/fuzz/$target.dict" ]; then
        options+=(-dict="$root/fuzz/$target.dict")
    fi
    log="$work/$target.log"
    if ! "$build/bin/fuzz_$target" "${options[@]}" "$corpus" >"$log" 2>&1; then
        tail -n 60 "$log"
        echo "fuzz_$target FAILED; the input is in $failures/" >&2
        exit 1
    fi
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")"
    echo "fuzz_$target: ${runs:-?} inputs in ${seconds} s, no failure"
done
