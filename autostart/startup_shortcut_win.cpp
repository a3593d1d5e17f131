// The shortcut in the user's Startup folder and the check mark of menu
// item 5 "Autostart" that shows it. The mark is taken from the file system
// only at start-up; afterwards only the program's own actions change it.
#include "autostart/autostart.h"

#include <windows.h>
#include <shlobj.h>

#include "app/program.h"
#include "autostart/shell_link.h"
#include "toolkit/ui.h"

namespace {

// A search finds a file or a folder of that name; both count as present.
bool IsPresent(const std::string& path) {
  if (path.empty()) return false;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(path.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  (void)FindClose(search);
  return true;
}

// Sets or clears MFS_CHECKED of item 5, leaving the other state bits.
void SetAutostartMark(bool checked) {
  HMENU menuBar = GetMenu(WindowHandle(MainWindow));
  MENUITEMINFOA item;
  ZeroMemory(&item, sizeof item);
  item.cbSize = sizeof item;
  item.fMask = MIIM_STATE;
  if (!GetMenuItemInfoA(menuBar, MenuAutostart, FALSE, &item)) return;   // no menu bar
  if (checked) item.fState |= MFS_CHECKED;
  else item.fState &= ~static_cast<UINT>(MFS_CHECKED);
  (void)SetMenuItemInfoA(menuBar, MenuAutostart, FALSE, &item);
}

int ShowCommandOf(int mode) {
  switch (mode) {
    case StartMinimized: return SW_SHOWMINNOACTIVE;   // minimised, not activated
    case StartMaximized: return SW_SHOWMAXIMIZED;
    default: return SW_SHOWNORMAL;
  }
}

// The running program's own file. A name built from the current directory
// would point nowhere whenever the program was started from another folder
// (a command line, a shortcut with its own working folder), and the check
// mark would promise a start with Windows that never comes.
std::string ShortcutTarget() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, &path[0], static_cast<DWORD>(path.size()));
    if (length == 0) return std::string();
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);   // cut short: ask again with more room
  }
}

}  // namespace

std::string StartupFolderPath() {
  char path[MAX_PATH] = "";
  LPITEMIDLIST items = nullptr;
  if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_STARTUP, &items)) && items) {
    if (!SHGetPathFromIDListA(items, path)) path[0] = '\0';
  }
  CoTaskMemFree(items);
  // Without a Startup folder the shortcut has no place: an empty result
  // keeps it from landing in the current directory or a drive's root.
  std::string folder = path;
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder;
}

std::string StartupShortcutPath() {
  const std::string folder = StartupFolderPath();
  if (folder.empty()) return folder;
  return folder + ProgramTitle + ".lnk";
}

void UpdateAutostartMark() {
  if (IsPresent(StartupShortcutPath())) SetAutostartMark(true);
}

void ToggleStartupShortcut() {
  const std::string link = StartupShortcutPath();
  if (!IsPresent(link)) {
    OpenStartModeDialog();
    return;
  }
  // A folder of that name cannot be deleted: the mark is cleared all the
  // same, and the next "Autostart" finds it and tries again.
  (void)DeleteFileA(link.c_str());
  SetAutostartMark(false);
}

void ChooseStartMode(int mode) {
  // The mark comes first and stands whatever the writing does.
  SetAutostartMark(true);
  const std::string link = StartupShortcutPath();
  if (link.empty()) return;   // no Startup folder: written nowhere else
  const std::string target = ShortcutTarget();
  if (target.empty()) return;   // a link to nothing would start nothing
  (void)CreateShortcut(target, link, "", "", ShowCommandOf(mode), "", 0, IconOfTarget, 0);
}
