"""Harness of the end-to-end tests: starts the real Tavolin.exe under Wine,
drives it with real mouse clicks and key events (xdotool) and looks at it
from outside with probe.exe.

The environment of the run gives:
  TAVOLIN_EXE     the program (Unix path)
  TAVOLIN_PROBE   probe.exe (Unix path)
  TAVOLIN_E2E_WORK  a folder for the tests' own files (appdata folders,
                  screenshots); each test gets a fresh folder below it
  WINEPREFIX, DISPLAY  the Wine prefix and the X screen (scripts/wine-env.sh);
                  the prefix runs every program in one virtual desktop, so
                  Win32 screen coordinates are X root coordinates.

By hand, in one shell:
  BUILD_DIR=$PWD/build/windows; source scripts/wine-env.sh
  wine_env_prepare; wine_env_screen; wine_env_warm
  ctest --test-dir $BUILD_DIR -R e2e_ -V      # then: wine_env_stop
Looks go through one probe.exe in "serve" mode (see probe.cpp); the program
itself is started by "probe.exe launch", which gives it its own "appdata".
"""

import atexit
import json
import os
import queue
import shutil
import subprocess
import threading
import time
import unittest

CAPTION = "Tavolin 1.0.4"
CP = "cp1252"
STARTUP_TIMEOUT = 30.0
EXIT_TIMEOUT = 15.0


def need_env(name):
    value = os.environ.get(name)
    if not value:
        raise RuntimeError(
            "%s is not set: run the end-to-end tests through ctest after "
            "sourcing scripts/wine-env.sh (wine_env_prepare, wine_env_screen)" % name)
    return value


def settings_bytes(rows):
    """The bytes of a settings file holding rows of three texts."""
    data = b""
    for row in rows:
        for cell in row:
            data += cell.encode(CP) + b"\r\n"
    return data


def wait_until(condition, timeout=5.0, interval=0.05, what="condition"):
    """Polls condition() until it gives a true value and returns that value."""
    deadline = time.monotonic() + timeout
    last = None
    while True:
        last = condition()
        if last:
            return last
        if time.monotonic() > deadline:
            raise AssertionError("timed out after %.1f s waiting for %s (last: %r)"
                                 % (timeout, what, last))
        time.sleep(interval)


def eventually(check, timeout=3.0, interval=0.1):
    """Runs check() until it raises no AssertionError: the program handles
    its events after the messages that the probe's looks send, so a look
    right after an action may come before the program has followed it."""
    deadline = time.monotonic() + timeout
    while True:
        try:
            return check()
        except AssertionError:
            if time.monotonic() > deadline:
                raise
            time.sleep(interval)


# ---- Wine, probe and xdotool ----------------------------------------------

_root_windows_path = []


def windows_path(unix_path):
    """The Windows form of a Unix path, as Wine maps it: the root's form
    (asked of winepath -w once) followed by the path with backslashes."""
    if not _root_windows_path:
        out = subprocess.run(["winepath", "-w", "/"], check=True,
                             capture_output=True, text=True, timeout=120).stdout.strip()
        _root_windows_path.append(out.rstrip("\\") + "\\")
    return _root_windows_path[0] + os.path.abspath(unix_path).lstrip("/").replace("/", "\\")


class _ProbeServer:
    """One probe.exe serving every look of the test process: starting a
    Wine program per look would cost far more than the look itself."""

    def __init__(self):
        self.process = None
        self.lock = threading.Lock()

    def run(self, args):
        with self.lock:
            if self.process is None or self.process.poll() is not None:
                self.process = subprocess.Popen(["wine", need_env("TAVOLIN_PROBE"), "serve"],
                                                stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                                stderr=subprocess.DEVNULL)
            line = "\t".join(str(a) for a in args)
            if "\n" in line:
                raise ValueError("probe arguments cannot hold line breaks: %r" % (args,))
            self.process.stdin.write(line.encode("cp1252") + b"\n")
            self.process.stdin.flush()
            found = []
            while True:
                raw = self.process.stdout.readline()
                if not raw:
                    self.process = None
                    raise AssertionError("probe server ended during %r" % (args,))
                text = raw.decode("ascii", "replace").strip()
                if not text.startswith("{"):
                    continue
                value = json.loads(text)
                if "done" in value and len(value) == 1:
                    return value["done"], found
                found.append(value)

    def stop(self):
        if self.process is not None and self.process.poll() is None:
            self.process.stdin.close()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()


_probe_server = _ProbeServer()
atexit.register(_probe_server.stop)


def probe(*args, check=True):
    """Runs a probe command and returns its JSON lines as a list."""
    code, found = _probe_server.run(args)
    if check and code != 0:
        raise AssertionError("probe %s failed with %d" % (" ".join(map(str, args)), code))
    return found


