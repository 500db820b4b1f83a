#!/usr/bin/env python3
"""korv-cli against sd -s and sed -i on the same files, side by side.

Each tool runs on a fresh copy of the same data (the copy is not timed, and
is flushed to disk before the run);
the figures are the best of N runs: wall time and peak memory (maximum
resident set). Two floors: `cp -a` of the same files, and the safe save
(per file, an in-kernel copy to a temporary file in the same folder and a
rename over it),
which is what any tool that never leaves a file half-written pays at
least. sd is skipped where it is not installed. Outputs of korv-cli and sd
are compared byte for byte.

    bench/compare.py --korv build/bin/korv-cli [--runs 3] [--work DIR] [--quick]
                     [--korv-args "--line-breaks crlf"] [--sets many,lf-many]
"""

import argparse
import os
import random
import shutil
import subprocess
import sys
import tempfile
import time


FIND = "needle"
REPLACE = "pincushion"
WORDS = ("lorem ipsum dolor sit amet consectetur adipiscing elit sed do eiusmod tempor "
         "incididunt ut labore et dolore magna aliqua").split()


def text_lines(rng, size, find_every_lines=0, find_every_bytes=0, mixed_case=False, brk="\r\n"):
    """Lines of words ended by `brk`; the find text on every Nth line or every
    N bytes."""
    out = []
    total = 0
    line_no = 0
    next_find = find_every_bytes
    while total < size:
        words = [rng.choice(WORDS) for _ in range(rng.randint(4, 10))]
        line_no += 1
        if find_every_lines and line_no % find_every_lines == 0:
            words.insert(rng.randint(0, len(words)), FIND)
        line = " ".join(words)
        if find_every_bytes:
            while total + len(line) >= next_find:
                cut = max(0, next_find - total)
                token = FIND
                if mixed_case:
                    token = "".join(c.upper() if rng.random() < 0.5 else c for c in FIND)
                line = line[:cut] + " " + token + " " + line[cut:]
                next_find += find_every_bytes
        line += brk
        out.append(line)
        total += len(line)
    return "".join(out).encode()


def small_files(rng, folder, count, changed_every, brk="\r\n"):
    """`count` files of 4 KiB in whole lines ended by `brk`; every
    `changed_every`th holds the find text on 1 line in 10."""
    os.makedirs(folder)
    end = brk.encode()
    for i in range(count):
        with open(os.path.join(folder, f"f{i:05d}.txt"), "wb") as f:
            text = text_lines(rng, 4096, find_every_lines=10 if i % changed_every == 0 else 0,
                              brk=brk)
            f.write(text[:text.rindex(end, 0, 4096) + len(end)])
    return folder


def make_data(root, quick, wanted):
    """The sets named in `wanted` (all when None), by title: (folder, folded)."""
    rng = random.Random(7)
    sets = {}
    count = 1000 if quick else 10000
    sets["10,000 files of 4 KiB, 1 in 10 changed"] = (
        small_files(rng, os.path.join(root, "many"), count, 10), False)
    sets["10,000 files of 4 KiB, every one changed"] = (
        small_files(rng, os.path.join(root, "every"), count, 1), False)
    sets["10,000 files of 4 KiB, LF breaks, 1 in 10 changed"] = (
        small_files(rng, os.path.join(root, "lf-many"), count, 10, brk="\n"), False)

    big = 8 << 20 if quick else 64 << 20
    sparse = os.path.join(root, "sparse")
    os.makedirs(sparse)
    block = text_lines(rng, big, find_every_bytes=1 << 20)
    for i in range(2 if quick else 8):
        with open(os.path.join(sparse, f"big{i}.txt"), "wb") as f:
            f.write(block)
    sets["8 files of 64 MiB, sparse text"] = (sparse, False)

    dense = os.path.join(root, "dense")
    os.makedirs(dense)
    with open(os.path.join(dense, "dense.txt"), "wb") as f:
        f.write(text_lines(rng, big, find_every_bytes=100))
    sets["1 file of 64 MiB, the text every 100 bytes"] = (dense, False)

    mixed = os.path.join(root, "mixed")
    os.makedirs(mixed)
    block = text_lines(rng, big, find_every_bytes=1 << 20, mixed_case=True)
    for i in range(2 if quick else 8):
        with open(os.path.join(mixed, f"big{i}.txt"), "wb") as f:
            f.write(block)
    sets["8 files of 64 MiB, mixed case, case option off"] = (mixed, True)

    lf_sparse = os.path.join(root, "lf-sparse")
    os.makedirs(lf_sparse)
    block = text_lines(rng, big, find_every_bytes=1 << 20, brk="\n")
    for i in range(2 if quick else 8):
        with open(os.path.join(lf_sparse, f"big{i}.txt"), "wb") as f:
            f.write(block)
    sets["8 files of 64 MiB, LF breaks, sparse text"] = (lf_sparse, False)
    if wanted:
        sets = {title: data for title, data in sets.items()
                if os.path.basename(data[0]) in wanted}
    return sets


