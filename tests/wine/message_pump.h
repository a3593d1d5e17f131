#pragma once
// Letting the test's windows handle their messages, as the program's wait
// would: what is waiting now, or whatever arrives during a while.
#include <windows.h>

inline void PumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    (void)TranslateMessage(&message);
    (void)DispatchMessageA(&message);
  }
}

// Also what the system, the shell or a deferred action posts meanwhile.
inline void PumpMessagesFor(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  do {
    PumpMessages();
    Sleep(5);
  } while (GetTickCount() - start < milliseconds);
}