def probe_one(*args):
    found = probe(*args)
    if len(found) != 1:
        raise AssertionError("probe %s gave %r" % (" ".join(map(str, args)), found))
    return found[0]


def xdotool(*args):
    subprocess.run(["xdotool"] + [str(a) for a in args], check=True, timeout=30)


def click(x, y, button=1):
    """A real click at a screen point: mouse down and up."""
    xdotool("mousemove", "--sync", int(x), int(y))
    time.sleep(0.05)
    xdotool("click", button)
    time.sleep(0.15)


def drag(x1, y1, x2, y2):
    """Presses the left button at one point and releases it at another,
    moving in a few steps so the sizing loop follows."""
    xdotool("mousemove", "--sync", int(x1), int(y1))
    time.sleep(0.1)
    xdotool("mousedown", 1)
    time.sleep(0.2)
    steps = 5
    for i in range(1, steps + 1):
        xdotool("mousemove", int(x1 + (x2 - x1) * i / steps), int(y1 + (y2 - y1) * i / steps))
        time.sleep(0.08)
    time.sleep(0.1)
    xdotool("mouseup", 1)
    time.sleep(0.3)


def key(*names, over=None):
    """Real key presses. Wine takes keys only while the pointer is over one
    of its windows, so the pointer is moved over the desktop first (over a
    given point when one is named, which is not clicked)."""
    x, y = over if over else (1000, 10)
    xdotool("mousemove", "--sync", int(x), int(y))
    for name in names:
        xdotool("key", "--delay", "50", name)
    time.sleep(0.2)


def screenshot(path, rect=None):
    """The whole screen, or the screen rectangle [left, top, right, bottom]."""
    command = ["import", "-window", "root"]
    if rect:
        left, top, right, bottom = rect
        command += ["-crop", "%dx%d+%d+%d" % (right - left, bottom - top, left, top), "+repage"]
    subprocess.run(command + [path], check=True, timeout=60)


def clipboard_text():
    """The clipboard's CF_TEXT, or None when it holds none."""
    found = probe_one("clipboard")
    return found["text"] if found["present"] else None


def kill_leftovers():
    """Ends every process that still shows a Tavolin main window. Only the
    main window has a menu bar: the shell's tooltip of the notification
    icon carries the same text, and its process is the virtual desktop."""
    for window in probe("windows", "--caption", CAPTION, check=False):
        if window["menu"]:
            probe("kill", window["pid"], check=False)


# ---- one run of the program ------------------------------------------------

