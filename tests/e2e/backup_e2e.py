#!/usr/bin/env python3
"""End to end: one read from the unit with 50 older backups and a file of
the user's own in the backup folder adds exactly one backup, deletes the
oldest, leaves the user's file, and the new backup opens to the form the
read showed."""
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
IDOK, MESSAGE_TEXT_ID = 1, 0xFFFF
OPEN, READ, STATUS_LINE = 1001, 5001, 5008


def backup_folder():
    """The prefix's %APPDATA%\\Valdrix\\BrontivaSetup\\Backups as a Linux path."""
    appdata = run_wine(["cmd", "/c", "echo", "%APPDATA%"])[1].decode("latin-1").strip()
    drive = os.path.realpath(os.path.join(os.environ["WINEPREFIX"], "dosdevices", appdata[0].lower() + ":"))
    return os.path.join(drive, *appdata[3:].split("\\"), "Valdrix", "BrontivaSetup", "Backups")


class Backups(unittest.TestCase):
    def test_read_adds_one_backup_keeps_fifty_and_opens_to_the_form(self):
        work = tempfile.mkdtemp(prefix="quill-backup-")
        folder = backup_folder()
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        olds = ["2020-01-01 00-00-%02d COM3 1.05.sqc" % k for k in range(50)]
        for name in olds + ["mine.sqc"]:
            open(os.path.join(folder, name), "wb").close()
        state = os.path.join(work, "unit.state")
        shutil.copy(os.path.join(ROOT, "tools", "quill-sim", "quill-105.state"), state)
        H.register_com_port(3, H.start_sim("--state", state)[1])
        H.start_main()
        deadline = time.monotonic() + 20
        while not H.control(STATUS_LINE)["text"].startswith(b"COM3") and time.monotonic() < deadline:
            time.sleep(0.3)
        H.driver("command", READ)
        H.driver("wait-dialog", 60)
        self.assertEqual(H.dialog()["controls"][MESSAGE_TEXT_ID]["text"], H.table_text("E1", 2))
        H.driver("dialog-press", IDOK)
        H.driver("wait-no-dialog")

        deadline = time.monotonic() + 10
        while set(olds[:1]) <= set(os.listdir(folder)) and time.monotonic() < deadline:
            time.sleep(0.2)
        new = sorted(set(os.listdir(folder)) - set(olds) - {"mine.sqc"})
        self.assertEqual(len(new), 1, new)
        self.assertRegex(new[0], r"^\d{4}-\d\d-\d\d \d\d-\d\d-\d\d COM3 1\.05\.sqc$")
        self.assertEqual(set(os.listdir(folder)), set(olds[1:]) | {"mine.sqc", new[0]})

        read = H.selections()
        for n, s in list(read.items())[:3]:
            H.driver("select", n, (s + 1) % 2)
        self.assertNotEqual(H.selections(), read)
        # A copy with a plain name: the dialog's handling of blanks is not tested here.
        copy = os.path.join(work, "backup.sqc")
        shutil.copy(os.path.join(folder, new[0]), copy)
        H.driver("file-command", OPEN, "Z:" + copy.replace("/", "\\"))
        self.assertEqual(H.selections(), read, "the backup opens to the form the read showed")
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    H = Harness.from_args()
    try:
        result = unittest.main(verbosity=2, exit=False).result
    finally:
        H.stop_all()
    sys.exit(0 if result.wasSuccessful() else 1)
