#!/usr/bin/env python3
"""The window program's run against korv-cli's on the same files.

Starts the real window program (a copy of build/bin/korv in a scratch
folder, so its log and settings land there) on a virtual X server, loads a
filename list through its list's context menu, types the two texts and
presses "Replace All Now"; korv_window_probe answers the confirmation,
times the run from the Yes until the results dialog shows and pings the
window all through it (_NET_WM_PING, answered only when its event loop
turns), so the longest round trip is the longest the loop was kept from
its events. korv-cli then runs on a fresh copy of the same files with the
same options (case-sensitive), started as long after its copy as the
window's run was. Each figure is the best of N runs; the
longest gap between two turns of the event loop (the longest ping round
trip) is the worst of them.

    bench/window_run.py --korv build/bin/korv --cli build/bin/korv-cli \\
        --probe build/bin/korv_window_probe [--runs 3] [--sets many,dense] [--work DIR]

Needs Xvfb and xdotool (apt-get install xvfb xdotool). Sets: many (10,000
files of 4 KiB, 1 in 10 changed), more (50,000 such files), dense (one
64 MiB file, the text every 100 bytes), sparse (8 files of 64 MiB), huge
(one 1.9 GB file, 28 occurrences; not run unless named), tree (the Linux
6.1 source that bench/tree.sh unpacks into $KORV_TREE_WORK, as a list in
walk order, its files holding a NUL left out; EXPORT_SYMBOL_GPL replaced;
not run unless named).
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

ALL_SETS = ("many", "more", "dense", "sparse")
TREE = os.path.join(os.environ.get("KORV_TREE_WORK", "/tmp/korv-tree"), "pristine")
TREE_TEXTS = ("EXPORT_SYMBOL_GPL", "KORV_EXPORT_GPL")


def texts_of(name):
    """The find and the replacement text of a set."""
    return TREE_TEXTS if name == "tree" else (FIND, REPLACE)


def make_set(name, folder):
    rng = random.Random(7)
    os.makedirs(folder)
    if name in ("many", "more"):
        for i in range(10000 if name == "many" else 50000):
            text = text_lines(rng, 4096, find_every_lines=10 if i % 10 == 0 else 0)
            with open(os.path.join(folder, f"f{i:05d}.txt"), "wb") as f:
                f.write(text[:text.rindex(b"\r\n", 0, 4096) + 2])
    elif name == "dense":
        with open(os.path.join(folder, "dense.txt"), "wb") as f:
            f.write(text_lines(rng, 64 << 20, find_every_bytes=100))
    elif name == "sparse":
        block = text_lines(rng, 64 << 20, find_every_bytes=1 << 20)
        for i in range(8):
            with open(os.path.join(folder, f"big{i}.txt"), "wb") as f:
                f.write(block)
    elif name == "tree":
        if not os.path.isdir(TREE):
            sys.exit(f"{TREE} is missing: run bench/tree.sh once to unpack it")
        os.rmdir(folder)
        subprocess.run(["cp", "-a", TREE, folder], check=True)
    elif name == "huge":
        # 1.9 GB of text in blocks of 64 MiB, the text once in each of the
        # first 28 blocks.
        block = text_lines(rng, 64 << 20)
        left = 1900 * 10**6
        with open(os.path.join(folder, "huge.txt"), "wb") as f:
            for i in range(0, 1 << 30):
                if left <= 0:
                    break
                end = block.rfind(b"\r\n", 0, min(len(block), left))
                if end < 0:
                    break  # less than a line left
                chunk = block[:end + 2]
                if i < 28:
                    chunk = FIND.encode() + chunk[len(FIND):]
                f.write(chunk)
                left -= len(chunk)
    else:
        sys.exit(f"unknown set {name}")


def files_of(folder):
    if not any(n.endswith(".txt") for n in os.listdir(folder)):
        return tree_files(folder)
    return sorted(os.path.join(folder, n) for n in os.listdir(folder) if n.endswith(".txt"))


def tree_files(folder):
    """A tree's regular files in walk order (each folder's entries by name,
    hidden folders left out), less those holding a NUL byte, which the
    window would stop to report."""
    files = []
    for entry in sorted(os.scandir(folder), key=lambda e: os.fsencode(e.name)):
        if entry.is_dir(follow_symlinks=False):
            if not entry.name.startswith("."):
                files.extend(tree_files(entry.path))
        elif entry.is_file():
            with open(entry.path, "rb") as f:
                if b"\0" not in f.read():
                    files.append(entry.path)
    return files


def fresh_copy(pristine, work):
    shutil.rmtree(work, ignore_errors=True)
    subprocess.run(["cp", "-a", pristine, work], check=True)
    os.sync()


def xdotool(*args):
    return subprocess.run(["xdotool", *args], check=True, capture_output=True,
                          text=True).stdout.strip()


def wait_for_window(name, timeout=60):
    """The id of the visible window named `name`, once there is one."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{name}$"],
                               capture_output=True, text=True).stdout.split()
        if found:
            return found[0]
        time.sleep(0.05)
    sys.exit(f"no window {name!r} appeared")


class VirtualScreen:
    def __enter__(self):
        read, write = os.pipe()
        self.server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
            pass_fds=(write,), stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as display:
            os.environ["DISPLAY"] = ":" + display.readline().strip()
        return self

    def __exit__(self, *exc):
        self.server.terminate()
        self.server.wait()


