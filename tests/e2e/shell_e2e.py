#!/usr/bin/env python3
"""End to end: start-up, the stored window placement, the start-up error,
the about box and the text entry dialog of BrontivaSetup.exe under Wine.

Each program start costs the three-second splash, so the cases share starts:
one first start (no unit: a read says so), one start with a valid stored
placement that also opens the dialogs, one with a maximised window (which
values are accepted is the native placement test's concern), one start of
the build with a damaged table. A session with a unit is session_e2e's.
"""
import os
import struct
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from quill_e2e import ID, IDCANCEL, IDOK, MESSAGE_TEXT, SETTINGS_KEY, VENDOR_KEY, Harness  # noqa: E402

H = None

SPLASH_SECONDS = 3.0
# The normal rectangle stored before the second start. 320 px is narrower
# than the about box, so that box overhangs the window on both sides.
STORED_RECT = (210, 160, 530, 660)


def placement_text(rect, length=44, show=1):
    return struct.pack("<11i", length, 0, show, -1, -1, -1, -1, *rect).hex().upper()


def centred(dialog, parent):
    """Where centreOnParent puts `dialog`: halves truncated toward zero."""
    def half(n):
        return int(n / 2)
    width, height = dialog[2] - dialog[0], dialog[3] - dialog[1]
    return (parent[0] + half((parent[2] - parent[0]) - width),
            parent[1] + half((parent[3] - parent[1]) - height))


def start_and_wait():
    """Starts the program; returns it and the seconds to its main window,
    once its message loop runs: the window shows before the stored placement
    is applied, and the status line's first text comes from a timer, which
    only the loop delivers."""
    start = time.monotonic()
    process = H.start_main()
    seconds = time.monotonic() - start
    H.wait_status(bool, 15)
    return process, seconds


def close(process):
    H.driver("close")
    return H.wait_exit(process)


class ProgramTest(unittest.TestCase):
    """Leaves no program running behind a failed case."""

    @classmethod
    def tearDownClass(cls):
        H.stop_all()


class A_FirstStart(ProgramTest):
    def test_first_start_creates_the_key_and_closing_stores_the_placement(self):
        H.reg_delete(VENDOR_KEY)
        self.assertIsNone(H.reg_query(SETTINGS_KEY))
        process, seconds = start_and_wait()
        # The window comes after the splash (generous margin: Wine start-up).
        self.assertGreaterEqual(seconds, SPLASH_SECONDS - 0.5)
        self.assertTrue(H.reg_query(SETTINGS_KEY), "reading the language creates the key")
        self.assertIsNone(H.reg_query(SETTINGS_KEY, "WindowPlacement"))
        H.wait_status(b"???", 5)  # the first StatusTimer ticks
        self.assertTrue(H.locked())
        H.driver("command", ID.IDC_READ_DEVICE)
        self.assertEqual(H.message(), (H.table_text("E1", 1), H.table_text("E", 5)))
        self.assertTrue(H.locked())
        self.assertEqual(close(process), 0)
        stored = H.reg_query(SETTINGS_KEY, "WindowPlacement")
        self.assertIsNotNone(stored)
        self.assertRegex(stored.decode("latin-1"), r"^2C000000[0-9A-F]{80}$")


