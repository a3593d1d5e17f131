#include "mapping/settings_file.h"

#include <vector>

#include "mapping/mapping_table.h"
#include "mapping/settings_format.h"

namespace {

// Paths are worked on in copies of at most this length.
constexpr size_t PathLimit = MAX_PATH;

// A settings file that existed but could not be read completely by the
// last LoadMappings; empty when the load went well. Saving then would
// replace rows the table never held with the ones it has (often none), so
// SaveMappings leaves such a file untouched, and the changes of this run
// are given up instead of the file's content.
std::string unreadSettingsFile;

BOOL CallWriteFile(HANDLE file, const void* bytes, DWORD count, DWORD* written) {
  return WriteFile(file, bytes, count, written, nullptr);
}

SettingsWriteCall writeCall = CallWriteFile;

std::string LimitedCopy(const std::string& path) { return path.substr(0, PathLimit); }

bool StartsWithTwoBackslashes(const std::string& path) {
  return path.size() >= 2 && path[0] == '\\' && path[1] == '\\';
}

// The settings file as it is opened for writing: read and write access,
// others may only read, replacing what is there. Windows refuses that for a
// hidden file, so a second attempt truncates an existing file instead.
HANDLE OpenForWriting(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                            nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                       TRUNCATE_EXISTING, 0, nullptr);
  }
  return file;
}

// Whether the existing settings file may be written by us now: not
// read-only, not denied, not held by a program that forbids writing.
// Opened without truncating, so nothing is lost by asking.
bool MayWriteExistingFile(const std::string& path) {
  // The attribute is asked as well: a system that lets a privileged user
  // open a read-only file for writing anyway must still not have it written.
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY)) {
    return false;
  }
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  (void)CloseHandle(file);  // only asked; nothing was written
  return true;
}

// Writes every row of the key table to `file` through 4096-byte blocks and
// flushes it to the disk. False when any byte did not get there.
bool WriteTable(HANDLE file) {
  SettingsWriter writer = MakeSettingsWriter([file](const char* bytes, size_t count) {
    DWORD written = 0;
    return writeCall(file, bytes, static_cast<DWORD>(count), &written) &&
           written == static_cast<DWORD>(count);
  });
  const int rows = MappingCount();
  for (int row = 0; row < rows; ++row) {
    for (int column = 0; column < 3; ++column) {
      WriteSettingsCell(writer, MappingCell(row, column));
    }
  }
  const bool complete = FinishSettingsWriter(writer);
  return FlushFileBuffers(file) && complete;
}

}  // namespace

std::string AppDataValue() {
  const DWORD size = GetEnvironmentVariableA("appdata", nullptr, 0);
  if (size == 0) return std::string();  // unset: empty text, not an error
  std::vector<char> value(size + 1, '\0');
  const DWORD length = GetEnvironmentVariableA("appdata", value.data(), size + 1);
  if (length == 0 || length > size) return std::string();
  return std::string(value.data(), length);
}

std::string MakerFolderPath() { return AppDataValue() + "\\Pellwick\\"; }

std::string DataFolderPath(const std::string& title) {
  return MakerFolderPath() + title + "\\";
}

std::string SettingsFilePath(const std::string& title, const std::string& fileName) {
  return DataFolderPath(title) + fileName;
}

PathKind CheckPath(const std::string& path) {
  if (path.empty()) return PathKind::Missing;
  std::string copy = LimitedCopy(path);

  if ((copy.size() == 2 || copy.size() == 3) && copy[1] == ':') {
    if (copy.size() == 2) copy += '\\';
    return GetDriveTypeA(copy.c_str()) > DRIVE_NO_ROOT_DIR ? PathKind::Folder : PathKind::Missing;
  }

  while (!copy.empty() && copy.back() == '\\') copy.pop_back();
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(copy.c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    (void)FindClose(search);  // only the first entry was wanted
    return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Folder : PathKind::File;
  }
  // The root of a share (\\server\share) is no entry FindFirstFileA finds.
  if (StartsWithTwoBackslashes(copy)) {
    const DWORD attributes = GetFileAttributesA(copy.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      return PathKind::Folder;
    }
  }
  return PathKind::Missing;
}

