#!/usr/bin/env python3
"""End to end without a unit: start-up, stored window placement, start-up error, about box
and entry dialog of BrontivaSetup.exe under Wine. A start costs the 3 s splash, so cases
share starts: a first one, one with a stored placement that also opens the dialogs, one
maximised (which stored values are taken is the native placement test's), one damaged.
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
# Stored before the second start: 320 px, narrower than the about box, which overhangs it.
STORED_RECT = (210, 160, 530, 660)


def placement_text(rect, show=1):
    return struct.pack("<11i", 44, 0, show, -1, -1, -1, -1, *rect).hex().upper()


def centred(dialog, parent):
    """Where centreOnParent puts `dialog`: halves truncated toward zero."""
    return tuple(parent[i] + int((parent[i + 2] - parent[i] - (dialog[i + 2] - dialog[i])) / 2) for i in (0, 1))


def start_and_wait():
    """Starts the program; returns it and the seconds to its main window, then waits for the
    status line's first text (from a timer: the loop runs, the stored placement is applied)."""
    start = time.monotonic()
    process = H.start_main()
    seconds = time.monotonic() - start
    H.wait_status(bool, 15)
    return process, seconds


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
        self.assertGreaterEqual(seconds, SPLASH_SECONDS - 0.5, "the window comes after the splash")
        self.assertTrue(H.reg_query(SETTINGS_KEY), "reading the language creates the key")
        self.assertIsNone(H.reg_query(SETTINGS_KEY, "WindowPlacement"))
        H.wait_status(b"???", 5)  # the first StatusTimer ticks
        H.driver("command", ID.IDC_READ_DEVICE)
        self.assertEqual(H.message(), (H.table_text("E1", 1), H.table_text("E", 5)))
        self.assertTrue(H.locked(), "without a unit from the start")
        self.assertEqual(H.close(process), 0)
        stored = H.reg_query(SETTINGS_KEY, "WindowPlacement") or b""
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
        about, window = H.dialog(), H.numbers("rect")
        self.assertEqual(about["title"], b"Sorvane Quill Alarm Setup")
        lines = (ID.IDC_ABOUT_LINE1, ID.IDC_ABOUT_LINE2, ID.IDC_ABOUT_LINE3, ID.IDC_ABOUT_LINE4, IDOK)
        self.assertEqual([about["controls"][i]["text"] for i in lines],
                         [H.table_text(key, 0) for key in ("A1", "A2", "A3", "A4")] + [b"OK"])
        self.assertEqual(about["rect"][:2], centred(about["rect"], window))
        self.assertLess(about["rect"][0], window[0], "wider than the window: overhangs")
        H.press(IDOK)

    def open_entry(self, field):
        H.driver("command", field, ID.IDN_FIELD_ENTRY)
        H.driver("wait-dialog")
        return H.dialog()

    def entry_state(self, dialog=None):
        controls = (dialog or H.dialog())["controls"]
        return controls[ID.IDC_ENTRY_EDIT]["text"], controls[IDOK]["enabled"]

    def test_c_entry_field_h_needs_exactly_six_digits(self):
        entry = self.open_entry(ID.IDC_TEXT_H)
        self.assertEqual([entry["title"], entry["controls"][IDOK]["text"], entry["controls"][IDCANCEL]["text"]],
                         [H.table_text("H", 0), H.table_text("Q1", 3), H.table_text("Q1", 4)])
        self.assertEqual(entry["rect"][:2], centred(entry["rect"], H.numbers("rect")))
        self.assertEqual(self.entry_state(entry), (b"", False))
        steps = [("type", "12345", b"12345", False), ("type", "6", b"123456", True),
                 ("type", "7", b"123456", True), ("back", 1, b"12345", False),
                 ("type", "a", b"12345", False), ("type", "9", b"123459", True)]
        for action, arg, text, ok in steps:
            H.driver("dialog-" + action, ID.IDC_ENTRY_EDIT, arg)
            self.assertEqual(self.entry_state(), (text, ok), "%s %s" % (action, arg))
        H.press(IDOK)
        self.assertEqual(H.texts(ID.IDC_TEXT_H), [b"123459"])
        self.open_entry(ID.IDC_TEXT_H)
        H.driver("dialog-type", ID.IDC_ENTRY_EDIT, "111111")
        H.press(IDCANCEL)
        self.assertEqual(H.texts(ID.IDC_TEXT_H), [b"123459"], "Cancel keeps the field")

    def test_d_entry_field_k_takes_up_to_two_digits(self):
        self.assertEqual(self.entry_state(self.open_entry(ID.IDC_TEXT_K)), (b"", True))
        H.driver("dialog-type", ID.IDC_ENTRY_EDIT, "123")
        self.assertEqual(self.entry_state(), (b"12", True))
        H.press(IDOK)
        self.assertEqual(H.texts(ID.IDC_TEXT_K), [b"12"])
        self.open_entry(ID.IDC_TEXT_K)
        H.press(IDOK)
        self.assertEqual(H.texts(ID.IDC_TEXT_K), [b""], "OK with nothing typed empties the field")

    def test_e_closing_stores_upper_case(self):
        self.assertEqual(H.close(self.process), 0)
        self.assertEqual(H.reg_query(SETTINGS_KEY, "WindowPlacement").decode("latin-1"), placement_text(STORED_RECT))


class C_ClosedMaximised(ProgramTest):
    def test_closed_maximised_reopens_maximised_and_exit_ends_the_program(self):
        SW_SHOWMAXIMIZED = 3
        H.reg_set(SETTINGS_KEY, "WindowPlacement", placement_text(STORED_RECT, show=SW_SHOWMAXIMIZED))
        process, _ = start_and_wait()
        try:
            self.assertEqual(H.numbers("placement")[0], SW_SHOWMAXIMIZED)
        finally:
            H.driver("command", ID.IDM_EXIT)
            self.assertEqual(process.wait(timeout=20), 0)


class D_DamagedTable(ProgramTest):
    def test_startup_error_box_and_exit_code(self):
        process = H.start("BrontivaSetupDamagedTable.exe")
        H.driver("wait-dialog", 20)
        box = H.dialog()
        self.assertEqual((box["title"], box["controls"][MESSAGE_TEXT]["text"]),
                         (b"Startup error", b"Error decrypt internal data"))
        buttons = [c for c in box["controls"].values() if c["class"].lower() == "button" and c["visible"]]
        self.assertEqual(len(buttons), 1, "OK only")
        self.assertFalse(H.driver("find-main", check=False), "no main window behind the box")
        H.driver("dialog-press", IDOK)
        self.assertEqual(process.wait(timeout=20), 1)


if __name__ == "__main__":
    H = Harness.from_args()
    H.run_tests()
