#include "dialogs/folder_rules.h"

std::string FolderResult(const std::string& browserPath) {
  if (browserPath.empty()) return std::string();
  if (browserPath.back() == '\\') return browserPath;
  return browserPath + '\\';
}

std::string InitialFolder(const std::string& folderText) {
  std::string folder = folderText.substr(0, MaxInitialFolderLength);
  if (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
  return folder;
}

std::string FileFilter(const std::string& patternList) {
  std::string filter = patternList;
  for (char& c : filter) {
    if (c == '|') c = '\0';
  }
  // The pattern list's own end, then the second NUL that ends the filter.
  filter.push_back('\0');
  filter.push_back('\0');
  return filter;
}
