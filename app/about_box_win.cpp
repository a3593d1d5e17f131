// The about box: a message box with the display title and the program's
// notice lines, shown while the program's other windows are disabled.
#include "app/about_box.h"

#include <windows.h>
#include <string>
#include <vector>

#include "app/program.h"

namespace {

// Each line after the first is introduced by a single carriage return: the
// message box breaks lines on it.
std::string AboutText() {
  std::string text = DisplayTitle();
  text += "\r";
  text += ProgramTitle;
  text += " gibt einzelnen Tasten eine neue Funktion.";
  text += "\rVersion ";
  text += ProgramVersion;
  text += ", kostenlos, darf frei weitergegeben werden.";
  text += "\rDie Symbole wurden eigens für ";
  text += ProgramTitle;
  text += " gestaltet.";
  return text;
}

struct DisableSweep {
  HWND foreground;
  std::vector<HWND> disabled;
};

BOOL CALLBACK DisableIfUsable(HWND window, LPARAM sweepAddress) {
  DisableSweep* sweep = reinterpret_cast<DisableSweep*>(sweepAddress);
  if (window != sweep->foreground && IsWindowVisible(window) &&
      IsWindowEnabled(window)) {
    (void)EnableWindow(window, FALSE);
    sweep->disabled.push_back(window);
  }
  return TRUE;
}

// The box's owner: the foreground window when it is one of ours.
HWND BoxOwner(HWND foreground) {
  if (!foreground) return nullptr;
  DWORD process = 0;
  (void)GetWindowThreadProcessId(foreground, &process);
  return process == GetCurrentProcessId() ? foreground : nullptr;
}

}  // namespace

void ShowAboutBox() {
  const std::string text = AboutText();
  DisableSweep sweep;
  sweep.foreground = GetForegroundWindow();
  // The message box disables its owner itself; every other window of the
  // program is disabled here so that none can be used while the box is open.
  (void)EnumThreadWindows(GetCurrentThreadId(), DisableIfUsable,
                          reinterpret_cast<LPARAM>(&sweep));
  (void)MessageBoxA(BoxOwner(sweep.foreground), text.c_str(), "Informationen",
                    MB_OK | MB_ICONINFORMATION);
  // Exactly the windows disabled above: one that was disabled before (the
  // owner of an open dialog) stays disabled.
  for (HWND window : sweep.disabled) (void)EnableWindow(window, TRUE);
}
