#!/usr/bin/env python3
"""Makes one Markdown table of the benchmark programs' JSON results (--benchmark_out): each figure beside
the peer or limit it is measured against in the same run, the ratio, the target and whether it is met.

Usage: scripts/bench-table.py [--build DIR] RESULT.json...
With --build, the machine it ran on is printed above the table (compiler from DIR's CMake cache).
"""
import argparse
import json
import os
import re
import statistics
import subprocess
import sys
from pathlib import Path

# One line per row: what the row shows; the figure; what it is measured against in the same run (shown
# name, benchmark) or None; the target ("" for none). A figure or peer is a benchmark's name (its real time
# per iteration) or NAME:COUNTER for one of its counters; a counter ending in _ms or _MB has that unit.
# A target is conditions joined by " and ", each OPERATOR NUMBER UNIT: "< 1.5x" is the figure divided by
# the peer's, "<= 1/50x" at most a fiftieth of it; "< 2 ms", "< 50 us", "< 80 MB", "= 0" are limits.
ICU = "ICU Chinese calendar"
ROWS = [
    ("Lunar date of one day, 1900-2100", "BM_EngineSolarToLunar", (ICU, "BM_IcuChineseCalendar"), "<= 1/50x"),
    ("Allocations per lunar conversion", "BM_EngineSolarToLunar:allocs", None, "= 0"),
    ("Month view: 42 consecutive fills", "BM_Fill42", (ICU + ", same 42 days", "BM_Icu42"), "< 50 us"),
    ("A year of fills (365 days)", "BM_FillYear", None, ""),
    ("Month change and paint of the control", "BM_ChnCalendarChangeMonthAndPaint",
     ("QCalendarWidget page switch and paint", "BM_QCalendarWidgetChangeMonth"), ""),
    ("Month change and paint, 休/班 and note marks on", "BM_ChnCalendarChangeMonthMarked",
     ("the same, marks off (the drawing of before)", "BM_ChnCalendarChangeMonthAndPaint"), "< 1.2x"),
    ("Note-mark queries per month change", "BM_ChnCalendarChangeMonthMarked:queries_per_change", None, "<= 1"),
    ("Days with a note of a month (one query)", "NoteDaysOfMonth",
     ("reading and decoding each day's note", "NoteDaysOfMonthByDecoding"), "< 1/10x"),
    ("Month change of the control, unpainted", "BM_ChnCalendarChangeMonth", None, ""),
    ("Plain repaint of the control", "BM_ChnCalendarPlainRepaint", None, ""),
    ("Cells composed in those repaints", "BM_ChnCalendarPlainRepaint:cells_composed", None, "= 0"),
    ("Engine fills in those repaints", "BM_ChnCalendarPlainRepaint:engine_fills", None, "= 0"),
    ("Read a 100 KB note (RTF)", "rtfRead", ("QTextDocument HTML read", "htmlRead"), "< 2 ms and < 1x"),
    ("Write a 100 KB note (RTF)", "rtfWrite", ("QTextDocument HTML write", "htmlWrite"), "< 2 ms and < 1x"),
    ("Keystroke save p99, synchronous=NORMAL", "KeystrokeSave/synchronous_NORMAL_chosen:p99_ms",
     ("synchronous=FULL", "KeystrokeSave/synchronous_FULL_peer:p99_ms"), "< 5 ms"),
    ("Keystroke save p50, synchronous=NORMAL", "KeystrokeSave/synchronous_NORMAL_chosen:p50_ms",
     ("synchronous=FULL", "KeystrokeSave/synchronous_FULL_peer:p50_ms"), ""),
    ("Keystroke save p99 with the search index", "KeystrokeSave/synchronous_NORMAL_chosen:p99_ms",
     ("without the index", "KeystrokeSave/synchronous_NORMAL_without_search_index_peer:p99_ms"), "< 5 ms"),
    ("Keystroke save p50 with the search index", "KeystrokeSave/synchronous_NORMAL_chosen:p50_ms",
     ("without the index", "KeystrokeSave/synchronous_NORMAL_without_search_index_peer:p50_ms"), ""),
    ("Search of 20,000 notes, three characters (index)", "Search/three_characters_indexed",
     ("the same word by reading every note", "Search/three_characters_scan_peer"), "< 50 ms"),
    ("Search of 20,000 notes, one character (scan)", "Search/one_character_scan", None, "< 200 ms"),
    ("Search of 20,000 notes, a Latin word in capitals", "Search/latin_word_indexed", None, ""),
    ("Start-up to first paint", "Startup/quenda_calendar",
     ("bare window, one Chinese line", "Startup/bare_window_with_chinese_line"), "<= 1.5x"),
    ("Start-up to first paint", "Startup/quenda_calendar", ("bare Qt window", "Startup/bare_qt_window_peer"), ""),
    ("First start on a new folder (store filled once)", "Startup/quenda_calendar:first_start_ms",
     ("bare window, one Chinese line", "Startup/bare_window_with_chinese_line"), ""),
    ("Bare window with one Chinese line", "Startup/bare_window_with_chinese_line",
     ("bare Qt window", "Startup/bare_qt_window_peer"), ""),
    ("Resident memory after start-up", "Startup/quenda_calendar:resident_MB",
     ("bare Qt window", "Startup/bare_qt_window_peer:resident_MB"), "< 80 MB"),
    ("Wallpaper installation", "installation", ("libjpeg encode + decode", "libjpegEncodeDecode"), "< 2.5x"),
    ("Overlay blend of the month picture", "blendOverlay", None, ""),
]

