// A folder row under Wine: the direct start fails and the shell opens the
// folder in a file-browser window titled with the folder's name. A program
// of its own: when that browser closes, Wine ends the virtual desktop about
// a second later under every program still on it, so this one waits for
// that before it ends, and the next test program starts a fresh desktop.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "keyboard/key_actions.h"

namespace {

HWND FindVisibleWindowTitled(const std::string& part) {
  struct Search { std::string part; HWND found; } search = {part, nullptr};
  EnumWindows([](HWND window, LPARAM context) -> BOOL {
    Search* s = reinterpret_cast<Search*>(context);
    char title[512] = "";
    GetWindowTextA(window, title, sizeof title);
    if (IsWindowVisible(window) && std::string(title).find(s->part) != std::string::npos) {
      s->found = window;
      return FALSE;
    }
    return TRUE;
  }, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void EndProcessOf(HWND window) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, processId);
  if (!process) return;
  TerminateProcess(process, 0);
  (void)WaitForSingleObject(process, 5000);
  CloseHandle(process);
}

void WaitForDesktopToEnd() {
  DWORD desktopProcessId = 0;
  GetWindowThreadProcessId(GetDesktopWindow(), &desktopProcessId);
  HANDLE desktop = OpenProcess(SYNCHRONIZE, FALSE, desktopProcessId);
  if (!desktop) return;
  (void)WaitForSingleObject(desktop, 3000);   // elsewhere the desktop stays
  CloseHandle(desktop);
}

TEST(FolderRow, GoesToTheShellWhichOpensTheFolder) {
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  std::string parent = std::string(temp) + "Tavolin Tasten Test\\";
  std::string browsed = parent + "Ordner Probe\\";
  CreateDirectoryA(parent.c_str(), nullptr);
  CreateDirectoryA(browsed.c_str(), nullptr);

  PerformKeyAction(browsed);   // OpenFolder: the folder with its backslash
  HWND browser = nullptr;
  for (int attempt = 0; attempt < 100 && !browser; ++attempt) {
    Sleep(50);
    browser = FindVisibleWindowTitled("Ordner Probe");
  }
  EXPECT_NE(browser, nullptr);
  if (browser) {
    EndProcessOf(browser);
    WaitForDesktopToEnd();
  }
}

}  // namespace
