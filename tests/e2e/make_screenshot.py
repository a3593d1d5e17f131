"""Takes the README's picture: the main window with a few rows, cropped from
the Wine virtual desktop. Needs the environment of the end-to-end tests
(TAVOLIN_EXE, TAVOLIN_PROBE, TAVOLIN_E2E_WORK, WINEPREFIX, DISPLAY).
    python3 tests/e2e/make_screenshot.py docs/screenshot.png
"""

import os
import sys
import time

from tavolin_e2e import TavolinRun, kill_leftovers, need_env, screenshot

ROWS = [
    ("Editor", "C:\\Windows\\notepad.exe|", "120"),
    ("Gruß", "Ausgabe:Mit freundlichen Grüßen", "121"),
    ("Projekte", "C:\\Daten\\Projekte\\", "122"),
    ("Rechner", "C:\\Windows\\System32\\calc.exe|", "123"),
]


def main():
    target = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "screenshot.png")
    kill_leftovers()
    settings = b"".join(cell.encode("cp1252") + b"\r\n" for row in ROWS for cell in row)
    run = TavolinRun(os.path.join(need_env("TAVOLIN_E2E_WORK"), "screenshot"), settings)
    run.start()
    try:
        time.sleep(1.0)  # let the first paint settle
        screenshot(target, run.window()["rect"])
        run.close_by_request()
        if run.wait_exit() != 0:
            raise SystemExit("Tavolin did not end with exit code 0")
    finally:
        run.kill()
    print(target)


if __name__ == "__main__":
    main()
