// Writing a shell link through the shell-link COM object, IShellLinkA and
// IPersistFile.
#include "autostart/shell_link.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "mapping/key_mapping.h"

namespace {

// The link path in UTF-16, converted from the system's ANSI code page.
std::wstring WidePath(const std::string& path) {
  const int length = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring wide(static_cast<size_t>(length), L'\0');
  (void)MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &wide[0], length);
  wide.resize(static_cast<size_t>(length - 1));   // without the terminating zero
  return wide;
}

// Sets every field of the link, empty texts included, and saves it.
// Returns 1 when the link was asked to save itself.
int FillAndSave(IShellLinkA* link, const std::string& target,
                const std::string& linkPath, const std::string& workingFolder,
                const std::string& arguments, int showCommand,
                const std::string& description, int hotkey,
                const std::string& iconFile, int iconIndex) {
  // The setters' results are not examined: a field that cannot be set is
  // simply missing from the link.
  (void)link->SetPath(target.c_str());
  (void)link->SetArguments(arguments.c_str());
  (void)link->SetWorkingDirectory(workingFolder.c_str());
  (void)link->SetDescription(description.c_str());
  (void)link->SetShowCmd(showCommand);
  (void)link->SetHotkey(static_cast<WORD>(hotkey));
  (void)link->SetIconLocation(iconFile.c_str(), iconIndex);

  IPersistFile* file = nullptr;
  if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))))
    return 0;
  // An existing file of that name is overwritten. Whether the save worked
  // is not reported: the caller learns only that it was asked.
  (void)file->Save(WidePath(linkPath).c_str(), TRUE);
  file->Release();
  return 1;
}

}  // namespace

int CreateShortcut(const std::string& target, const std::string& linkPath,
                   const std::string& workingFolder, const std::string& arguments,
                   int showCommand, const std::string& description, int hotkey,
                   const std::string& iconFile, int iconIndex) {
  const std::string icon = iconFile == IconOfTarget ? target : iconFile;
  const std::string folder = workingFolder.empty() ? FolderPart(target) : workingFolder;

  // COM is already set up on the program's thread; this makes a nested
  // pair. A failed initialisation is not paired with an uninitialisation,
  // which would undo the program's own.
  const bool initialised = SUCCEEDED(CoInitialize(nullptr));
  int result = 0;
  IShellLinkA* link = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_IShellLinkA, reinterpret_cast<void**>(&link)))) {
    result = FillAndSave(link, target, linkPath, folder, arguments, showCommand,
                         description, hotkey, icon, iconIndex);
    link->Release();
  }
  if (initialised) CoUninitialize();
  return result;
}
