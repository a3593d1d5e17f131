#pragma once
// Program-wide names and the flags that connect the parts.
#include <string>
#include "resources/version.h"

constexpr char ProgramTitle[] = TAVOLIN_TITLE;
constexpr char ProgramVersion[] = TAVOLIN_VERSION;
constexpr char SettingsFileName[] = "Tasten.ini";

// "Tavolin 1.0.4": caption of the main window, tooltip, first line of the about text.
inline std::string DisplayTitle() {
  return std::string(ProgramTitle) + " " + ProgramVersion;
}
