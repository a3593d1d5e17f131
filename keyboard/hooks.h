#pragma once
// The two system-wide low-level keyboard hooks: ApplyHook swallows the keys
// that have a row in the mapping table and has the row's function performed
// on the release; CaptureHook takes the next key while the capture dialog
// waits for one.
//
// A hook call only decides and returns: what follows from it (a row's
// function, switching from the capture dialog to the edit dialog) runs on
// the same thread right after the call, through a message posted to the
// module's own message-only window (the switch through a timer message, so
// that the captured key first reaches the window it was pressed in). So the system never finds a hook slow
// and removes it, and the work still runs inside modal loops (message box,
// choosers, popup menus), which dispatch posted messages too.
#include <windows.h>
#include <cstdint>

// 1 while the capture dialog waits for a key.
extern std::int32_t captureActive;
// The key code taken by the last capture.
extern std::int32_t capturedKeyCode;

// Creates the message-only window, then installs CaptureHook first and
// ApplyHook second (the system calls the latest first, so every event meets
// ApplyHook first). A failed installation goes unnoticed.
void InstallKeyboardHooks();
// Removes both hooks at the end of the program, before its windows go.
void RemoveKeyboardHooks();

LRESULT CALLBACK CaptureHook(int nCode, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ApplyHook(int nCode, WPARAM wParam, LPARAM lParam);
