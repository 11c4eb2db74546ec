#!/usr/bin/env python3
"""Prints how long BrontivaSetup.exe takes under Wine from its start to a
visible main window (the splash alone is 3.0 s) and from the close request
to the end of the process, over a few runs.

    python3 tests/bench/bench_startup.py [--runs N]
"""
import os
import statistics
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "e2e"))
from quill_e2e import Harness  # noqa: E402


def main():
    runs = 5
    if len(sys.argv) == 3 and sys.argv[1] == "--runs":
        runs = int(sys.argv[2])
    harness = Harness.from_args()
    to_window, to_exit = [], []
    try:
        for _ in range(runs):
            start = time.monotonic()
            process = harness.start_main()
            to_window.append(time.monotonic() - start)
            start = time.monotonic()
            harness.driver("close")
            harness.wait_exit(process)
            to_exit.append(time.monotonic() - start)
    finally:
        harness.stop_all()
    for name, values in (("start to main window", to_window), ("close to process end", to_exit)):
        print("%-22s median %.2f s  min %.2f s  max %.2f s  (%d runs)" % (
            name, statistics.median(values), min(values), max(values), len(values)))


if __name__ == "__main__":
    main()