def window_run(korv, probe, files, scratch, texts, wrap=()):
    """One run through the window: (seconds, longest ping in ms, seconds
    from the call to the click that started the run)."""
    called = time.perf_counter()
    program_dir = os.path.join(scratch, "program")
    shutil.rmtree(program_dir, ignore_errors=True)
    os.makedirs(program_dir)
    program = os.path.join(program_dir, "korv")
    shutil.copy(korv, program)
    with open(os.path.join(program_dir, "settings.ini"), "w") as f:
        f.write("[Options]\nCS=True\nBU=False\nDV=False\n")
    listing = os.path.join(scratch, "files.list")
    with open(listing, "wb") as f:
        f.write(b"".join(os.fsencode(p) + b"\r\n" for p in files))
    env = dict(os.environ, QT_QPA_PLATFORM="xcb")
    window = subprocess.Popen([*wrap, program], env=env, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL)
    try:
        main = wait_for_window("Korvane")
        geometry = dict(line.split("=") for line in
                        xdotool("getwindowgeometry", "--shell", main).splitlines())
        left, top = int(geometry["X"]), int(geometry["Y"])
        menu_bar = int(geometry["HEIGHT"]) - 363  # the client area is 363 high
        xdotool("windowfocus", "--sync", main)

        def click(x, y, button="1"):
            xdotool("mousemove", "--sync", str(left + x), str(top + menu_bar + y), "click", button)

        # The list's context menu, its first item, then the open dialog.
        click(100, 60, "3")
        time.sleep(0.3)
        xdotool("key", "Down", "Return")
        dialog = wait_for_window("Open")
        xdotool("windowfocus", "--sync", dialog)
        xdotool("type", "--delay", "2", listing)
        xdotool("key", "Return")
        while subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Open$"],
                             capture_output=True).returncode == 0:
            time.sleep(0.05)
        # A slow machine (say, syncing a fresh copy of a big set) may still
        # be handing the focus back: typed too early, the text is lost.
        time.sleep(1)
        xdotool("windowfocus", "--sync", main)
        click(160, 225)
        time.sleep(0.2)
        xdotool("type", texts[0])
        click(160, 280)
        time.sleep(0.2)
        xdotool("type", texts[1])

        pinger = subprocess.Popen([probe, main], stdout=subprocess.PIPE, text=True)
        if pinger.stdout.readline().strip() != "ready":
            sys.exit("the probe did not start")
        lead = time.perf_counter() - called
        click(127, 322)  # "Replace All Now"
        report = pinger.stdout.readline().strip()
        if pinger.wait() != 0 or not report.startswith("run_ms="):
            sys.exit(f"the probe failed: {report}")
        figures = dict(item.split("=") for item in report.split())
        return float(figures["run_ms"]) / 1000, float(figures["max_ping_ms"]), lead
    finally:
        window.terminate()
        window.wait()


def cli_run(cli, files, scratch, texts):
    listing = os.path.join(scratch, "cli.list")
    with open(listing, "wb") as f:
        f.write(b"".join(os.fsencode(p) + b"\r\n" for p in files))
    argv = [cli, "-y", "-c", "--no-progress", "--log", os.path.join(scratch, "cli.log"),
            "-f", texts[0], "-r", texts[1], "--list", listing]
    start = time.perf_counter()
    subprocess.run(argv, check=True, stdout=subprocess.DEVNULL, stdin=subprocess.DEVNULL)
    return time.perf_counter() - start


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--korv", required=True)
    parser.add_argument("--cli", required=True)
    parser.add_argument("--probe", required=True)
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--sets", default=",".join(ALL_SETS))
    parser.add_argument("--work", default=None)
    parser.add_argument("--wrap", default="",
                        help="a command the window program runs under, such as 'perf record -o F'")
    args = parser.parse_args()
    for tool in ("Xvfb", "xdotool"):
        if shutil.which(tool) is None:
            sys.exit(f"{tool} is missing: apt-get install xvfb xdotool")
    korv, cli, probe = (os.path.abspath(p) for p in (args.korv, args.cli, args.probe))

    root = tempfile.mkdtemp(prefix="korv-window-bench-", dir=args.work)
    try:
        with VirtualScreen():
            print(f"{'set':8s} {'window s':>9s} {'korv-cli s':>10s} {'ratio':>6s} "
                  f"{'longest loop gap ms':>19s}", flush=True)
            for name in args.sets.split(","):
                pristine = os.path.join(root, "pristine")
                shutil.rmtree(pristine, ignore_errors=True)
                make_set(name, pristine)
                work = os.path.join(root, "work")
                window_best, cli_best, ping_worst = float("inf"), float("inf"), 0.0
                for _ in range(args.runs):
                    fresh_copy(pristine, work)
                    seconds, ping, lead = window_run(korv, probe, files_of(work), root,
                                                     texts_of(name), args.wrap.split())
                    window_best = min(window_best, seconds)
                    ping_worst = max(ping_worst, ping)
                    fresh_copy(pristine, work)
                    # Started as long after its copy as the window's run:
                    # on a virtual machine, memory left free for seconds
                    # goes back to the host, and each page of it costs a
                    # fault when it is used again (for a big set, more than
                    # the run itself).
                    time.sleep(lead)
                    cli_best = min(cli_best, cli_run(cli, files_of(work), root, texts_of(name)))
                print(f"{name:8s} {window_best:9.3f} {cli_best:10.3f} "
                      f"{window_best / cli_best:6.2f} {ping_worst:19.1f}", flush=True)
                shutil.rmtree(work, ignore_errors=True)
    finally:
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    main()
