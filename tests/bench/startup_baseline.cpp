// The yardstick of the start-up benchmark: a minimal Win32 program that opens
// one window of the main window's size, centred, and runs a message loop
// until the window is closed. Exit code 0.
#include <windows.h>

namespace {

LRESULT CALLBACK BaselineWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = BaselineWindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = "StartupBaseline";
  if (!RegisterClassExA(&windowClass)) return 0;

  RECT outer{0, 0, 500, 200};
  (void)AdjustWindowRectEx(&outer, WS_OVERLAPPEDWINDOW, FALSE, 0);
  const int width = outer.right - outer.left;
  const int height = outer.bottom - outer.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  HWND window = CreateWindowExA(0, windowClass.lpszClassName, "Startup baseline", WS_OVERLAPPEDWINDOW,
                                x < 0 ? 0 : x, y < 0 ? 0 : y, width, height, nullptr, nullptr, instance, nullptr);
  if (!window) return 0;
  (void)ShowWindow(window, SW_SHOWNORMAL);
  (void)UpdateWindow(window);

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    (void)TranslateMessage(&message);
    (void)DispatchMessageA(&message);
  }
  return 0;
}
