#pragma once
// The file and folder choosers of the edit dialog: the system's open-file
// dialog and folder browser, run modally on the program's thread.
#include <windows.h>
#include <string>

// The open-file dialog with one title, a pattern list such as
// "Alle Dateien|*.*", an initial file and a 0-based pattern index: the full
// path of the chosen file, or empty when cancelled or failed. The current
// directory is the same afterwards as before.
std::string RunFileChooser(const std::string& title, const std::string& patternList,
                           const std::string& initialFile, int patternIndex);

// The folder browser with a title and a folder to preselect: the chosen
// folder with a final backslash, or empty when cancelled or failed.
std::string RunFolderChooser(const std::string& title, const std::string& initialFolder);

// A library of the system folder, such as "SHELL32.DLL", loaded from there
// and from nowhere else, so that a file of that name beside the program or
// in the current directory is never loaded. nullptr when it cannot be
// loaded; release with FreeLibrary.
HMODULE LoadSystemLibrary(const char* name);
