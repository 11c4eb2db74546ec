#!/usr/bin/env python3
"""End to end: the printed report under Wine on the default CUPS queue
(cups-pdf, made by scripts/setup), after a read from quill-sim. The PDF's
text shows the heading, every row the window shows, the dots and the
signature caption, in English and in Polski; the rows break onto page two
where the line arithmetic puts them; a cancelled print dialog prints
nothing. The PDFs stay in build/run/report/; QUILL_SHOTS=1 also
photographs the print dialog there.
"""
import glob
import os
import pwd
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from quill_e2e import ROOT, SETTINGS_KEY, Harness  # noqa: E402

H = None
IDOK, IDCANCEL, MESSAGE_TEXT_ID = 1, 2, 0xFFFF
READ_BUTTON, PRINT_COMMAND, STATUS_LINE = 5001, 1002, 5008
DOTS = "." * 34
DPI, PAGE_POINTS = 300, 842  # the queue's A4 page at 300 dots per inch
KEEP = os.path.join(ROOT, "build", "run", "report")
CODEPAGE_1250 = {"LANG": "en_US.UTF-8", "LC_CTYPE": "pl_PL.ISO-8859-2"}  # scripts/wine-env


def new_pdfs(since):
    """cups-pdf reuses file names: a new job shows as a newer time. Its Out
    folder is ${HOME}/PDF unless /etc/cups/cups-pdf.conf says otherwise."""
    with open("/etc/cups/cups-pdf.conf") as conf:
        out = next((l.split(None, 1)[1].strip() for l in conf if l.startswith("Out ")), "${HOME}/PDF")
    user = pwd.getpwuid(os.getuid())
    folder = out.replace("${HOME}", user.pw_dir).replace("${USER}", user.pw_name)
    return [p for p in glob.glob(os.path.join(folder, "*.pdf")) if os.path.getmtime(p) > since]


def squeeze(text):
    """pdftotext may drop or add blanks between close words."""
    return re.sub(r"\s+", "", text)


def pdftotext(*args):
    return subprocess.run(["pdftotext"] + list(args) + ["-"], capture_output=True, check=True).stdout.decode()


def shown_rows():
    """(number, caption from its first blank, choice) of the rows the window
    shows, read inside the program: a row's list has its number as id."""
    described = H.describe()
    statics = [w[8] for w in described["window"] if w[1].lower() == b"static"]
    selected = {int(c[0]): c[3] for c in described.get("choice", []) if c[2] == b"1"}
    numbers = sorted(int(w[0]) for w in described["window"] if w[1].lower() == b"combobox" and 0 < int(w[0]) < 1000)
    return [(n, next(s for s in statics if s.startswith(b"%d. " % n))[len(b"%d." % n):], selected.get(n, b""))
            for n in numbers]


def line_band(page_height, line_height, line):
    """(page, top) of line k."""
    usable = page_height - 2 * line_height
    return line * line_height // usable, line_height + line * line_height % usable


