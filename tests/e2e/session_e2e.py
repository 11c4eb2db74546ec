#!/usr/bin/env python3
"""End to end: one installer's session with BrontivaSetup.exe under Wine and quill-sim on
COM3 in one program start: a first read the unit refuses part-way, a read with its backup,
the wheel, the keyboard and a click (real X input), a write, the file commands, the printed
report, writes that stop (the unit lost during one, a refusal) and their unsent files, the unit
lost and back, the window closed during a write; then a start that prints in
Polski with the code page of a Polish Windows. The unit answers after 15 ms, so a read
lasts seconds: long enough to act during it. Cases run in name order, each on the last.
"""
import collections
import os
import pwd
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest
from unittest import mock

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from quill_e2e import (FILE_NAME_FIELD, FILTER_LIST, ID, IDCANCEL, IDOK, ROOT, SETTINGS_KEY,  # noqa: E402
                       VENDOR_KEY, Harness, copy_unit_105, run_wine, shown_windows, wait_until, wine_path)

H = None

ROWS = 50  # parameters of the unit 1.05 in the built-in table
LANGUAGE_DEUTSCH = ID.IDM_LANGUAGE_FIRST  # the pop-up lists Deutsch, English, Polski
DOTS = "." * 34
DPI, PAGE_POINTS = 300, 842  # the printer's A4 page at 300 dots per inch
KEEP = os.path.join(ROOT, "build", "run", "report")
CODEPAGE_1250 = {"LANG": "en_US.UTF-8", "LC_CTYPE": "pl_PL.ISO-8859-2"}  # scripts/wine-env
# (title, text) of the messages: a read done, a write done, a transfer interrupted.
READ_DONE, WRITTEN, INTERRUPTED = (("Q1", 3), ("E1", 2)), (("Q1", 3), ("E1", 3)), (("E1", 1), ("E", 0))


def unit_state():
    """Row n offers 4 choices and holds n % 4; row 1 holds 5 of 8, beyond the table's four."""
    lines = ["identity 105", "register 1 5", "count 1 8"]
    lines += ["register %d %d\ncount %d 4" % (n, n % 4, n) for n in range(2, ROWS + 1)]
    lines += ["register %d %d" % (181 + i, ord(c)) for i, c in enumerate("0123456789")]
    return "\n".join(lines + ["register 245 0x34", "register 246 0x32", "register 252 0x59"]) + "\n"


def unit_selections():
    return {n: (5 if n == 1 else n % 4) for n in range(1, ROWS + 1)}


def backup_folder():
    """The prefix's %APPDATA%\\Valdrix\\BrontivaSetup\\Backups as a Linux path."""
    appdata = run_wine(["cmd", "/c", "echo", "%APPDATA%"])[1].decode("latin-1").strip()
    drive = os.path.realpath(os.path.join(os.environ["WINEPREFIX"], "dosdevices", appdata[0].lower() + ":"))
    return os.path.join(drive, *appdata[3:].split("\\"), "Valdrix", "BrontivaSetup", "Backups")


def sqctool(*args):
    return subprocess.run([os.path.join(H.host_tools, "sqctool")] + list(args), capture_output=True, check=True)


def write(path, content):
    with open(path, "wb" if isinstance(content, bytes) else "w") as f:
        f.write(content)


def content(path):
    with open(path, "rb") as f:
        return f.read()


# --- the printed report (cups-pdf, made by scripts/setup) --------------------------


def new_pdfs(since):
    """cups-pdf reuses file names: a new job is a newer time in its Out folder (${HOME}/PDF)."""
    with open("/etc/cups/cups-pdf.conf") as conf:
        out = next((l.split(None, 1)[1].strip() for l in conf if l.startswith("Out ")), "${HOME}/PDF")
    user = pwd.getpwuid(os.getuid())
    folder = out.replace("${HOME}", user.pw_dir).replace("${USER}", user.pw_name)
    if not os.path.isdir(folder):  # cups-pdf makes it with its first job
        return []
    return [p for p in (os.path.join(folder, n) for n in os.listdir(folder) if n.endswith(".pdf"))
            if os.path.getmtime(p) > since]