TIME_UNITS_NS = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}
COMPARE = {"<": lambda a, b: a < b, "<=": lambda a, b: a <= b, ">": lambda a, b: a > b,
           ">=": lambda a, b: a >= b, "=": lambda a, b: a == b}


class Value:
    """A measured quantity: time (in ns), MB, or a plain count."""

    def __init__(self, number, dimension):
        self.number, self.dimension = number, dimension

    def __str__(self):
        if self.dimension == "MB":
            return f"{self.number:.1f} MB"
        if self.dimension == "count":
            return f"{self.number:g}"
        for unit, label in (("s", "s"), ("ms", "ms"), ("us", "µs")):
            if self.number >= TIME_UNITS_NS[unit]:
                return f"{significant(self.number / TIME_UNITS_NS[unit])} {label}"
        return f"{significant(self.number)} ns"


def significant(number):
    """Three significant figures without an exponent."""
    return f"{number:.{max(0, 2 - int(f'{abs(number):e}'.split('e')[1]))}f}"


def load_runs(paths):
    """Every run of every result file: run name -> list of JSON entries (iterations and aggregates)."""
    runs, contexts = {}, []
    for path in paths:
        text = Path(path).read_text()
        if not text.strip():
            continue  # a program whose benchmarks were all filtered out
        try:
            document = json.loads(text)
        except json.JSONDecodeError as error:
            print(f"bench-table: {path} is not JSON ({error}); left out", file=sys.stderr)
            continue
        contexts.append((Path(path).stem, document.get("context", {})))
        for entry in document.get("benchmarks", []):
            runs.setdefault(entry.get("run_name", entry["name"]), []).append(entry)
    return runs, contexts


def find_entries(runs, name):
    """The entries of the run called `name`, ignoring Google Benchmark's /iterations:N-style suffixes."""
    for run_name, entries in runs.items():
        if run_name == name or run_name.startswith(name + "/"):
            return run_name, entries
    return None, []


def measure(runs, key, used):
    """The Value that `key` names, or an error text; the median when the run was repeated."""
    name, _, counter = key.partition(":")
    run_name, entries = find_entries(runs, name)
    if run_name is None:
        return None
    used.add(run_name)
    failed = [e for e in entries if e.get("error_occurred")]
    if failed:
        return "failed: " + failed[0].get("error_message", "")
    medians = [e for e in entries if e.get("run_type") == "aggregate" and e.get("aggregate_name") == "median"]
    chosen = medians or [e for e in entries if e.get("run_type", "iteration") == "iteration"]

    def one(entry):
        if counter:
            return entry[counter]
        return entry["real_time"] * TIME_UNITS_NS[entry.get("time_unit", "ns")]

    number = statistics.median(one(e) for e in chosen)
    if not counter:
        return Value(number, "time")
    if counter.endswith("_ms"):
        return Value(number * 1e6, "time")
    return Value(number, "MB" if counter.endswith("_MB") else "count")


def parse_condition(text):
    match = re.fullmatch(r"\s*(<=|>=|<|>|=)\s*([0-9.]+)(?:/([0-9.]+))?\s*(x|ns|us|ms|s|MB)?\s*", text)
    if not match:
        raise ValueError(f"bench-table: cannot read the target condition '{text}'")
    operator, numerator, denominator, unit = match.groups()
    number = float(numerator) / float(denominator or 1)
    return operator, number, unit or ""


def condition_met(condition, figure, ratio):
    operator, number, unit = parse_condition(condition)
    if unit == "x":
        return None if ratio is None else COMPARE[operator](ratio, number)
    if unit in TIME_UNITS_NS:
        dimension, limit = "time", number * TIME_UNITS_NS[unit]
    else:
        dimension, limit = ("MB" if unit == "MB" else "count"), number
    if figure.dimension != dimension:
        raise ValueError(f"bench-table: '{condition}' is a {dimension}, the figure a {figure.dimension}")
    return COMPARE[operator](figure.number, limit)


