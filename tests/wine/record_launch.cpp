// A stand-in for a started program: writes its own command line and current
// directory, one per line, into record_launch.txt beside its executable,
// so tests can see exactly how it was started.
#include <windows.h>
#include <string>

int main() {
  char exePath[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, exePath, sizeof exePath);
  std::string folder(exePath, length);
  folder.erase(folder.find_last_of('\\') + 1);

  char currentDirectory[MAX_PATH];
  DWORD directoryLength = GetCurrentDirectoryA(sizeof currentDirectory, currentDirectory);
  std::string record = std::string(GetCommandLineA()) + "\n" +
                       std::string(currentDirectory, directoryLength) + "\n";

  // Written aside and renamed, so a reader never sees half a record.
  std::string partial = folder + "record_launch.tmp";
  std::string finished = folder + "record_launch.txt";
  HANDLE file = CreateFileA(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  BOOL ok = WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
  CloseHandle(file);
  if (!ok) return 1;
  return MoveFileExA(partial.c_str(), finished.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
