"""The main window of the real program: first start, the rows of a prepared
settings file, removing a row with toolbar button 4, and the status text."""

import os
import unittest

from tavolin_e2e import TavolinTestCase, key, settings_bytes, wait_until

SCREEN_WIDTH, SCREEN_HEIGHT = 1024, 768


def numbered_rows(count):
    return [("Taste %d" % i, "C:\\Programme\\werkzeug%d.exe|-x %d" % (i, i), str(112 + i))
            for i in range(count)]


THREE_ROWS = [
    ("Editor", "C:\\Windows\\notepad.exe|", "120"),
    ("Grüße", "|Mit freundlichen Grüßen", "121"),
    ("Daten", "C:\\Daten\\", "122"),
]


class FirstStart(TavolinTestCase):
    def test_fresh_account_gets_folders_and_an_empty_file(self):
        run = self.start(fresh=True)
        self.assertTrue(os.path.isdir(os.path.join(run.appdata, "Pellwick")))
        self.assertTrue(os.path.isdir(run.data_folder))
        self.assertEqual(run.settings(), b"")

        window = run.window()
        self.assertEqual(window["caption"], "Tavolin 1.0.4")
        self.assertTrue(window["visible"])
        self.assertTrue(window["menu"])
        self.assertFalse(window["minimized"] or window["maximized"])
        self.assertEqual(run.status_text(), "0 Tasten wurden geändert")
        listing = run.list()
        self.assertEqual(listing["count"], 0)
        self.assertEqual(listing["selected"], -1)
        self.assertFalse(listing["header_enabled"], "the header must be disabled")

        # Inner width 500, outer size centred on the screen.
        left, top, right, bottom = window["rect"]
        client = window["client"]
        self.assertEqual(client[2] - client[0], 500)
        self.assertEqual(left, max(0, (SCREEN_WIDTH - (right - left)) // 2))
        self.assertEqual(top, max(0, (SCREEN_HEIGHT - (bottom - top)) // 2))

        toolbar = run.toolbar(3, 4)
        self.assertEqual(toolbar["id"], -10000)
        self.assertTrue(toolbar["buttons"]["3"]["enabled"])
        self.assertTrue(toolbar["buttons"]["4"]["exists"])
        self.assertFalse(toolbar["buttons"]["4"]["enabled"])

        run.close_by_request()
        self.assertEndsWithZero(run)
        self.assertEqual(run.settings(), b"", "an empty table leaves 0 bytes")


class PreparedRows(TavolinTestCase):
    def test_rows_are_shown_in_file_order_with_the_status_count(self):
        cases = [
            (THREE_ROWS[:1], "1 Taste wird gesperrt"),
            (THREE_ROWS, "3 Tasten wurden geändert"),
            (numbered_rows(12), "12 Tasten wurden geändert"),
        ]
        for rows, status in cases:
            with self.subTest(rows=len(rows)):
                run = self.start(rows=rows, name="rows%d" % len(rows))
                self.assertEqual(run.rows(), rows)
                self.assertEqual(run.status_text(), status)
                self.assertFalse(run.button_enabled(4), "button 4 is disabled at start, rows or not")
                run.close_by_request()
                self.assertEndsWithZero(run)
                self.assertEqual(run.settings(), settings_bytes(rows), "rows written back unchanged")

    def test_loose_line_ends_are_read_and_written_back_as_cr_lf(self):
        run = self.start(settings=b"Eins\nC:\\a.exe|\n65\rZwei\r|x\r66")
        self.assertEqual(run.rows(), [("Eins", "C:\\a.exe|", "65"), ("Zwei", "|x", "66")])
        run.close_by_request()
        self.assertEndsWithZero(run)
        self.assertEqual(run.settings(), b"Eins\r\nC:\\a.exe|\r\n65\r\nZwei\r\n|x\r\n66\r\n")


class Removal(TavolinTestCase):
    def test_selected_row_is_removed_with_button_4(self):
        run = self.start(rows=THREE_ROWS)
        self.assertFalse(run.button_enabled(4))

        run.click_row(1)
        wait_until(lambda: run.list()["selected"] == 1, what="row 1 selected")
        self.assertTrue(run.button_enabled(4), "selecting a row enables button 4")

        run.click_button(4)
        wait_until(lambda: run.list()["count"] == 2, what="the row removed")
        self.assertEqual(run.rows(), [THREE_ROWS[0], THREE_ROWS[2]])
        self.assertEqual(run.list()["selected"], -1)
        self.assertFalse(run.button_enabled(4), "removal disables button 4")
        self.assertEqual(run.status_text(), "2 Tasten wurden geändert")

        # Button 4 without a selection removes nothing.
        run.click_button(4)
        self.assertEqual(run.list()["count"], 2)

        run.click_row(0)
        wait_until(lambda: run.button_enabled(4), what="button 4 enabled")
        run.click_below_rows()
        wait_until(lambda: not run.button_enabled(4), what="button 4 disabled by a click below the rows")
        self.assertEqual(run.list()["selected"], -1)

        run.close_by_menu()
        self.assertEndsWithZero(run)
        self.assertEqual(run.settings(), settings_bytes([THREE_ROWS[0], THREE_ROWS[2]]))

    def test_arrow_key_selection_enables_button_4(self):
        run = self.start(rows=THREE_ROWS)
        run.click_row(0)
        wait_until(lambda: run.button_enabled(4), what="button 4 enabled")
        run.click_below_rows()
        wait_until(lambda: not run.button_enabled(4), what="button 4 disabled")
        row_rect = run.list()["row_rects"][0]
        key("Down", over=(row_rect[0] + 30, row_rect[1] + 5))
        wait_until(lambda: run.list()["selected"] != -1, what="a row selected by the arrow key")
        self.assertTrue(run.button_enabled(4))

        run.click_button(4)
        wait_until(lambda: run.list()["count"] == 2, what="the row removed")
        self.assertEqual(run.status_text(), "2 Tasten wurden geändert")
        run.close_by_close_box()
        self.assertEndsWithZero(run)
        self.assertEqual(len(run.settings().split(b"\r\n")) - 1, 6)

    def test_removing_the_last_row_gives_the_zero_count_and_an_empty_file(self):
        run = self.start(rows=THREE_ROWS[:1])
        self.assertEqual(run.status_text(), "1 Taste wird gesperrt")
        run.click_row(0)
        wait_until(lambda: run.button_enabled(4), what="button 4 enabled")
        run.click_button(4)
        wait_until(lambda: run.list()["count"] == 0, what="the row removed")
        self.assertEqual(run.status_text(), "0 Tasten wurden geändert")
        run.close_by_request()
        self.assertEndsWithZero(run)
        self.assertEqual(run.settings(), b"")


if __name__ == "__main__":
    unittest.main(verbosity=2)
