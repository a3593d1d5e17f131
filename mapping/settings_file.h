#pragma once
// Where the key table is kept between runs, and reading and writing it.
// The data folder is "<appdata>\Pellwick\<title>\" and the settings file
// lies in it; paths are built afresh from the environment variable
// "appdata" every time. Nothing here shows a message or reports an error:
// a failure leaves things as they were.
#include <windows.h>

#include <string>

enum class PathKind { Missing, Folder, File };

std::string AppDataValue();   // the variable "appdata"; empty when unset
std::string MakerFolderPath();  // AppDataValue() + "\Pellwick\"
std::string DataFolderPath(const std::string& title);
std::string SettingsFilePath(const std::string& title, const std::string& fileName);

// Whether a folder, a file or nothing stands at `path` (drive roots such as
// "C:" and "C:\" and UNC shares count as folders when they exist).
PathKind CheckPath(const std::string& path);

// Creates the last level of `path` (trailing blanks and separators ignored).
void CreateFolder(const std::string& path);

// Creates the maker folder and the data folder where they are not folders.
void EnsureDataFolder(const std::string& title);

// Creates an empty settings file when nothing of its name exists.
void EnsureSettingsFile(const std::string& title, const std::string& fileName);

// Appends a row to the key table (mapping_table.h) for every three lines of
// the settings file.
void LoadMappings(const std::string& title, const std::string& fileName);

// Replaces the settings file's content with every row of the key table,
// in one step once the new content is complete on the disk. A file that is
// read-only, or that the last LoadMappings could not read whole or whose
// rows the table did not all take, is left as it is: its rows would be lost.
void SaveMappings(const std::string& title, const std::string& fileName);

// For tests: the call that writes a block of the settings file (WriteFile's
// signature); nullptr restores WriteFile.
using SettingsWriteCall = BOOL (*)(HANDLE file, const void* bytes, DWORD count,
                                   DWORD* written);
void SetSettingsWriteCall(SettingsWriteCall call);
