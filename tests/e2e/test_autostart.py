""""Programm" > "Autostart" with real clicks: each start mode writes the
Startup shortcut (its bytes read from the prefix's drive_c), a second
"Autostart" deletes it, "Abbrechen" writes nothing, and a shortcut made
outside the program sets the check mark at start-up."""

import glob
import os
import struct
import subprocess
import time
import unittest

from tavolin_e2e import (TavolinTestCase, click, key, need_env, probe, screenshot,
                         wait_until, windows_path)

SHELL_LINK_CLASS = bytes.fromhex("0114020000000000c000000000000046")


def startup_folder():
    """The Startup folder of the prefix's user, on disk."""
    pattern = os.path.join(need_env("WINEPREFIX"), "drive_c", "users", "*", "AppData",
                           "Roaming", "Microsoft", "Windows", "Start Menu", "Programs", "*")
    found = [p for p in glob.glob(pattern)
             if os.path.basename(p).lower() == "startup" and "/Public/" not in p]
    if len(found) != 1:
        raise AssertionError("no single Startup folder in the prefix: %r" % found)
    return found[0]


def shortcut_path():
    return os.path.join(startup_folder(), "Tavolin.lnk")


def remove_shortcut():
    path = shortcut_path()
    if os.path.isdir(path):
        os.rmdir(path)
    elif os.path.exists(path):
        os.remove(path)


def read_link(data):
    """The fields of a shell link file: the header, the target from the
    link information, and the texts that follow it."""
    header_size, = struct.unpack_from("<I", data, 0)
    if header_size != 0x4C or data[4:20] != SHELL_LINK_CLASS:
        raise AssertionError("not a shell link: %r" % data[:20])
    flags, = struct.unpack_from("<I", data, 0x14)
    icon_index, show_command, hotkey = struct.unpack_from("<iIH", data, 0x38)
    link = {"show_command": show_command, "icon_index": icon_index, "hotkey": hotkey,
            "target": None}
    pos = 0x4C
    if flags & 0x01:   # HasLinkTargetIDList
        size, = struct.unpack_from("<H", data, pos)
        pos += 2 + size
    if flags & 0x02:   # HasLinkInfo
        size, _, info_flags, _, base_offset = struct.unpack_from("<IIIII", data, pos)
        if info_flags & 0x01:   # VolumeIDAndLocalBasePath
            end = data.index(b"\0", pos + base_offset)
            link["target"] = data[pos + base_offset:end].decode("cp1252")
        pos += size
    unicode = flags & 0x80
    for bit, name in ((0x04, "description"), (0x08, "relative_path"),
                      (0x10, "working_folder"), (0x20, "arguments"), (0x40, "icon_file")):
        link[name] = ""
        if flags & bit:
            count, = struct.unpack_from("<H", data, pos)
            pos += 2
            size = count * 2 if unicode else count
            raw = data[pos:pos + size]
            # Wine counts the terminating zero too; Windows does not.
            text = raw.decode("utf-16-le") if unicode else raw.decode("cp1252")
            link[name] = text.rstrip("\0")
            pos += size
    return link


def start_mode_dialogs(run):
    return [w for w in run.windows() if w["caption"] == "Autostart" and w["visible"]]


