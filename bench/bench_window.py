#!/usr/bin/env python3
"""Benchmarks of the real program under Wine; each part prints its figures:

  startup   start to a visible main window (the splash alone is 3.0 s), a close request to
            the end of the process, over --runs starts
  attach    at 9600 baud, --plugs times (default 10): from the unit's reply to the last identity
            request of the probe that finds it on COM3 (every other port absent) until the status
            line shows it; median and worst (targets 0.08 s and 0.2 s), and from plugging in
  transfer  a read and a write through the window (button to message box) of the table's
            largest unit (51 rows, every field full) at 9600 baud: seconds, requests, ratio to
            the wire time of 10 characters of 10 bits a request
  soak      --rounds of a read (no pacing), a language switch and a resize; resident memory, GDI
            and USER objects, handles (Wine answers 0), windows (by the probe) and descriptors at
            the start, middle and end. Flat: the end within 2% (or a few objects) of the middle
python3 bench/bench_window.py [startup] [attach] [transfer] [soak] [--runs 5] [--plugs 10] [--rounds 200]
"""
import argparse
import os
import shutil
import statistics
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "tests", "e2e"))
from quill_e2e import ID, IDOK, VENDOR_KEY, Harness, copy_unit_105  # noqa: E402

ROWS, BITS_PER_REQUEST = 51, 2 * 5 * 10
LANGUAGES = tuple(ID.IDM_LANGUAGE_FIRST + i for i in range(3))  # Deutsch, English, Polski
SIZES = ((900, 700), (640, 520), (380, 600))


def timed_transfer(H, command):
    """Seconds from the command to the message that ends it, which is closed."""
    ms = int(H.driver("time-command", command, 600))
    H.press(IDOK)
    return ms / 1000.0


def startup(H, folder, args):
    to_window, to_exit = [], []
    for _ in range(args.runs):
        start = time.monotonic()
        process = H.start_main()
        to_window.append(time.monotonic() - start)
        start = time.monotonic()
        H.close(process)
        to_exit.append(time.monotonic() - start)
    for name, values in (("start to main window", to_window), ("close to process end", to_exit)):
        print("%-22s median %.2f s  min %.2f s  max %.2f s  (%d runs)" % (
            name, statistics.median(values), min(values), max(values), len(values)))


def largest_unit(folder):
    """The table's largest unit (firmware 2.00): every row set, every field full."""
    state = os.path.join(folder, "unit.state")
    lines = ["identity 200"] + ["register %d 1\ncount %d 6" % (n, n) for n in range(1, ROWS + 1)]
    lines += ["register %d 0x35" % r for r in range(181, 251) if (r - 181) % 16 != 15]
    with open(state, "w") as f:
        f.write("\n".join(lines + ["register 252 0x12"]) + "\n")
    return state


def identity_reply_time(log):
    """When quill-sim (--log-times) sent its first reply to a read of register 254."""
    with open(log, "rb") as f:
        for line in f:
            if b"<- 56 00 FE " in line:
                return float(line.split()[0])
    return None


def attach(H, folder, args):
    state, link, log = largest_unit(folder), os.path.join(folder, "com3"), os.path.join(folder, "frames.log")
    H.register_com_port(3, link)  # the unit's link does not exist yet
    H.start_main()
    connected, replied, plugged = H.connected(firmware=b"2.00"), [], []
    for plug in range(args.plugs):
        time.sleep(1.0 + 0.37 * plug % 1.1)  # another phase of the scan each time
        shown = H.status_shown(connected)
        time.sleep(1.0)  # the driver is up and polling
        sim, _ = H.start_sim("--state", state, "--baud", "9600", "--log-times", link, log=log)
        appeared = time.time()
        at = shown()
        replied.append(at - identity_reply_time(log))
        plugged.append(at - appeared)
        print("plug %2d: %.3f s from the identity reply, %.2f s from plugging in" % (plug + 1, replied[-1],
                                                                                    plugged[-1]), flush=True)
        H.sims.remove(sim)
        sim.terminate()
        sim.wait(timeout=10)
        H.wait_status(b"???", 30)
    print("attach from the identity reply: median %.3f s, worst %.3f s (targets 0.08 s and 0.2 s)" % (
        statistics.median(replied), max(replied)))
    print("attach from plugging in:        median %.2f s, worst %.2f s" % (statistics.median(plugged), max(plugged)))


def transfer(H, folder, args):
    state, log = largest_unit(folder), os.path.join(folder, "frames.log")
    H.unit_on_com3(state, "--baud", "9600", log=log)
    H.start_main()
    H.wait_status(H.connected(firmware=b"2.00"), 30)
    def logged():  # the requests quill-sim received
        with open(log, "rb") as f:
            return sum(b"-> 56 " in line for line in f)
    for name, command in (("read", ID.IDC_READ_DEVICE), ("write", ID.IDC_WRITE_DEVICE)):
        before = logged()
        seconds = timed_transfer(H, command)
        requests = logged() - before
        bound = requests * BITS_PER_REQUEST / 9600.0
        print("%-6s %6.2f s  %4d requests  bound %5.2f s  %.3f x the bound (target <= 1.15)" % (
            name, seconds, requests, bound, seconds / bound))


def soak(H, folder, args):
    H.unit_on_com3(copy_unit_105(folder))
    process = H.start_main()
    H.wait_status(H.connected(), 30)

    def figures():
        with open("/proc/%d/status" % process.pid) as status:
            resident = next((int(l.split()[1]) for l in status if l.startswith("VmRSS:")), -1)
        return (resident,) + H.numbers("resources") + (len(H.describe()["window"]),
                                                        len(os.listdir("/proc/%d/fd" % process.pid)))

    def show(when, round_, now, middle=None):
        line = "%-6s round %3d  resident %7d kB  GDI %4d  USER %4d  handles %4d  windows %4d  fds %3d" % (
            (when, round_) + now)
        if middle:
            others = " ".join("%+d" % (a - b) for a, b in zip(now[1:], middle[1:]))
            line += "  resident %+.2f%%, others %s of the middle" % (100.0 * (now[0] - middle[0]) / middle[0], others)
        print(line, flush=True)

    middle = None
    show("start", 0, figures())
    for round_ in range(args.rounds):
        if round_ == args.rounds // 2:
            middle = figures()
            show("middle", round_, middle)
        timed_transfer(H, ID.IDC_READ_DEVICE)
        H.driver("command", LANGUAGES[round_ % 3])
        H.driver("resize", *SIZES[round_ % 3])
    show("end", args.rounds, figures(), middle)


def main():
    H = Harness.from_args()
    parts = {"startup": startup, "attach": attach, "transfer": transfer, "soak": soak}
    parser = argparse.ArgumentParser(prog="bench/bench_window.py")
    parser.add_argument("parts", nargs="*", help="of startup, attach, transfer, soak (none: all)")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--plugs", type=int, default=10)
    parser.add_argument("--rounds", type=int, default=200)
    args = parser.parse_args()
    if set(args.parts) - set(parts):
        parser.error("the parts are startup, attach, transfer and soak")
    for name in args.parts or list(parts):
        print("== %s" % name, flush=True)
        folder = tempfile.mkdtemp(prefix="quill-bench-")
        try:
            parts[name](H, folder, args)
        finally:
            H.stop_all()
            H.reg_delete(VENDOR_KEY)
            shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    main()
