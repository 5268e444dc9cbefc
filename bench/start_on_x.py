#!/usr/bin/env python3
"""Start-up time and resident memory of the desktop program on a real X server.

usage: start_on_x.py PROGRAM [RUNS]   (run it inside xvfb-run, or with DISPLAY set)

Each run starts PROGRAM, polls the X server until its main window ("Quarzel 3.1") is mapped
and viewable, waits one second for the start to settle, reads VmRSS from /proc, and ends the
program. Prints the median and the spread of the runs. Needs xdotool.
"""
import os
import signal
import statistics
import subprocess
import sys
import time

TITLE = "^Quarzel 3\\.1$"


def window_mapped():
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", TITLE],
                           capture_output=True, text=True)
    return found.returncode == 0 and found.stdout.strip() != ""


def resident_mb(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024.0
    return float("nan")


def one_run(program):
    started = time.monotonic()
    process = subprocess.Popen([program], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        while not window_mapped():
            if process.poll() is not None:
                raise RuntimeError(f"{program} ended before its window appeared")
            if time.monotonic() - started > 30:
                raise RuntimeError("no window after 30 s")
            time.sleep(0.01)  # gentle polling: the program being measured needs the CPU
        mapped_ms = (time.monotonic() - started) * 1000.0
        time.sleep(1.0)
        rss = resident_mb(process.pid)
    finally:
        process.send_signal(signal.SIGTERM)
        process.wait()
    return mapped_ms, rss


def main():
    if len(sys.argv) < 2 or not os.environ.get("DISPLAY"):
        sys.exit(__doc__)
    program = sys.argv[1]
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 9
    one_run(program)  # the first start fills the file cache; it does not count
    results = [one_run(program) for _ in range(runs)]
    times = [t for t, _ in results]
    memory = [m for _, m in results]
    print(f"launch to window mapped: median {statistics.median(times):.0f} ms "
          f"(min {min(times):.0f}, max {max(times):.0f}, {runs} runs)")
    print(f"resident memory 1 s after start: median {statistics.median(memory):.1f} MB "
          f"(min {min(memory):.1f}, max {max(memory):.1f})")


if __name__ == "__main__":
    main()
