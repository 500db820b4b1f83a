#!/usr/bin/env bash
# Runs the whole test suite of a build ROUNDS times while two busy loops
# keep both cores loaded, as on a shared CI machine, and reports each round.
#
#   scripts/stress-tests.sh ROUNDS [BUILD_DIR]     (default: build)
#
# Exits 0 when every round passed. The build must be there already
# (./test.sh makes build/ and build-asan/).
set -euo pipefail
cd "$(dirname "$0")/.."

rounds=${1:?usage: scripts/stress-tests.sh ROUNDS [BUILD_DIR]}
build=${2:-build}
[ -f "$build/CTestTestfile.cmake" ] || { echo "no test build in $build" >&2; exit 2; }
# Harmless for a normal build, needed for a sanitizer one.
source scripts/sanitizer-env.sh

loads=()
stop_loads() {
    for pid in "${loads[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
}
trap stop_loads EXIT
for _ in 1 2; do
    sh -c 'while :; do :; done' &
    loads+=($!)
done

failed=0
started=$(date +%s)
for ((round = 1; round <= rounds; round++)); do
    log="$build/stress-round-$round.log"
    round_start=$(date +%s)
    if ctest --test-dir "$build" --output-on-failure -j"$(nproc)" >"$log" 2>&1; then
        result=passed
    else
        result=FAILED
        failed=$((failed + 1))
    fi
    summary=$(grep -E 'tests passed|tests failed' "$log" | tail -n 1)
    echo "round $round of $rounds: $result in $(($(date +%s) - round_start)) s ($summary)"
    [ "$result" = passed ] && rm -f "$log" || echo "  output kept in $log"
done
echo "$((rounds - failed)) passed, $failed failed ($(($(date +%s) - started)) s in all, both cores busy)"
[ "$failed" -eq 0 ]
