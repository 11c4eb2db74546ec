#!/usr/bin/env python3
"""The installer and the zips as a user gets them: scripts/package makes them, signed with a
throwaway certificate, into build/package-test/; then, under Wine, a silent install, the
installed program, its version resources, a silent uninstall that keeps the user's things,
an install over an existing one. Needs the win build's quill-driver.exe (scripts/build).
  python3 tests/package/package_test.py [--skip-build: the files of an earlier run]
"""
import os
import subprocess
import sys
import tempfile
import unittest
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
from quill_e2e import SETTINGS_KEY, VENDOR_KEY, Harness, run_wine, wait_until  # noqa: E402

H = None

WORK = os.path.join(ROOT, "build", "package-test")
DIST = os.path.join(WORK, "dist")
CERT, KEY = os.path.join(WORK, "cert.pem"), os.path.join(WORK, "key.pem")
BUILD_NUMBER = "4321"  # not a commit count: shows the number reaches every stamp
VERSION = "1.0.0"
SETUP, PORTABLE, SYMBOLS = (os.path.join(DIST, "SorvaneQuillAlarmSetup-%s-%s" % (VERSION, kind))
                            for kind in ("setup.exe", "portable.zip", "symbols.zip"))
PRODUCT = "Sorvane Quill Alarm Setup"
INSTALL_DIR = r"C:\Program Files\Valdrix\Sorvane Quill Alarm Setup"
CUSTOM_DIR = r"C:\QuillTools"  # NSIS takes /D= unquoted, and Wine quotes an argument with a blank
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\SorvaneQuillAlarmSetup"
SHORTCUT = r"C:\ProgramData\Microsoft\Windows\Start Menu\Programs\%s.lnk" % PRODUCT
PROGRAMS = ("BrontivaSetup.exe", "quillctl.exe", "sqctool.exe")
INSTALLED = PROGRAMS + ("guide.html", r"guide\main.png", "Uninstall.exe")


def make_packages():
    """A throwaway self-signed code-signing certificate, then scripts/package signing with it."""
    os.makedirs(WORK, exist_ok=True)
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
                    "-subj", "/CN=Quill package test", "-addext", "extendedKeyUsage=codeSigning",
                    "-keyout", KEY, "-out", CERT], check=True, capture_output=True)
    env = dict(os.environ, QUILL_SIGN_CERT=CERT, QUILL_SIGN_KEY=KEY, QUILL_DIST=DIST,
               QUILL_BUILD_NUMBER=BUILD_NUMBER)
    subprocess.run([os.path.join(ROOT, "scripts", "package")], env=env, check=True, stdout=subprocess.DEVNULL)


def unix_path(windows_path):
    code, out, _ = run_wine(["winepath", "-u", windows_path])
    assert code == 0, windows_path
    return out.decode().strip()


def exists(windows_path):
    return os.path.exists(unix_path(windows_path))


def signature_ok(path):
    return subprocess.run(["osslsigncode", "verify", "-CAfile", CERT, "-in", path], capture_output=True).returncode == 0


def installed():
    """{each installed file and the shortcut: whether it exists}."""
    return {name: exists(name if name == SHORTCUT else INSTALL_DIR + "\\" + name) for name in INSTALLED + (SHORTCUT,)}


def install(*args):
    return run_wine([SETUP, "/S"] + list(args), timeout=300)[0]


def uninstall(directory):
    """Runs the uninstaller silently and waits for its work (it hands over to a copy of itself)."""
    run_wine([directory + r"\Uninstall.exe", "/S"])
    wait_until(lambda: not exists(directory + r"\Uninstall.exe") and not H.reg_query(UNINSTALL_KEY), 60,
               "the uninstaller did not finish")


def remove_any_install():
    location = H.reg_query(UNINSTALL_KEY, "InstallLocation")
    if location:
        uninstall(location.decode())


def start_installed(directory):
    return H.start_main(path=directory + r"\BrontivaSetup.exe")


def version_resource(path):
    """{"fixed": a.b.c.d, string name: value} as Windows reads them."""
    lines = H.driver("version", path).decode("cp1252").replace("fixed ", "fixed=", 1).splitlines()
    return dict(line.partition("=")[::2] for line in lines)


class Packages(unittest.TestCase):
    def test_signatures_and_portable_zip(self):
        with tempfile.TemporaryDirectory() as unpacked:
            with zipfile.ZipFile(PORTABLE) as archive:
                names = set(archive.namelist())
                archive.extractall(unpacked)
            for name in PROGRAMS + ("guide.html", "guide/main.png"):
                self.assertIn(PRODUCT + "/" + name, names)
            self.assertEqual({n.split("/")[0] for n in names}, {PRODUCT}, "one top folder")
            for path in (SETUP, os.path.join(unpacked, PRODUCT, "BrontivaSetup.exe")):
                self.assertTrue(signature_ok(path), path)

    def test_symbols_of_the_stripped_programs(self):
        """Each program names its .debug in the symbols zip, which reads its addresses as lines."""
        def tool(name, *args):
            return subprocess.run(["x86_64-w64-mingw32-" + name, *args], capture_output=True, check=True).stdout
        with tempfile.TemporaryDirectory() as d, zipfile.ZipFile(PORTABLE) as portable, \
                zipfile.ZipFile(SYMBOLS) as symbols:
            self.assertEqual(sorted(symbols.namelist()), sorted(p[:-4] + ".debug" for p in PROGRAMS))
            symbols.extractall(d)
            for program in PROGRAMS:
                with open(os.path.join(d, program), "wb") as out:
                    out.write(portable.read(PRODUCT + "/" + program))
                tool("objcopy", "--dump-section", ".gnu_debuglink=%s/link" % d, os.path.join(d, program), d + "/copy")
                with open(d + "/link", "rb") as link:
                    self.assertTrue(link.read().startswith(program[:-4].encode() + b".debug\0"), program)
            address = next(line.split()[0] for line in tool("nm", d + "/BrontivaSetup.debug").splitlines()
                           if b"mainWindowProc" in line)
            where = tool("addr2line", "-f", "-C", "-e", d + "/BrontivaSetup.exe", b"0x" + address)
            self.assertRegex(where, rb"^mainWindowProc\(.*\n.*main_window_win32\.cpp:\d+")


