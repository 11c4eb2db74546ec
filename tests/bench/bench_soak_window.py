#!/usr/bin/env python3
"""Soak of the real program under Wine: 200 rounds of a read from quill-sim
(no pacing), a language switch and a window resize, with the program's
resident memory, its GDI and USER object counts (GetGuiResources) and its
handle count printed at the start, the middle and the end. Flat means the
end within 2% (or a few objects) of the middle. Wine answers 0 for the
object and handle counts, so the program's windows (counted from inside it
by the probe) and the file descriptors of its process are printed too.

A benchmark, not a test: python3 tests/bench/bench_soak_window.py [ROUNDS]
"""
import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "e2e"))
from quill_e2e import ID, IDOK, ROOT, VENDOR_KEY, Harness  # noqa: E402

READ, STATUS_LINE = ID.IDC_READ_DEVICE, ID.IDC_STATUS_LINE
LANGUAGES = tuple(ID.IDM_LANGUAGE_FIRST + i for i in range(3))  # Deutsch, English, Polski
SIZES = ((900, 700), (640, 520), (380, 600))


def resident_kb(pid):
    """VmRSS of the program's process and its threads' parent (kB)."""
    with open("/proc/%d/status" % pid) as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return -1


def figures(H, process):
    gdi, user, handles = (int(v) for v in H.driver("resources").split())
    windows = len(H.describe().get("window", []))
    descriptors = len(os.listdir("/proc/%d/fd" % process.pid))
    return resident_kb(process.pid), gdi, user, handles, windows, descriptors


def show(when, round_, now, middle=None):
    line = "%-6s round %3d  resident %7d kB  GDI %4d  USER %4d  handles %4d  windows %4d  fds %3d" % (
        (when, round_) + now)
    if middle:
        line += "  resident %+.2f%%, others %s of the middle" % (
            100.0 * (now[0] - middle[0]) / middle[0], " ".join("%+d" % (a - b) for a, b in zip(now[1:], middle[1:])))
    print(line, flush=True)


def main():
    rounds = int(sys.argv[1]) if len(sys.argv) > 1 else 200
    H = Harness.from_args()
    folder = tempfile.mkdtemp(prefix="quill-soak-")
    state = os.path.join(folder, "unit.state")
    shutil.copy(os.path.join(ROOT, "tools", "quill-sim", "quill-105.state"), state)
    try:
        _, pty = H.start_sim("--state", state)
        H.register_com_port(3, pty)
        process = H.start_main()
        connected = b"COM3 " + H.table_text("P", 2) + b" 1.05"
        H.driver("wait-text", STATUS_LINE, connected.decode("latin-1"), 30)
        middle = None
        for round_ in range(rounds + 1):
            if round_ == 0:
                show("start", round_, figures(H, process))
            if round_ == rounds // 2:
                middle = figures(H, process)
                show("middle", round_, middle)
            if round_ == rounds:
                break
            H.driver("time-command", READ, 60)
            H.driver("dialog-press", IDOK)
            H.driver("wait-no-dialog", 10)
            H.driver("command", LANGUAGES[round_ % 3])
            H.driver("resize", *SIZES[round_ % 3])
        show("end", rounds, figures(H, process), middle)
    finally:
        H.stop_all()
        H.reg_delete(VENDOR_KEY)
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    main()
