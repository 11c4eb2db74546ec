#!/usr/bin/env python3
"""End to end: the backup a complete read from the unit leaves in
%APPDATA%\\Valdrix\\BrontivaSetup\\Backups of the prefix's user.

One program start and one read: the folder holds 50 older backups and a
file of the user's own beforehand, so the read must add exactly one backup,
delete the oldest and leave the user's file; the new backup then opens to
the form the read showed.
"""
import os
import re
import shutil
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from quill_e2e import ROOT, Harness, run_wine  # noqa: E402

H = None

IDOK = 1
MESSAGE_TEXT_ID = 0xFFFF
OPEN, READ = 1001, 5001
STATUS_LINE = 5008
BACKUP_NAME = re.compile(r"^\d{4}-\d\d-\d\d \d\d-\d\d-\d\d COM3 1\.05\.sqc$")


def backup_folder():
    """The prefix's %APPDATA%\\Valdrix\\BrontivaSetup\\Backups as a Linux path."""
    _, out, _ = run_wine(["cmd", "/c", "echo", "%APPDATA%"])
    appdata = out.decode("latin-1").strip()
    assert appdata[1:3] == ":\\", appdata
    drive = os.path.join(os.environ["WINEPREFIX"], "dosdevices", appdata[0].lower() + ":")
    return os.path.join(os.path.realpath(drive), *appdata[3:].split("\\"), "Valdrix", "BrontivaSetup", "Backups")


def old_name(k):
    return "2020-01-01 00-00-%02d COM3 1.05.sqc" % k


class Backups(unittest.TestCase):
    def test_a_read_adds_one_backup_keeps_fifty_and_opens_to_the_form(self):
        folder = backup_folder()
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        olds = [old_name(k) for k in range(50)]
        for name in olds + ["mine.sqc"]:
            with open(os.path.join(folder, name), "wb") as f:
                f.write(b"old")
        state = os.path.join(self.dir, "unit.state")
        shutil.copy(os.path.join(ROOT, "tools", "quill-sim", "quill-105.state"), state)
        _, pty = H.start_sim("--state", state)
        H.register_com_port(3, pty)
        H.start()
        H.driver("wait-main", 30)
        deadline = time.monotonic() + 20
        while not H.control(STATUS_LINE)["text"].startswith(b"COM3") and time.monotonic() < deadline:
            time.sleep(0.3)
        H.driver("command", READ)
        H.driver("wait-dialog", 60)
        self.assertEqual(H.dialog()["controls"][MESSAGE_TEXT_ID]["text"], H.table_text("E1", 2))
        H.driver("dialog-press", IDOK)
        H.driver("wait-no-dialog")

        deadline = time.monotonic() + 10
        while len(os.listdir(folder)) != 51 and time.monotonic() < deadline:
            time.sleep(0.2)
        names = set(os.listdir(folder))
        new = sorted(names - set(olds) - {"mine.sqc"})
        self.assertEqual(len(new), 1, new)
        self.assertRegex(new[0], BACKUP_NAME)
        self.assertEqual(names, set(olds[1:]) | {"mine.sqc", new[0]}, "the oldest goes, the user's file stays")

        read = H.selections()
        changed = {n: (s + 1) % 2 for n, s in list(read.items())[:3]}
        for n, s in changed.items():
            H.driver("select", n, s)
        self.assertNotEqual(H.selections(), read)
        # A copy with a plain name: the dialog's own handling of names with
        # blanks is not what is tested here.
        copy = os.path.join(self.dir, "backup.sqc")
        shutil.copy(os.path.join(folder, new[0]), copy)
        H.driver("file-command", OPEN, "Z:" + copy.replace("/", "\\"))
        self.assertEqual(H.selections(), read, "the backup opens to the form the read showed")

    @classmethod
    def setUpClass(cls):
        cls.dir = tempfile.mkdtemp(prefix="quill-backup-")

    @classmethod
    def tearDownClass(cls):
        H.stop_all()
        shutil.rmtree(cls.dir, ignore_errors=True)


if __name__ == "__main__":
    H = Harness.from_args()
    try:
        result = unittest.main(verbosity=2, exit=False).result
    finally:
        H.stop_all()
    sys.exit(0 if result.wasSuccessful() else 1)
