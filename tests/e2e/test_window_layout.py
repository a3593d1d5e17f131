"""Resizing the main window with the mouse: the list keeps its top at y 40
and its bottom follows the window, column 2 fills the width, and the window
cannot be made smaller than it starts."""

import unittest

from tavolin_e2e import TavolinTestCase, drag, eventually, probe_one, settings_bytes, wait_until

ROWS = [("Editor", "C:\\Windows\\notepad.exe|", "120"),
        ("Daten", "C:\\Daten\\", "121")]


def size(rect):
    return rect[2] - rect[0], rect[3] - rect[1]


class Layout(TavolinTestCase):
    def setUp(self):
        super().setUp()
        self.menu_height = probe_one("metrics")["cymenu"]
        self.run = self.start(rows=ROWS)

    def assertLaidOut(self, what):
        eventually(lambda: self.checkLayout(what))

    def checkLayout(self, what):
        """The list lies at x 0, y 40, spans the inner width, its height is
        the layout height (inner height plus the menu bar metric) less the
        status bar and 60; column 2 fills the rest of the list's width."""
        window = self.run.window()
        inner_width, inner_height = size(window["client"])
        status = self.run.status()
        status_height = size(status["rect"])[1]
        self.assertGreaterEqual(status_height, 18)
        listing = self.run.list()
        left, top, right, bottom = listing["rect"]
        self.assertEqual((left, top), (0, 40), what)
        self.assertEqual(right - left, inner_width, what)
        self.assertEqual(bottom - top, inner_height + self.menu_height - status_height - 60)
        self.assertEqual(status["rect"][3], inner_height, "status bar at the bottom edge")
        self.assertEqual(size(status["rect"])[0], inner_width)
        # One field; room for the size grip unless maximised.
        status_width, status_height = size(status["rect"])
        grip = 0 if window["maximized"] else status_height - 3
        self.assertEqual(status["parts"], [status_width - grip])
        list_inner_width = size(listing["client"])[0]
        self.assertEqual(listing["widths"][:2], [100, 300])
        self.assertEqual(sum(listing["widths"]), list_inner_width, "column 2 fills the width")

    def drag_corner(self, dx, dy):
        left, top, right, bottom = self.run.window()["rect"]
        drag(right - 2, bottom - 2, right - 2 + dx, bottom - 2 + dy)

    def test_resize_follows_and_stops_at_the_initial_size(self):
        run = self.run
        initial = run.window()["rect"]
        self.assertLaidOut("at start")

        self.drag_corner(150, 90)
        grown = wait_until(lambda: run.window()["rect"] if run.window()["rect"] != initial else None,
                           what="the window to grow")
        self.assertEqual(grown[:2], initial[:2], "the top-left corner stays")
        self.assertEqual(size(grown), (size(initial)[0] + 150, size(initial)[1] + 90))
        self.assertLaidOut("grown")

        self.drag_corner(-400, -300)
        wait_until(lambda: run.window()["rect"] != grown, what="the window to shrink")
        self.assertEqual(run.window()["rect"], initial, "not smaller than the initial outer size")
        self.assertLaidOut("shrunk to the minimum")

        # The minimum holds per direction too: wider but not lower.
        self.drag_corner(60, -100)
        wait_until(lambda: size(run.window()["rect"])[0] == size(initial)[0] + 60, what="the window to widen")
        self.assertEqual(size(run.window()["rect"])[1], size(initial)[1])

        run.close_by_close_box()
        self.assertEndsWithZero(run)

    def test_the_header_does_not_resize_columns(self):
        run = self.run
        listing = run.list()
        left, top = listing["client"][0], listing["client"][1]
        # Drag the boundary between columns 0 and 1 to the right.
        drag(left + 100, top + 8, left + 160, top + 8)
        self.assertEqual(run.list()["widths"], listing["widths"])
        run.close_by_request()
        self.assertEndsWithZero(run)

    def test_maximise_and_restore_keep_column_2_filling(self):
        run = self.run
        initial = run.window()["rect"]
        run.click_caption_button("maximize")
        wait_until(lambda: run.window()["maximized"], what="the window to maximise")
        self.assertGreater(size(run.window()["client"])[0], 1000)
        self.assertLaidOut("maximised")

        run.click_caption_button("maximize")
        wait_until(lambda: not run.window()["maximized"], what="the window to be restored")
        self.assertEqual(run.window()["rect"], initial)
        self.assertLaidOut("restored")

        run.close_by_menu()
        self.assertEndsWithZero(run)
        self.assertEqual(run.settings(), settings_bytes(ROWS))


if __name__ == "__main__":
    unittest.main(verbosity=2)
