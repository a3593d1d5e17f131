#include "mapping/settings_file.h"

#include <vector>

#include "mapping/mapping_table.h"
#include "mapping/settings_format.h"

namespace {

// Paths are worked on in copies of at most this length.
constexpr size_t PathLimit = MAX_PATH;

// A settings file that existed but could not be read completely by the
// last LoadMappings, or whose rows the key table did not all take (no list
// to hold them); empty when the load went well. Saving then would replace
// rows the table never held with the ones it has (often none), so
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

// Whether a failed file call's error says that nothing stands at the path.
// Any other error (denied, held by another program, a network path that
// does not answer) leaves open what is there.
bool MeansNothingThere(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// The settings file's new content is written through this opening: read
// and write access, others may only read, replacing what is there. Windows
// refuses that for a hidden file (such as a temp file an interrupted save
// left behind and someone hid), so a second attempt truncates it instead.
HANDLE OpenForWriting(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                            nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                       TRUNCATE_EXISTING, 0, nullptr);
  }
  return file;
}

// Whether the settings file standing at `path` with `attributes` may be
// replaced by us now: a file, not read-only, not denied, not held by a
// program that forbids writing. The replacement is a rename, which does
// not ask all of this, so it is asked here, as writing in place would.
// Opened without truncating, so nothing is lost by asking.
bool MayReplaceExistingFile(const std::string& path, DWORD attributes) {
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return false;  // a folder is left alone
  // The attribute is asked as well: a system that lets a privileged user
  // open a read-only file for writing anyway must still not have it written.
  if (attributes & FILE_ATTRIBUTE_READONLY) return false;
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
    // Held by another program, denied, a folder of that name, or a place
    // that does not answer: what stands there must survive this run (see
    // unreadSettingsFile). Only a file that is not there need not. Told by
    // the failed call itself: a second look with a search would report a
    // file in a folder that may not be listed as missing.
    if (!MeansNothingThere(GetLastError())) unreadSettingsFile = path;
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
  const int rowsBefore = MappingCount();
  int rowsRead = 0;
  while (BytesRemain(reader)) {
    AppendMapping(ReadMappingRowText(reader));
    ++rowsRead;
  }
  (void)CloseHandle(file);  // only read
  if (readFailed || MappingCount() != rowsBefore + rowsRead) unreadSettingsFile = path;
}

void SaveMappings(const std::string& title, const std::string& fileName) {
  const std::string path = SettingsFilePath(title, fileName);
  if (!unreadSettingsFile.empty() && path == unreadSettingsFile) return;

  // What stands at the file's place now decides whether it may be replaced.
  const DWORD oldAttributes = GetFileAttributesA(path.c_str());
  if (oldAttributes == INVALID_FILE_ATTRIBUTES) {
    if (!MeansNothingThere(GetLastError())) return;  // something there we cannot see
  } else if (!MayReplaceExistingFile(path, oldAttributes)) {
    return;
  }

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
  // The file keeps the hidden and system marks the user gave it, and takes
  // none from a temp file that was hidden; like any file just written, it is
  // marked for archiving.
  const DWORD userMarks = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  const DWORD kept = oldAttributes == INVALID_FILE_ATTRIBUTES ? 0 : oldAttributes & userMarks;
  (void)SetFileAttributesA(path.c_str(), kept | FILE_ATTRIBUTE_ARCHIVE);  // the content is in place
}

void SetSettingsWriteCall(SettingsWriteCall call) {
  writeCall = call ? call : CallWriteFile;
}