class Autostart(TavolinTestCase):
    def setUp(self):
        super().setUp()
        remove_shortcut()
        self.addCleanup(remove_shortcut)

    # driving and looking

    def choose_autostart(self, run):
        run.choose_menu_item(0, 2)   # "Programm": "Autostart", "Beenden"

    def open_dialog(self, run):
        self.choose_autostart(run)
        dialog = wait_until(lambda: start_mode_dialogs(run), what="the start-mode dialog")[0]
        self.assertEqual(dialog["owner"], run.hwnd)
        wait_until(lambda: not run.window()["enabled"], what="the main window disabled")
        return dialog

    def click_dialog_button(self, run, dialog, number):
        buttons = [c for c in probe("children", dialog["hwnd"]) if c["id"] == number]
        self.assertEqual(len(buttons), 1)
        left, top, right, bottom = buttons[0]["screen"]
        click((left + right) // 2, (top + bottom) // 2)
        wait_until(lambda: not start_mode_dialogs(run), what="the dialog closed")
        wait_until(lambda: run.window()["enabled"], what="the main window enabled")

    def marked(self, run):
        """Whether "Autostart" shows its tick: the dark strokes drawn in the
        light strip at the left of the item."""
        menu = run.open_menu(0)
        left, top, right, bottom = menu["client"]
        height = (bottom - top) // 2
        shot = os.path.join(run.work_dir, "mark.png")
        screenshot(shot, [left + 2, top + 1, left + 20, top + height - 1])
        key("Escape", "Escape", over=(100, 100))
        wait_until(lambda: not [w for w in run.windows("#32768") if w["visible"]],
                   what="the menu closed")
        darkest = subprocess.run(["convert", shot, "-colorspace", "gray", "-format",
                                  "%[fx:minima]", "info:"], check=True, capture_output=True,
                                 text=True, timeout=60).stdout
        return float(darkest) < 0.3

    def expected_target(self, run):
        # The program runs in its own folder (the harness starts it there).
        return windows_path(run.exe)

    # tests

    def test_each_start_mode_writes_the_shortcut_and_a_second_autostart_deletes_it(self):
        modes = {"Normal": (404, 1), "Minimiert": (405, 7), "Maximiert": (406, 3)}
        for name, (button, show_command) in modes.items():
            with self.subTest(mode=name):
                remove_shortcut()
                run = self.start(name=name)
                try:
                    self.assertFalse(self.marked(run))
                    dialog = self.open_dialog(run)
                    self.click_dialog_button(run, dialog, button)
                    path = shortcut_path()
                    wait_until(lambda: os.path.isfile(path), what="the shortcut")
                    time.sleep(0.2)
                    with open(path, "rb") as f:
                        link = read_link(f.read())
                    target = self.expected_target(run)
                    self.assertEqual(link["show_command"], show_command)
                    self.assertEqual(link["target"].lower(), target.lower())
                    self.assertEqual(link["working_folder"].lower(),
                                     target.lower()[:target.rindex("\\") + 1])
                    self.assertEqual(link["icon_file"].lower(), target.lower())
                    self.assertEqual(link["icon_index"], 0)
                    self.assertEqual(link["arguments"], "")
                    self.assertEqual(link["description"], "")
                    self.assertEqual(link["hotkey"], 0)
                    self.assertTrue(self.marked(run))

                    # The shortcut is there: "Autostart" deletes it at once.
                    self.choose_autostart(run)
                    wait_until(lambda: not os.path.exists(path), what="the shortcut deleted")
                    time.sleep(0.3)
                    self.assertFalse(start_mode_dialogs(run))
                    self.assertTrue(run.window()["enabled"])
                    self.assertFalse(self.marked(run))
                    run.close_by_request()
                    self.assertEndsWithZero(run)
                finally:
                    run.kill()

    def test_abbrechen_writes_nothing(self):
        run = self.start()
        dialog = self.open_dialog(run)
        self.click_dialog_button(run, dialog, 407)
        time.sleep(0.3)
        self.assertFalse(os.path.exists(shortcut_path()))
        self.assertFalse(self.marked(run))
        # The dialog opens again, since there is still no shortcut.
        dialog = self.open_dialog(run)
        self.click_dialog_button(run, dialog, 407)
        run.close_by_request()
        self.assertEndsWithZero(run)
        self.assertFalse(os.path.exists(shortcut_path()))

    def test_a_shortcut_made_outside_sets_the_mark_at_start(self):
        with open(shortcut_path(), "wb") as f:
            f.write(b"made by another program")
        run = self.start()
        self.assertTrue(self.marked(run))
        self.choose_autostart(run)
        wait_until(lambda: not os.path.exists(shortcut_path()), what="the shortcut deleted")
        self.assertFalse(self.marked(run))
        run.close_by_request()
        self.assertEndsWithZero(run)


if __name__ == "__main__":
    unittest.main(verbosity=2)
