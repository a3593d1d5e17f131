// The about box: a message box with the display title and the program's
// notice lines, shown while the program's other windows are disabled.
#include "app/about_box.h"

#include <windows.h>
#include <string>
#include "app/program.h"
#include "toolkit/modal.h"

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

}  // namespace

void ShowAboutBox() {
  const std::string text = AboutText();
  // The message box disables its owner itself; every other window of the
  // program is disabled here so that none can be used while the box is open.
  const HWND owner = OwnForegroundWindow();
  const std::vector<HWND> disabled = DisableOtherWindows();
  (void)MessageBoxA(owner, text.c_str(), "Informationen", MB_OK | MB_ICONINFORMATION);
  EnableWindowsAgain(disabled);
}
