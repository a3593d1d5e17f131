#pragma once
// Starting with Windows: the shortcut in the user's Startup folder, the
// check mark of menu item 5 "Autostart" that shows it, and window 4, which
// chooses how the program's window is shown when Windows starts it.
#include <string>

// The user's Startup folder with a trailing backslash, looked up anew at
// every call; empty when the folder cannot be determined.
std::string StartupFolderPath();
// StartupFolderPath, the program's title and ".lnk"; empty when the Startup
// folder cannot be determined (the shortcut is then never written or found).
std::string StartupShortcutPath();

// Start-up: sets the check mark when the shortcut is present.
void UpdateAutostartMark();
// Menu item 5: deletes a present shortcut and clears the mark, or else opens
// the start-mode dialog.
void ToggleStartupShortcut();
// Window 4 with its controls 401..407; the main window disabled last.
void OpenStartModeDialog();

// Start modes chosen with buttons 404, 405 and 406.
enum StartMode { StartNormal = 1, StartMinimized = 2, StartMaximized = 3 };
// Sets the check mark, then writes the shortcut to the running program with
// the mode's show command.
void ChooseStartMode(int mode);