class ReportTest(unittest.TestCase):
    @classmethod
    def tearDownClass(cls):
        H.stop_all()

    def start_and_read(self, language):
        # A unit offering the table's choices (tools/quill-sim/quill-105.state).
        state = os.path.join(tempfile.mkdtemp(prefix="quill-report-"), "unit.state")
        shutil.copy(os.path.join(ROOT, "tools", "quill-sim", "quill-105.state"), state)
        sim, pty = H.start_sim("--state", state)
        H.register_com_port(3, pty)
        H.reg_set(SETTINGS_KEY, "Language", language)
        H.start_main()
        status = b"COM3 " + H.table_text("P", 2, language) + b" 1.05"
        deadline = time.monotonic() + 20
        while H.control(STATUS_LINE)["text"] != status:
            self.assertLess(time.monotonic(), deadline, "no unit in the status line")
            time.sleep(0.3)
        H.driver("command", READ_BUTTON)
        H.driver("wait-dialog", 60)
        self.assertEqual(H.dialog()["controls"][MESSAGE_TEXT_ID]["text"], H.table_text("E1", 2, language))
        H.driver("dialog-press", IDOK)
        H.driver("wait-no-dialog")

    def print_report(self, name):
        """Prints with the dialog's OK; returns the kept PDF and the times
        before and after."""
        before = time.time()
        H.driver("command", PRINT_COMMAND)
        H.driver("wait-dialog", 30)
        os.makedirs(KEEP, exist_ok=True)
        if os.environ.get("QUILL_SHOTS"):
            time.sleep(1)
            subprocess.run(["import", "-window", "root", os.path.join(KEEP, "print-dialog.png")])
        H.driver("dialog-press", IDOK)
        deadline = time.monotonic() + 60
        while not new_pdfs(before):
            self.assertLess(time.monotonic(), deadline, "no PDF printed")
            time.sleep(0.5)
        time.sleep(1)  # cups-pdf writes, then hands the file over
        kept = os.path.join(KEEP, name + ".pdf")
        shutil.copyfile(max(new_pdfs(before), key=os.path.getmtime), kept)
        return kept, before, time.time()

    def check_text(self, pdf, language, rows, before, after):
        p = [H.table_text("P", i, language).decode("cp1250") for i in range(7)]
        lines = [squeeze(line) for line in pdftotext("-layout", pdf).split("\n") if line.strip()]
        headings = {squeeze(time.strftime(p[0], time.localtime(t)) + p[1] + time.strftime("%H:%M", time.localtime(t))
                            + p[2] + "1.05") for t in (before, after)}
        self.assertIn(lines[0], headings)
        self.assertEqual(lines[1], squeeze(p[3] + p[4] + p[5]))
        self.assertEqual(lines[2:-2], [squeeze("%d.%s%s" % (n, c.decode("cp1250"), v.decode("cp1250")))
                                       for n, c, v in rows])
        self.assertEqual(lines[-2:], [DOTS, squeeze(p[6])])

    def check_page_break(self, pdf, rows):
        """Each row's number (leftmost word "n.") and the dots lie on the page
        the arithmetic gives, and page two's first row at its height. The
        line height is the rows' spacing on page one."""
        pages, found = -1, []
        for line in pdftotext("-bbox", pdf).split("\n"):
            pages += "<page " in line
            m = re.search(r'<word xMin="([\d.]+)" yMin="([\d.]+)"[^>]*>(.*)</word>', line)
            if m:
                found.append((pages, float(m.group(2)), float(m.group(1)), m.group(3)))
        numbers = [min((w for w in found if w[3] == "%d." % n), key=lambda w: w[2]) for n, _, _ in rows]
        first = [w for w in numbers if w[0] == 0]
        line_height = round((first[-1][1] - first[0][1]) / (len(first) - 1) * DPI / 72)
        page_height = round(PAGE_POINTS * DPI / 72)
        bands = [line_band(page_height, line_height, 3 + i) for i in range(len(rows) + 5)]
        self.assertEqual([w[0] for w in numbers], [b[0] for b in bands[:len(rows)]])
        k = [b[0] for b in bands].index(1)
        self.assertLess(k, len(rows), "the configuration fills more than a page")
        offset = first[0][1] - bands[0][1] * 72 / DPI  # from a band's top to the word
        self.assertAlmostEqual(numbers[k][1], bands[k][1] * 72 / DPI + offset, delta=0.5)
        self.assertEqual(next(w[0] for w in found if w[3] == DOTS), bands[len(rows) + 4][0])

    def check_cancel_prints_nothing(self):
        before = time.time()
        H.driver("command", PRINT_COMMAND)
        H.driver("wait-dialog", 30)
        H.driver("dialog-press", IDCANCEL)
        H.driver("wait-no-dialog")
        time.sleep(5)
        self.assertEqual(new_pdfs(before), [])
        self.assertFalse(H.driver("wait-dialog", 1, check=False), "no message after a cancel")


class A_English(ReportTest):
    def test_report_pages_and_cancel(self):
        self.start_and_read("English")
        rows = shown_rows()
        pdf, before, after = self.print_report("english")
        self.check_text(pdf, "English", rows, before, after)
        self.check_page_break(pdf, rows)
        self.check_cancel_prints_nothing()


class B_Polski(ReportTest):
    """Program and driver with code page 1250, as on a Polish Windows."""

    def setUp(self):
        self.saved = {k: os.environ.pop(k, None) for k in list(CODEPAGE_1250) + ["LC_ALL"]}
        os.environ.update(CODEPAGE_1250)

    def tearDown(self):
        for key, value in self.saved.items():
            os.environ.pop(key, None)
            if value is not None:
                os.environ[key] = value

    def test_report_with_polish_letters(self):
        self.start_and_read("Polski")
        rows = shown_rows()
        pdf, before, after = self.print_report("polski")
        self.check_text(pdf, "Polski", rows, before, after)


if __name__ == "__main__":
    H = Harness.from_args()
    subprocess.run([os.path.join(ROOT, "scripts", "cups-start")], check=True)
    H.run_tests()