def show_ratio(ratio):
    if ratio is None:
        return "—"
    if ratio == 0:
        return "0x"
    return f"1/{1 / ratio:.0f}x" if ratio < 0.1 else f"{ratio:.2f}x"


def show_target(target):
    return (target.replace("<=", "≤").replace(">=", "≥").replace(" us", " µs").replace(" and ", ", ")
            if target else "none set")


def table_rows(runs, used):
    """The Markdown lines of the table, the rows left out because nothing was run, and the verdicts of
    the rows with a target."""
    lines = ["| What | Figure | Measured against | Its figure | Ratio | Target | Met |",
             "| --- | ---: | --- | ---: | ---: | --- | :---: |"]
    not_run, verdicts = [], []
    for what, figure_key, peer, target in ROWS:
        figure = measure(runs, figure_key, used)
        if figure is None:
            not_run.append(what)
            continue
        peer_name, peer_key = peer or ("—", None)
        peer_value = measure(runs, peer_key, used) if peer_key else None
        ratio = None
        if isinstance(figure, Value) and isinstance(peer_value, Value) and peer_value.number > 0:
            ratio = figure.number / peer_value.number
        verdict = "—"
        if target:
            results = ([condition_met(c, figure, ratio) for c in target.split(" and ")]
                       if isinstance(figure, Value) else [False])
            verdict = "?" if None in results else ("yes" if all(results) else "**no**")
            verdicts.append(verdict)
        peer_shown = "not run" if peer_key and peer_value is None else (peer_value or "—")
        lines.append(f"| {what} | {figure} | {peer_name} | {peer_shown} | {show_ratio(ratio)} | "
                     f"{show_target(target)} | {verdict} |")
    return lines, not_run, verdicts


def command_output(command):
    try:
        return subprocess.run(command, capture_output=True, text=True, check=True).stdout.strip() or "unknown"
    except (OSError, subprocess.CalledProcessError):
        return "unknown"


def first_match(path, pattern):
    try:
        match = re.search(pattern, Path(path).read_text(), re.MULTILINE)
    except OSError:
        return "unknown"
    return match.group(1).strip() if match else "unknown"


def machine_lines(build, contexts):
    compiler = first_match(Path(build) / "CMakeCache.txt", r"^CMAKE_CXX_COMPILER:\w+=(.*)$")
    compiler_version = command_output([compiler, "--version"]).splitlines()[0]
    cpu = first_match("/proc/cpuinfo", r"^model name\s*:(.*)$")
    memory_kb = first_match("/proc/meminfo", r"^MemTotal:\s*(\d+)")
    memory = f"{int(memory_kb) / 1024 / 1024:.1f} GiB" if memory_kb.isdigit() else "unknown"
    system = first_match("/etc/os-release", r'^PRETTY_NAME="?([^"]*)')
    qt = command_output(["pkg-config", "--modversion", "Qt6Core"])
    harness = command_output(["dpkg-query", "-W", "--showformat=${Version}", "libbenchmark-dev"])
    loads = ", ".join(f"{name} {context.get('load_avg', [0])[0]:.2f}" for name, context in contexts)
    date = contexts[0][1].get("date", "unknown") if contexts else "unknown"
    return [f"- Date: {date}",
            f"- CPU: {cpu}, {os.cpu_count()} cores (nproc)",
            f"- Memory: {memory}",
            f"- OS: {system}, kernel {os.uname().release}",
            f"- Compiler: {compiler_version}, Release build",
            f"- Qt {qt}, Google Benchmark {harness}",
            f"- Load average (1 min) as each program started: {loads}"]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", help="the build folder, to name the compiler and the machine")
    parser.add_argument("results", nargs="+")
    arguments = parser.parse_args()
    runs, contexts = load_runs(arguments.results)
    used = set()
    lines, not_run, verdicts = table_rows(runs, used)
    if arguments.build:
        print("\n".join(machine_lines(arguments.build, contexts)) + "\n")
    print("\n".join(lines))
    print(f"\nTargets met: {verdicts.count('yes')} of {len(verdicts)}.", end="")
    undecided = verdicts.count("?")
    print(f" Not judged, the peer not run: {undecided}." if undecided else "")
    if not_run:
        print("Not run: " + "; ".join(not_run) + ".")
    unlisted = sorted(set(runs) - used)
    if unlisted:
        print("In no row of scripts/bench-table.py (add one): " + ", ".join(unlisted) + ".")


if __name__ == "__main__":
    main()
