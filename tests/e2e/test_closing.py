"""Every way of ending the program writes the table and exits with code 0:
the close box, "Programm" > "Beenden", and a close request from another
program to the main window."""

import unittest

from tavolin_e2e import TavolinTestCase, probe, settings_bytes, wait_until

WM_QUERYENDSESSION = 0x0011
WM_ENDSESSION = 0x0016

ROWS = [("Editor", "C:\\Windows\\notepad.exe|", "120"),
        ("Grüße", "|Mit freundlichen Grüßen", "121")]


class Closing(TavolinTestCase):
    def test_each_way_of_closing_saves_the_table_and_exits_with_0(self):
        ways = {
            "close box": lambda run: run.close_by_close_box(),
            "Programm > Beenden": lambda run: run.close_by_menu(),
            "WM_CLOSE to the main window": lambda run: run.close_by_request(),
        }
        for name, close in ways.items():
            with self.subTest(way=name):
                run = self.start(rows=ROWS, name=name.split()[0])
                # A removal before closing shows that this path writes the file.
                self.remove_first_row(run)
                close(run)
                self.assertEndsWithZero(run)
                self.assertEqual(run.settings(), settings_bytes(ROWS[1:]))

    def remove_first_row(self, run):
        run.click_row(0)
        wait_until(lambda: run.button_enabled(4), what="button 4 enabled")
        run.click_button(4)
        wait_until(lambda: run.list()["count"] == 1, what="the row removed")

    def test_the_end_of_the_session_saves_the_table_once(self):
        # Windows ends the process after WM_ENDSESSION without a close
        # request: the table is written when the session really ends.
        run = self.start(rows=ROWS)
        self.remove_first_row(run)
        probe("send", run.hwnd, WM_QUERYENDSESSION, 0, 0)
        probe("send", run.hwnd, WM_ENDSESSION, 0, 0)
        self.assertEqual(run.settings(), settings_bytes(ROWS), "a cancelled end writes nothing")
        probe("send", run.hwnd, WM_ENDSESSION, 1, 0)
        self.assertEqual(run.settings(), settings_bytes(ROWS[1:]))

        # Once: a later close does not write again.
        with open(run.settings_path, "wb") as f:
            f.write(b"changed meanwhile\r\n")
        run.close_by_request()
        self.assertEndsWithZero(run)
        self.assertEqual(run.settings(), b"changed meanwhile\r\n")

    def test_a_process_killed_from_outside_writes_nothing(self):
        # The counterpart: the file changes only on the quit path.
        run = self.start(rows=ROWS)
        self.remove_first_row(run)
        run.kill()
        self.assertEqual(run.settings(), settings_bytes(ROWS))


if __name__ == "__main__":
    unittest.main(verbosity=2)
