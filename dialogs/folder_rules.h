#pragma once
// Text rules of the file and folder choosers, free of any window so that
// they can be checked on their own.
#include <string>

// The longest folder text the folder browser is asked to preselect
// (MAX_PATH less the terminating NUL).
constexpr std::size_t MaxInitialFolderLength = 259;

// What the folder chooser hands back for a path the browser reported:
// the path with a final backslash, added only when it has none, so a drive
// root keeps its single one. An empty path (an item without a place in the
// file system) gives an empty result, which leaves the dialog's field alone.
std::string FolderResult(const std::string& browserPath);

// The folder the browser preselects for a given text: the text cut to
// MaxInitialFolderLength characters, then one final backslash removed when
// the text is longer than three characters ("C:\" stays a drive root).
std::string InitialFolder(const std::string& folderText);

// The open-file dialog's filter from a pattern list such as
// "Alle Dateien|*.*": every "|" becomes a NUL and a second NUL ends it.
// The result holds the NULs; pass data() to the dialog.
std::string FileFilter(const std::string& patternList);
