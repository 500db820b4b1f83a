#!/usr/bin/env python3
"""What the undo journal costs: korv-cli with its journal against korv-cli
--no-undo, on compare.py's sets.

Each run gets a file system of its own, made fresh (ext4 on a loop device),
so that no run inherits the freed blocks and inodes of the one before; the
files are copied in and synced, and the page cache dropped, before the
run, which alone is timed. korv-cli runs from that file system, so its
journal (beside the program) lies on the same one as the files and keeps
old contents by further names. The two kinds of run alternate; the figure
per set is the median of the N paired ratios. Needs root (mkfs, mount).

    sudo bench/undo_cost.py --korv build/bin/korv-cli [--runs 7] [--sets every,sparse]
                            [--before OLD-KORV-CLI] [--times FILE]
    bench/undo_cost.py --pool FILE

With --before, each round also runs that binary both ways, so a change is
measured against the build before it in the same minutes. With --times,
each run's time is added to FILE; --pool prints the ratios of every series
there together, for medians over more pairs than one sitting gives.
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

import compare


def quiet(*argv):
    subprocess.run(argv, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def timed_run(image, mount, korv, pristine, folded, extra):
    """Wall seconds of one korv-cli run on a fresh file system."""
    quiet("truncate", "-s", "0", image)
    quiet("truncate", "-s", "4G", image)
    quiet("mkfs.ext4", "-q", "-F", image)
    quiet("mount", "-o", "loop", image, mount)
    try:
        program = os.path.join(mount, "bin", "korv-cli")
        os.makedirs(os.path.dirname(program))
        shutil.copy2(korv, program)
        work = os.path.join(mount, "work")
        quiet("cp", "-a", pristine, work)
        os.sync()
        with open("/proc/sys/vm/drop_caches", "w") as caches:
            caches.write("3")
        argv = [program, "-y", "--log", os.path.join(mount, "korv.log")] + extra
        argv += ["-f", compare.FIND, "-r", compare.REPLACE] + ([] if folded else ["-c"])
        start = time.perf_counter()
        status = subprocess.run(argv + compare.files_of(work), stdin=subprocess.DEVNULL,
                                stdout=subprocess.DEVNULL).returncode
        elapsed = time.perf_counter() - start
        if status != 0:
            sys.exit(f"korv-cli failed with status {status}")
        return elapsed
    finally:
        quiet("umount", mount)


def report(name, journal, bare):
    ratios = [j / b for j, b in zip(journal, bare)]
    # The quartiles tell how far the machine's noise moves a pair.
    low, ratio, high = statistics.quantiles(ratios, n=4) if len(ratios) > 1 else ratios * 3
    print(f"  {name:6s} journal {statistics.median(journal) * 1000:7.1f} ms   "
          f"no-undo {statistics.median(bare) * 1000:7.1f} ms   "
          f"journal / no-undo {ratio:.3f} (median of {len(ratios)} pairs, "
          f"quartiles {low:.3f} to {high:.3f})",
          flush=True)


def pool(path):
    """Prints each set's and build's ratios over every series in a --times file."""
    runs = {}
    with open(path) as log:
        for line in log:
            series, title, name, way, round_no, seconds = line.rstrip("\n").split("\t")
            runs[(series, title, name, way, round_no)] = float(seconds)
    pairs = {}
    for (series, title, name, way, round_no), seconds in runs.items():
        bare = runs.get((series, title, name, "no-undo", round_no))
        if way == "journal" and bare is not None:
            pairs.setdefault(title, {}).setdefault(name, []).append((seconds, bare))
    for title, builds in pairs.items():
        print(f"\n{title}")
        for name, both in builds.items():
            report(name, [j for j, _ in both], [b for _, b in both])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--korv")
    parser.add_argument("--before", default=None, help="an older korv-cli to measure alongside")
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--sets", default=None, help="as compare.py's --sets (default all)")
    parser.add_argument("--times", default=None,
                        help="a file to add each run's time to (series, set, build, way, "
                             "round, seconds; tab-separated), to pool series")
    parser.add_argument("--pool", default=None,
                        help="runs nothing: prints the ratios of all the series in this "
                             "--times file together")
    args = parser.parse_args()
    if args.pool:
        pool(args.pool)
        return
    if not args.korv:
        parser.error("--korv is needed to run")
    if os.geteuid() != 0:
        sys.exit("undo_cost.py makes and mounts file systems: run it as root")
    builds = {"after": os.path.abspath(args.korv)}
    if args.before:
        builds = {"before": os.path.abspath(args.before), **builds}
    kinds = [(name, way, binary) for name, binary in builds.items()
             for way in ("journal", "no-undo")]

    series = time.strftime("%Y-%m-%dT%H:%M:%S")
    root = tempfile.mkdtemp(prefix="korv-undo-cost-")
    image, mount = os.path.join(root, "fs.img"), os.path.join(root, "mnt")
    os.makedirs(mount)
    try:
        print("making data ...", flush=True)
        sets = compare.make_data(os.path.join(root, "data"), False,
                                 args.sets.split(",") if args.sets else None)
        for title, (pristine, folded) in sets.items():
            print(f"\n{title}", flush=True)
            times = {(name, way): [] for name, way, _ in kinds}
            for round_no in range(args.runs):
                # Each kind goes first in turn, so a drift of the machine
                # does not fall on one of them.
                shift = round_no % len(kinds)
                for name, way, binary in kinds[shift:] + kinds[:shift]:
                    extra = ["--no-undo"] if way == "no-undo" else []
                    seconds = timed_run(image, mount, binary, pristine, folded, extra)
                    times[(name, way)].append(seconds)
                    if args.times:
                        with open(args.times, "a") as log:
                            log.write(f"{series}\t{title}\t{name}\t{way}\t{round_no}\t"
                                      f"{seconds:.6f}\n")
            for name in builds:
                report(name, times[(name, "journal")], times[(name, "no-undo")])
    finally:
        subprocess.run(["umount", mount], stderr=subprocess.DEVNULL)
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    main()
