#!/usr/bin/env python3
"""End to end: start-up, the stored window placement, the start-up error,
the about box and the text entry dialog of BrontivaSetup.exe under Wine.

Each program start costs the three-second splash, so the cases share starts:
one first start, one start with a valid stored placement that also opens
the dialogs, one start per ignored placement, one start of the build with a
damaged table.
"""
import os
import signal
import struct
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from quill_e2e import SETTINGS_KEY, VENDOR_KEY, Harness, timed  # noqa: E402

H = None

SPLASH_SECONDS = 3.0
EN_SETFOCUS = 256
IDOK, IDCANCEL = 1, 2
MESSAGE_TEXT_ID = 0xFFFF
ENTRY_EDIT = 1000
FIELD_H, FIELD_K = 5005, 5006
ABOUT_COMMAND = 1003
EXIT_COMMAND = 1004
STATUS_LINE = 5008
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
    process, seconds = timed(lambda: (H.start(), H.driver("wait-main", 30))[0])
    return process, seconds


def close(process):
    H.driver("close")
    return H.wait_exit(process)


class ProgramTest(unittest.TestCase):
    """Leaves no program running behind a failed case."""

    @classmethod
    def tearDownClass(cls):
        H.stop_all()

    def wait_status(self, expected, seconds):
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            if H.text(STATUS_LINE) == expected:
                return
            time.sleep(0.3)
        self.fail("status line %r, expected %r" % (H.text(STATUS_LINE), expected))


class A_FirstStart(ProgramTest):
    def test_first_start_creates_the_key_and_closing_stores_the_placement(self):
        H.reg_delete(VENDOR_KEY)
        self.assertIsNone(H.reg_query(SETTINGS_KEY))
        process, seconds = start_and_wait()
        # The window comes after the splash (generous margin: Wine start-up).
        self.assertGreaterEqual(seconds, SPLASH_SECONDS - 0.5)
        self.assertTrue(H.reg_query(SETTINGS_KEY), "reading the language creates the key")
        self.assertIsNone(H.reg_query(SETTINGS_KEY, "WindowPlacement"))
        self.wait_status(b"???", 5)  # the first StatusTimer ticks
        menu = H.describe()["menu"]
        self.assertEqual([m["enabled"] for m in menu], [False, False, False, True, True, True])
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
        self.assertEqual(H.placement(), (1,) + STORED_RECT)

    def test_b_about_box(self):
        H.driver("command", ABOUT_COMMAND)
        H.driver("wait-dialog")
        about = H.dialog()
        self.assertEqual(about["title"], b"Sorvane Quill Alarm Setup")
        for line, key in zip((1001, 1002, 1003, 1004), ("A1", "A2", "A3", "A4")):
            self.assertEqual(about["controls"][line]["text"], H.table_text(key, 0), key)
        self.assertEqual(about["controls"][IDOK]["text"], b"OK")
        self.assertEqual(about["rect"][:2], centred(about["rect"], H.rect()))
        self.assertLess(about["rect"][0], H.rect()[0], "wider than the window: overhangs")
        H.driver("dialog-press", IDOK)
        H.driver("wait-no-dialog")

    def open_entry(self, field):
        H.driver("command", field, EN_SETFOCUS)
        H.driver("wait-dialog")
        return H.dialog()

    def entry_state(self):
        d = H.dialog()
        return d["controls"][ENTRY_EDIT]["text"], d["controls"][IDOK]["enabled"]

    def field_text(self, field):
        # The fields are password edits: read from inside the program.
        return H.describe()["windows"][field][0]["text"]

    def press(self, button):
        H.driver("dialog-press", button)
        H.driver("wait-no-dialog")

    def test_c_entry_field_h_needs_exactly_six_digits(self):
        entry = self.open_entry(FIELD_H)
        self.assertEqual(entry["title"], H.table_text("H", 0))
        self.assertEqual(entry["controls"][IDOK]["text"], H.table_text("Q1", 3))
        self.assertEqual(entry["controls"][IDCANCEL]["text"], H.table_text("Q1", 4))
        self.assertEqual(entry["rect"][:2], centred(entry["rect"], H.rect()))
        self.assertEqual(self.entry_state(), (b"", False))
        steps = [("type", "12345", b"12345", False), ("type", "6", b"123456", True),
                 ("type", "7", b"123456", True), ("back", 1, b"12345", False),
                 ("type", "a", b"12345", False), ("type", "9", b"123459", True)]
        for action, arg, text, ok in steps:
            H.driver("dialog-type" if action == "type" else "dialog-back", ENTRY_EDIT, arg)
            self.assertEqual(self.entry_state(), (text, ok), "%s %s" % (action, arg))
        self.press(IDOK)
        self.assertEqual(self.field_text(FIELD_H), b"123459")
        self.open_entry(FIELD_H)
        H.driver("dialog-type", ENTRY_EDIT, "111111")
        self.press(IDCANCEL)
        self.assertEqual(self.field_text(FIELD_H), b"123459", "Cancel keeps the field")

    def test_d_entry_field_k_takes_up_to_two_digits(self):
        self.open_entry(FIELD_K)
        self.assertEqual(self.entry_state(), (b"", True))
        H.driver("dialog-type", ENTRY_EDIT, "123")
        self.assertEqual(self.entry_state(), (b"12", True))
        self.press(IDOK)
        self.assertEqual(self.field_text(FIELD_K), b"12")
        self.open_entry(FIELD_K)
        self.press(IDOK)
        self.assertEqual(self.field_text(FIELD_K), b"", "OK with nothing typed empties the field")

    def test_e_closing_stores_upper_case(self):
        self.assertEqual(close(self.process), 0)
        stored = H.reg_query(SETTINGS_KEY, "WindowPlacement").decode("latin-1")
        self.assertEqual(stored, placement_text(STORED_RECT))


