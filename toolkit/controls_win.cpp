// Controls created by number in the window opened last: their kinds with
// classes and styles, and reading and setting their state.

#include "toolkit/toolkit_internal.h"

#include <commctrl.h>

namespace {

// Every control, in creation order; the order is the Tab order.
std::vector<ControlRecord> controls;

struct KindSettings {
  const char* windowClass;
  DWORD style;
  DWORD extendedStyle;
};

KindSettings SettingsOf(ControlKind kind) {
  switch (kind) {
    case GroupBox: return {"Button", BS_GROUPBOX | WS_GROUP, 0};
    case ImageControl: return {"STATIC", SS_NOTIFY, 0};
    case TextLabel: return {"Static", SS_LEFT | WS_GROUP, 0};
    case ProgressBar: return {"msctls_progress32", 0, 0};
    case PushButton: return {"Button", BS_PUSHBUTTON | WS_GROUP | WS_TABSTOP, 0};
    case TextField:
      return {"Edit", ES_AUTOHSCROLL | WS_GROUP | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case OptionButton: return {"Button", BS_AUTORADIOBUTTON | WS_TABSTOP, 0};
    case ListControl:
      return {"SysListView32",
              LVS_REPORT | LVS_SINGLESEL | LVS_SHAREIMAGELISTS | WS_TABSTOP,
              WS_EX_CLIENTEDGE};
  }
  return {"Static", 0, 0};
}

// Consecutive options form one group: an option starts a group unless the
// control created just before it in the same window is an option too.
bool StartsOptionGroup(int window) {
  for (auto it = controls.rbegin(); it != controls.rend(); ++it) {
    if (it->window == window) return it->kind != OptionButton;
  }
  return true;
}

void ForgetControl(int number) {
  for (auto it = controls.begin(); it != controls.end(); ++it) {
    if (it->number == number) {
      controls.erase(it);
      return;
    }
  }
}

bool HasStyle(HWND control, DWORD style) {
  return (static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE)) & style) != 0;
}

}  // namespace

HWND CreateControl(ControlKind kind, int number, int x, int y, int width,
                   int height, const char* text, DWORD flags) {
  const int window = LastOpenedWindow();
  HWND parent = WindowHandle(window);
  if (parent == nullptr) return nullptr;

  const KindSettings settings = SettingsOf(kind);
  DWORD style = WS_CHILD | WS_VISIBLE | settings.style | flags;
  if (kind == OptionButton && StartsOptionGroup(window)) style |= WS_GROUP;
  if (kind == ImageControl && width == 0 && height == 0) width = height = 32;

  HWND control = CreateWindowExA(settings.extendedStyle, settings.windowClass,
                                 text ? text : "", style, x, y, width, height, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(number)),
                                 GetModuleHandleA(nullptr), nullptr);
  if (control == nullptr) return nullptr;   // simply missing

  (void)SendMessageA(control, WM_SETFONT,
                     reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
  switch (kind) {
    case ProgressBar:
      (void)SendMessageA(control, PBM_SETRANGE32, 0, 100);
      break;
    case ListControl:
      (void)SendMessageA(control, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_DOUBLEBUFFER,
                         LVS_EX_DOUBLEBUFFER);
      break;
    case ImageControl:
      PaintImageControlWith(control, nullptr);
      break;
    default:
      break;
  }

  // A number names one control: an older control of the number is forgotten.
  ForgetControl(number);
  ControlRecord record;
  record.number = number;
  record.handle = control;
  record.window = window;
  record.kind = kind;
  controls.push_back(record);
  return control;
}

HWND ControlHandle(int number) {
  const ControlRecord* record = FindControl(number);
  return record ? record->handle : nullptr;
}

std::string ControlText(int number) {
  HWND control = ControlHandle(number);
  if (control == nullptr) return {};
  std::string text(static_cast<size_t>(GetWindowTextLengthA(control)) + 1, '\0');
  const int length = GetWindowTextA(control, text.data(), static_cast<int>(text.size()));
  text.resize(length > 0 ? static_cast<size_t>(length) : 0);
  return text;
}

void SetControlText(int number, const std::string& text) {
  if (HWND control = ControlHandle(number)) (void)SetWindowTextA(control, text.c_str());
}

void EnableControl(int number, bool enable) {
  if (HWND control = ControlHandle(number)) {
    (void)EnableWindow(control, enable ? TRUE : FALSE);   // returns the previous state
  }
}

bool IsOptionSelected(int number) {
  HWND control = ControlHandle(number);
  return control != nullptr && SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SelectOption(int number) {
  const ControlRecord* chosen = FindControl(number);
  if (chosen == nullptr) return;
  std::vector<const ControlRecord*> siblings;
  int chosenIndex = -1;
  for (const ControlRecord& record : controls) {
    if (record.window != chosen->window) continue;
    if (record.number == number) chosenIndex = static_cast<int>(siblings.size());
    siblings.push_back(&record);
  }
  // The group starts at the nearest control at or before the chosen one
  // that carries WS_GROUP; its options are cleared up to the first control
  // that is not an option.
  int start = chosenIndex;
  while (start > 0 && !HasStyle(siblings[start]->handle, WS_GROUP)) --start;
  for (size_t i = static_cast<size_t>(start);
       i < siblings.size() && siblings[i]->kind == OptionButton; ++i) {
    (void)SendMessageA(siblings[i]->handle, BM_SETCHECK, BST_UNCHECKED, 0);
  }
  (void)SendMessageA(chosen->handle, BM_SETCHECK, BST_CHECKED, 0);
}

int SelectedListRow(int number) {
  HWND list = ControlHandle(number);
  if (list == nullptr) return -1;
  return static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                       MAKELPARAM(LVNI_SELECTED, 0)));
}

ControlRecord* FindControl(int number) {
  for (ControlRecord& record : controls) {
    if (record.number == number) return &record;
  }
  return nullptr;
}

ControlRecord* FindControlByHandle(HWND control) {
  if (control == nullptr) return nullptr;
  for (ControlRecord& record : controls) {
    if (record.handle == control) return &record;
  }
  return nullptr;
}

std::vector<HWND> ControlsOfWindow(int window) {
  std::vector<HWND> handles;
  for (const ControlRecord& record : controls) {
    if (record.window == window) handles.push_back(record.handle);
  }
  return handles;
}

void ForgetControlsOfWindow(int window) {
  std::vector<ControlRecord> kept;
  for (const ControlRecord& record : controls) {
    if (record.window != window) kept.push_back(record);
    // A click that waits in the queue while its window goes (it came during
    // a modal loop) belongs to a dialog that no longer stands: acting on it
    // later would undo what happened since, e.g. a stale "Abbrechen" of the
    // capture dialog enabling the main window behind the edit dialog.
    else DropGadgetEvents(record.number);
  }
  controls.swap(kept);
}
