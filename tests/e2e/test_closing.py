"""Every way of ending the program writes the table and exits with code 0:
the close box, "Programm" > "Beenden", and a close request from another
program to the main window."""

import unittest

from tavolin_e2e import TavolinTestCase, settings_bytes, wait_until

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
                run.click_row(0)
                wait_until(lambda: run.button_enabled(4), what="button 4 enabled")
                run.click_button(4)
                wait_until(lambda: run.list()["count"] == 1, what="the row removed")
                close(run)
                self.assertEndsWithZero(run)
                self.assertEqual(run.settings(), settings_bytes(ROWS[1:]))

    def test_a_process_killed_from_outside_writes_nothing(self):
        # The counterpart: the file changes only on the quit path.
        run = self.start(rows=ROWS)
        run.click_row(0)
        wait_until(lambda: run.button_enabled(4), what="button 4 enabled")
        run.click_button(4)
        wait_until(lambda: run.list()["count"] == 1, what="the row removed")
        run.kill()
        self.assertEqual(run.settings(), settings_bytes(ROWS))


if __name__ == "__main__":
    unittest.main(verbosity=2)
