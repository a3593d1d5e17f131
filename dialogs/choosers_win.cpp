#include "dialogs/choosers.h"

#include <windows.h>
#include <commdlg.h>
#include <objbase.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "dialogs/folder_rules.h"
#include "toolkit/modal.h"

namespace {

std::string CurrentDirectory() {
  DWORD needed = GetCurrentDirectoryA(0, nullptr);
  if (needed == 0) return std::string();
  std::string folder(needed, '\0');
  DWORD length = GetCurrentDirectoryA(needed, &folder[0]);
  if (length == 0 || length >= needed) return std::string();
  folder.resize(length);
  return folder;
}

// Preselects the initial folder once the browser is ready.
int CALLBACK BrowseCallback(HWND browser, UINT message, LPARAM, LPARAM initialFolder) {
  if (message == BFFM_INITIALIZED) {
    (void)SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, initialFolder);
  }
  return 0;
}

using OpenFileNameProc = BOOL(WINAPI*)(LPOPENFILENAMEA);
using BrowseForFolderProc = PIDLIST_ABSOLUTE(WINAPI*)(LPBROWSEINFOA);
using PathFromIdListProc = BOOL(WINAPI*)(PCIDLIST_ABSOLUTE, LPSTR);

}  // namespace

HMODULE LoadSystemLibrary(const char* name) {
  char systemFolder[MAX_PATH];
  const UINT length = GetSystemDirectoryA(systemFolder, sizeof systemFolder);
  if (length == 0 || length >= sizeof systemFolder) return nullptr;
  const std::string path = std::string(systemFolder, length) + "\\" + name;
  // The full path names the file; the flag keeps the libraries it needs in
  // the system folder too. Systems that lack the flag reject it, and then
  // the full path alone decides.
  HMODULE shell = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (shell == nullptr && GetLastError() == ERROR_INVALID_PARAMETER) {
    shell = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  }
  return shell;
}

std::string RunFileChooser(const std::string& title, const std::string& patternList,
                           const std::string& initialFile, int patternIndex) {
  std::string filter = FileFilter(patternList);
  char fileName[MAX_PATH] = {};
  (void)initialFile.copy(fileName, sizeof fileName - 1);

  OPENFILENAMEA request = {};
  // The version-4.00 form of the request, sized for this build's pointers.
  request.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
  request.hwndOwner = OwnForegroundWindow();
  request.lpstrFilter = filter.data();
  request.nFilterIndex = static_cast<DWORD>(patternIndex + 1);
  request.lpstrFile = fileName;
  request.nMaxFile = sizeof fileName;
  request.lpstrTitle = title.c_str();
  request.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;

  // The common dialog library is loaded when the chooser is first used and
  // then kept: most runs of the program never open it, and loading it at
  // start-up would cost every run start time and memory. It stays loaded
  // because the dialog may leave threads of the shell running in it.
  static HMODULE dialogs = LoadSystemLibrary("COMDLG32.DLL");
  if (dialogs == nullptr) return std::string();
  auto getOpenFileName = reinterpret_cast<OpenFileNameProc>(
      reinterpret_cast<void*>(GetProcAddress(dialogs, "GetOpenFileNameA")));

  // The shortcut of the autostart is built from the current directory, so it
  // must survive the chooser. OFN_NOCHANGEDIR is not honoured by every
  // system's open dialog: put the folder back ourselves.
  const std::string folderBefore = CurrentDirectory();
  const std::vector<HWND> disabled = DisableOtherWindows();
  const BOOL chosen = getOpenFileName != nullptr && getOpenFileName(&request);
  EnableWindowsAgain(disabled);
  if (!folderBefore.empty() && CurrentDirectory() != folderBefore) {
    (void)SetCurrentDirectoryA(folderBefore.c_str());
  }
  return chosen ? std::string(fileName) : std::string();
}

std::string RunFolderChooser(const std::string& title, const std::string& initialFolder) {
  HMODULE shell = LoadSystemLibrary("SHELL32.DLL");
  if (shell == nullptr) return std::string();
  auto browseForFolder = reinterpret_cast<BrowseForFolderProc>(
      reinterpret_cast<void*>(GetProcAddress(shell, "SHBrowseForFolderA")));
  auto pathFromIdList = reinterpret_cast<PathFromIdListProc>(
      reinterpret_cast<void*>(GetProcAddress(shell, "SHGetPathFromIDListA")));
  if (browseForFolder == nullptr || pathFromIdList == nullptr) {
    (void)FreeLibrary(shell);
    return std::string();
  }

  // The browser needs COM on this thread. Balanced here, so whether the
  // program set COM up before or not, the count is as it was afterwards.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const std::string preselected = InitialFolder(initialFolder);
  BROWSEINFOA request = {};
  request.hwndOwner = OwnForegroundWindow();
  request.lpszTitle = title.c_str();
  request.ulFlags = BIF_NEWDIALOGSTYLE;
  request.lpfn = BrowseCallback;
  request.lParam = reinterpret_cast<LPARAM>(preselected.c_str());

  const std::vector<HWND> disabled = DisableOtherWindows();
  PIDLIST_ABSOLUTE item = browseForFolder(&request);
  EnableWindowsAgain(disabled);

  std::string result;
  if (item != nullptr) {
    char path[MAX_PATH] = {};
    // An item outside the file system has no path: an empty result.
    if (pathFromIdList(item, path)) result = FolderResult(path);
    CoTaskMemFree(item);
  }
  if (SUCCEEDED(com)) CoUninitialize();
  (void)FreeLibrary(shell);
  return result;
}
