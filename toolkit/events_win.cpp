// Events: the procedure of every numbered window turns messages into
// events, and WaitEvent hands them out one at a time in the order they
// arose.

#include <deque>

#include "toolkit/toolkit_internal.h"

#include <commctrl.h>

namespace {

std::deque<Event> pendingEvents;

// The TrayEvent type of a mouse message on the notification-area icon, -1
// for the mouse messages that give no event.
int TrayEventType(UINT mouseMessage) {
  switch (mouseMessage) {
    case WM_LBUTTONDOWN: return 0;
    case WM_RBUTTONDOWN: return 1;
    case WM_LBUTTONDBLCLK: return 2;
    case WM_RBUTTONDBLCLK: return 3;
    default: return -1;
  }
}

void OnCommand(WPARAM wParam, LPARAM lParam) {
  HWND sender = reinterpret_cast<HWND>(lParam);
  if (sender == nullptr) {
    // A menu item; a high word of 1 would be an accelerator, and there are none.
    if (HIWORD(wParam) == 0) PushEvent(MenuEvent, LOWORD(wParam), 0);
    return;
  }
  // GetDlgCtrlID gives the identifier as an int, so the toolbar's negative
  // one compares as it was given.
  const int id = GetDlgCtrlID(sender);
  if (id == ToolbarControlId) {
    PushEvent(MenuEvent, LOWORD(wParam), 0);
  } else {
    PushEvent(GadgetEvent, id, HIWORD(wParam));
  }
}

bool ListHasSelection(HWND list) {
  return SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                      MAKELPARAM(LVNI_SELECTED, 0)) != -1;
}

// The notifications of a list that become events: a row becoming selected,
// clicks and double clicks of either button, and the start of a drag.
void OnNotify(const NMHDR* header) {
  ControlRecord* list = FindControlByHandle(header->hwndFrom);
  if (list == nullptr || list->kind != ListControl) return;
  const int code = static_cast<int>(header->code);
  switch (header->code) {
    case LVN_ITEMCHANGED: {
      const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
      if ((change->uChanged & LVIF_STATE) && (change->uNewState & LVIS_SELECTED)) {
        list->listHadSelection = true;
        PushEvent(GadgetEvent, list->number, code);
      }
      break;
    }
    case NM_CLICK:
    case NM_RCLICK: {
      // A click that took the selection away is reported as a change first,
      // so that whoever follows the selection hears of it.
      const bool selected = ListHasSelection(list->handle);
      if (!selected && list->listHadSelection) {
        PushEvent(GadgetEvent, list->number, static_cast<int>(LVN_ITEMCHANGED));
      }
      list->listHadSelection = selected;
      PushEvent(GadgetEvent, list->number, code);
      break;
    }
    case LVN_DELETEITEM: {
      // Removing the selected row leaves none selected, so a later click on
      // the empty list takes no selection away. (The list may already have
      // cleared the row's selection when it tells of the removal.)
      const auto* removal = reinterpret_cast<const NMLISTVIEW*>(header);
      const int selected = static_cast<int>(SendMessageA(
          list->handle, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0)));
      if (selected == -1 || selected == removal->iItem) list->listHadSelection = false;
      break;
    }
    case NM_DBLCLK:
    case NM_RDBLCLK:
    case LVN_BEGINDRAG:
      PushEvent(GadgetEvent, list->number, code);
      break;
    default:
      break;
  }
}

}  // namespace

void PushEvent(EventKind kind, int number, int type) {
  Event event;
  event.kind = kind;
  event.number = number;
  event.type = type;
  pendingEvents.push_back(event);
}

void DropGadgetEvents(int controlNumber) {
  for (auto event = pendingEvents.begin(); event != pendingEvents.end();) {
    if (event->kind == GadgetEvent && event->number == controlNumber) {
      event = pendingEvents.erase(event);
    } else {
      ++event;
    }
  }
}

LRESULT CALLBACK NumberedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const int number = WindowNumberOf(window);
  if (MessageHandler handler = WindowMessageHandler(number)) {
    LRESULT result = 0;
    if (handler(window, message, wParam, lParam, &result)) return result;
  }
  switch (message) {
    case WM_SIZE:
      PushEvent(wParam == SIZE_MINIMIZED ? MinimizeEvent : SizeEvent, number, 0);
      return 0;
    case WM_CLOSE:
      // Not passed on: a close request never destroys a window by itself.
      PushEvent(CloseEvent, number, 0);
      return 0;
    case WM_COMMAND:
      OnCommand(wParam, lParam);
      return 0;
    case WM_NOTIFY:
      OnNotify(reinterpret_cast<const NMHDR*>(lParam));
      break;
    case TrayCallbackMessage:
      // The shell's callback may come while the program sits in some modal
      // loop; the posted copy is taken in turn with the other messages.
      (void)PostMessageA(window, TrayEventMessage, wParam, lParam);
      return 0;
    case TrayEventMessage: {
      const int type = TrayEventType(LOWORD(lParam));
      if (type >= 0) PushEvent(TrayEvent, static_cast<int>(wParam), type);
      return 0;
    }
    case WM_GETMINMAXINFO:
      ApplyMinimumTrackingSize(number, reinterpret_cast<MINMAXINFO*>(lParam));
      return 0;
    case WM_NCDESTROY:
      ForgetDestroyedWindow(number, window);
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

Event WaitEvent() {
  while (pendingEvents.empty()) {
    MSG message;
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0) {
      // WM_QUIT: somebody asks the program to end. That is a close request.
      PushEvent(CloseEvent, -1, 0);
      break;
    }
    if (got == -1) continue;   // only for an invalid window filter, and there is none
    if (HandleTabKey(message)) continue;
    (void)TranslateMessage(&message);   // tells only whether a character came of it
    (void)DispatchMessageA(&message);   // the window procedure's result means nothing here
  }
  const Event event = pendingEvents.front();
  pendingEvents.pop_front();
  return event;
}
