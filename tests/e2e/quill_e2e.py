"""Harness of the end-to-end tests and the Wine benchmarks: BrontivaSetup.exe driven by
quill-driver.exe, the registry through `wine reg`, quill-sim on a pty registered as a COM
port. `Harness.from_args()` re-runs a script alone inside scripts/wine-session. Texts are
the program's 8-bit bytes (Windows-1250 for Polish); ids come from resources/resource.h (`ID`).
"""
import argparse
import collections
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import types
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SETTINGS_KEY = r"HKCU\Software\Valdrix\BrontivaSetup\Settings"
VENDOR_KEY = r"HKCU\Software\Valdrix"
PORTS_KEY = r"HKLM\Software\Wine\Ports"
UNIT_105 = os.path.join(ROOT, "tools", "quill-sim", "quill-105.state")  # the unit of scripts/run
QUIET_ERR = {"stdin": subprocess.DEVNULL, "stderr": subprocess.DEVNULL}
QUIET = dict(QUIET_ERR, stdout=subprocess.DEVNULL)
# The platform's ids: dialog buttons, a message box's text, the file dialog's name and filter.
IDOK, IDCANCEL, MESSAGE_TEXT = 1, 2, 0xFFFF
FILE_NAME_FIELD, FILTER_LIST = 0x47C, 0x470


def resource_ids():
    """Every id resources/resource.h defines, by its name there."""
    with open(os.path.join(ROOT, "resources", "resource.h")) as header:
        return types.SimpleNamespace(**{m[1]: int(m[2], 0) for m in re.finditer(
            r"(?m)^[ \t]*#define[ \t]+(ID\w+)[ \t]+\(?(-?(?:0x[0-9A-Fa-f]+|\d+))\)?[ \t]*$", header.read())})


ID = resource_ids()


def wine_path(path):
    return "Z:" + path.replace("/", "\\")


def run_wine(args, timeout=120):
    """Runs a Wine command; returns (exit code, stdout, stderr). Through files, not pipes:
    the session's first Wine program starts helpers that would hold a pipe open."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        code = subprocess.run(["wine"] + args, stdout=out, stderr=err, timeout=timeout).returncode
        out.seek(0)
        err.seek(0)
        return code, out.read(), err.read()


def wait_until(done, seconds, what):
    """Polls `done` until it holds; fails with `what` (a text, or a function giving it) after `seconds`."""
    deadline = time.monotonic() + seconds
    while not done():
        if time.monotonic() > deadline:
            raise AssertionError(what() if callable(what) else what)
        time.sleep(0.2)


def copy_unit_105(folder):
    """A copy of the unit 1.05's state in `folder` (quill-sim writes to it)."""
    return shutil.copy(UNIT_105, os.path.join(folder, "unit.state"))


def fields(out):
    """Lines of tab-separated fields (the probe's and the dialog's) as {first: [the others...]}."""
    result = collections.defaultdict(list)
    for line in out.split(b"\n"):
        result[line.split(b"\t")[0].decode()].append(line.split(b"\t")[1:])
    return result


def shown_windows(description, *classes):
    """The visible windows of those classes (lower case) in a description."""
    return [w for w in description["window"] if w[1].lower() in classes and w[2] == b"1"]


