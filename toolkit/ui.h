#pragma once
// Numbered windows, controls and events over Win32.
//
// Every window is opened by number from an inner size, a caption, a flags
// word and an owner; controls are created by number in the window opened
// last; user actions come back one at a time from WaitEvent() as events that
// carry the number of the object that produced them. Everything runs on the
// program's one thread.
#include <windows.h>
#include <string>
#include "toolkit/numbers.h"

enum EventKind {
  NoEvent = 0,
  SizeEvent,      // WM_SIZE of any program window, except SIZE_MINIMIZED
  CloseEvent,     // WM_CLOSE of any program window; never destroys it
  GadgetEvent,    // a control's WM_COMMAND or a list's notification
  MenuEvent,      // a menu item or toolbar button
  TrayEvent,      // a mouse message on the notification-area icon
  MinimizeEvent   // WM_SIZE with SIZE_MINIMIZED
};

struct Event {
  EventKind kind = NoEvent;
  // Control, menu item or icon number; for SizeEvent, CloseEvent and
  // MinimizeEvent the number of the window (-1 for a WM_QUIT, which is
  // taken as a close request).
  int number = 0;
  int type = 0;     // notification code, or the TrayEvent type 0..3
};

// Flags of OpenNumberedWindow: the three low bits place the window, the
// rest are Win32 window styles. Flags with no bits but these two get
// WS_CAPTION alone.
constexpr DWORD CenterOnScreen = 1;
constexpr DWORD CenterOnOwner = 2;
constexpr DWORD MainWindowFlags = 0x00CF0001;   // WS_OVERLAPPEDWINDOW, centred on the screen
constexpr DWORD DialogFlags = CenterOnOwner;    // caption bar only, centred on the owner

// Private messages of the notification-area icon: the shell's callback, and
// the copy that window 0 posts to itself and turns into a TrayEvent.
constexpr UINT TrayCallbackMessage = 12501;
constexpr UINT TrayEventMessage = 12502;

// Start-up and teardown of the layer.
void InitUserInterface();          // common controls, COM, tables
void CloseAllWindows();            // teardown: every window still open
void ReleaseUserInterface();       // images, fonts, COM

// Windows.
bool OpenNumberedWindow(int number, int innerWidth, int innerHeight,
                        const char* caption, DWORD flags, int ownerNumber = -1);
void CloseNumberedWindow(int number);
void CloseDialog(int dialog, int owner);
HWND WindowHandle(int number);     // nullptr when not open
bool IsWindowOpen(int number);
void EnableNumberedWindow(int number, bool enable);
// Gives the keyboard focus to the window's first control that Tab would
// reach, so that a dialog can be used from the keyboard as soon as it opens.
void FocusFirstControl(int number);
// Smallest outer size of a window, for WM_GETMINMAXINFO.
void SetMinimumTrackingSize(int number, int outerWidth, int outerHeight);

// A window's own message handler runs before the layer's handling. It
// returns true when it has answered the message (result in *result); then
// no event is produced for it. It should answer only what it handles: the
// layer itself needs WM_SIZE, WM_CLOSE, WM_COMMAND, WM_NOTIFY, the tray
// messages and WM_GETMINMAXINFO. Set it after opening the window; the
// messages of the window's creation reach only the layer.
using MessageHandler = bool (*)(HWND window, UINT message, WPARAM wParam,
                                LPARAM lParam, LRESULT* result);
void SetMessageHandler(int window, MessageHandler handler);

// Controls, created in the window opened last.
enum ControlKind { GroupBox, ImageControl, TextLabel, ProgressBar, PushButton,
                   TextField, OptionButton, ListControl };
constexpr DWORD ReadOnlyField = 2048;      // TextField: ES_READONLY
constexpr DWORD MarqueeProgress = 8;       // ProgressBar: PBS_MARQUEE
constexpr DWORD ShowSelectionAlways = 8;   // ListControl: LVS_SHOWSELALWAYS

// `flags` are further window styles of the control (the constants above).
// A progress bar gets the range 0..100; an ImageControl made here shows no
// image (use CreateImageControl). nullptr when it cannot be created, or
// when the window opened last has been closed or failed to open. Text
// fields report gaining and losing the focus (EN_SETFOCUS, EN_KILLFOCUS)
// as GadgetEvents like their other notifications.
HWND CreateControl(ControlKind kind, int number, int x, int y, int width,
                   int height, const char* text = "", DWORD flags = 0);
// An image control showing image `image`; a size of 0 x 0 is the icon's own.
HWND CreateImageControl(int number, int x, int y, int width, int height, int image);
HWND ControlHandle(int number);    // nullptr when not created
std::string ControlText(int number);
void SetControlText(int number, const std::string& text);
void EnableControl(int number, bool enable);
bool IsOptionSelected(int number);
// Clears every option of the group that `number` belongs to, then selects it.
void SelectOption(int number);
int SelectedListRow(int number);   // -1 when none

// Images 1..5, loaded from the icon files embedded in the program (RCDATA
// resources 101..105, each a whole ICO file).
void LoadImages();
HICON ImageHandle(int image);      // nullptr when not loaded

// Fonts by number; a font already held under the number is released first.
void SetNumberedFont(int number, HFONT font);
HFONT NumberedFont(int number);

// Events.
// Blocks until the next event; Tab and Shift+Tab are handled on the way.
Event WaitEvent();