def run(argv):
    """Wall seconds and peak resident KiB of one command. GNU time reports
    the peak, since a child forked from this script would count our own."""
    with tempfile.NamedTemporaryFile("r") as report:
        start = time.perf_counter()
        status = subprocess.run(["/usr/bin/time", "-f", "%M", "-o", report.name] + argv,
                                stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL).returncode
        elapsed = time.perf_counter() - start
        if status != 0:
            sys.exit(f"failed: {argv[:4]}... status {status}")
        return elapsed, int(report.read().split()[-1])


def files_of(folder):
    return sorted(os.path.join(folder, n) for n in os.listdir(folder) if n.endswith(".txt"))


def tools(korv, korv_args, folded, work, log):
    files = files_of(work)
    korv_cmd = [korv, "-y", "--log", log] + korv_args + ["-f", FIND, "-r", REPLACE]
    if not folded:
        korv_cmd.append("-c")
    sd_cmd = ["sd", "-s", FIND, REPLACE] if not folded else ["sd", "(?i)" + FIND, REPLACE]
    sed_cmd = ["sed", "-i", f"s/{FIND}/{REPLACE}/g" + ("I" if folded else "")]
    return {
        "korv-cli": korv_cmd + files,
        "sd": sd_cmd + files,
        "sed -i": sed_cmd + files,
    }


def safe_save(files):
    """The least a tool that never leaves a file half-written does: per file,
    an in-kernel copy to a temporary file beside it, then a rename over it.
    Timed in this process, so a small file's figure is not a process start's;
    its wall seconds, with no peak of its own."""
    start = time.perf_counter()
    for path in files:
        temp = os.path.join(os.path.dirname(path), "." + os.path.basename(path) + ".floor")
        shutil.copyfile(path, temp)
        os.replace(temp, path)
    return time.perf_counter() - start, 0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--korv", required=True)
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--work", default=None)
    parser.add_argument("--quick", action="store_true", help="smaller data, for a smoke run")
    parser.add_argument("--korv-args", default="",
                        help="more arguments for korv-cli, as --line-breaks crlf")
    parser.add_argument("--sets", default=None,
                        help="comma-separated folders: many,every,lf-many,sparse,dense,mixed,"
                             "lf-sparse (default all)")
    parser.add_argument("--tools", default=None,
                        help="comma-separated: cp -a,safe save,korv-cli,sd,sed -i (default all)")
    args = parser.parse_args()
    korv = os.path.abspath(args.korv)

    root = tempfile.mkdtemp(prefix="korv-bench-", dir=args.work)
    try:
        print("making data ...", flush=True)
        sets = make_data(os.path.join(root, "data"), args.quick,
                         args.sets.split(",") if args.sets else None)
        for title, (pristine, folded) in sets.items():
            size = sum(os.path.getsize(f) for f in files_of(pristine))
            print(f"\n{title} ({size / 2**20:.0f} MiB)")
            results = {}
            outputs = {}
            largest = max(os.path.getsize(f) for f in files_of(pristine))
            have_sd = shutil.which("sd") is not None
            names = ["cp -a", "safe save", "korv-cli"] + (["sd"] if have_sd else []) + ["sed -i"]
            if args.tools:
                names = [n for n in names if n in args.tools.split(",") or n == "korv-cli"]
            for name in names:
                best = (float("inf"), 0)
                for _ in range(args.runs):
                    work = os.path.join(root, "work")
                    shutil.rmtree(work, ignore_errors=True)
                    # Start each run with no dirty pages left from the copy, so
                    # the writeback of one run does not throttle the next.
                    os.sync()
                    if name == "cp -a":
                        best = min(best, run(["cp", "-a", pristine, work]))
                        continue
                    subprocess.run(["cp", "-a", pristine, work], check=True)
                    os.sync()
                    if name == "safe save":
                        best = min(best, safe_save(files_of(work)))
                        continue
                    argv = tools(korv, args.korv_args.split(), folded, work,
                                 os.path.join(root, "korv.log"))[name]
                    best = min(best, run(argv))
                if name in ("korv-cli", "sd"):
                    outputs[name] = [open(f, "rb").read() for f in files_of(work)]
                results[name] = best
                print(f"  {name:9s} {best[0] * 1000:9.1f} ms   peak {best[1] / 1024:7.1f} MiB",
                      flush=True)
            k = results["korv-cli"][0]
            ratios = [f"korv-cli / {n} = {k / results[n][0]:.2f}"
                      for n in ("cp -a", "safe save") if n in results]
            ratios += [f"{n} / korv-cli = {results[n][0] / k:.2f}"
                       for n in ("sd", "sed -i") if n in results]
            if ratios:
                print("  " + "   ".join(ratios))
            limit = 3 * largest / 2**10 + 20 * 1024
            print(f"  korv-cli peak {results['korv-cli'][1] / 1024:.1f} MiB, limit "
                  f"(3 x largest file + 20 MiB) {limit / 1024:.1f} MiB")
            if "sd" in outputs:
                same = outputs["korv-cli"] == outputs["sd"]
                print(f"  korv-cli and sd outputs identical: {'yes' if same else 'NO'}")
    finally:
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    main()