class Harness:
    def __init__(self, bin_dir, host_tools):
        self.bin, self.host_tools = bin_dir, host_tools
        self.programs, self.sims, self.ports = [], [], []

    @classmethod
    def from_args(cls):
        parser = argparse.ArgumentParser()
        parser.add_argument("--bin", default=os.path.join(ROOT, "build", "win", "bin"))
        parser.add_argument("--host-tools", default=os.path.join(ROOT, "build", "native", "bin"))
        args, rest = parser.parse_known_args()
        if not os.environ.get("QUILL_WINE_SESSION"):
            session = os.path.join(ROOT, "scripts", "wine-session")
            os.execv(session, [session, sys.executable] + sys.argv)
        sys.argv[1:] = rest
        return cls(args.bin, args.host_tools)

    def run_tests(self):
        """Runs the cases, ends what was started, removes the settings (a fresh next start), exits."""
        try:
            result = unittest.main(verbosity=2, exit=False).result
        finally:
            self.stop_all()
            self.reg_delete(VENDOR_KEY)
        sys.exit(0 if result.wasSuccessful() else 1)

    # --- programs and the driver -------------------------------------------------

    def start(self, name="BrontivaSetup.exe", path=None):
        """Starts a program of the build folder, or the one at the Windows `path`."""
        process = subprocess.Popen(["wine", path or os.path.join(self.bin, name)],
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.programs.append(process)
        return process

    def start_main(self, seconds=30, path=None):
        """Starts the program, waits for its main window. Wine now and then ends a program
        before its code runs: one gone without a window is started once more."""
        for attempt in (1, 2):
            process = self.start(path=path)
            try:
                self.driver("wait-main", seconds)
                return process
            except AssertionError as failure:
                if process.poll() is None or attempt == 2:
                    raise AssertionError("%s (the program %s)" % (failure, "runs on" if process.poll() is None
                                         else "ended with status %d" % process.returncode)) from None
            sys.stderr.write("harness: the program ended with status %d before its window showed; "
                             "starting it once more\n" % process.returncode)

    # Commands that only look, or set what they set again: safe to repeat.
    QUERIES = {"placement", "rect", "focus", "control", "describe", "dialog", "wait-main", "wait-dialog",
               "wait-no-dialog", "select", "set-text"}

    def driver(self, *args, check=True):
        """One quill-driver command's output (bytes); with check=False, whether it succeeded."""
        command = [os.path.join(self.bin, "quill-driver.exe")] + [str(a) for a in args]
        code, out, err = run_wine(command)
        # Under load a Wine program now and then ends with status 1 before its code runs; the
        # driver names its own failures, so a silent failure of a query runs once more.
        if code != 0 and not err.strip() and args and args[0] in self.QUERIES:
            code, out, err = run_wine(command)
        if check and code != 0:
            raise AssertionError("quill-driver %s failed (%d): %s" % (
                " ".join(str(a) for a in args), code, err.decode("latin-1").strip()))
        return out if check else code == 0

    def close(self, process):
        """Closes the main window; returns the program's exit status."""
        self.driver("close")
        return process.wait(timeout=20)

    def stop_all(self):
        """Ends every program and simulator this harness started."""
        for process in self.programs:
            if process.poll() is None:
                self.driver("close", check=False)
                try:
                    process.wait(timeout=10)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
        for sim in self.sims:
            sim.terminate()
            sim.wait(timeout=10)
            sim.stdout.close()
        # A pty's number is reused: leave no COM port (value, device link) naming it.
        for number in self.ports:
            self.reg_delete(PORTS_KEY, "COM%d" % number)
            link = os.path.join(os.environ.get("WINEPREFIX", ""), "dosdevices", "com%d" % number)
            if os.path.islink(link):
                os.unlink(link)
        self.programs, self.sims, self.ports = [], [], []

    def press(self, button=IDOK, seconds=10):
        """Presses a button of the open dialog and waits until no dialog shows."""
        self.driver("dialog-press", button)
        self.driver("wait-no-dialog", seconds)

    def message(self, seconds=20):
        """Waits for a message box and presses its OK; returns its (title, text)."""
        self.driver("wait-dialog", seconds)
        box = self.dialog()
        self.press(IDOK)
        return box["title"], box["controls"][MESSAGE_TEXT]["text"]

    def wait_status(self, text, seconds=20):
        """Waits until the status line shows `text` (bytes, or a test of it); returns the time then."""
        done = text if callable(text) else (lambda shown: shown == text)
        wait_until(lambda: done(self.control(ID.IDC_STATUS_LINE)["text"]), seconds,
                   lambda: "the status line shows %r" % self.control(ID.IDC_STATUS_LINE)["text"])
        return time.monotonic()

    def status_shown(self, text, seconds=30):
        """Starts quill-driver polling the status line every 5 ms for `text` (so no time of ours
        counts); the result waits for it and returns when the line showed it (seconds since 1970)."""
        waiter = subprocess.Popen(["wine", os.path.join(self.bin, "quill-driver.exe"), "wait-text",
                                   str(ID.IDC_STATUS_LINE), text, str(seconds)], stdout=subprocess.PIPE, **QUIET_ERR)
        return lambda: int(waiter.communicate(timeout=seconds + 30)[0]) / 1000.0

    def connected(self, language=None, firmware=b"1.05"):
        """The status line's text with a unit on COM3."""
        return b"COM3 " + self.table_text("P", 2, language) + b" " + firmware

    def control(self, control_id):
        """{'visible', 'enabled', 'text'} of a control of the main window."""
        visible, enabled, text = self.driver("control", control_id).rstrip(b"\n").split(b" ", 2)
        return {"visible": visible == b"1", "enabled": enabled == b"1", "text": text}

    def numbers(self, *args):
        return tuple(int(v) for v in self.driver(*args).split())

    def dialog(self):
        """The open dialog: {'title', 'rect', 'controls': {id: {'class', 'visible', 'enabled', 'text'}}}."""
        d = fields(self.driver("dialog"))
        return {"title": d["title"][0][0], "rect": tuple(int(v) for v in d["rect"][0][0].split()),
                "controls": {int(c[0]): {"class": c[1].decode(), "visible": c[2] == b"1", "enabled": c[3] == b"1",
                                         "text": c[4]} for c in d["control"]}}

    def describe(self):
        """The probe's description as {kind: [fields...]} (tests/e2e/probe/quill_probe.h)."""
        return fields(self.driver("describe"))

    def selections(self, d=None):
        """{parameter: selected index or -1} of every row's list."""
        result = {}
        for number, index, selected, _ in (d or self.describe())["choice"]:
            result[int(number)] = int(index) if selected == b"1" else result.get(int(number), -1)
        return result

    def texts(self, *ids, d=None):
        """The texts of those controls, read inside the program (password fields too)."""
        found = {int(w[0]): w[8] for w in (d or self.describe())["window"]}
        return [found[i] for i in ids]

    def locked(self):
        """Whether the form shows as without a unit: Defaults and Write disabled, Read enabled,
        save, open and print disabled (not greyed), no field and no list shown."""
        d = self.describe()
        enabled = {int(w[0]): w[3] == b"1" for w in d["window"]}
        buttons = [enabled[i] for i in (ID.IDC_RESET_DEFAULTS, ID.IDC_READ_DEVICE, ID.IDC_WRITE_DEVICE)]
        menus = [m[2] for m in d["menu"]][:3]
        return buttons == [False, True, False] and menus == [b"0"] * 3 and not shown_windows(d, b"combobox", b"edit")

    # --- real input from X (xdotool): the wheel goes to the window under the
    # pointer, keys to the focused window -------------------------------------------

    @staticmethod
    def xdotool(*args):
        subprocess.run(["xdotool"] + [str(a) for a in args], check=True)

    def keys(self, *keys):
        """Presses the keys one after the other, then lets the program take them."""
        self.xdotool("key", "--delay", 30, *keys)
        time.sleep(0.3)

    def point_at(self, control_id):
        """Moves the pointer to the middle of a control's top 10 pixels."""
        left, top, right, _ = self.numbers("rect", control_id)
        self.xdotool("mousemove", (left + right) // 2, top + 10)
        time.sleep(0.2)

    def wheel(self, notches):
        """Turns the wheel under the pointer: positive toward the user (down)."""
        for _ in range(abs(notches)):
            self.xdotool("click", 5 if notches > 0 else 4)
        time.sleep(0.5)

    def focus(self):
        return int(self.driver("focus").split()[0])

    # --- registry, the built-in table, the simulated unit ---------------------------

    def reg_query(self, key, value=None):
        """A REG_SZ value's data (bytes), or True for a key that exists; None when absent."""
        code, out, _ = run_wine(["reg", "query", key] + (["/v", value] if value else []))
        if code != 0 or value is None:
            return code == 0 or None
        found = re.search(rb"(?im)^\s*%s\s+REG_\w+[ \t]*(.*?)\r?$" % re.escape(value.encode()), out)
        return found and found.group(1)

    def reg_set(self, key, value, data):
        if run_wine(["reg", "add", key, "/v", value, "/d", data, "/f"])[0] != 0:
            raise AssertionError("cannot set %s\\%s" % (key, value))

    def reg_delete(self, key, value=None):
        run_wine(["reg", "delete", key] + (["/v", value] if value else []) + ["/f"])

    def table_text(self, key, index, language=None):
        """text(key, index) of the program's own table, through sqctool."""
        args = [os.path.join(self.host_tools, "sqctool"), "defs", "text", "--builtin"]
        args += ["--language", language] if language else []
        out = subprocess.run(args + [key, str(index)], capture_output=True, check=True).stdout
        return out[:-1] if out.endswith(b"\n") else out

    @staticmethod
    def sim_registers(state_path):
        """The registers a quill-sim state file holds (unlisted ones are 0)."""
        with open(state_path) as state:
            lines = re.findall(r"(?m)^\s*register\s+(\S+)\s+(\S+)\s*(?:#.*)?$", state.read())
        found = {int(n, 0): int(v, 0) for n, v in lines}
        return [found.get(r, 0) for r in range(256)]

    def register_com_port(self, number, device):
        """Maps COM<number> to a device and restarts the Wine server to take it: start programs after."""
        self.reg_set(PORTS_KEY, "COM%d" % number, device)
        self.ports.append(number)
        subprocess.run(["wineserver", "-k"], **QUIET)
        subprocess.run(["wineserver", "-w"], **QUIET)
        # As the session began: one persistent server and services, detached from any output.
        subprocess.run(["wineserver", "-p"], **QUIET)
        subprocess.run(["wine", "wineboot"], **QUIET)

    def start_sim(self, *args, log=None):
        """Starts quill-sim, its frame log (-v) into `log` if given; returns (process, pty path)."""
        args = list(args) + (["-v"] if log else [])
        with open(log or os.devnull, "wb") as frames:
            process = subprocess.Popen([os.path.join(self.host_tools, "quill-sim")] + args,
                                       stdout=subprocess.PIPE, stderr=frames)
        self.sims.append(process)
        return process, process.stdout.readline().decode().strip()

    def unit_on_com3(self, state, *args, log=None):
        """quill-sim with the state file `state` as COM3 (start the program after); returns it."""
        sim, pty = self.start_sim("--state", state, *args, log=log)
        self.register_com_port(3, pty)
        return sim
