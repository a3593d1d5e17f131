#pragma once
// Around the system's own modal windows (the message box, the file and
// folder choosers): their owner, and the program's other windows, which
// take no input while such a window is open.
#include <windows.h>
#include <vector>

// The foreground window when it belongs to this process, otherwise nullptr.
HWND OwnForegroundWindow();

// Disables every visible, enabled top-level window of this thread except the
// foreground window, and returns exactly those.
std::vector<HWND> DisableOtherWindows();

// Enables again the windows that DisableOtherWindows() disabled; a window
// that was disabled before (the owner of an open dialog) stays disabled.
void EnableWindowsAgain(const std::vector<HWND>& windows);
