#!/usr/bin/env python3
"""Runs every benchmark of a build and prints one table of the figures that matter.

usage: report.py BENCH_DIR   (the bench/ folder of a Release build with QUARZEL_BUILD_BENCH=ON)
Each figure is the median of the repetitions made in this one run.
"""
import json
import os
import platform
import subprocess
import sys


def run(binary, repetitions):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    out = subprocess.run(
        [binary, "--benchmark_format=json", f"--benchmark_repetitions={repetitions}"],
        check=True, capture_output=True, text=True, env=env).stdout
    return json.loads(out)["benchmarks"]


def medians(benchmarks):
    """name -> the median row, or the only row for benchmarks that run once."""
    rows = {}
    for b in benchmarks:
        # "BM_Step/repeats:9" and "BM_Start/iterations:1/manual_time" are looked up by their
        # plain name; arguments such as "/100000" stay.
        parts = b.get("run_name", b["name"]).split("/")
        name = "/".join(p for p in parts if ":" not in p and p != "manual_time")
        if b.get("aggregate_name") == "median" or (b.get("run_type") == "iteration" and name not in rows):
            rows[name] = b
    return rows


def time_ms(row):
    scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[row["time_unit"]]
    return row["real_time"] * scale


def main():
    folder = sys.argv[1]
    rows = {}
    for name, reps in (("checker_bench", 5), ("machine_bench", 5), ("desktop_bench", 1),
                       ("grade_bench", 5)):
        binary = os.path.join(folder, name)
        if os.access(binary, os.X_OK):
            rows.update(medians(run(binary, reps)))

    table = []
    for lines in (10000, 100000, 1000000):
        row = rows.get(f"BM_CheckProgram/{lines}")
        if row:
            count = f"{lines:,}".replace(",", " ")
            table.append((f"Program check, {count} lines", f"{time_ms(row):.1f} ms"))
    for name, label in (("BM_MemoryLoop", "Headless run, memory loop"),
                        ("BM_MemoryLoopDetectingLoops", "Headless run, memory loop, loop detection on"),
                        ("BM_MemoryLoopBareSwitch", "Bare switch interpreter, memory loop"),
                        ("BM_MemoryLoopTraced", "Headless run, memory loop, trace rows made"),
                        ("BM_RegisterLoop", "Headless run, register loop"),
                        ("BM_StackLoop", "Headless run, stack loop")):
        row = rows.get(name)
        if row:
            table.append((label, f"{row['items_per_second'] / 1e6:.1f} M instructions/s"))
    check = {n: rows.get(f"BM_CheckProgram/{n}") for n in (100000, 1000000)}
    if all(check.values()):
        table.append(("Program check, 1 000 000 / 100 000 lines",
                      f"{time_ms(check[1000000]) / time_ms(check[100000]):.1f} x"))
    engine, bare, detecting = (rows.get(n) for n in (
        "BM_MemoryLoop", "BM_MemoryLoopBareSwitch", "BM_MemoryLoopDetectingLoops"))
    if engine and bare:
        table.append(("Memory loop: engine time / bare switch time",
                      f"{bare['items_per_second'] / engine['items_per_second']:.2f} x"))
    if engine and detecting:
        table.append(("Memory loop: loop detection on / off",
                      f"{engine['items_per_second'] / detecting['items_per_second']:.2f} x"))
    for name, label in (("BM_WindowStepQuietViews", "Window step without its views (VM_Step)"),
                        ("BM_WindowStepSentenceAndTrace",
                         "Window step, sentence and protocol row made (VM_Step)"),
                        ("BM_JournalEntry", "Journal entry of one step")):
        row = rows.get(name)
        if row:
            table.append((label, f"{time_ms(row) * 1e6:.0f} ns"))
    for name, label in (("BM_StepTableShown", "Desktop step, table shown"),
                        ("BM_StepPictureShown", "Desktop step, picture shown"),
                        ("BM_StepBackPictureShown", "Desktop \"Zurück\", picture shown"),
                        ("BM_DirectTickLoopWatch", "Desktop tick at \"Direkt\", table shown"),
                        ("BM_DirectTickSentenceAndTrace",
                         "Desktop tick at \"Direkt\", sentence and protocol row drawn")):
        row = rows.get(name)
        if row:
            table.append((label, f"{time_ms(row):.3f} ms"))
    tick, reported = rows.get("BM_DirectTickLoopWatch"), rows.get("BM_DirectTickSentenceAndTrace")
    if tick and reported:
        table.append(("Tick at \"Direkt\": with sentence and protocol / without",
                      f"{time_ms(reported) / time_ms(tick):.3f} x"))
    row = rows.get("BM_GradeClass/real_time")
    if row:
        table.append(("Grading 30 programs x 10 cases, 2 threads", f"{time_ms(row):.0f} ms"))
    start = rows.get("BM_ProcessStart")
    if start:
        table.append(("Start to first shown window", f"{start['from_exec_ms']:.0f} ms"))
        table.append(("Resident memory after start", f"{start['rss_after_show_MB']:.0f} MB"))

    machine = f"{platform.machine()}, {os.cpu_count()} cores, {platform.system()} {platform.release()}"
    print(f"Quarzel 3 benchmarks (median of one run) on {machine}")
    width = max(len(label) for label, _ in table) if table else 10
    print(f"| {'Figure'.ljust(width)} | Value |")
    print(f"|{'-' * (width + 2)}|-------|")
    for label, value in table:
        print(f"| {label.ljust(width)} | {value} |")


if __name__ == "__main__":
    main()
