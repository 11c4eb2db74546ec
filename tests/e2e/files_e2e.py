#!/usr/bin/env python3
"""End to end: saving and opening configuration files with BrontivaSetup.exe
under Wine, after a read from the simulated unit (the menu entries need one).

One program start serves every case. The file dialogs are answered by
quill-driver's file-command (the name goes into the dialog's own field, so
its default extension applies). "Cannot create" and "disk full" come from
small tmpfs mounts, read-only and full (root ignores permissions); those
cases are skipped where mounting is not allowed. With QUILL_E2E_SHOTS=DIR
the dialogs and message boxes are also saved as screenshots there.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from quill_e2e import ROOT, Harness  # noqa: E402

H = None

IDOK, IDCANCEL = 1, 2
EN_SETFOCUS = 256
MESSAGE_TEXT_ID = 0xFFFF
SAVE, OPEN, READ = 1000, 1001, 5001
FIELD_H, ENTRY_EDIT = 5005, 1000
FILE_NAME_FIELD, FILTER_LIST = 0x47C, 0x470
STATUS_LINE = 5008


def wine_path(path):
    return "Z:" + path.replace("/", "\\")


def shot(name):
    folder = os.environ.get("QUILL_E2E_SHOTS")
    if folder:
        os.makedirs(folder, exist_ok=True)
        subprocess.run(["import", "-window", "root", os.path.join(folder, name + ".png")], check=False)


def sqctool(*args, check=True):
    return subprocess.run([os.path.join(H.host_tools, "sqctool")] + list(args), capture_output=True, check=check)


class Files(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.dir = tempfile.mkdtemp(prefix="quill-files-")
        cls.mounts = []
        # A unit offering the table's choices (tools/quill-sim/quill-105.state).
        state = os.path.join(cls.dir, "unit.state")
        shutil.copy(os.path.join(ROOT, "tools", "quill-sim", "quill-105.state"), state)
        _, pty = H.start_sim("--state", state)
        H.register_com_port(3, pty)
        cls.process = H.start_main()
        deadline = time.monotonic() + 20
        while not H.control(STATUS_LINE)["text"].startswith(b"COM3") and time.monotonic() < deadline:
            time.sleep(0.3)
        H.driver("command", READ)
        box = cls.message_box(60)
        assert box == H.table_text("E1", 2), box
        cls.lists = cls.choice_lists()
        # Three lists with room to move, the saved state differing from the defaults.
        cls.a, cls.b, cls.c = [n for n, (_, count) in sorted(cls.lists.items()) if count >= 3][:3]

    @classmethod
    def tearDownClass(cls):
        H.stop_all()
        for mount in cls.mounts:
            subprocess.run(["umount", mount], check=False)
        shutil.rmtree(cls.dir, ignore_errors=True)

    @staticmethod
    def message_box(seconds=10, name=None):
        """Waits for a message box, returns its text and presses OK."""
        H.driver("wait-dialog", seconds)
        box = H.dialog()
        if name:
            shot(name)
        H.driver("dialog-press", IDOK)
        H.driver("wait-no-dialog")
        return box["controls"][MESSAGE_TEXT_ID]["text"]

    @staticmethod
    def choice_lists():
        """{parameter: (selection or -1, item count)} of the visible lists."""
        d = H.describe()
        lists = {int(w[0]): [-1, 0] for w in d["window"] if w[1].lower() == b"combobox" and w[2] == b"1"}
        for param, index, selected, _ in d.get("choice", []):
            if int(param) in lists:
                lists[int(param)][1] += 1
                if selected == b"1":
                    lists[int(param)][0] = int(index)
        return {n: tuple(v) for n, v in lists.items()}

    def selections(self):
        return {n: s for n, (s, _) in self.choice_lists().items()}

    def select(self, values):
        for n, index in values.items():
            H.driver("select", n, index)

    def path(self, name):
        return os.path.join(self.dir, name)

    def small_tmpfs(self, name, options):
        """A 64 KB tmpfs at `name` of the test folder (skips where mounting is refused)."""
        folder = self.path(name)
        os.makedirs(folder, exist_ok=True)
        if subprocess.run(["mount", "-t", "tmpfs", "-o", options + ",size=64k", "tmpfs", folder],
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode != 0:
            self.skipTest("cannot mount a tmpfs here")
        self.mounts.append(folder)
        return folder

    def save(self, *names):
        H.driver("file-command", SAVE, *[wine_path(self.path(n)) for n in names])

    def open_file(self, name):
        H.driver("file-command", OPEN, wine_path(self.path(name)))

    def test_a_dialogs_are_set_up_and_cancel_changes_nothing(self):
        for command, title, initial in ((SAVE, "save", b"config.sqc"), (OPEN, "open", b"*.sqc")):
            H.driver("command", command)
            H.driver("wait-dialog")
            time.sleep(0.5)  # the folder view fills after the dialog shows
            dialog = H.dialog()
            shot(title + "_dialog")
            self.assertEqual(dialog["controls"][FILE_NAME_FIELD]["text"], initial, title)
            self.assertEqual(dialog["controls"][FILTER_LIST]["text"], b"Sorvane Quill Alarm Setup Files (*.sqc)")
            H.driver("dialog-press", IDCANCEL)
            H.driver("wait-no-dialog")
        self.assertFalse(H.driver("wait-dialog", 1, check=False), "cancel shows nothing")

    def test_b_save_then_open_restores_every_list_and_no_text_field(self):
        self.select({self.a: self.lists[self.a][1] - 1, self.b: -1, self.c: 1})
        saved = self.selections()
        self.save("saved")
        self.assertTrue(os.path.exists(self.path("saved.sqc")), "the default extension is added")
        self.assertFalse(os.path.exists(self.path("saved")))
        shown = sqctool("config", "show", self.path("saved.sqc")).stdout.decode()
        self.assertEqual({int(l.split("=")[0]): int(l.split("=")[1].split("\t")[0]) for l in shown.splitlines()},
                         saved, "sqctool reads what the program saved")

        self.select({self.a: 0, self.b: 0, self.c: 0})
        H.driver("command", FIELD_H, EN_SETFOCUS)
        H.driver("wait-dialog")
        H.driver("dialog-type", ENTRY_EDIT, "123456")
        H.driver("dialog-press", IDOK)
        H.driver("wait-no-dialog")
        self.open_file("saved.sqc")
        self.assertEqual(self.selections(), saved)
        self.assertEqual(H.window_text(FIELD_H), b"123456", "opening leaves the text fields alone")

    def test_c_rejected_files_change_nothing(self):
        with open(self.path("saved.sqc"), "rb") as f:
            good = bytearray(f.read())
        changed = bytearray(good)
        changed[len(changed) // 2] ^= 0x01
        with open(self.path("half.txt"), "w") as f:  # the first pair is good, the second not
            f.write("BRONTIVASETUP1.0\nT1 -\nT2 -\nT3 -\nT4 -\nH -\nK -\n%d 2\n%d x\n-1\n" % (self.a, self.b))
        sqctool("seal", self.path("half.txt"), self.path("half.sqc"))
        files = {"empty.sqc": b"", "text.sqc": b"BRONTIVASETUP1.0\nT1 -\n-1\n", "changed.sqc": bytes(changed)}
        for name, content in files.items():
            with open(self.path(name), "wb") as f:
                f.write(content)
        self.select({self.a: 1})
        before = self.selections()
        for name in ("empty.sqc", "text.sqc", "changed.sqc", "half.sqc"):
            with self.subTest(name):
                self.open_file(name)
                self.assertEqual(self.message_box(name="E2_" + name), H.table_text("E", 2))
                self.assertEqual(self.selections(), before)

    def test_d_unwritable_folder_is_e3(self):
        folder = self.small_tmpfs("readonly", "ro")
        self.save("readonly/new")
        self.assertEqual(self.message_box(name="E3"), H.table_text("E", 3))
        self.assertEqual(os.listdir(folder), [])

    def test_e_full_disk_is_e4_and_keeps_the_old_file(self):
        folder = self.small_tmpfs("full", "rw")
        self.save("full/old")
        with open(os.path.join(folder, "old.sqc"), "rb") as f:
            old = f.read()
        subprocess.run(["dd", "if=/dev/zero", "of=" + os.path.join(folder, "filler"), "bs=4k"],
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.select({self.a: 2})
        self.save("full/old")  # answers Yes to "replace?"
        self.assertEqual(self.message_box(name="E4"), H.table_text("E", 4))
        with open(os.path.join(folder, "old.sqc"), "rb") as f:
            self.assertEqual(f.read(), old, "the old file byte for byte")
        self.assertEqual(sorted(os.listdir(folder)), ["filler", "old.sqc"], "no temporary file left")

    def test_f_saves_in_one_second_are_identical_in_two_different(self):
        for _ in range(5):
            self.save("twin1", "twin2")
            seconds = {int(os.stat(self.path(n)).st_mtime) for n in ("twin1.sqc", "twin2.sqc")}
            if len(seconds) == 1:
                break
        self.assertEqual(len(seconds), 1, "two saves never fell in one second")
        with open(self.path("twin1.sqc"), "rb") as one, open(self.path("twin2.sqc"), "rb") as two:
            self.assertEqual(one.read(), two.read())
        saved = self.selections()
        time.sleep(1.1)
        self.save("later")
        with open(self.path("twin1.sqc"), "rb") as one, open(self.path("later.sqc"), "rb") as later:
            self.assertNotEqual(one.read(), later.read())
        for name in ("twin1.sqc", "later.sqc"):
            self.select({self.a: 0, self.b: 0})
            self.open_file(name)
            self.assertEqual(self.selections(), saved, name)

    def test_g_opens_a_file_sqctool_made(self):
        self.select({self.a: 0, self.b: 1, self.c: 1})
        expected = self.selections()
        expected.update({self.a: 1, self.b: -1, self.c: 0})
        sqctool("config", "make", self.path("made.sqc"), "%d=1" % self.a, "%d=-1" % self.b, "%d=99" % self.c,
                "999=2")
        self.open_file("made.sqc")
        self.assertEqual(self.selections(), expected, "99 is past the list: the first; 999 is no row")


if __name__ == "__main__":
    H = Harness.from_args()
    H.run_tests()
