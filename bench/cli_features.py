#!/usr/bin/env python3
"""What korv-cli's dry run and folder walk cost, against a real run.

  * 8 files of 64 MiB: a dry run (-n) against a real run of the same files
    (goal: at most half of the real run's time);
  * a tree of 50,000 small files: a run that walks it (-R) against a run
    over the same files given as a list (goal: at most 10% more), both as
    real runs on fresh copies and as dry runs.

Figures are the best of N runs of wall time; copies are made, and flushed
to disk, before the timed part.

    bench/cli_features.py --korv build/bin/korv-cli [--runs 5] [--work DIR] [--no-sync]
                          [--set big|tree] [--quick]
"""

import argparse
import os
import random
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from compare import FIND, REPLACE, text_lines  # noqa: E402


def timed(argv):
    start = time.perf_counter()
    status = subprocess.run(argv, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL).returncode
    elapsed = time.perf_counter() - start
    if status != 0:
        sys.exit(f"failed: {argv[:6]}... status {status}")
    return elapsed


def best_of(runs, argv, fresh=None):
    """Best wall time; `fresh` (untimed) runs before each attempt."""
    best = float("inf")
    for _ in range(runs):
        if fresh:
            fresh()
        best = min(best, timed(argv))
    return best


def fresh_copy(pristine, work, sync):
    def make():
        shutil.rmtree(work, ignore_errors=True)
        if sync:
            os.sync()
        subprocess.run(["cp", "-a", pristine, work], check=True)
        if sync:
            os.sync()
    return make


def make_big(root, quick):
    rng = random.Random(7)
    folder = os.path.join(root, "big")
    os.makedirs(folder)
    block = text_lines(rng, (8 if quick else 64) << 20, find_every_bytes=1 << 20)
    for i in range(2 if quick else 8):
        with open(os.path.join(folder, f"big{i}.txt"), "wb") as f:
            f.write(block)
    return folder


def make_tree(root, quick):
    """50,000 files of about 1 KiB in 10 x 10 folders; 1 in 100 holds the text."""
    rng = random.Random(11)
    tree = os.path.join(root, "tree")
    per_folder = 50 if quick else 500
    texts = [text_lines(rng, 1024) for _ in range(16)]
    number = 0
    for a in range(10):
        for b in range(10):
            folder = os.path.join(tree, f"d{a}", f"e{b}")
            os.makedirs(folder)
            for _ in range(per_folder):
                text = texts[number % 16]
                if number % 100 == 0:
                    text = FIND.encode() + b"\r\n" + text
                with open(os.path.join(folder, f"f{number:05d}.txt"), "wb") as f:
                    f.write(text)
                number += 1
    return tree, number


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--korv", required=True)
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--work", default=None)
    parser.add_argument("--quick", action="store_true", help="smaller data, for a smoke run")
    parser.add_argument("--no-sync", dest="sync", action="store_false",
                        help="no flush to disk before each run (for --work /dev/shm)")
    parser.add_argument("--set", choices=["big", "tree"], action="append",
                        help="run only this set (may repeat; default: both)")
    args = parser.parse_args()
    sets = args.set or ["big", "tree"]
    korv = os.path.abspath(args.korv)

    root = tempfile.mkdtemp(prefix="korv-bench-", dir=args.work)
    try:
        log = os.path.join(root, "korv.log")
        base = [korv, "-y", "-c", "--no-progress", "--log", log, "-f", FIND, "-r", REPLACE]
        work = os.path.join(root, "work")
        data = os.path.join(root, "data")
        print("making data ...", flush=True)
        if "big" in sets:
            big_set(args, base, data, work)
        if "tree" in sets:
            tree_set(args, base, data, work, root)
    finally:
        shutil.rmtree(root, ignore_errors=True)


def big_set(args, base, data, work):
    big = make_big(data, args.quick)
    names = sorted(os.listdir(big))
    size = sum(os.path.getsize(os.path.join(big, n)) for n in names)
    files = [os.path.join(work, n) for n in names]
    real = best_of(args.runs, base + files, fresh_copy(big, work, args.sync))
    dry = best_of(args.runs, base + ["-n"] + files)
    print(f"\n{len(names)} files of {size / len(names) / 2**20:.0f} MiB")
    print(f"  real run  {real * 1000:9.1f} ms")
    print(f"  dry run   {dry * 1000:9.1f} ms   dry / real = {dry / real:.2f} (goal <= 0.50)",
          flush=True)
    shutil.rmtree(work, ignore_errors=True)
    shutil.rmtree(big)


def tree_set(args, base, data, work, root):
    tree, count = make_tree(data, args.quick)
    print(f"\ntree of {count} files", flush=True)
    walked_tree = os.path.join(work, "tree")
    listed = []
    for folder, subfolders, files in os.walk(tree):
        subfolders.sort()
        listed += [os.path.join(walked_tree, os.path.relpath(folder, tree), n)
                   for n in sorted(files)]
    listing = os.path.join(root, "tree.list")
    with open(listing, "wb") as f:
        f.write("".join(p + "\r\n" for p in listed).encode())
    os.makedirs(work, exist_ok=True)
    copy = fresh_copy(tree, walked_tree, args.sync)
    for title, extra, fresh in (("real", [], copy), ("dry", ["-n"], None)):
        copy()
        as_list = best_of(args.runs, base + extra + ["--list", listing], fresh)
        walked = best_of(args.runs, base + extra + ["-R", walked_tree], fresh)
        print(f"  {title} run, list  {as_list * 1000:9.1f} ms")
        print(f"  {title} run, walk  {walked * 1000:9.1f} ms   walk / list = "
              f"{walked / as_list:.3f} (goal <= 1.10)", flush=True)


if __name__ == "__main__":
    main()
