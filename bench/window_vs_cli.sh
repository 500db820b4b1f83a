#!/usr/bin/env bash
# Times a run of the window program against korv-cli.exe, both under Wine,
# on the same small files (fresh copies for every run):
#   bench/window_vs_cli.sh [BUILD-WIN] [FILES] [ROUNDS]
# BUILD-WIN is the 64-bit Windows build folder (default build-win), FILES
# the number of files (default 10000), ROUNDS how many times each is run
# (default 3; the medians are printed). The window's run is timed inside
# its main window, from the click on "Replace All Now" to the results;
# korv-cli's as its whole process, less the start of a Wine process that
# does nothing (korv-cli.exe without arguments).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-win}
count=${2:-10000}
rounds=${3:-3}
wine=/usr/lib/wine/wine64
prefix=$PWD/$build/wine-prefix-x
cli=$PWD/$build/bin/korv-cli.exe
window=$PWD/$build/bin/korv_window_bench.exe

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Each file a few lines, one of them holding the find text.
mkdir "$work/master"
seq 1 "$count" | awk -v dir="$work/master" '{
    file = dir "/f" $1 ".txt"
    printf "line one of file %d\r\nthe colour of it\r\nlast line\r\n", $1 > file
    close(file)
}'
# Windows paths through Wine's drive Z:, in the order of the files.
seq 1 "$count" | awk -v dir="$work/files" '{
    path = "Z:" dir "/f" $1 ".txt"
    gsub("/", "\\", path)
    printf "%s\r\n", path
}' >"$work/list.txt"

fresh_copy() {
    rm -rf "$work/files" "$work/korv.log"
    cp -a "$work/master" "$work/files"
}

# Wall time of a command in seconds.
wall() {
    local start end
    start=$(date +%s.%N)
    "$@" >"$work/out.txt" 2>&1
    end=$(date +%s.%N)
    echo "$end - $start" | bc
}

median() { sort -n | sed -n "$(( (rounds + 1) / 2 ))p"; }

run_cli() {
    cmake/wine-x-run.sh "$wine" "$prefix" "$cli" --no-progress --yes --log "Z:$work/korv.log" \
        -f colour -r color --list "Z:$work/list.txt"
}

# The first start makes the prefix; it is not timed.
cmake/wine-x-run.sh "$wine" "$prefix" "$cli" >/dev/null 2>&1 || true

startups=() clis=() windows=()
for round in $(seq 1 "$rounds"); do
    startups+=("$(wall cmake/wine-x-run.sh "$wine" "$prefix" "$cli" || true)")
    fresh_copy
    clis+=("$(wall run_cli)")
    grep -q "Files found & replaced: $count" "$work/out.txt" || { cat "$work/out.txt"; exit 1; }
    fresh_copy
    cmake/wine-x-run.sh "$wine" "$prefix" "$window" "Z:$work/list.txt" colour color >"$work/out.txt" 2>&1
    grep -q "replaced $count, failed 0" "$work/out.txt" || { cat "$work/out.txt"; exit 1; }
    windows+=("$(sed -n 's/^window run: \([0-9.]*\) s.*/\1/p' "$work/out.txt")")
    echo "round $round: start ${startups[-1]} s, korv-cli ${clis[-1]} s, window ${windows[-1]} s"
done

startup=$(printf '%s\n' "${startups[@]}" | median)
cli_wall=$(printf '%s\n' "${clis[@]}" | median)
window_run=$(printf '%s\n' "${windows[@]}" | median)
cli_run=$(echo "$cli_wall - $startup" | bc)
echo "median over $rounds rounds, $count files:"
echo "  korv-cli.exe: $cli_wall s whole, $cli_run s less the Wine start ($startup s)"
echo "  window run:   $window_run s (click to results)"
echo "  ratio window / korv-cli run: $(echo "scale=2; $window_run / $cli_run" | bc)"
