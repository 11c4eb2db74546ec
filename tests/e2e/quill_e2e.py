"""Harness of the end-to-end tests: BrontivaSetup.exe under Wine, driven by
quill-driver.exe, with the registry read and written through `wine reg`,
and the simulated unit (quill-sim) on a pseudo-terminal registered as a COM
port of the private prefix.

Every test script calls `Harness.from_args()` first. Run alone, the script
re-runs itself inside scripts/wine-session (one Xvfb and one Wine server for
the whole script, both ended afterwards); under scripts/test it already runs
inside that session.

Texts are compared as bytes: the program's texts are 8-bit (Windows-1250 for
Polish), and quill-driver passes them on unchanged.
"""
import argparse
import os
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

SETTINGS_KEY = r"HKCU\Software\Valdrix\BrontivaSetup\Settings"
VENDOR_KEY = r"HKCU\Software\Valdrix"
PORTS_KEY = r"HKLM\Software\Wine\Ports"


def run_wine(args, timeout=120):
    """Runs a Wine command to its end; returns (exit code, stdout, stderr).

    Output goes through files, not pipes: the first Wine program of a session
    starts Wine's own helper processes (the desktop, services), which inherit
    its standard handles and would hold a pipe open long after it ended."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        code = subprocess.run(["wine"] + args, stdout=out, stderr=err, timeout=timeout).returncode
        out.seek(0)
        err.seek(0)
        return code, out.read(), err.read()


def ensure_session():
    """Re-runs the calling script inside scripts/wine-session when needed."""
    if os.environ.get("QUILL_WINE_SESSION"):
        return
    session = os.path.join(ROOT, "scripts", "wine-session")
    os.execv(session, [session, sys.executable] + sys.argv)


class Harness:
    def __init__(self, bin_dir, host_tools):
        self.bin = bin_dir
        self.host_tools = host_tools
        self.driver_exe = os.path.join(bin_dir, "quill-driver.exe")
        self.programs = []
        self.sims = []
        self.ports = []

    @classmethod
    def from_args(cls):
        parser = argparse.ArgumentParser()
        parser.add_argument("--bin", default=os.path.join(ROOT, "build", "win", "bin"))
        parser.add_argument("--host-tools", default=os.path.join(ROOT, "build", "native", "bin"))
        args, rest = parser.parse_known_args()
        ensure_session()
        sys.argv[1:] = rest
        return cls(args.bin, args.host_tools)

    # --- programs ------------------------------------------------------------

    def start(self, name="BrontivaSetup.exe"):
        """Starts a Windows program of the build; returns its process."""
        process = subprocess.Popen(["wine", os.path.join(self.bin, name)],
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.programs.append(process)
        return process

    def driver(self, *args, check=True):
        """Runs one quill-driver command; returns its standard output (bytes)."""
        code, out, err = run_wine([self.driver_exe] + [str(a) for a in args])
        if check and code != 0:
            raise AssertionError("quill-driver %s failed (%d): %s" % (
                " ".join(str(a) for a in args), code, err.decode("latin-1").strip()))
        return out

    def driver_ok(self, *args):
        return run_wine([self.driver_exe] + [str(a) for a in args])[0] == 0

    def wait_exit(self, process, seconds=20):
        return process.wait(timeout=seconds)

    def stop_all(self):
        """Ends every program this harness started that is still running."""
        for process in self.programs:
            if process.poll() is None:
                self.driver("close", check=False)
                try:
                    process.wait(timeout=10)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
        self.programs = []
        for sim in self.sims:
            sim.terminate()
            sim.wait(timeout=10)
        self.sims = []
        # A terminal's number is reused once its simulator is gone: leave no
        # COM port pointing at whatever gets it next.
        for number in self.ports:
            self.reg_delete(PORTS_KEY, "COM%d" % number)
        self.ports = []

    # --- what the driver reports ------------------------------------------------

    def text(self, control_id):
        return self.driver("text", control_id).rstrip(b"\n")

    def state(self, control_id):
        fields = dict(f.split(b"=") for f in self.driver("state", control_id).split())
        return {k.decode(): v == b"1" for k, v in fields.items()}

    def rect(self, *control_id):
        return tuple(int(v) for v in self.driver("rect", *control_id).split())

    def placement(self):
        """(showCmd, left, top, right, bottom) of the main window."""
        return tuple(int(v) for v in self.driver("placement").split())

    def dialog(self):
        """The open dialog: {'title', 'rect', 'controls': {id: {...}}}."""
        lines = self.driver("dialog").split(b"\n")
        result = {"controls": {}}
        for line in lines:
            if line.startswith(b"title="):
                result["title"] = line[len(b"title="):]
            elif line.startswith(b"rect="):
                result["rect"] = tuple(int(v) for v in line[len(b"rect="):].split())
            elif line.startswith(b"control "):
                parts = line.split(b" ", 5)
                result["controls"][int(parts[1])] = {
                    "class": parts[2].decode(), "visible": parts[3] == b"1",
                    "enabled": parts[4] == b"1", "text": parts[5] if len(parts) > 5 else b""}
        return result

    def describe(self):
        """The probe's description: {'menu': [...], 'items': [...], 'windows': {id: [...]}}."""
        result = {"menu": [], "items": [], "windows": {}, "choices": {}}
        for line in self.driver("describe").split(b"\n"):
            f = line.split(b"\t")
            if f[0] == b"menu":
                result["menu"].append({"id": int(f[2]), "enabled": f[3] == b"1",
                                       "checked": f[4] == b"1", "text": f[5]})
            elif f[0] == b"item":
                result["items"].append({"menu": int(f[1]), "id": int(f[3]), "enabled": f[4] == b"1",
                                        "checked": f[5] == b"1", "text": f[6]})
            elif f[0] == b"window":
                result["windows"].setdefault(int(f[1]), []).append({
                    "class": f[2].decode(), "visible": f[3] == b"1", "enabled": f[4] == b"1",
                    "rect": tuple(int(v) for v in f[5:9]), "text": f[9]})
            elif f[0] == b"choice":
                result["choices"].setdefault(int(f[1]), []).append(f[4])
        return result

    # --- registry ---------------------------------------------------------------

    def reg_query(self, key, value=None):
        """The data of a REG_SZ value (bytes), True for an existing key when no
        value is named, or None when absent."""
        code, out, _ = run_wine(["reg", "query", key] + (["/v", value] if value else []))
        if code != 0:
            return None
        if value is None:
            return True
        for line in out.split(b"\n"):
            parts = line.strip().split(None, 2)
            if len(parts) >= 2 and parts[0].decode("latin-1").lower() == value.lower():
                return parts[2].rstrip(b"\r") if len(parts) == 3 else b""
        return None

    def reg_set(self, key, value, data):
        if run_wine(["reg", "add", key, "/v", value, "/d", data, "/f"])[0] != 0:
            raise AssertionError("cannot set %s\\%s" % (key, value))

    def reg_delete(self, key, value=None):
        run_wine(["reg", "delete", key] + (["/v", value] if value else []) + ["/f"])

    # --- the built-in definition table --------------------------------------------

    def table_text(self, key, index, language=None):
        """text(key, index) of the program's own table, through sqctool."""
        sqctool = os.path.join(self.host_tools, "sqctool")
        args = [sqctool, "defs", "text", "--builtin"]
        if language:
            args += ["--language", language]
        result = subprocess.run(args + [key, str(index)], capture_output=True, check=True)
        return result.stdout[:-1] if result.stdout.endswith(b"\n") else result.stdout

    # --- COM ports ----------------------------------------------------------------

    def register_com_port(self, number, device):
        """Maps COM<number> of the prefix to a device path. Restarts the Wine
        server so that the mapping takes effect: start programs afterwards."""
        self.reg_set(PORTS_KEY, "COM%d" % number, device)
        self.ports.append(number)
        quiet = {"stdin": subprocess.DEVNULL, "stdout": subprocess.DEVNULL, "stderr": subprocess.DEVNULL}
        subprocess.run(["wineserver", "-k"], **quiet)
        subprocess.run(["wineserver", "-w"], **quiet)
        # As the session began: one persistent server and Wine's services,
        # detached from every test's output.
        subprocess.run(["wineserver", "-p"], **quiet)
        subprocess.run(["wine", "wineboot"], **quiet)

    def start_sim(self, *args):
        """Starts quill-sim; returns (process, pty path) or None without it."""
        sim = os.path.join(self.host_tools, "quill-sim")
        if not os.path.exists(sim):
            return None
        process = subprocess.Popen([sim] + list(args), stdout=subprocess.PIPE,
                                   stderr=subprocess.DEVNULL)
        path = process.stdout.readline().decode().strip()
        self.sims.append(process)
        return process, path


def timed(function, *args):
    start = time.monotonic()
    value = function(*args)
    return value, time.monotonic() - start
