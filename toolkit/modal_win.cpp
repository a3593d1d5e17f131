#include "toolkit/modal.h"

namespace {

struct DisableSweep {
  HWND foreground;
  std::vector<HWND> disabled;
};

BOOL CALLBACK DisableIfUsable(HWND window, LPARAM sweepAddress) {
  auto* sweep = reinterpret_cast<DisableSweep*>(sweepAddress);
  if (window != sweep->foreground && IsWindowVisible(window) && IsWindowEnabled(window)) {
    (void)EnableWindow(window, FALSE);
    sweep->disabled.push_back(window);
  }
  return TRUE;
}

}  // namespace

HWND OwnForegroundWindow() {
  HWND foreground = GetForegroundWindow();
  if (foreground == nullptr) return nullptr;
  DWORD process = 0;
  (void)GetWindowThreadProcessId(foreground, &process);
  return process == GetCurrentProcessId() ? foreground : nullptr;
}

std::vector<HWND> DisableOtherWindows() {
  DisableSweep sweep{GetForegroundWindow(), {}};
  (void)EnumThreadWindows(GetCurrentThreadId(), DisableIfUsable,
                          reinterpret_cast<LPARAM>(&sweep));
  return sweep.disabled;
}

void EnableWindowsAgain(const std::vector<HWND>& windows) {
  for (HWND window : windows) {
    if (IsWindow(window)) (void)EnableWindow(window, TRUE);
  }
}