class C_MorePlacements(ProgramTest):
    """One start per stored value; the exit command (1004) ends each."""

    def test_stored_values_at_start(self):
        valid = placement_text(STORED_RECT)
        SW_SHOWNORMAL, SW_SHOWMAXIMIZED = 1, 3
        cases = [
            ("87 characters", valid[:87], None),
            ("90 characters", valid + "00", None),
            ("length field 45", placement_text(STORED_RECT, length=45), None),
            ("closed maximised", placement_text(STORED_RECT, show=SW_SHOWMAXIMIZED), SW_SHOWMAXIMIZED),
            # A hidden window could never be reached again: shown normally.
            ("stored hidden", placement_text(STORED_RECT, show=0), SW_SHOWNORMAL),
        ]
        for name, value, show in cases:
            with self.subTest(name):
                H.reg_set(SETTINGS_KEY, "WindowPlacement", value)
                process, _ = start_and_wait()
                try:
                    placement = H.placement()
                finally:
                    H.driver("command", EXIT_COMMAND)
                    self.assertEqual(H.wait_exit(process), 0)
                if show is None:
                    self.assertNotEqual(placement[1:], STORED_RECT, "ignored")
                elif show == SW_SHOWMAXIMIZED:
                    # Wine reports the maximised rectangle as the normal one.
                    self.assertEqual(placement[0], show)
                else:
                    self.assertEqual(placement, (show,) + STORED_RECT)


class D_DamagedTable(ProgramTest):
    def test_startup_error_box_and_exit_code(self):
        process = H.start("BrontivaSetupDamagedTable.exe")
        H.driver("wait-dialog", 20)
        box = H.dialog()
        self.assertEqual(box["title"], b"Startup error")
        self.assertEqual(box["controls"][MESSAGE_TEXT_ID]["text"], b"Error decrypt internal data")
        buttons = [c for c in box["controls"].values() if c["class"].lower() == "button" and c["visible"]]
        self.assertEqual(len(buttons), 1, "OK only")
        self.assertFalse(H.driver_ok("find-main"))
        H.driver("dialog-press", IDOK)
        self.assertEqual(H.wait_exit(process), 1)
        self.assertFalse(H.driver_ok("find-main"))


class E_ConnectionStatus(ProgramTest):
    def test_unit_found_then_gone(self):
        started = H.start_sim("--identity", "105")
        self.assertIsNotNone(started, "quill-sim is not built")
        sim, pty = started
        H.register_com_port(3, pty)
        process, _ = start_and_wait()
        self.wait_status(b"COM3 " + H.table_text("P", 2) + b" 1.05", 20)
        sim.send_signal(signal.SIGUSR1)  # silent: the next identity poll fails
        self.wait_status(b"???", 15)
        self.assertFalse(H.state(5000)["enabled"])
        self.assertFalse(H.state(5002)["enabled"])
        self.assertTrue(H.state(5001)["enabled"])
        self.assertEqual([m["enabled"] for m in H.describe()["menu"]][:3], [False] * 3)
        self.assertEqual(close(process), 0)


if __name__ == "__main__":
    H = Harness.from_args()
    try:
        result = unittest.main(verbosity=2, exit=False).result
    finally:
        H.stop_all()
        H.reg_delete(VENDOR_KEY)  # the next run of the program starts fresh
    sys.exit(0 if result.wasSuccessful() else 1)
