"""The notification-area icon with real clicks: a left press shows the main
window, a right press opens the popup, "Verstecken" and "Anzeigen", the
minimised window hidden with its taskbar button, "Beenden" from the popup
(also while the window is hidden or a dialog is open), the tooltip and the
about box."""

import time
import unittest

from tavolin_e2e import (CAPTION, TavolinTestCase, click, key, probe, settings_bytes,
                         wait_until, xdotool)

ROWS = [("Editor", "C:\\Windows\\notepad.exe|", "120"),
        ("Grüße", "|Mit freundlichen Grüßen", "121")]

TASKBAR_Y = 758
# Two presses on the icon closer in time than this make a double click,
# which does nothing.
DOUBLE_CLICK_GAP = 0.6
POPUP_ITEMS = ["Anzeigen", "Verstecken", "Beenden"]


def icon_x(slot):
    """Icons line up from the right in the order they were added: icon
    slot (from 0) is centred here in the 1024 x 768 virtual desktop."""
    return 1024 - 20 * slot - 10


def has_taskbar_button(run):
    """Whether the taskbar shows a button for the main window: the shell's
    window buttons carry the window's handle as their identifier."""
    for bar in probe("windows", "--class", "Shell_TrayWnd"):
        for child in probe("children", bar["hwnd"]):
            if child["id"] == run.hwnd and child["visible"]:
                return True
    return False


def visible_popups(run):
    return [w for w in run.windows("#32768") if w["visible"]]


def close_popup(run):
    """Escape closes an open popup without choosing. (Under Wine a click
    beside a popup whose button was released outside it does not.)"""
    key("Escape", over=(100, 100))
    wait_until(lambda: not visible_popups(run), what="the popup closed")


def press_right_on_icon(run, x, timeout=5.0):
    """A right press on the icon; returns the popup that it opens. The
    button is released away from the popup: at the screen's corner the
    system may move the popup under the pointer, and a release over an item
    would choose it."""
    time.sleep(DOUBLE_CLICK_GAP)
    xdotool("mousemove", "--sync", x, TASKBAR_Y)
    xdotool("mousedown", 3)
    try:
        # Shown and placed: a popup is made visible before it is moved.
        return wait_until(lambda: [w for w in visible_popups(run) if w["rect"][2] > 0],
                          timeout=timeout, what="the tray popup")[0]
    finally:
        xdotool("mousemove", "--sync", 200, 150)
        xdotool("mouseup", 3)


