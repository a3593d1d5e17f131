"""The road of a new assignment, with real clicks and keys: toolbar button
3, a key pressed in the capture dialog, the edit dialog filled through its
fields, choosers and the character picker, "Fertig stellen", and after
quitting the rows' exact bytes in the settings file."""

import time
import unittest

from tavolin_e2e import (TavolinTestCase, click, key, probe, settings_bytes, wait_until,
                         xdotool)

CAPTURE = "Taste sperren"
EDIT = "Taste ändern"
PICKER = "Zeichenauswahl"
# Keys to capture (xdotool name, virtual-key code); each assignment takes
# a key of its own, since a key that has a row is swallowed from then on.
F7, F8, F9, F11 = ("F7", 118), ("F8", 119), ("F9", 120), ("F11", 122)


class Dialogs(TavolinTestCase):

    # ---- looking for the program's windows --------------------------------

    def top_window(self, run, caption=None, class_name=None):
        for window in run.windows(class_name):
            if window["visible"] and (caption is None or window["caption"] == caption):
                return window
        return None

    def wait_window(self, run, caption=None, class_name=None):
        return wait_until(lambda: self.top_window(run, caption, class_name), timeout=10,
                          what="window %r" % (caption or class_name))

    def wait_gone(self, run, caption):
        wait_until(lambda: self.top_window(run, caption) is None, timeout=10,
                   what="window %r closed" % caption)

    def controls(self, window):
        return {child["id"]: child for child in probe("children", window["hwnd"])}

    def click_control(self, window, number):
        left, top, right, bottom = self.controls(window)[number]["screen"]
        click((left + right) // 2, (top + bottom) // 2)

    def text_of(self, window, number):
        return self.controls(window)[number]["text"]

    def type_into(self, window, number, text):
        self.click_control(window, number)
        xdotool("type", "--delay", "40", "--", text)
        time.sleep(0.2)

    # ---- steps of the road ------------------------------------------------

    def capture(self, run, key_name):
        """Toolbar button 3, then the key: gives the edit dialog."""
        run.click_button(3)
        capture = self.wait_window(run, CAPTURE)
        self.assertFalse(run.window()["enabled"], "main window disabled while capturing")
        key(key_name, over=(capture["client"][0] + 20, capture["client"][1] + 100))
        self.wait_gone(run, CAPTURE)
        edit = self.wait_window(run, EDIT)
        self.assertFalse(run.window()["enabled"], "main window disabled behind the edit dialog")
        return edit

    def choose_file(self, run, edit, path):
        self.click_control(edit, 211)
        chooser = self.wait_window(run, "Datei auswählen")
        time.sleep(0.5)
        # The file name box has the focus.
        xdotool("type", "--delay", "30", "--", path)
        key("Return", over=(chooser["client"][0] + 10, chooser["client"][1] + 10))
        self.wait_gone(run, "Datei auswählen")

    def browse_folder(self, run, edit, keys, confirm=True):
        """The folder browser, its tree moved by keys, then OK or Cancel."""
        self.click_control(edit, 214)
        browser = self.wait_window(run, class_name="#32770")
        time.sleep(0.5)
        inside = (browser["client"][0] + 10, browser["client"][1] + 10)
        if keys:
            key(*keys, over=inside)
        time.sleep(0.3)
        self.click_control(browser, 1 if confirm else 2)
        wait_until(lambda: self.top_window(run, class_name="#32770") is None, timeout=10,
                   what="the folder browser closed")

    def pick_characters(self, run, edit, keys):
        """Opens the picker, selects an item with the keyboard and adds it."""
        self.click_control(edit, 217)
        picker = self.wait_window(run, PICKER)
        self.assertFalse(self.top_window(run, EDIT)["enabled"], "edit dialog disabled")
        controls = self.controls(picker)
        self.assertFalse(controls[304]["enabled"], "Hinzufügen disabled on opening")
        left, top, right, bottom = controls[302]["screen"]
        click(left + 30, top + 25)   # the first item, the blank
        key(*keys, over=(left + 30, top + 25))
        wait_until(lambda: self.controls(picker)[304]["enabled"], what="Hinzufügen enabled")
        self.click_control(picker, 304)
        self.wait_gone(run, PICKER)
        wait_until(lambda: self.top_window(run, EDIT)["enabled"], what="edit dialog enabled")

    def complete(self, run, edit, rows_before):
        self.click_control(edit, 221)
        self.wait_gone(run, EDIT)
        wait_until(lambda: run.list()["count"] == rows_before + 1, what="the new row")
        self.assertTrue(run.window()["enabled"])

    # ---- the tests --------------------------------------------------------

    def test_each_function_along_the_whole_road(self):
        run = self.start(fresh=True)

        # A file with parameters; its folder must exist, the file need not.
        edit = self.capture(run, F11[0])
        self.type_into(edit, 203, "Report")
        self.choose_file(run, edit, "C:\\windows\\run.exe")
        self.assertEqual(self.text_of(edit, 210), "C:\\windows\\run.exe")
        self.type_into(edit, 220, "-q -x")
        self.complete(run, edit, 0)
        self.assertEqual(run.status_text(), "1 Taste wird gesperrt")

        # A folder: "Documents" is one above the preselected "My Computer".
        edit = self.capture(run, F9[0])
        self.type_into(edit, 203, "Daten")
        self.click_control(edit, 207)
        self.browse_folder(run, edit, ["Up"])
        folder = self.text_of(edit, 213)
        self.assertRegex(folder, r"^C:\\users\\[^\\]+\\Documents\\$")
        self.complete(run, edit, 1)

        # Typed and picked characters: the last two codes, 255 and 254.
        edit = self.capture(run, F8[0])
        self.type_into(edit, 203, "Gruss")
        self.click_control(edit, 208)
        self.type_into(edit, 216, "mfg ")
        self.pick_characters(run, edit, ["End"])
        self.pick_characters(run, edit, ["End", "Left"])
        self.assertEqual(self.text_of(edit, 216), "mfg \u00ff\u00fe")
        self.complete(run, edit, 2)
        self.assertEqual(run.status_text(), "3 Tasten wurden geändert")

        # The text key acts at once: its text goes to the clipboard.
        key(F8[0])
        wait_until(lambda: probe("clipboard")[0]["text"] == "mfg \u00ff\u00fe",
                   what="the text on the clipboard")

        expected = [("Report", "C:\\windows\\run.exe|-q -x", "122"),
                    ("Daten", folder, "120"),
                    ("Gruss", "Ausgabe:mfg \u00ff\u00fe", "119")]
        self.assertEqual(run.rows(), expected)
        run.close_by_request()
        self.assertEndsWithZero(run)
        self.assertEqual(run.settings(), settings_bytes(expected))

    def test_cancelling_keeps_everything_and_empty_fields_still_make_a_row(self):
        first = ("Alt", "C:\\alt.exe|", "124")   # F13: a key the test never types
        run = self.start(rows=[first])

        # "Abbrechen" of the capture dialog.
        run.click_button(3)
        capture = self.wait_window(run, CAPTURE)
        self.click_control(capture, 104)
        self.wait_gone(run, CAPTURE)
        self.assertTrue(run.window()["enabled"])

        # A letter taken as the key is not typed into the label field: it
        # went to the capture dialog, where it was pressed.
        edit = self.capture(run, "n")
        time.sleep(0.3)
        self.assertEqual(self.text_of(edit, 203), "")
        self.click_control(edit, 218)
        self.wait_gone(run, EDIT)

        edit = self.capture(run, F7[0])
        controls = self.controls(edit)
        for number in (209, 210, 211, 219, 220, 203, 206, 207, 208, 218, 221):
            self.assertTrue(controls[number]["enabled"], number)
        for number in (212, 213, 214, 215, 216, 217):
            self.assertFalse(controls[number]["enabled"], number)

        # Tab and Shift+Tab walk 203, 206, 207, 208, 210, 211, 220, 218,
        # 221 here: six steps forward and three back from 203 reach 220.
        inside = (edit["client"][0] + 5, edit["client"][1] + 5)
        self.type_into(edit, 203, "a")
        key(*["Tab"] * 6, over=inside)
        xdotool("type", "--", "p")
        self.click_control(edit, 203)
        key(*["shift+Tab"] * 3, over=inside)
        xdotool("type", "--", "q")
        wait_until(lambda: self.text_of(edit, 220) == "pq", what="220 reached by Tab")
        self.assertEqual(self.text_of(edit, 203), "a")

        # The file field takes no typing; a cancelled chooser leaves it.
        self.type_into(edit, 210, "abc")
        self.assertEqual(self.text_of(edit, 210), "")
        self.choose_file(run, edit, "C:\\windows\\a.exe")
        self.click_control(edit, 211)
        chooser = self.wait_window(run, "Datei auswählen")
        time.sleep(0.5)
        key("Escape", over=(chooser["client"][0] + 10, chooser["client"][1] + 10))
        self.wait_gone(run, "Datei auswählen")
        self.assertEqual(self.text_of(edit, 210), "C:\\windows\\a.exe")

        self.click_control(edit, 207)
        self.browse_folder(run, edit, ["Up"])
        folder = self.text_of(edit, 213)
        self.assertTrue(folder.endswith("\\"), folder)
        self.browse_folder(run, edit, ["Up", "Up"], confirm=False)
        self.assertEqual(self.text_of(edit, 213), folder)
        self.assertEqual(self.text_of(edit, 210), "C:\\windows\\a.exe", "kept across options")

        # "Abbrechen" of the edit dialog adds nothing.
        self.click_control(edit, 218)
        self.wait_gone(run, EDIT)
        self.assertTrue(run.window()["enabled"])
        self.assertEqual(run.rows(), [first])
        self.assertEqual(run.status_text(), "1 Taste wird gesperrt")

        # The same key again, "Fertig stellen" at once: a row all the same.
        edit = self.capture(run, F7[0])
        self.complete(run, edit, 1)
        empty = ("", "|", "118")
        self.assertEqual(run.rows(), [first, empty])

        # A close request to an open dialog ends the program with the rows
        # it has; the unfinished entry is dropped.
        edit = self.capture(run, F9[0])
        self.type_into(edit, 203, "halb fertig")
        probe("close", edit["hwnd"])
        self.assertEndsWithZero(run)
        self.assertEqual(run.settings(), settings_bytes([first, empty]))


if __name__ == "__main__":
    unittest.main()
