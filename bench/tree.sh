#!/usr/bin/env bash
# Replaces a symbol over a copy of a real source tree, the Linux 6.1 source
# from Debian's linux-source-6.1 (78,597 files, LF line breaks), with
# korv-cli -R, and times it against what users type instead:
#
#   rg -l -0 -F SYMBOL | xargs -0 sd -s SYMBOL NEW
#   rg -l -0 -F SYMBOL | xargs -0 sed -i s/SYMBOL/NEW/g
#   rg -l -F SYMBOL                (the search alone, writing nothing)
#
# Each tool runs on a fresh copy of the tree (the copy is not timed, and is
# flushed to disk first), with the page cache hot; the figure is the median
# of RUNS. Afterwards it counts the files of korv-cli's copy that differ from
# a plain byte replacement of the same tree (sed on every file that holds
# the symbol): 0 where korv-cli keeps line breaks.
#
#   bench/tree.sh build/bin/korv-cli [RUNS] [-- KORV-CLI OPTIONS...]
#
# Needs: linux-source-6.1 ripgrep sd (apt-get install them). The tree is
# unpacked once into $KORV_TREE_WORK (default /tmp/korv-tree).
set -euo pipefail

korv=$(realpath "$1")
runs=${2:-3}
shift $(($# < 2 ? $# : 2))
[ "${1:-}" = "--" ] && shift
korv_options=("$@")
symbol=EXPORT_SYMBOL_GPL
# Not holding the symbol: a walk meets a linked file twice (through its link
# too), and the second pass must find nothing to replace.
new=KORV_EXPORT_GPL
work=${KORV_TREE_WORK:-/tmp/korv-tree}
tarball=/usr/src/linux-source-6.1.tar.xz

for tool in rg sd; do
    command -v "$tool" >/dev/null || { echo "tree.sh: $tool is missing (apt-get install ripgrep sd)" >&2; exit 2; }
done
[ -f "$tarball" ] || { echo "tree.sh: $tarball is missing (apt-get install linux-source-6.1)" >&2; exit 2; }

mkdir -p "$work"
pristine=$work/pristine
if [ ! -d "$pristine" ]; then
    echo "unpacking $tarball ..."
    mkdir -p "$work/unpack"
    tar -xJf "$tarball" -C "$work/unpack"
    mv "$work/unpack"/linux-source-6.1 "$pristine"
    rmdir "$work/unpack"
fi
copy=$work/copy
# Each run appends its lines to the log: a log left by earlier runs of this
# script would make every run read more.
rm -f "$work/korv.log"

fresh_copy() {
    rm -rf "$copy"
    cp -a "$pristine" "$copy"
    sync
}

# Wall seconds of one command line, run in the copy's parent folder.
timed() {
    local start end
    start=$(date +%s.%N)
    (cd "$work" && eval "$1") >/dev/null 2>&1
    end=$(date +%s.%N)
    echo "$end - $start" | bc
}

median() {
    sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

declare -A commands=(
    ["korv-cli -R"]="'$korv' -R -c -y --no-progress --log '$work/korv.log' ${korv_options[*]} -f $symbol -r $new copy"
    ["rg | sd -s"]="rg -l -0 -F $symbol copy | xargs -0 sd -s $symbol $new"
    ["rg | sed -i"]="rg -l -0 -F $symbol copy | LC_ALL=C xargs -0 sed -i s/$symbol/$new/g"
    ["rg -l alone"]="rg -l -F $symbol copy"
)
order=("korv-cli -R" "rg | sd -s" "rg | sed -i" "rg -l alone")

echo "$(find "$pristine" -type f | wc -l) files, $(du -sh "$pristine" | cut -f1); replacing $symbol; median of $runs"
declare -A result
for name in "${order[@]}"; do
    times=()
    for _ in $(seq "$runs"); do
        fresh_copy
        times+=("$(timed "${commands[$name]}")")
    done
    result[$name]=$(printf '%s\n' "${times[@]}" | median)
    printf '  %-12s %7.3f s   (runs: %s)\n' "$name" "${result[$name]}" "${times[*]}"
done
korv_s=${result["korv-cli -R"]}
printf '  rg | sd -s / korv-cli = %.2f   rg | sed -i / korv-cli = %.2f   korv-cli / rg -l = %.2f\n' \
    "$(echo "${result["rg | sd -s"]} / $korv_s" | bc -l)" \
    "$(echo "${result["rg | sed -i"]} / $korv_s" | bc -l)" \
    "$(echo "$korv_s / ${result["rg -l alone"]}" | bc -l)"

# korv-cli's result against a plain byte replacement of every file that
# holds the symbol.
fresh_copy
(cd "$work" && eval "${commands["korv-cli -R"]}") >/dev/null
rm -rf "$work/reference"
cp -a "$pristine" "$work/reference"
LC_ALL=C grep -rlZF --binary-files=without-match "$symbol" "$work/reference" |
    LC_ALL=C xargs -0 sed -i "s/$symbol/$new/g"
differing=$(diff -rq "$copy" "$work/reference" | wc -l || true)
echo "  files of korv-cli's result that differ from a plain byte replacement: $differing"
rm -rf "$copy" "$work/reference"