class TrayTestCase(TavolinTestCase):
    def find_icon(self, run):
        """The x of the program's icon: a right press on each place of the
        notification area until the program's popup opens (icons of
        programs ended from outside may still stand to its right)."""
        for slot in range(8):
            x = icon_x(slot)
            try:
                press_right_on_icon(run, x, timeout=1.5)
            except AssertionError:
                key("Escape", over=(100, 100))   # another program's popup, if any
                continue
            close_popup(run)
            return x
        raise AssertionError("no icon of the program in the notification area")

    def open_popup(self, run, x):
        menu = press_right_on_icon(run, x)
        time.sleep(0.2)
        self.assertTrue(visible_popups(run), "the popup stays open after the release")
        return menu

    def choose_popup_item(self, run, x, name):
        menu = self.open_popup(run, x)
        left, top, right, bottom = menu["client"]
        height = (bottom - top) / len(POPUP_ITEMS)
        index = POPUP_ITEMS.index(name)
        click((left + right) // 2, top + height * index + height / 2)

    def wait_shown(self, run, maximized):
        window = wait_until(lambda: (lambda w: w if w["visible"] else None)(run.window()),
                            what="the main window shown")
        self.assertFalse(window["minimized"])
        self.assertEqual(window["maximized"], maximized)
        return window

    def wait_hidden(self, run):
        return wait_until(lambda: (lambda w: None if w["visible"] else w)(run.window()),
                          what="the main window hidden")

    def maximise(self, run):
        run.click_caption_button("maximize")
        wait_until(lambda: run.window()["maximized"], what="the window maximised")


class Tray(TrayTestCase):
    def test_minimising_hides_the_window_and_a_left_press_brings_it_back(self):
        for placement in ("normal", "maximised"):
            with self.subTest(placement=placement):
                run = self.start(name=placement)
                try:
                    self.minimise_and_bring_back(run, placement == "maximised")
                finally:
                    run.kill()   # the next placement needs the icon's place

    def minimise_and_bring_back(self, run, maximised):
        x = self.find_icon(run)
        if maximised:
            self.maximise(run)
        wait_until(lambda: has_taskbar_button(run), what="the taskbar button")

        run.click_caption_button("minimize")
        window = self.wait_hidden(run)
        self.assertTrue(window["minimized"])
        wait_until(lambda: not has_taskbar_button(run), what="the taskbar button gone")
        # It stays hidden: every later pass of the loop hides it again.
        time.sleep(0.5)
        self.assertFalse(run.window()["visible"])

        # The window comes back while the button is still down, as it was
        # before it was minimised.
        time.sleep(DOUBLE_CLICK_GAP)
        xdotool("mousemove", "--sync", x, TASKBAR_Y)
        xdotool("mousedown", 1)
        try:
            self.wait_shown(run, maximized=maximised)
        finally:
            xdotool("mouseup", 1)
        wait_until(lambda: has_taskbar_button(run), what="the taskbar button back")
        run.close_by_request()
        self.assertEndsWithZero(run)

    def test_popup_opens_at_the_pointer_with_its_three_items(self):
        run = self.start()
        x = self.find_icon(run)
        menu = self.open_popup(run, x)
        self.assertEqual(menu["owner"], run.hwnd)
        left, top, right, bottom = menu["rect"]
        # At the bottom-right corner the system moves the popup into the
        # screen; it still lies at the pointer. (Its exact place, one pixel
        # up and left of the pointer, is checked where it fits on the screen,
        # in the Windows-side tests.)
        self.assertLessEqual(left, x - 1)
        self.assertLess(x - 1, right)
        self.assertLessEqual(bottom, 768)
        self.assertLess(TASKBAR_Y - 1 - 120, top)
        # Three items of the menu's font height, none a separator.
        self.assertGreater(bottom - top, 3 * 12)
        close_popup(run)
        self.wait_shown(run, maximized=False)
        run.close_by_request()
        self.assertEndsWithZero(run)

    def test_verstecken_and_anzeigen(self):
        run = self.start()
        x = self.find_icon(run)

        # "Verstecken" hides without minimising; "Anzeigen" shows again.
        self.choose_popup_item(run, x, "Verstecken")
        window = self.wait_hidden(run)
        self.assertFalse(window["minimized"])
        wait_until(lambda: not has_taskbar_button(run), what="the taskbar button gone")
        self.choose_popup_item(run, x, "Anzeigen")
        self.wait_shown(run, maximized=False)
        wait_until(lambda: has_taskbar_button(run), what="the taskbar button back")

        # A left press on a shown window keeps it shown.
        time.sleep(DOUBLE_CLICK_GAP)
        click(x, TASKBAR_Y)
        time.sleep(0.3)
        self.wait_shown(run, maximized=False)

        with self.subTest(placement="maximised"):
            self.maximise(run)
            if run.window()["rect"][3] > TASKBAR_Y:
                # Wine's taskbar stays below a maximised window that covers
                # it; the Windows-side tests show this case.
                self.skipTest("the maximised window covers the notification area")
            # "Verstecken", then "Anzeigen": the normal size.
            self.choose_popup_item(run, x, "Verstecken")
            window = self.wait_hidden(run)
            self.assertFalse(window["minimized"])
            self.choose_popup_item(run, x, "Anzeigen")
            self.wait_shown(run, maximized=False)
            # "Anzeigen" on a shown, maximised window: the normal size too.
            self.maximise(run)
            self.choose_popup_item(run, x, "Anzeigen")
            self.wait_shown(run, maximized=False)

        run.close_by_request()
        self.assertEndsWithZero(run)

    def test_tooltip_is_the_display_title(self):
        run = self.start()
        x = self.find_icon(run)
        xdotool("mousemove", "--sync", x - 3, TASKBAR_Y - 2)
        time.sleep(0.2)
        xdotool("mousemove", "--sync", x, TASKBAR_Y)
        wait_until(lambda: [t for t in probe("windows", "--class", "tooltips_class32")
                            if t["visible"] and t["caption"] == CAPTION],
                   timeout=8, what="the tooltip")
        run.close_by_request()
        self.assertEndsWithZero(run)


class Quitting(TrayTestCase):
    def test_beenden_in_the_popup_writes_the_table_and_exits_with_0(self):
        def hidden(run, x):
            self.choose_popup_item(run, x, "Verstecken")
            self.wait_hidden(run)

        def dialog_open(run, x):
            run.click_button(3)   # the capture dialog, which owns no key yet
            wait_until(lambda: [w for w in run.windows() if w["caption"] == "Taste sperren"
                                and w["visible"]], what="the capture dialog")
            wait_until(lambda: not run.window()["enabled"], what="the main window disabled")

        situations = {"shown": lambda run, x: None, "hidden": hidden,
                      "dialog open": dialog_open}
        for name, prepare in situations.items():
            with self.subTest(situation=name):
                run = self.start(rows=ROWS, name=name.split()[0])
                try:
                    x = self.find_icon(run)
                    # A removal shows that this path writes the file.
                    run.click_row(0)
                    wait_until(lambda: run.button_enabled(4), what="button 4 enabled")
                    run.click_button(4)
                    wait_until(lambda: run.list()["count"] == 1, what="the row removed")
                    prepare(run, x)
                    self.choose_popup_item(run, x, "Beenden")
                    self.assertEndsWithZero(run)
                    self.assertEqual(run.settings(), settings_bytes(ROWS[1:]))
                finally:
                    run.kill()   # the next situation needs the icon's place


class AboutBox(TrayTestCase):
    def about_boxes(self, run):
        return [w for w in run.windows("#32770") if w["caption"] == "Informationen"]

    def test_about_box_owned_by_the_main_window(self):
        run = self.start()
        menu = run.open_menu(1)   # "Hilfe"
        left, top, right, bottom = menu["client"]
        click((left + right) // 2, (top + bottom) // 2)   # "Informationen"
        box = wait_until(lambda: self.about_boxes(run), what="the about box")[0]
        self.assertEqual(box["owner"], run.hwnd)
        self.assertFalse(run.window()["enabled"])

        children = probe("children", box["hwnd"])
        texts = [c["text"] for c in children
                 if c["class"].lower() == "static" and c["text"].startswith(CAPTION)]
        self.assertEqual(len(texts), 1, children)
        lines = texts[0].split("\r")
        self.assertEqual(lines[0], CAPTION)
        self.assertGreaterEqual(len(lines), 4)
        self.assertNotIn("\n", texts[0])
        buttons = [c for c in children if c["class"].lower() == "button" and c["visible"]]
        self.assertEqual([b["text"] for b in buttons], ["OK"])

        # The main window takes no click while the box is open.
        client = run.window()["client"]
        click(client[0] + 100, client[3] - 60)
        self.assertTrue(self.about_boxes(run))

        left, top, right, bottom = buttons[0]["screen"]
        click((left + right) // 2, (top + bottom) // 2)
        wait_until(lambda: not self.about_boxes(run), what="the about box closed")
        wait_until(lambda: run.window()["enabled"], what="the main window enabled")
        run.close_by_request()
        self.assertEndsWithZero(run)


if __name__ == "__main__":
    unittest.main(verbosity=2)
