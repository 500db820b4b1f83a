#!/usr/bin/env python3
"""korv-cli.exe under Wine against the native korv-cli, on compare.py's set of
10,000 small files.

Both read the same file list (-l) on a fresh copy of the files (the copy is
not timed, and is flushed to disk before the run); the figures are the best
of N runs. Wine's own start-up, `korv-cli.exe --version`, is shown apart,
as it is no cost of ours. Both outputs are compared byte for byte.

    bench/wine_compare.py --korv build/bin/korv-cli --exe build-win/bin/korv-cli.exe \
        [--wine-prefix build-win/wine-prefix] [--runs 3] [--work DIR] [--quick]
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
from compare import FIND, REPLACE, files_of, text_lines  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))


def make_many(folder, quick):
    """The same files as compare.py's first set."""
    rng = random.Random(7)
    os.makedirs(folder)
    for i in range(1000 if quick else 10000):
        with open(os.path.join(folder, f"f{i:05d}.txt"), "wb") as f:
            text = text_lines(rng, 4096, find_every_lines=10)
            f.write(text[:text.rindex(b"\r\n", 0, 4096) + 2])


def timed(argv, env=None):
    start = time.perf_counter()
    status = subprocess.run(argv, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                            env=env).returncode
    elapsed = time.perf_counter() - start
    if status != 0:
        sys.exit(f"failed: {argv[:4]}... status {status}")
    return elapsed


def windows_path(path):
    """Wine shows the Unix root as drive Z:."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--korv", required=True)
    parser.add_argument("--exe", required=True)
    parser.add_argument("--wine", default="/usr/lib/wine/wine64")
    parser.add_argument("--wine-prefix", default=None)
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--work", default=None)
    parser.add_argument("--quick", action="store_true", help="1,000 files, for a smoke run")
    args = parser.parse_args()
    korv = os.path.abspath(args.korv)
    exe = os.path.abspath(args.exe)
    prefix = os.path.abspath(args.wine_prefix or os.path.join(os.path.dirname(exe), "..",
                                                              "wine-prefix"))
    wine = [os.path.join(HERE, "..", "cmake", "wine-run.sh"), args.wine, prefix]

    root = tempfile.mkdtemp(prefix="korv-bench-", dir=args.work)
    try:
        pristine = os.path.join(root, "many")
        make_many(pristine, args.quick)
        work = os.path.join(root, "work")
        names = [os.path.join(work, os.path.basename(f)) for f in files_of(pristine)]
        unix_list = os.path.join(root, "unix.list")
        with open(unix_list, "w") as f:
            f.write("".join(n + "\n" for n in names))
        windows_list = os.path.join(root, "windows.list")
        with open(windows_list, "w", newline="") as f:
            f.write("".join(windows_path(n) + "\r\n" for n in names))
        size = sum(os.path.getsize(f) for f in files_of(pristine))
        print(f"{len(names)} files of 4 KiB, 1 line in 10 holds the text ({size / 2**20:.0f} MiB)")

        commands = {
            "korv-cli": [korv, "-y", "--no-progress", "--log", os.path.join(root, "native.log"),
                         "-c", "-f", FIND, "-r", REPLACE, "-l", unix_list],
            "korv-cli.exe": wine + [exe, "-y", "--no-progress", "--log",
                                    windows_path(os.path.join(root, "wine.log")), "-c", "-f",
                                    FIND, "-r", REPLACE, "-l", windows_path(windows_list)],
        }
        timed(wine + [exe, "--version"])  # makes the prefix, starts the server
        start_up = min(timed(wine + [exe, "--version"]) for _ in range(args.runs))
        outputs = {}
        results = {}
        for name, argv in commands.items():
            best = float("inf")
            for _ in range(args.runs):
                shutil.rmtree(work, ignore_errors=True)
                subprocess.run(["cp", "-a", pristine, work], check=True)
                os.sync()
                best = min(best, timed(argv))
            outputs[name] = [open(n, "rb").read() for n in names]
            results[name] = best
            print(f"  {name:13s} {best * 1000:9.1f} ms", flush=True)
        print(f"  Wine start-up (korv-cli.exe --version) {start_up * 1000:.1f} ms")
        wine_work = results["korv-cli.exe"] - start_up
        print(f"  korv-cli.exe without the start-up / korv-cli = "
              f"{wine_work / results['korv-cli']:.2f}")
        same = outputs["korv-cli"] == outputs["korv-cli.exe"]
        print(f"  outputs identical: {'yes' if same else 'NO'}")
    finally:
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    main()
