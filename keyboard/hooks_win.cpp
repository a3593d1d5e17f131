#include "keyboard/hooks.h"

#include <deque>
#include <string>
#include <utility>
#include "dialogs/edit_dialog.h"
#include "keyboard/key_actions.h"
#include "keyboard/key_decision.h"
#include "mapping/mapping_table.h"
#include "toolkit/numbers.h"
#include "toolkit/ui.h"

std::int32_t captureActive = 0;
std::int32_t capturedKeyCode = 0;

namespace {

constexpr char ActionWindowClass[] = "TavolinKeyActions";
constexpr UINT PerformActionMessage = WM_APP + 41;
constexpr UINT CaptureTakenMessage = WM_APP + 42;
constexpr UINT_PTR CaptureTakenTimer = 1;

HWND actionWindow = nullptr;
HHOOK captureHook = nullptr;
HHOOK applyHook = nullptr;
// Function texts of released mapped keys, read at the moment of the release
// so that the row found then is the one performed even if the table changes
// before the action runs; one posted message per entry.
std::deque<std::string> pendingActions;

void RunNextPendingAction() {
  if (pendingActions.empty()) return;
  std::string functionText = std::move(pendingActions.front());
  pendingActions.pop_front();
  PerformKeyAction(functionText);
}

void FinishCapture() {
  CloseDialog(CaptureDialog, MainWindow);
  OpenEditDialog();
}

LRESULT CALLBACK ActionWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case PerformActionMessage: RunNextPendingAction(); return 0;
    case CaptureTakenMessage: FinishCapture(); return 0;
    case WM_TIMER:
      if (wParam != CaptureTakenTimer) break;
      (void)KillTimer(window, CaptureTakenTimer);   // it runs once
      FinishCapture();
      return 0;
    default: break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void CreateActionWindow() {
  if (actionWindow) return;
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = ActionWindowProcedure;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = ActionWindowClass;
  (void)RegisterClassA(&windowClass);   // fails harmlessly when already registered
  actionWindow = CreateWindowExA(0, ActionWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
}

// Runs `message`'s work right after the hook call; should posting fail (no
// window, a full queue), it runs at once rather than being lost.
void RunAfterHookCall(UINT message) {
  if (actionWindow && PostMessageA(actionWindow, message, 0, 0)) return;
  if (message == PerformActionMessage) RunNextPendingAction();
  else FinishCapture();
}

// The captured key event goes on to the window that has the focus when it
// is pressed, so the dialogs are switched only after it has been delivered:
// a timer message comes after every waiting key message, while a posted
// message would come before them, and the key would land in the edit
// dialog's label field. Should the timer fail, the switch is posted.
void SwitchDialogsAfterCapturedKey() {
  if (actionWindow &&
      SetTimer(actionWindow, CaptureTakenTimer, USER_TIMER_MINIMUM, nullptr) != 0)
    return;
  RunAfterHookCall(CaptureTakenMessage);
}

KeyEventFacts EventFacts(WPARAM wParam, LPARAM lParam) {
  const KBDLLHOOKSTRUCT* record = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
  KeyEventFacts event;
  event.message = wParam;
  event.keyCode = static_cast<std::int32_t>(record->vkCode);
  event.ownMark = record->dwExtraInfo == static_cast<ULONG_PTR>(OwnInputMark);
  return event;
}

}  // namespace

void InstallKeyboardHooks() {
  CreateActionWindow();
  HINSTANCE module = GetModuleHandleA(nullptr);
  // A hook that cannot be installed is simply missing.
  captureHook = SetWindowsHookExA(WH_KEYBOARD_LL, CaptureHook, module, 0);
  applyHook = SetWindowsHookExA(WH_KEYBOARD_LL, ApplyHook, module, 0);
}

void RemoveKeyboardHooks() {
  if (applyHook) (void)UnhookWindowsHookEx(applyHook);
  if (captureHook) (void)UnhookWindowsHookEx(captureHook);
  applyHook = captureHook = nullptr;
}

LRESULT CALLBACK CaptureHook(int nCode, WPARAM wParam, LPARAM lParam) {
  KeyEventFacts event = EventFacts(wParam, lParam);
  switch (DecideCaptureHook(event, captureActive)) {
    case CaptureVerdict::PassOnAndCapture:
      capturedKeyCode = event.keyCode;
      captureActive = 0;   // at once: the next event is not taken again
      SwitchDialogsAfterCapturedKey();
      break;
    case CaptureVerdict::PassOn:
      break;
  }
  return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

LRESULT CALLBACK ApplyHook(int nCode, WPARAM wParam, LPARAM lParam) {
  KeyEventFacts event = EventFacts(wParam, lParam);
  int row = FindMapping(event.keyCode);
  switch (DecideApplyHook(event, row)) {
    case ApplyVerdict::Swallow:
      return 1;
    case ApplyVerdict::SwallowAndAct:
      pendingActions.push_back(MappingCell(row, 1));
      RunAfterHookCall(PerformActionMessage);
      return 1;
    case ApplyVerdict::PassOn:
      break;
  }
  return CallNextHookEx(nullptr, nCode, wParam, lParam);
}