class B_StoredPlacementAndDialogs(ProgramTest):
    """89 lower-case characters: applied. The dialogs run in the same start."""

    @classmethod
    def setUpClass(cls):
        H.reg_set(SETTINGS_KEY, "WindowPlacement", placement_text(STORED_RECT).lower() + "x")
        cls.process, _ = start_and_wait()

    def test_a_placement_applied(self):
        self.assertEqual(H.numbers("placement"), (1,) + STORED_RECT)

    def test_b_about_box(self):
        H.driver("command", ID.IDM_ABOUT)
        H.driver("wait-dialog")
        about = H.dialog()
        self.assertEqual(about["title"], b"Sorvane Quill Alarm Setup")
        lines = (ID.IDC_ABOUT_LINE1, ID.IDC_ABOUT_LINE2, ID.IDC_ABOUT_LINE3, ID.IDC_ABOUT_LINE4)
        for line, key in zip(lines, ("A1", "A2", "A3", "A4")):
            self.assertEqual(about["controls"][line]["text"], H.table_text(key, 0), key)
        self.assertEqual(about["controls"][IDOK]["text"], b"OK")
        self.assertEqual(about["rect"][:2], centred(about["rect"], H.numbers("rect")))
        self.assertLess(about["rect"][0], H.numbers("rect")[0], "wider than the window: overhangs")
        H.driver("dialog-press", IDOK)
        H.driver("wait-no-dialog")

    def open_entry(self, field):
        H.driver("command", field, ID.IDN_FIELD_ENTRY)
        H.driver("wait-dialog")
        return H.dialog()

    def entry_state(self):
        d = H.dialog()
        return d["controls"][ID.IDC_ENTRY_EDIT]["text"], d["controls"][IDOK]["enabled"]

    def press(self, button):
        H.driver("dialog-press", button)
        H.driver("wait-no-dialog")

    def test_c_entry_field_h_needs_exactly_six_digits(self):
        entry = self.open_entry(ID.IDC_TEXT_H)
        self.assertEqual(entry["title"], H.table_text("H", 0))
        self.assertEqual(entry["controls"][IDOK]["text"], H.table_text("Q1", 3))
        self.assertEqual(entry["controls"][IDCANCEL]["text"], H.table_text("Q1", 4))
        self.assertEqual(entry["rect"][:2], centred(entry["rect"], H.numbers("rect")))
        self.assertEqual(self.entry_state(), (b"", False))
        steps = [("type", "12345", b"12345", False), ("type", "6", b"123456", True),
                 ("type", "7", b"123456", True), ("back", 1, b"12345", False),
                 ("type", "a", b"12345", False), ("type", "9", b"123459", True)]
        for action, arg, text, ok in steps:
            H.driver("dialog-type" if action == "type" else "dialog-back", ID.IDC_ENTRY_EDIT, arg)
            self.assertEqual(self.entry_state(), (text, ok), "%s %s" % (action, arg))
        self.press(IDOK)
        self.assertEqual(H.window_text(ID.IDC_TEXT_H), b"123459")
        self.open_entry(ID.IDC_TEXT_H)
        H.driver("dialog-type", ID.IDC_ENTRY_EDIT, "111111")
        self.press(IDCANCEL)
        self.assertEqual(H.window_text(ID.IDC_TEXT_H), b"123459", "Cancel keeps the field")

    def test_d_entry_field_k_takes_up_to_two_digits(self):
        self.open_entry(ID.IDC_TEXT_K)
        self.assertEqual(self.entry_state(), (b"", True))
        H.driver("dialog-type", ID.IDC_ENTRY_EDIT, "123")
        self.assertEqual(self.entry_state(), (b"12", True))
        self.press(IDOK)
        self.assertEqual(H.window_text(ID.IDC_TEXT_K), b"12")
        self.open_entry(ID.IDC_TEXT_K)
        self.press(IDOK)
        self.assertEqual(H.window_text(ID.IDC_TEXT_K), b"", "OK with nothing typed empties the field")

    def test_e_closing_stores_upper_case(self):
        self.assertEqual(close(self.process), 0)
        stored = H.reg_query(SETTINGS_KEY, "WindowPlacement").decode("latin-1")
        self.assertEqual(stored, placement_text(STORED_RECT))


class C_ClosedMaximised(ProgramTest):
    """Which stored values are taken is the native placement test's; here:
    the exit command ends the program, and the show state comes back."""

    def test_closed_maximised_reopens_maximised(self):
        SW_SHOWMAXIMIZED = 3
        H.reg_set(SETTINGS_KEY, "WindowPlacement", placement_text(STORED_RECT, show=SW_SHOWMAXIMIZED))
        process, _ = start_and_wait()
        try:
            self.assertEqual(H.numbers("placement")[0], SW_SHOWMAXIMIZED)
        finally:
            H.driver("command", ID.IDM_EXIT)
            self.assertEqual(H.wait_exit(process), 0)


class D_DamagedTable(ProgramTest):
    def test_startup_error_box_and_exit_code(self):
        process = H.start("BrontivaSetupDamagedTable.exe")
        H.driver("wait-dialog", 20)
        box = H.dialog()
        self.assertEqual(box["title"], b"Startup error")
        self.assertEqual(box["controls"][MESSAGE_TEXT]["text"], b"Error decrypt internal data")
        buttons = [c for c in box["controls"].values() if c["class"].lower() == "button" and c["visible"]]
        self.assertEqual(len(buttons), 1, "OK only")
        self.assertFalse(H.driver("find-main", check=False))
        H.driver("dialog-press", IDOK)
        self.assertEqual(H.wait_exit(process), 1)
        self.assertFalse(H.driver("find-main", check=False))


if __name__ == "__main__":
    H = Harness.from_args()
    H.run_tests()
