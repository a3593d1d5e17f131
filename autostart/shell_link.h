#pragma once
// Writing a shell link (.lnk) through the shell's COM objects.
#include <string>

// An icon file of exactly this text stands for the target.
constexpr char IconOfTarget[] = "|";

// Writes a link at `linkPath` pointing at `target`. An empty working folder
// stands for the folder part of the target. Returns 1 when the link object
// was created and asked to save itself, else 0 (whether the save succeeded is
// not known).
int CreateShortcut(const std::string& target, const std::string& linkPath,
                   const std::string& workingFolder, const std::string& arguments,
                   int showCommand, const std::string& description, int hotkey,
                   const std::string& iconFile, int iconIndex);
