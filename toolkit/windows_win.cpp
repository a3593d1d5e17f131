// Windows opened by number: their classes, styles, placement and closing,
// and the Tab keys that move the focus between their controls.
#include <map>
#include <string>

#include "toolkit/placement.h"
#include "toolkit/tab_order.h"
#include "toolkit/toolkit_internal.h"

static_assert(CenterOnScreen == ScreenCentreBit && CenterOnOwner == OwnerCentreBit,
              "the flags of ui.h and the placement rule agree");
static_assert(CaptionStyle == WS_CAPTION, "the placement rule's caption is WS_CAPTION");

namespace {

struct WindowRecord {
  HWND handle = nullptr;        // nullptr once destroyed
  ATOM windowClass = 0;         // the window's own class
  int owner = -1;
  MessageHandler handler = nullptr;
  SIZE minimumTrackingSize = {0, 0};
  unsigned openingOrder = 0;
};

std::map<int, WindowRecord> windows;
int lastOpenedWindow = -1;
unsigned openingCounter = 0;

std::string ClassNameFor(int number) {
  return "TavolinWindow" + std::to_string(number);
}

WindowRecord* FindOpenWindow(int number) {
  auto found = windows.find(number);
  if (found == windows.end() || found->second.handle == nullptr) return nullptr;
  return &found->second;
}

// Drops a window's record and its class. The window itself is gone already
// (or never came to be), so the class can be unregistered.
void ReleaseWindowRecord(int number) {
  auto found = windows.find(number);
  if (found == windows.end()) return;
  ForgetControlsOfWindow(number);
  (void)UnregisterClassA(ClassNameFor(number).c_str(), GetModuleHandleA(nullptr));
  windows.erase(found);
  if (lastOpenedWindow == number) lastOpenedWindow = -1;
}

ATOM RegisterWindowClass(int number) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  const std::string className = ClassNameFor(number);
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = NumberedWindowProc;
  windowClass.hInstance = instance;
  // Icon resource 1 is the program's icon; without it the window has none.
  windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = className.c_str();
  return RegisterClassExA(&windowClass);
}

bool MayTakeFocus(HWND control) {
  if (!IsWindowEnabled(control) || !IsWindowVisible(control)) return false;
  // The button control itself drops WS_TABSTOP from an option whenever it
  // is unchecked; every option stays a tab stop of its own all the same.
  const ControlRecord* record = FindControlByHandle(control);
  if (record != nullptr && record->kind == OptionButton) return true;
  return (GetWindowLongA(control, GWL_STYLE) & WS_TABSTOP) != 0;
}

}  // namespace

bool OpenNumberedWindow(int number, int innerWidth, int innerHeight,
                        const char* caption, DWORD flags, int ownerNumber) {
  // Every opening builds a fresh window: one still open under the number
  // goes first, and so does the class of one destroyed behind our back.
  CloseNumberedWindow(number);
  ReleaseWindowRecord(number);
  // Until this window exists, controls have no window to go to: should the
  // opening fail, none of them lands in the window opened before.
  lastOpenedWindow = -1;

  WindowRecord record;
  record.windowClass = RegisterWindowClass(number);
  if (record.windowClass == 0) return false;

  const DWORD style = WindowStyleFromFlags(flags);
  RECT outer = {0, 0, innerWidth, innerHeight};
  (void)AdjustWindowRectEx(&outer, style, FALSE, 0);

  HWND owner = WindowHandle(ownerNumber);
  if (owner != nullptr) record.owner = ownerNumber;
  HWND reference = owner != nullptr ? owner : GetActiveWindow();
  ScreenArea referenceArea;
  RECT referenceRect;
  const bool haveReference = reference != nullptr && GetWindowRect(reference, &referenceRect);
  if (haveReference) {
    referenceArea.left = referenceRect.left;
    referenceArea.top = referenceRect.top;
    referenceArea.width = referenceRect.right - referenceRect.left;
    referenceArea.height = referenceRect.bottom - referenceRect.top;
  }
  const WindowPlacement placement =
      PlaceWindow(flags, outer.right - outer.left, outer.bottom - outer.top,
                  GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                  haveReference ? &referenceArea : nullptr);

  // The record exists before the window, so that the messages of its
  // creation already find their window number.
  record.openingOrder = ++openingCounter;
  windows[number] = record;
  HWND window = CreateWindowExA(0, ClassNameFor(number).c_str(), caption ? caption : "",
                                style, placement.x, placement.y, placement.width,
                                placement.height, owner, nullptr, GetModuleHandleA(nullptr),
                                nullptr);
  if (window == nullptr) {
    ReleaseWindowRecord(number);
    return false;
  }
  windows[number].handle = window;
  lastOpenedWindow = number;
  (void)ShowWindow(window, SW_SHOWNORMAL);   // returns the previous visibility
  return true;
}