class TavolinRun:
    """Tavolin.exe started with an appdata folder of its own."""

    def __init__(self, work_dir, settings=None):
        """settings: None for a fresh account (no Pellwick folder), or the
        exact bytes of a Tasten.ini to prepare."""
        self.work_dir = work_dir
        self.appdata = os.path.join(work_dir, "appdata")
        self.data_folder = os.path.join(self.appdata, "Pellwick", "Tavolin")
        self.settings_path = os.path.join(self.data_folder, "Tasten.ini")
        if os.path.exists(work_dir):
            shutil.rmtree(work_dir)
        os.makedirs(self.appdata)
        if settings is not None:
            os.makedirs(self.data_folder)
            with open(self.settings_path, "wb") as f:
                f.write(settings)
        self.exe = need_env("TAVOLIN_EXE")
        if not os.path.isfile(self.exe):
            raise AssertionError("%s does not exist: build the Tavolin target" % self.exe)
        self.lines = queue.Queue()
        self.process = None
        self.pid = None
        self.hwnd = None
        self.exit_code = None
        self.ready_ms = None

    # start and end

    def start(self):
        command = ["wine", need_env("TAVOLIN_PROBE"), "launch",
                   "--env", "appdata=" + windows_path(self.appdata),
                   "--cwd", windows_path(os.path.dirname(self.exe)),
                   "--ready-caption", CAPTION, "--ready-status",
                   "--", windows_path(self.exe)]
        self.process = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        threading.Thread(target=self._read_lines, daemon=True).start()
        self.pid = self._next_line("pid", STARTUP_TIMEOUT)["pid"]
        ready = self._next_line("ready_ms", STARTUP_TIMEOUT)
        self.hwnd = ready["hwnd"]
        self.ready_ms = ready["ready_ms"]
        return self

    def _read_lines(self):
        for raw in self.process.stdout:
            line = raw.decode("ascii", "replace").strip()
            if line.startswith("{"):
                self.lines.put(json.loads(line))
        self.lines.put({"eof": True})

    def _next_line(self, field, timeout):
        deadline = time.monotonic() + timeout
        while True:
            remaining = deadline - time.monotonic()
            if remaining <= 0:
                raise AssertionError("no %r from the launched program within %.0f s" % (field, timeout))
            try:
                line = self.lines.get(timeout=remaining)
            except queue.Empty:
                continue
            if field in line:
                return line
            if "exit" in line:
                self.exit_code = line["exit"]
            if "error" in line or "eof" in line:
                raise AssertionError("program ended or failed before %r: %r (exit %r)"
                                     % (field, line, self.exit_code))

    def wait_exit(self, timeout=EXIT_TIMEOUT):
        """Waits for the program to end and returns its exit code."""
        if self.exit_code is None:
            self.exit_code = self._next_line("exit", timeout)["exit"]
        self.process.wait(timeout=timeout)
        return self.exit_code

    def running(self):
        return self.exit_code is None and self.process is not None and self.process.poll() is None

    def kill(self):
        if self.process is None:
            return
        if self.process.poll() is None and self.exit_code is None:
            probe("kill", self.pid, check=False)
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()

    # looking at it

    def window(self):
        """The main window: caption, rect, client, visible, minimized, ..."""
        for window in probe("windows", "--pid", self.pid):
            if window["hwnd"] == self.hwnd:
                return window
        raise AssertionError("the main window is gone")

    def windows(self, class_name=None):
        found = probe("windows", "--pid", self.pid)
        return [w for w in found if class_name is None or w["class"] == class_name]

    def children(self):
        return probe("children", self.hwnd)

    def list(self):
        return probe_one("list", self.hwnd)

    def rows(self):
        return [tuple(row) for row in self.list()["rows"]]

    def status(self):
        return probe_one("status", self.hwnd)

    def status_text(self):
        return self.status()["texts"][0]

    def toolbar(self, *ids):
        return probe_one("toolbar", self.hwnd, *(ids or (3, 4)))

    def button_enabled(self, button_id):
        return self.toolbar(button_id)["buttons"][str(button_id)]["enabled"]

    def settings(self):
        with open(self.settings_path, "rb") as f:
            return f.read()

    # driving it

    def click_row(self, row):
        left, top, right, bottom = self.list()["row_rects"][row]
        click(left + 30, (top + bottom) // 2)

    def click_below_rows(self):
        info = self.list()
        bottom = info["row_rects"][-1][3] if info["row_rects"] else info["client"][1] + 30
        click(info["client"][0] + 30, min(bottom + 15, info["client"][3] - 3))

    def click_button(self, button_id):
        left, top, right, bottom = self.toolbar(button_id)["buttons"][str(button_id)]["rect"]
        click((left + right) // 2, (top + bottom) // 2)

    def caption_button(self, name):
        points = probe_one("captionbuttons", self.hwnd)
        if name not in points:
            raise AssertionError("no %s box on the caption: %r" % (name, points))
        return points[name]

    def click_caption_button(self, name):
        x, y = self.caption_button(name)
        click(x, y)

    def open_menu(self, index=0):
        """Clicks the menu bar title at index 0 ("Programm") and returns the
        drop-down menu window."""
        client = self.window()["client"]
        click(client[0] + 20 + 70 * index, client[1] - 9)
        return wait_until(lambda: [w for w in self.windows("#32768") if w["visible"]],
                          what="the drop-down menu")[0]

    def choose_menu_item(self, index, item_count):
        """Opens the first menu of the bar and clicks its item at index of
        item_count items of equal height."""
        menu = self.open_menu(0)
        left, top, right, bottom = menu["client"]
        height = (bottom - top) / item_count
        click((left + right) // 2, top + height * index + height / 2)

    def close_by_close_box(self):
        self.click_caption_button("close")

    def close_by_menu(self):
        # "Programm": "Autostart", "Beenden".
        self.choose_menu_item(1, 2)

    def close_by_request(self):
        probe("close", self.hwnd)


class TavolinTestCase(unittest.TestCase):
    """Each test gets a fresh folder and no leftover program."""

    def setUp(self):
        self.work_root = need_env("TAVOLIN_E2E_WORK")
        need_env("WINEPREFIX")
        need_env("DISPLAY")
        kill_leftovers()
        self.run_dir = os.path.join(self.work_root, self.id().split(".", 1)[-1])
        self.runs = []

    def tearDown(self):
        for run in self.runs:
            run.kill()
        kill_leftovers()

    def start(self, rows=None, settings=None, fresh=False, name="run"):
        """Starts Tavolin.exe: fresh=True gives a new account, rows a
        prepared file holding them, settings a file with exactly these bytes."""
        if rows is not None:
            settings = settings_bytes(rows)
        if settings is None and not fresh:
            settings = b""
        run = TavolinRun(os.path.join(self.run_dir, name), settings)
        self.runs.append(run)
        return run.start()

    def assertEndsWithZero(self, run):
        self.assertEqual(run.wait_exit(), 0, "exit code")