def squeeze(text):
    """pdftotext may drop or add blanks between close words."""
    return re.sub(r"\s+", "", text)


def pdftotext(*args):
    return subprocess.run(["pdftotext"] + list(args) + ["-"], capture_output=True, check=True).stdout.decode()


def shown_rows():
    """(number, caption from its first blank, choice) of each shown row (its list's id is n)."""
    d = H.describe()
    statics = [w[8] for w in d["window"] if w[1].lower() == b"static"]
    selected = {int(c[0]): c[3] for c in d["choice"] if c[2] == b"1"}
    numbers = sorted(int(w[0]) for w in d["window"] if w[1].lower() == b"combobox" and 0 < int(w[0]) < 1000)
    return [(n, next(s for s in statics if s.startswith(b"%d. " % n))[len(b"%d." % n):], selected.get(n, b""))
            for n in numbers]


class A_Session(unittest.TestCase):
    def print_report(self, name, language, rows):
        """Prints and checks the text: heading with the time, column heads, rows, dots and the
        signature line. Returns the PDF, kept as build/run/report/<name>.pdf."""
        before = time.time()
        H.driver("command", ID.IDM_PRINT)
        H.driver("wait-dialog", 30)
        H.driver("dialog-press", IDOK)
        wait_until(lambda: new_pdfs(before), 60, "no PDF printed")
        time.sleep(1)  # cups-pdf writes, then hands the file over
        os.makedirs(KEEP, exist_ok=True)
        pdf = shutil.copyfile(max(new_pdfs(before), key=os.path.getmtime), os.path.join(KEEP, name + ".pdf"))
        p = [H.table_text("P", i, language).decode("cp1250") for i in range(7)]
        lines = [squeeze(line) for line in pdftotext("-layout", pdf).split("\n") if line.strip()]
        self.assertIn(lines[0], {squeeze(time.strftime(p[0], time.localtime(t)) + p[1] + time.strftime(
            "%H:%M", time.localtime(t)) + p[2] + "1.05") for t in (before, time.time())})
        rows = [squeeze("%d.%s%s" % (n, c.decode("cp1250"), v.decode("cp1250"))) for n, c, v in rows]
        self.assertEqual(lines[1:], [squeeze(p[3] + p[4] + p[5])] + rows + [DOTS, squeeze(p[6])])
        return pdf

    def check_page_break(self, pdf, rows):
        """Each row's number (leftmost "n.") and the dots lie on the page the arithmetic gives,
        page two's first row at its height; the line height is the rows' spacing on page one."""
        pages = pdftotext("-bbox", pdf).split("<page ")[1:]
        found = [(page, float(y), float(x), word) for page, text in enumerate(pages)
                 for x, y, word in re.findall(r'<word xMin="([\d.]+)" yMin="([\d.]+)"[^>]*>(.*)</word>', text)]
        numbers = [min((w for w in found if w[3] == "%d." % n), key=lambda w: w[2]) for n, _, _ in rows]
        first = [w for w in numbers if w[0] == 0]
        height = round((first[-1][1] - first[0][1]) / (len(first) - 1) * DPI / 72)
        usable = round(PAGE_POINTS * DPI / 72) - 2 * height
        bands = [(k * height // usable, height + k * height % usable) for k in range(3, len(rows) + 8)]
        self.assertEqual([w[0] for w in numbers], [b[0] for b in bands[:len(rows)]])
        k = [b[0] for b in bands].index(1)
        self.assertLess(k, len(rows), "the configuration fills more than a page")
        offset = first[0][1] - bands[0][1] * 72 / DPI  # from a band's top to the word
        self.assertAlmostEqual(numbers[k][1], bands[k][1] * 72 / DPI + offset, delta=0.5)
        self.assertEqual(next(w[0] for w in found if w[3] == DOTS), bands[len(rows) + 4][0])

    @classmethod
    def setUpClass(cls):
        H.reg_delete(VENDOR_KEY)
        cls.dir, cls.mounts = tempfile.mkdtemp(prefix="quill-session-"), []
        cls.state, cls.log = cls.path("unit.state"), cls.path("frames.log")
        write(cls.state, unit_state())
        cls.backups = backup_folder()
        shutil.rmtree(cls.backups, ignore_errors=True)
        os.makedirs(cls.backups)
        cls.old_backups = ["2020-01-01 00-00-%02d COM3 1.05.sqc" % k for k in range(50)] + ["mine.sqc"]
        for name in cls.old_backups:
            write(os.path.join(cls.backups, name), b"")
        cls.sim = H.unit_on_com3(cls.state, "--latency", "15", log=cls.log)
        cls.process = H.start_main()
        cls.connected = H.connected()
        H.wait_status(cls.connected)

    @classmethod
    def tearDownClass(cls):
        H.stop_all()
        for mount in cls.mounts:
            subprocess.run(["umount", mount], check=False)
        shutil.rmtree(cls.dir, ignore_errors=True)

    @classmethod
    def path(cls, name):
        return os.path.join(cls.dir, name)

    def writes_logged(self):
        with open(self.log, "rb") as log:
            return sum(1 for line in log if b"-> 56 80 " in line)

    def expect(self, message):
        self.assertEqual(H.message(60), tuple(H.table_text(*m) for m in message))

    def read(self):
        H.wait_status(self.connected)
        H.driver("command", ID.IDC_READ_DEVICE)
        self.expect(READ_DONE)

    def save(self, *names, command=ID.IDM_SAVE_FILE):
        H.driver("file-command", command, *[wine_path(self.path(n)) for n in names])

    def open(self, name):
        self.save(name, command=ID.IDM_OPEN_FILE)

    def select(self, values):
        for n, index in values.items():
            H.driver("select", n, index)

    def saved_selections(self, name):
        """{parameter: index} of a saved file, as sqctool reads it."""
        shown = sqctool("config", "show", self.path(name)).stdout.decode()
        return {int(l.split("=")[0]): int(l.split("=")[1].split("\t")[0]) for l in shown.splitlines()}

    def expect_commands_do_nothing(self):
        """Write, save and print of a locked form: nothing sent, saved or printed."""
        writes = self.writes_logged()
        H.driver("command", ID.IDC_WRITE_DEVICE)
        self.expect(INTERRUPTED)
        for command in (ID.IDM_SAVE_FILE, ID.IDM_PRINT, ID.IDC_RESET_DEFAULTS):
            H.driver("command", command)
        self.assertFalse(H.driver("wait-dialog", 2, check=False), "no file or print dialog")
        self.assertEqual(self.writes_logged(), writes)

    # --- reading -------------------------------------------------------------------

    def test_a_first_read_refused_part_way_leaves_a_locked_form(self):
        H.driver("command", ID.IDC_READ_DEVICE)
        time.sleep(1.0)
        self.sim.send_signal(signal.SIGWINCH)  # one refused register
        self.expect(INTERRUPTED)
        H.wait_status(self.connected, 5)  # the link has the unit again at once
        self.assertTrue(H.locked(), "what was never read must not be written, saved or printed")
        self.expect_commands_do_nothing()
        self.assertEqual(sorted(os.listdir(self.backups)), sorted(self.old_backups), "no backup of a part read")

    def test_b_read_shows_the_unit_and_is_backed_up_before_its_message(self):
        H.driver("command", ID.IDC_READ_DEVICE)
        H.driver("wait-dialog", 60)
        new = sorted(set(os.listdir(self.backups)) - set(self.old_backups))
        self.assertEqual(len(new), 1, "the backup is there while the message shows: %r" % new)
        self.assertRegex(new[0], r"^\d{4}-\d\d-\d\d \d\d-\d\d-\d\d COM3 1\.05\.sqc$")
        self.assertEqual(set(os.listdir(self.backups)), set(self.old_backups[1:] + new), "the oldest goes")
        self.expect(READ_DONE)
        d = H.describe()
        self.assertEqual(H.selections(d), unit_selections(), "row 1 keeps 5, beyond the table's four choices")
        self.assertEqual(H.texts(ID.IDC_TEXT_T1, ID.IDC_TEXT_H, ID.IDC_TEXT_K, d=d), [b"0123456789", b"42", b"59"])
        self.assertEqual([m[2] for m in d["menu"]][:3], [b"1"] * 3, "save, open and print enabled")
        # The backup opens to the form the read showed.
        shutil.copy(os.path.join(self.backups, new[0]), self.path("backup.sqc"))
        self.select({1: 0, 2: 1, 3: 0})
        self.open("backup.sqc")
        self.assertEqual(H.selections(), unit_selections())

    def test_c_wheel_scrolls_the_form_and_changes_no_list(self):
        read = H.selections()
        H.keys("Tab")  # from Read, which has had the focus since the first read
        self.assertEqual(H.focus(), 1)
        top = H.numbers("rect", 5)[1]
        pitch = H.numbers("rect", 6)[1] - top
        for target, notches, rows in ((1, 1, 3), (5, -1, 0), (9, 2, 6), (9, -2, 0)):  # focused list 1, closed lists
            H.point_at(target)
            H.wheel(notches)
            self.assertEqual(H.numbers("rect", 5)[1], top - rows * pitch, "wheel over list %d" % target)
        left, label_top, _, _ = H.numbers("rect", 9)
        H.xdotool("mousemove", left - 40, label_top + 8)  # over the caption of row 9
        H.wheel(1)
        self.assertEqual(H.numbers("rect", 5)[1], top - 3 * pitch, "wheel over a caption")
        H.wheel(-1)
        self.assertEqual(H.selections(), read, "no list changed its value")
        self.assertEqual(H.focus(), 1)

    # --- the keyboard alone ----------------------------------------------------------

    def tab(self, times, expected, key="Tab"):
        """Presses Tab (or `key`) that many times; the focus must come to `expected`."""
        H.xdotool("key", "--repeat", times, "--delay", 40, key)
        wait_until(lambda: H.focus() == expected, 5, lambda: "%d x %s: the focus is on %d" % (times, key, H.focus()))

    def through_box(self, opening, text="", seconds=10):
        """The keys `opening` open a box (a transfer's message, say); `text` and Return close it."""
        H.keys(*opening)
        H.driver("wait-dialog", seconds)
        H.xdotool("type", "--delay", 30, text)
        H.keys("Return")
        H.driver("wait-no-dialog")

    def test_d_keyboard_alone_reads_changes_writes_and_saves(self):
        self.tab(1, ID.IDC_READ_DEVICE, "shift+Tab")
        self.through_box(["Return"], seconds=60)
        self.assertEqual(H.focus(), ID.IDC_READ_DEVICE, "the focus comes back to the button")
        # Tab goes through the rows' lists, scrolling each into view, the fields
        # top to bottom and the buttons, and round again; Shift+Tab comes back.
        self.tab(1, 1)
        self.tab(ROWS - 1, ROWS)
        self.assertLess(H.numbers("rect", ROWS)[3], H.numbers("rect", ID.IDC_TEXT_T1)[1], "row 50 scrolled into view")
        for control in (ID.IDC_TEXT_T1, ID.IDC_TEXT_T2, ID.IDC_TEXT_T3, ID.IDC_TEXT_T4, ID.IDC_TEXT_H, ID.IDC_TEXT_K,
                        ID.IDC_RESET_DEFAULTS, ID.IDC_WRITE_DEVICE, ID.IDC_READ_DEVICE, 1):
            self.tab(1, control)
        self.tab(1, ID.IDC_READ_DEVICE, "shift+Tab")
        H.keys("Tab", "Down", "Tab", "End", "Tab", "Up")  # three rows with a list's keys
        # A phone number: a digit opens the entry box with it, Return takes it.
        self.tab(ROWS - 3 + 2, ID.IDC_TEXT_T2)
        self.through_box(["5"], "551234")
        self.assertEqual(H.focus(), ID.IDC_TEXT_T2)
        self.assertFalse(H.driver("wait-dialog", 1, check=False), "no box opens again")
        # Return opens an empty box, Escape leaves the field as it was.
        H.keys("Return")
        H.driver("wait-dialog", 10)
        self.assertEqual(H.dialog()["controls"][ID.IDC_ENTRY_EDIT]["text"], b"")
        H.keys("Escape")
        H.driver("wait-no-dialog")
        self.tab(6, ID.IDC_WRITE_DEVICE)
        self.through_box(["Return"], seconds=60)
        registers = H.sim_registers(self.state)
        self.assertEqual(registers[1:4], [6, 3, 2], "Down, End and Up")
        self.assertEqual(bytes(registers[197:213]), b"5551234" + bytes(9), "the digit, the box's text; not Escape's")
        # Save from the menu bar: F10, then Save (its first entry).
        self.through_box(["F10", "Return"], wine_path(self.path("keyboard.sqc")))
        self.assertEqual({n: i for n, i in self.saved_selections("keyboard.sqc").items() if n <= 3}, {1: 6, 2: 3, 3: 2})

    # --- writing -----------------------------------------------------------------

    def test_e_write_stores_the_form(self):
        self.select({1: 7, 2: 0})
        H.point_at(ID.IDC_TEXT_K)
        H.xdotool("click", 1)  # a click on a field opens its entry box
        H.driver("wait-dialog", 10)
        H.xdotool("type", "--delay", 30, "7")
        H.keys("Return")
        H.driver("wait-no-dialog")
        H.driver("command", ID.IDC_WRITE_DEVICE)
        self.expect(WRITTEN)
        registers = H.sim_registers(self.state)
        self.assertEqual(registers[1:4], [7, 0, 2])
        self.assertEqual(bytes(registers[181:197]), b"0123456789" + bytes(6), "unchanged field rewritten as read")
        self.assertEqual(registers[252], 0x70)

    def test_f_commands_during_a_read_are_ignored(self):
        writes = self.writes_logged()
        expected = dict(enumerate(H.sim_registers(self.state)[1:ROWS + 1], 1))  # what the read shows
        H.driver("command", ID.IDC_READ_DEVICE)
        time.sleep(0.5)
        for command in (ID.IDC_WRITE_DEVICE, ID.IDC_RESET_DEFAULTS, LANGUAGE_DEUTSCH, ID.IDC_READ_DEVICE):
            H.driver("command", command)
        self.expect(READ_DONE)
        self.assertFalse(H.driver("wait-dialog", 2, check=False), "one read, one message")
        self.assertEqual(self.writes_logged(), writes)
        self.assertEqual(H.control(ID.IDC_READ_DEVICE)["text"], H.table_text("Q1", 2), "still English")
        self.assertEqual(H.selections(), expected, "the defaults were not applied")

    # --- files -------------------------------------------------------------------

    def three_lists(self):
        """Three shown lists with room to move: (number, item count) each."""
        d = H.describe()
        counts = collections.Counter(int(c[0]) for c in d["choice"])
        return [(n, counts[n]) for n in sorted(int(w[0]) for w in shown_windows(d, b"combobox")) if counts[n] >= 3][:3]

    def small_tmpfs(self, name, options):
        """A 64 KB tmpfs at `name` of the test folder (skips where mounting is refused)."""
        folder = self.path(name)
        os.makedirs(folder, exist_ok=True)
        if subprocess.run(["mount", "-t", "tmpfs", "-o", options + ",size=64k", "tmpfs", folder],
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode != 0:
            self.skipTest("cannot mount a tmpfs here")
        self.mounts.append(folder)
        return folder

    def test_g_file_dialogs_are_set_up_and_cancel_changes_nothing(self):
        for command, initial in ((ID.IDM_SAVE_FILE, b"config.sqc"), (ID.IDM_OPEN_FILE, b"*.sqc")):
            H.driver("command", command)
            H.driver("wait-dialog")
            time.sleep(0.5)  # the folder view fills after the dialog shows
            controls = H.dialog()["controls"]
            self.assertEqual(controls[FILE_NAME_FIELD]["text"], initial)
            self.assertEqual(controls[FILTER_LIST]["text"], b"Sorvane Quill Alarm Setup Files (*.sqc)")
            H.press(IDCANCEL)
        self.assertFalse(H.driver("wait-dialog", 1, check=False), "cancel shows nothing")

    def test_h_save_then_open_restores_every_list_and_no_text_field(self):
        (a, count), (b, _), (c, _) = self.three_lists()
        self.select({a: count - 1, b: -1, c: 1})
        saved = H.selections()
        self.save("saved")
        self.assertEqual(self.saved_selections("saved.sqc"), saved, "the extension added; sqctool reads it")
        self.select({a: 0, b: 0, c: 0})
        H.driver("set-text", ID.IDC_TEXT_H, "123456")
        self.open("saved.sqc")
        d = H.describe()
        self.assertEqual(H.selections(d), saved)
        self.assertEqual(H.texts(ID.IDC_TEXT_H, d=d), [b"123456"], "opening leaves the text fields alone")

    def test_i_rejected_files_change_nothing(self):
        (a, _), (b, _), _ = self.three_lists()
        changed = bytearray(content(self.path("saved.sqc")))
        changed[len(changed) // 2] ^= 0x01
        # half.sqc: the first pair is good, the second not.
        write(self.path("half.txt"), "BRONTIVASETUP1.0\nT1 -\nT2 -\nT3 -\nT4 -\nH -\nK -\n%d 2\n%d x\n-1\n" % (a, b))
        sqctool("seal", self.path("half.txt"), self.path("half.sqc"))
        for name, data in (("empty.sqc", b""), ("text.sqc", b"BRONTIVASETUP1.0\nT1 -\n-1\n"),
                           ("changed.sqc", bytes(changed))):
            write(self.path(name), data)
        self.select({a: 1})
        before = H.selections()
        for name in ("empty.sqc", "text.sqc", "changed.sqc", "half.sqc"):
            with self.subTest(name):
                self.open(name)
                self.assertEqual(H.message()[1], H.table_text("E", 2))
                self.assertEqual(H.selections(), before)

    def test_j_unwritable_folder_is_e3_and_full_disk_e4_keeps_the_old_file(self):
        self.small_tmpfs("readonly", "ro")
        self.save("readonly/new")
        self.assertEqual(H.message()[1], H.table_text("E", 3))
        full = self.small_tmpfs("full", "rw")
        self.save("full/old")
        old = content(os.path.join(full, "old.sqc"))
        subprocess.run(["dd", "if=/dev/zero", "of=" + os.path.join(full, "filler"), "bs=4k"],
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.select({self.three_lists()[0][0]: 2})
        self.save("full/old")  # answers Yes to "replace?"
        self.assertEqual(H.message()[1], H.table_text("E", 4))
        self.assertEqual(content(os.path.join(full, "old.sqc")), old, "the old file byte for byte")
        self.assertEqual(sorted(os.listdir(full)), ["filler", "old.sqc"], "no temporary file left")

    def test_k_saves_in_one_second_are_identical_in_two_different(self):
        (a, _), (b, _), (c, _) = self.three_lists()
        for _ in range(5):
            self.save("twin1", "twin2")
            if len({int(os.stat(self.path(n)).st_mtime) for n in ("twin1.sqc", "twin2.sqc")}) == 1:
                break
        else:
            self.fail("two saves never fell in one second")
        self.assertEqual(content(self.path("twin1.sqc")), content(self.path("twin2.sqc")))
        time.sleep(1.1)
        self.save("later")
        self.assertNotEqual(content(self.path("twin1.sqc")), content(self.path("later.sqc")))
        # A file sqctool made: 99 is past the list (the first), 999 no row.
        self.select({a: 0, b: 1, c: 1})
        expected = {**H.selections(), a: 1, b: -1, c: 0}
        sqctool("config", "make", self.path("made.sqc"), "%d=1" % a, "%d=-1" % b, "%d=99" % c, "999=2")
        self.open("made.sqc")
        self.assertEqual(H.selections(), expected)

    # --- the report ---------------------------------------------------------------

    def test_l_report_pages_and_cancel(self):
        rows = shown_rows()
        self.check_page_break(self.print_report("english", "English", rows), rows)
        before = time.time()
        H.driver("command", ID.IDM_PRINT)
        H.driver("wait-dialog", 30)
        H.press(IDCANCEL)
        self.assertFalse(H.driver("wait-dialog", 5, check=False), "no message after a cancel")
        self.assertEqual(new_pdfs(before), [], "nothing printed")

    # --- the unit lost ------------------------------------------------------------

    def unsent_files(self):
        return sorted(n for n in os.listdir(self.backups) if n.endswith(" unsent.sqc"))

    def test_m_writes_that_stop_lock_the_form_and_keep_the_work(self):
        # A bad reply to the link's idle poll: it waits out its 5 s, then finds the unit
        # again. A write pressed meanwhile was for the connection that went: nothing of
        # it reaches the unit found again, and the form keeps the installer's rows.
        mine, writes = {1: 3, 2: 1}, self.writes_logged()
        self.select(mine)
        chosen = lambda: {n: v for n, v in H.selections().items() if n in mine}  # noqa: E731
        self.sim.send_signal(signal.SIGALRM)  # a wrong checksum in the next reply
        time.sleep(1.0)
        H.driver("command", ID.IDC_WRITE_DEVICE)
        self.expect(INTERRUPTED)
        self.assertEqual(self.writes_logged(), writes, "nothing written on the connection found again")
        self.assertTrue(H.locked())
        H.wait_status(self.connected, 10)
        self.assertTrue(H.locked(), "the unit found again is not the form's")
        self.assertEqual(len(self.unsent_files()), 1)
        self.assertRegex(self.unsent_files()[0], r"^\d{4}-\d\d-\d\d \d\d-\d\d-\d\d COM3 1\.05 unsent\.sqc$")
        self.expect_commands_do_nothing()
        # A write the unit refuses part-way: the form locks, its rows are kept; after a
        # new read (which shows the unit's own rows) the unsent file brings them back.
        self.read()
        self.assertFalse(H.locked())
        self.assertNotEqual(chosen(), mine)
        self.select(mine)
        H.driver("command", ID.IDC_WRITE_DEVICE)
        time.sleep(1.0)
        self.sim.send_signal(signal.SIGWINCH)  # one refused register, in the digit fields
        self.expect(INTERRUPTED)
        self.assertGreater(self.writes_logged(), writes, "the write went part-way")
        self.assertTrue(H.locked())
        unsent = self.unsent_files()
        self.assertEqual(len(unsent), 2)
        self.read()
        self.assertNotEqual(chosen(), mine, "the rows had not been written")
        shutil.copy(os.path.join(self.backups, unsent[-1]), self.path("unsent.sqc"))
        self.open("unsent.sqc")
        self.assertEqual(chosen(), mine)

    def test_n_unit_silent_during_a_read_then_back(self):
        H.driver("command", ID.IDC_READ_DEVICE)
        time.sleep(1.0)
        self.sim.send_signal(signal.SIGUSR1)  # silent: the cable is pulled
        gone, shown = time.time(), H.status_shown("???", 20)
        self.expect(INTERRUPTED)
        self.assertLess(shown() - gone, 6.5 + 1.0)
        self.assertTrue(H.locked())
        self.sim.send_signal(signal.SIGUSR1)  # answering again: plugged back in
        H.wait_status(self.connected)
        self.assertTrue(H.locked())
        H.driver("command", LANGUAGE_DEUTSCH)  # a rebuild and a layout
        self.assertTrue(H.locked(), "a language switch keeps the lock")
        H.driver("command", LANGUAGE_DEUTSCH + 1)

    def test_o_closing_during_a_write_ends_the_program(self):
        self.read()
        before = self.writes_logged()
        H.driver("command", ID.IDC_WRITE_DEVICE)
        time.sleep(1.0)
        self.assertEqual(H.close(self.process), 0)
        writes = self.writes_logged() - before
        self.assertGreater(writes, 0)
        self.assertLess(writes, 2 * 90, "the write was cut short")

    def test_p_report_in_polski_with_code_page_1250(self):
        with mock.patch.dict(os.environ, CODEPAGE_1250):  # program and driver, as on a Polish Windows
            os.environ.pop("LC_ALL", None)
            H.unit_on_com3(copy_unit_105(tempfile.mkdtemp(dir=self.dir)))
            H.reg_set(SETTINGS_KEY, "Language", "Polski")
            H.start_main()
            H.wait_status(H.connected("Polski"))
            H.driver("command", ID.IDC_READ_DEVICE)
            self.assertEqual(H.message(60)[1], H.table_text("E1", 2, "Polski"))
            self.print_report("polski", "Polski", shown_rows())
            H.stop_all()


if __name__ == "__main__":
    H = Harness.from_args()
    subprocess.run([os.path.join(ROOT, "scripts", "cups-start")], check=True)
    H.run_tests()
