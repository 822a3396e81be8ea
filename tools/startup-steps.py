#!/usr/bin/env python3
"""Where the start-up time goes: starts the program (a fresh copy of its folder, started once before so
the store's first-open work is done) several times with QUENDA_STARTUP_TRACE=1 and prints, for each step
it reports, the median time from process start and the median time since the step before.
Usage: tools/startup-steps.py APP_FOLDER [STARTS] [--cold]   (--cold drops the page cache before each
start; needs root)"""
import os, shutil, statistics, subprocess, sys, tempfile, time


def start_once(program, cold):
    if cold:
        subprocess.run(["sync"], check=True)
        with open("/proc/sys/vm/drop_caches", "w") as f:
            f.write("3\n")
    env = dict(os.environ, QUENDA_STARTUP_TRACE="1", QUENDA_TEST_REPORT="1")
    begin = time.monotonic_ns() // 1000
    process = subprocess.Popen([program], env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    steps = []
    for line in process.stderr:
        parts = line.split()
        if len(parts) >= 3 and parts[0] == "startup":
            steps.append((" ".join(parts[1:-1]), (int(parts[-1]) - begin) / 1000.0))
            if parts[1] == "painted":
                break
    process.kill()
    process.wait()
    return steps


def main():
    folder = sys.argv[1]
    starts = int(sys.argv[2]) if len(sys.argv) > 2 and sys.argv[2].isdigit() else 10
    cold = "--cold" in sys.argv
    with tempfile.TemporaryDirectory() as copy:
        shutil.copytree(folder, os.path.join(copy, "app"), symlinks=True)
        program = os.path.join(copy, "app", "quenda-calendar")
        start_once(program, False)  # the first open of a store fills its plain-text copy and index
        runs = [start_once(program, cold) for _ in range(starts)]
    names = [name for name, _ in runs[0]]
    previous = 0.0
    print(f"{'step':32} {'at ms':>8} {'took ms':>8}")
    for index, name in enumerate(names):
        at = statistics.median(run[index][1] for run in runs if len(run) > index)
        took = statistics.median(run[index][1] - (run[index - 1][1] if index else 0.0)
                                 for run in runs if len(run) > index)
        print(f"{name:32} {at:8.1f} {took:8.1f}")


if __name__ == "__main__":
    main()