void CloseNumberedWindow(int number) {
  WindowRecord* record = FindOpenWindow(number);
  if (record == nullptr) return;
  // Hand the activation to the owner first, so that it does not go to
  // some other program when the dialog disappears.
  if (HWND owner = WindowHandle(record->owner)) (void)SetActiveWindow(owner);
  (void)DestroyWindow(record->handle);
  ReleaseWindowRecord(number);
}

void CloseDialog(int dialog, int owner) {
  EnableNumberedWindow(owner, true);
  CloseNumberedWindow(dialog);
}

void CloseAllWindows() {
  // Latest opened first: dialogs go before the windows that own them.
  while (!windows.empty()) {
    auto latest = windows.begin();
    for (auto it = windows.begin(); it != windows.end(); ++it) {
      if (it->second.openingOrder > latest->second.openingOrder) latest = it;
    }
    const int number = latest->first;
    CloseNumberedWindow(number);
    ReleaseWindowRecord(number);   // also when it was destroyed with its owner
  }
}

HWND WindowHandle(int number) {
  WindowRecord* record = FindOpenWindow(number);
  return record ? record->handle : nullptr;
}

bool IsWindowOpen(int number) { return FindOpenWindow(number) != nullptr; }

void EnableNumberedWindow(int number, bool enable) {
  if (HWND window = WindowHandle(number)) {
    (void)EnableWindow(window, enable ? TRUE : FALSE);   // returns the previous state
  }
}

void SetMinimumTrackingSize(int number, int outerWidth, int outerHeight) {
  if (WindowRecord* record = FindOpenWindow(number)) {
    record->minimumTrackingSize = {outerWidth, outerHeight};
  }
}

void SetMessageHandler(int window, MessageHandler handler) {
  if (WindowRecord* record = FindOpenWindow(window)) record->handler = handler;
}

int WindowNumberOf(HWND window) {
  if (window == nullptr) return -1;
  // Each window has a class of its own, so the class tells the number,
  // even while CreateWindowExA has not yet returned the handle.
  const ATOM windowClass = static_cast<ATOM>(GetClassLongPtrA(window, GCW_ATOM));
  for (const auto& [number, record] : windows) {
    if (record.windowClass == windowClass) return number;
  }
  return -1;
}

int LastOpenedWindow() { return lastOpenedWindow; }

MessageHandler WindowMessageHandler(int number) {
  auto found = windows.find(number);
  return found == windows.end() ? nullptr : found->second.handler;
}

void ApplyMinimumTrackingSize(int number, MINMAXINFO* info) {
  auto found = windows.find(number);
  if (found == windows.end()) return;
  const SIZE minimum = found->second.minimumTrackingSize;
  if (minimum.cx > 0) info->ptMinTrackSize.x = minimum.cx;
  if (minimum.cy > 0) info->ptMinTrackSize.y = minimum.cy;
}

void ForgetDestroyedWindow(int number, HWND window) {
  auto found = windows.find(number);
  if (found == windows.end() || found->second.handle != window) return;
  // The record and the class stay until the number is closed or reopened:
  // a class cannot be unregistered while its window is being destroyed.
  found->second.handle = nullptr;
  ForgetControlsOfWindow(number);
}

void FocusFirstControl(int number) {
  const std::vector<HWND> controls = ControlsOfWindow(number);
  std::vector<bool> eligible;
  for (HWND control : controls) eligible.push_back(MayTakeFocus(control));
  const int first = NextTabStop(eligible, -1, false);
  if (first >= 0) (void)SetFocus(controls[first]);   // returns the previous focus
}

bool HandleTabKey(const MSG& message) {
  if (message.message != WM_KEYDOWN || message.wParam != VK_TAB) return false;
  // Like an accelerator for Tab and Shift+Tab: Ctrl+Tab and Alt+Tab are not it.
  if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
  HWND topLevel = GetAncestor(message.hwnd, GA_ROOT);
  const int number = WindowNumberOf(topLevel);
  if (number < 0) return false;

  const std::vector<HWND> controls = ControlsOfWindow(number);
  HWND focus = GetFocus();
  int current = -1;
  std::vector<bool> eligible;
  for (size_t i = 0; i < controls.size(); ++i) {
    if (controls[i] == focus || IsChild(controls[i], focus)) current = static_cast<int>(i);
    eligible.push_back(MayTakeFocus(controls[i]));
  }
  const bool backward = GetKeyState(VK_SHIFT) < 0;
  const int next = NextTabStop(eligible, current, backward);
  if (next >= 0) {
    (void)SetFocus(controls[next]);   // returns the previous focus
    // Keyboard use from now on: let buttons show their focus rectangle.
    (void)SendMessageA(topLevel, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
  }
  return true;
}
