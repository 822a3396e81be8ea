#!/usr/bin/env python3
"""A cold start, as the first start after a reboot: the page cache is dropped before each start (needs
root), then the time from process start to the "painted" line is taken, for the program (a copy of its
folder, started once before so the store's first-open work is done) and, alternately, for the start-up
benchmark's bare window with one Chinese line and without. Prints the median of each.
Usage: tools/cold-start.py APP_FOLDER BARE_WINDOW [STARTS]   (BARE_WINDOW: build-bench/bench/program/bare-window)"""
import os, shutil, statistics, subprocess, sys, tempfile, time


def drop_caches():
    subprocess.run(["sync"], check=True)
    with open("/proc/sys/vm/drop_caches", "w") as f:
        f.write("3\n")


def painted_after(command, cold):
    if cold:
        drop_caches()
    begin = time.monotonic()
    process = subprocess.Popen(command, env=dict(os.environ, QUENDA_TEST_REPORT="1"), stdout=subprocess.PIPE,
                               stderr=subprocess.DEVNULL, text=True)
    for line in process.stdout:
        if "painted" in line:
            break
    took = (time.monotonic() - begin) * 1000
    process.kill()
    process.wait()
    return took


def main():
    folder, bare = sys.argv[1], sys.argv[2]
    starts = int(sys.argv[3]) if len(sys.argv) > 3 else 5
    with tempfile.TemporaryDirectory() as copy:
        shutil.copytree(folder, os.path.join(copy, "app"), symlinks=True)
        subjects = {"bare window": [bare], "bare window, one Chinese line": [bare, "label"],
                    "program": [os.path.join(copy, "app", "quenda-calendar")]}
        painted_after(subjects["program"], False)
        times = {name: [] for name in subjects}
        for _ in range(starts):
            for name, command in subjects.items():
                times[name].append(painted_after(command, True))
    for name, values in times.items():
        print(f"{name:32} cold {statistics.median(values):7.1f} ms  (each: {', '.join(f'{v:.0f}' for v in values)})")


if __name__ == "__main__":
    main()
