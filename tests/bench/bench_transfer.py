#!/usr/bin/env python3
"""Prints how the program does against a unit at 9600 baud under Wine:

  attach   from quill-sim appearing on COM3 (every other port absent) until
           the status line shows it; three trials (target under 1.2 s)
  read     a whole read through the window (button to message box) of the
           largest unit of the built-in table (51 rows, every field full):
           seconds, requests, and the ratio to the wire-time bound of 10
           characters of 10 bits per request (target within 1.15)
  write    the same for a write

A benchmark, not a test: run it by hand (python3 tests/bench/bench_transfer.py).
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "e2e"))
from quill_e2e import ID, IDOK, VENDOR_KEY, Harness  # noqa: E402

READ, WRITE, STATUS_LINE = ID.IDC_READ_DEVICE, ID.IDC_WRITE_DEVICE, ID.IDC_STATUS_LINE
ROWS = 51
BITS_PER_REQUEST = 2 * 5 * 10


def full_unit():
    lines = ["identity 200"]
    lines += ["register %d 1\ncount %d 6" % (n, n) for n in range(1, ROWS + 1)]
    lines += ["register %d 0x35" % r for r in range(181, 251) if (r - 181) % 16 != 15]
    return "\n".join(lines + ["register 252 0x12"]) + "\n"


def requests_logged(log):
    with open(log, "rb") as f:
        return sum(1 for line in f if b"-> 56 " in line)


def attach_once(H, folder, link, connected):
    """Seconds from the unit's appearance to the status line showing it."""
    waiter = subprocess.Popen(["wine", os.path.join(H.bin, "quill-driver.exe"), "wait-text", str(STATUS_LINE),
                               connected, "30"], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    time.sleep(1.0)  # the driver is up and polling
    log = os.path.join(folder, "frames.log")
    sim, _ = H.start_sim("--state", os.path.join(folder, "unit.state"), "--baud", "9600", link, log=log)
    appeared = time.time() * 1000
    shown = int(waiter.communicate(timeout=60)[0].strip() or 0)
    return sim, log, (shown - appeared) / 1000.0


def transfer(H, command, log, name):
    before = requests_logged(log)
    ms = int(H.driver("time-command", command, 600).strip())
    H.driver("dialog-press", IDOK)
    H.driver("wait-no-dialog", 10)
    requests = requests_logged(log) - before
    bound = requests * BITS_PER_REQUEST / 9600.0
    print("%-6s %6.2f s  %4d requests  bound %5.2f s  %.3f x the bound (target <= 1.15)" % (
        name, ms / 1000.0, requests, bound, ms / 1000.0 / bound))


def main():
    H = Harness.from_args()
    folder = tempfile.mkdtemp(prefix="quill-bench-")
    link = os.path.join(folder, "com3")
    with open(os.path.join(folder, "unit.state"), "w") as f:
        f.write(full_unit())
    try:
        H.register_com_port(3, link)  # the unit's link does not exist yet
        H.start_main()
        connected = b"COM3 " + H.table_text("P", 2) + b" 2.00"
        attach = []
        for trial in range(3):
            time.sleep(2.0 + 0.37 * trial)  # another phase of the scan each time
            sim, log, seconds = attach_once(H, folder, link, connected)
            attach.append(seconds)
            print("attach %d: %.2f s" % (trial + 1, seconds))
            if trial < 2:
                sim.terminate()
                sim.wait(timeout=10)
                H.sims.remove(sim)
                H.driver("wait-text", STATUS_LINE, "???", 30)
        print("attach median %.2f s, worst %.2f s (target under 1.2 s)" % (statistics.median(attach), max(attach)))
        transfer(H, READ, log, "read")
        transfer(H, WRITE, log, "write")
    finally:
        H.stop_all()
        H.reg_delete(VENDOR_KEY)


if __name__ == "__main__":
    main()