class InstallAndUninstall(unittest.TestCase):
    def setUp(self):
        remove_any_install()

    def tearDown(self):
        H.stop_all()
        remove_any_install()
        H.reg_delete(VENDOR_KEY)

    def test_silent_install_run_and_uninstall(self):
        self.assertEqual(install(), 0)
        self.assertEqual(installed(), dict.fromkeys(INSTALLED + (SHORTCUT,), True))
        self.assertTrue(signature_ok(unix_path(INSTALL_DIR + r"\Uninstall.exe")))
        expected = {"DisplayName": PRODUCT, "DisplayVersion": VERSION, "Publisher": "Valdrix",
                    "DisplayIcon": INSTALL_DIR + r"\BrontivaSetup.exe,0", "InstallLocation": INSTALL_DIR,
                    "UninstallString": '"%s\\Uninstall.exe"' % INSTALL_DIR,
                    "QuietUninstallString": '"%s\\Uninstall.exe" /S' % INSTALL_DIR}
        entry = {name: (H.reg_query(UNINSTALL_KEY, name) or b"").decode() for name in expected}
        self.assertEqual(entry, expected)
        program_kib = os.path.getsize(unix_path(INSTALL_DIR + r"\BrontivaSetup.exe")) // 1024
        self.assertGreater(int(H.reg_query(UNINSTALL_KEY, "EstimatedSize"), 16), program_kib)

        self.check_version_resources()
        # The installed program as a user starts it: the main window comes up.
        self.assertEqual(H.close(start_installed(INSTALL_DIR)), 0)
        self.assertTrue(H.reg_query(SETTINGS_KEY, "WindowPlacement"))

        # What the user made outlives the uninstaller: a document, a backup, a file saved beside the program.
        profile = run_wine(["cmd", "/c", "echo", "%USERPROFILE%"])[1].decode().strip()
        kept = [profile + r"\Documents\unit.sqc", profile + r"\AppData\Roaming\Valdrix\BrontivaSetup\Backups\b.sqc",
                INSTALL_DIR + r"\saved here.sqc"]
        for path in kept:
            os.makedirs(os.path.dirname(unix_path(path)), exist_ok=True)
            with open(unix_path(path), "wb") as out:
                out.write(b"sealed")
        uninstall(INSTALL_DIR)
        self.assertEqual(installed(), dict.fromkeys(INSTALLED + (SHORTCUT,), False))
        self.assertIsNone(H.reg_query(UNINSTALL_KEY))
        self.assertTrue(H.reg_query(SETTINGS_KEY, "WindowPlacement"), "settings kept")
        self.assertEqual([exists(path) for path in kept], [True] * 3, "the user's files kept")

    def check_version_resources(self):
        name, about, copyright_text = (H.table_text(key, 0).decode("cp1250") for key in ("A1", "A2", "A3"))
        about_version = about.rsplit(" ", 1)[1]
        self.assertTrue(VERSION.startswith(about_version + "."), "about box shows %s" % about_version)
        stamped = VERSION + "." + BUILD_NUMBER
        for program in PROGRAMS + ("Uninstall.exe",):
            fields = version_resource(INSTALL_DIR + "\\" + program)
            self.assertTrue(fields.pop("FileDescription"), program)
            if program == "Uninstall.exe":  # NSIS names no file of its own
                fields["OriginalFilename"] = fields["InternalName"] = program
            self.assertEqual(fields, {
                "fixed": stamped, "FileVersion": stamped, "ProductVersion": VERSION, "ProductName": name,
                "CompanyName": "Valdrix", "LegalCopyright": copyright_text, "OriginalFilename": program,
                "InternalName": program}, program)

    def test_install_over_an_existing_install(self):
        self.assertEqual(install("/D=" + CUSTOM_DIR), 0)
        damaged = unix_path(CUSTOM_DIR + r"\quillctl.exe")
        open(damaged, "wb").close()
        process = start_installed(CUSTOM_DIR)
        self.assertEqual(install(), 2, "a running program is not replaced")
        self.assertEqual(os.path.getsize(damaged), 0)
        H.close(process)
        # Without /D the upgrade goes where the installed copy is.
        self.assertEqual(install(), 0)
        self.assertFalse(exists(INSTALL_DIR + r"\BrontivaSetup.exe"))
        self.assertGreater(os.path.getsize(damaged), 0, "files replaced")
        self.assertEqual(H.reg_query(UNINSTALL_KEY, "InstallLocation"), CUSTOM_DIR.encode())
        uninstall(CUSTOM_DIR)
        self.assertFalse(exists(CUSTOM_DIR))


if __name__ == "__main__":
    H = Harness.from_args()
    if "--skip-build" in sys.argv:
        sys.argv.remove("--skip-build")
    else:
        make_packages()
    result = unittest.main(verbosity=2, exit=False).result
    sys.exit(0 if result.wasSuccessful() else 1)
