#!/usr/bin/env python3
"""End to end: reading the unit into the form and writing it back, through
the buttons of BrontivaSetup.exe under Wine, against quill-sim on COM3.

Program starts are few (each costs the three-second splash): one without a
unit, one for the read, the write and what happens around a read (commands
pressed during it, the unit going silent and coming back), one for closing
the window in the middle of a write. The unit answers after 15 ms, so a
read lasts a few seconds: long enough to act during it.
"""
import os
import signal
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from quill_e2e import Harness  # noqa: E402

H = None

IDOK = 1
MESSAGE_TEXT_ID = 0xFFFF
DEFAULTS, READ, WRITE = 5000, 5001, 5002
FIELDS = {5003: 181, 5004: 197, 15005: 213, 15006: 229, 5005: 245}
FIELD_K = 5006
STATUS_LINE = 5008
LANGUAGE_DEUTSCH, LANGUAGE_ENGLISH = 10000, 10001  # the pop-up lists Deutsch, English, Polski
ROWS = 50  # parameters of the unit 1.05 in the built-in table
OP_WRITE = 0x80


def unit_state():
    """Every row offers 4 choices and holds n % 4; row 1 holds 5 of 8, beyond
    the table's four choices but within the unit's own count."""
    lines = ["identity 105", "register 1 5", "count 1 8"]
    lines += ["register %d %d\ncount %d 4" % (n, n % 4, n) for n in range(2, ROWS + 1)]
    lines += ["register %d %d" % (181 + i, ord(c)) for i, c in enumerate("0123456789")]
    lines += ["register 245 0x34", "register 246 0x32", "register 252 0x59"]
    return "\n".join(lines) + "\n"


def expected_selections():
    return {n: (5 if n == 1 else n % 4) for n in range(1, ROWS + 1)}


class ProgramTest(unittest.TestCase):
    def message(self):
        """Waits for the message box; returns (title, text) and closes it."""
        H.driver("wait-dialog", 20)
        box = H.dialog()
        H.driver("dialog-press", IDOK)
        if not H.driver("wait-no-dialog", 10, check=False):
            other = H.dialog()
            self.fail("after %r a dialog stays: %r %r" % (box["title"], other["title"], other["controls"]))
        return box["title"], box["controls"][MESSAGE_TEXT_ID]["text"]

    def expect_message(self, title, text):
        self.assertEqual(self.message(), (H.table_text(*title), H.table_text(*text)))

    def wait_status(self, text, seconds):
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            if H.control(STATUS_LINE)["text"] == text:
                return time.monotonic()
            time.sleep(0.2)
        self.fail("status line never showed %r (shows %r)" % (text, H.control(STATUS_LINE)["text"]))

    def expect_locked(self):
        self.assertEqual([H.control(i)["enabled"] for i in (DEFAULTS, READ, WRITE)], [False, True, False])
        self.assertEqual(H.menu_states()[:3], ["0"] * 3, "disabled, not greyed")
        self.assertFalse(any(H.control(i)["visible"] for i in FIELDS))
        visible_lists = [w for w in H.describe()["window"] if w[1] == b"ComboBox" and w[2] == b"1"]
        self.assertEqual(visible_lists, [])


class A_NoUnit(ProgramTest):
    def test_read_without_a_unit(self):
        process = H.start_main()
        self.assertEqual(H.menu_states()[:3], ["0"] * 3)
        H.driver("command", READ)
        self.expect_message(("E1", 1), ("E", 5))
        self.assertEqual(H.control(WRITE)["enabled"], False)
        H.driver("close")
        self.assertEqual(H.wait_exit(process), 0)


