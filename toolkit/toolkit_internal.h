#pragma once
// What the toolkit's own files share with each other. Not for the rest of
// the program: it uses toolkit/ui.h.
#include <vector>
#include "toolkit/ui.h"

struct ControlRecord {
  int number = 0;
  HWND handle = nullptr;
  int window = -1;              // number of the window it lives in
  ControlKind kind = TextLabel;
  bool listHadSelection = false;  // lists: a row was selected at the last look
};

// windows_win.cpp
int WindowNumberOf(HWND window);          // -1 for a window not opened by number
int LastOpenedWindow();                   // -1 when it has been closed since
MessageHandler WindowMessageHandler(int number);
void ApplyMinimumTrackingSize(int number, MINMAXINFO* info);
void ForgetDestroyedWindow(int number, HWND window);   // on WM_NCDESTROY
bool HandleTabKey(const MSG& message);    // true when the message was a Tab key

// controls_win.cpp
ControlRecord* FindControl(int number);
ControlRecord* FindControlByHandle(HWND control);
std::vector<HWND> ControlsOfWindow(int window);   // in creation order
void ForgetControlsOfWindow(int window);

// events_win.cpp
LRESULT CALLBACK NumberedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PushEvent(EventKind kind, int number, int type);
// Forgets the GadgetEvents of a control that still wait to be returned.
void DropGadgetEvents(int controlNumber);

// images_win.cpp
void PaintImageControlWith(HWND control, HICON icon);   // installs the painter
void ReleaseImages();
// An icon from the bytes of a whole ICO file; nullptr when they hold none.
HICON IconFromIcoFile(const void* data, size_t size);

// fonts_win.cpp
void ReleaseFonts();