void CreateFolder(const std::string& path) {
  std::string copy = LimitedCopy(path);
  while (!copy.empty() && (copy.back() == ' ' || copy.back() == '/' || copy.back() == '\\')) {
    copy.pop_back();
  }
  (void)CreateDirectoryA(copy.c_str(), nullptr);  // a failure shows in the next check
}

void EnsureDataFolder(const std::string& title) {
  if (CheckPath(MakerFolderPath()) != PathKind::Folder) CreateFolder(MakerFolderPath());
  if (CheckPath(DataFolderPath(title)) != PathKind::Folder) CreateFolder(DataFolderPath(title));
}

void EnsureSettingsFile(const std::string& title, const std::string& fileName) {
  const std::string path = SettingsFilePath(title, fileName);
  if (CheckPath(path) != PathKind::Missing) return;
  // CREATE_NEW rather than CREATE_ALWAYS: a file that the check could not
  // see (a folder that may not be listed) is never emptied at start.
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                            nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) (void)CloseHandle(file);  // an empty file is all we wanted
}

void LoadMappings(const std::string& title, const std::string& fileName) {
  const std::string path = SettingsFilePath(title, fileName);
  unreadSettingsFile.clear();
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    // Held by another program, denied, or a folder of that name: the file
    // must survive this run (see unreadSettingsFile). A missing one need not.
    if (CheckPath(path) != PathKind::Missing) unreadSettingsFile = path;
    return;
  }
  bool readFailed = false;
  LineReader reader = MakeLineReader([file, &readFailed](char* buffer, size_t capacity) {
    DWORD got = 0;
    if (!ReadFile(file, buffer, static_cast<DWORD>(capacity), &got, nullptr)) {
      readFailed = true;
      return size_t{0};
    }
    return static_cast<size_t>(got);
  });
  while (BytesRemain(reader)) AppendMapping(ReadMappingRowText(reader));
  (void)CloseHandle(file);  // only read
  if (readFailed) unreadSettingsFile = path;
}

void SaveMappings(const std::string& title, const std::string& fileName) {
  const std::string path = SettingsFilePath(title, fileName);
  if (!unreadSettingsFile.empty() && path == unreadSettingsFile) return;

  const PathKind existing = CheckPath(path);
  if (existing == PathKind::Folder) return;
  if (existing == PathKind::File && !MayWriteExistingFile(path)) return;  // e.g. read-only
  const DWORD oldAttributes = existing == PathKind::File ? GetFileAttributesA(path.c_str())
                                                         : INVALID_FILE_ATTRIBUTES;

  // The new content goes to a file beside the settings file first and
  // replaces it in one step only once it is complete on the disk: a full
  // disk, a write error or the process ending half-way leaves the previous
  // content in place.
  const std::string newPath = path + ".tmp";
  HANDLE file = OpenForWriting(newPath);
  if (file == INVALID_HANDLE_VALUE) return;  // no DataFolder, or no room for the file
  const bool complete = WriteTable(file);
  (void)CloseHandle(file);  // every byte has been flushed or the file is dropped below
  const bool replaced =
      complete && MoveFileExA(newPath.c_str(), path.c_str(),
                              MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!replaced) {
    (void)DeleteFileA(newPath.c_str());  // the old file stays as it was
    return;
  }
  // A file the user hid stays hidden.
  const DWORD keep = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  if (oldAttributes != INVALID_FILE_ATTRIBUTES && (oldAttributes & keep)) {
    (void)SetFileAttributesA(path.c_str(), oldAttributes & (keep | FILE_ATTRIBUTE_ARCHIVE));
  }
}

void SetSettingsWriteCall(SettingsWriteCall call) {
  writeCall = call ? call : CallWriteFile;
}