class B_ReadAndWrite(ProgramTest):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(prefix="quill-transfer-")
        cls.state = os.path.join(cls.folder, "unit.state")
        cls.log = os.path.join(cls.folder, "frames.log")
        with open(cls.state, "w") as f:
            f.write(unit_state())
        cls.sim, pty = H.start_sim("--state", cls.state, "--latency", "15", log=cls.log)
        H.register_com_port(3, pty)
        cls.process = H.start_main()
        cls.connected = b"COM3 " + H.table_text("P", 2) + b" 1.05"

    @classmethod
    def tearDownClass(cls):
        H.stop_all()

    def writes_logged(self):
        with open(self.log, "rb") as log:
            return sum(1 for line in log if b"-> 56 80 " in line)

    def read(self):
        self.wait_status(self.connected, 20)
        H.driver("command", READ)
        self.expect_message(("Q1", 3), ("E1", 2))

    def test_a_read_shows_the_units_values(self):
        self.read()
        description = H.describe()
        self.assertEqual(H.selections(description), expected_selections(),
                         "row 1 keeps 5, beyond the table's four choices")
        self.assertEqual(H.window_text(5003), b"0123456789")
        self.assertEqual(H.window_text(5005), b"42")
        self.assertEqual(H.window_text(FIELD_K), b"59")
        self.assertEqual([H.control(i)["enabled"] for i in (DEFAULTS, READ, WRITE)], [True] * 3)
        self.assertEqual(H.menu_states()[:3], ["1"] * 3)

    def test_b_write_stores_the_form(self):
        H.driver("select", 1, 7)
        H.driver("select", 2, 0)
        H.driver("set-text", 5004, "5551234")
        H.driver("set-text", FIELD_K, "7")
        H.driver("command", WRITE)
        self.expect_message(("Q1", 3), ("E1", 3))
        registers = H.sim_registers(self.state)
        self.assertEqual(registers[1:4], [7, 0, 3])
        self.assertEqual(bytes(registers[197:213]), b"5551234" + bytes(9))
        self.assertEqual(bytes(registers[181:197]), b"0123456789" + bytes(6), "unchanged field rewritten as read")
        self.assertEqual(registers[252], 0x70)

    def test_c_commands_during_a_read_are_ignored(self):
        writes = self.writes_logged()
        H.driver("command", READ)
        time.sleep(0.5)
        for command in (WRITE, DEFAULTS, LANGUAGE_DEUTSCH, READ):
            H.driver("command", command)
        self.expect_message(("Q1", 3), ("E1", 2))
        self.assertFalse(H.driver("wait-dialog", 2, check=False), "one read, one message")
        self.assertEqual(self.writes_logged(), writes)
        self.assertEqual(H.control(READ)["text"], H.table_text("Q1", 2), "still English")
        expected = expected_selections()
        expected.update({1: 7, 2: 0})
        self.assertEqual(H.selections(), expected, "the defaults were not applied")

    def test_d_unit_silent_during_a_read_then_back(self):
        H.driver("command", READ)
        time.sleep(1.0)
        self.sim.send_signal(signal.SIGUSR1)  # silent: the cable is pulled
        gone = time.monotonic()
        self.expect_message(("E1", 1), ("E", 0))
        self.assertLess(self.wait_status(b"???", 10) - gone, 6.5 + 1.0)
        self.expect_locked()
        self.sim.send_signal(signal.SIGUSR1)  # answering again: plugged back in
        self.wait_status(self.connected, 20)
        self.expect_locked()
        H.driver("command", LANGUAGE_DEUTSCH)
        self.expect_locked()
        H.driver("command", LANGUAGE_ENGLISH)

    def test_e_closing_during_a_write_ends_the_program(self):
        self.read()
        before = self.writes_logged()
        H.driver("command", WRITE)
        time.sleep(1.0)
        H.driver("close")
        self.assertEqual(H.wait_exit(self.process), 0)
        writes = self.writes_logged() - before
        self.assertGreater(writes, 0)
        self.assertLess(writes, 2 * 90, "the write was cut short")
        time.sleep(1.0)
        self.assertEqual(self.writes_logged() - before, writes, "no request after the window went")


if __name__ == "__main__":
    H = Harness.from_args()
    H.run_tests()
