// The notification-area icon, its popup menu and the main window's
// visibility. Visibility is nothing but the window's own Win32 state
// (visible or hidden, normal, maximised or minimised): no flag is kept here.
#include "app/tray.h"

#include <windows.h>
#include <shellapi.h>
#include <cstring>

#include "app/menu_look.h"
#include "app/program.h"
#include "toolkit/ui.h"

namespace {

HMENU trayPopupMenu = nullptr;   // menu 1, reused for every opening

// The first, smallest version of the record, which every shell accepts.
NOTIFYICONDATAA TrayIconRecord() {
  NOTIFYICONDATAA record;
  std::memset(&record, 0, sizeof record);
  record.cbSize = NOTIFYICONDATAA_V1_SIZE;
  record.hWnd = WindowHandle(MainWindow);
  record.uID = TrayIconNumber;
  return record;
}

}  // namespace

void BuildTrayPopupMenu() {
  trayPopupMenu = CreatePopupMenu();
  if (!trayPopupMenu) return;   // the program runs on without a popup
  AppendOwnerDrawnItem(trayPopupMenu, TrayShow, "Anzeigen");
  AppendOwnerDrawnItem(trayPopupMenu, TrayHide, "Verstecken");
  AppendOwnerDrawnItem(trayPopupMenu, TrayQuit, "Beenden");
}

void AddTrayIcon() {
  NOTIFYICONDATAA record = TrayIconRecord();
  record.uFlags = NIF_MESSAGE | NIF_ICON;
  record.uCallbackMessage = TrayCallbackMessage;
  record.hIcon = ImageHandle(ImageKey);   // used as it is, not copied
  // Without a notification area the program runs without an icon; the
  // tooltip below then changes nothing.
  (void)Shell_NotifyIconA(NIM_ADD, &record);

  NOTIFYICONDATAA tip = TrayIconRecord();
  tip.uFlags = NIF_TIP;
  // The version 1 record holds 64 bytes of tooltip: at most 63 characters
  // and a zero, the rest already zero.
  const std::string title = DisplayTitle();
  std::memcpy(tip.szTip, title.c_str(), title.size() < 63 ? title.size() : 63);
  (void)Shell_NotifyIconA(NIM_MODIFY, &tip);
}

void RemoveTrayIcon() {
  NOTIFYICONDATAA record = TrayIconRecord();
  (void)Shell_NotifyIconA(NIM_DELETE, &record);   // nothing to do without an icon
  // The popup menu lives exactly as long as the icon it belongs to.
  if (trayPopupMenu) (void)DestroyMenu(trayPopupMenu);
  trayPopupMenu = nullptr;
}

void ShowTrayPopup() {
  POINT pointer = {0, 0};
  (void)GetCursorPos(&pointer);
  HWND mainWindow = WindowHandle(MainWindow);
  // The popup only closes on a click elsewhere when its owner is the
  // foreground window, hidden or not.
  (void)SetForegroundWindow(mainWindow);
  // The chosen item reaches window 0 as WM_COMMAND, i.e. as a MenuEvent.
  (void)TrackPopupMenu(trayPopupMenu, TPM_RIGHTBUTTON, pointer.x - 1,
                       pointer.y - 1, 0, mainWindow, nullptr);
  // A message of no meaning lets the system finish the task switch that
  // SetForegroundWindow began; without it the next popup of the icon can
  // close again the moment it opens. It gives no event.
  (void)PostMessageA(mainWindow, WM_NULL, 0, 0);
}

void ShowMainWindow() {
  HWND mainWindow = WindowHandle(MainWindow);
  // A minimised window returns to its earlier placement, a maximised one to
  // its normal size, a hidden one becomes visible.
  (void)ShowWindow(mainWindow, SW_RESTORE);
  int show = SW_SHOWNORMAL;
  if (IsZoomed(mainWindow)) show = SW_SHOWMAXIMIZED;
  else if (IsIconic(mainWindow)) show = SW_SHOWMINIMIZED;
  (void)ShowWindow(mainWindow, show);
  (void)SetForegroundWindow(mainWindow);
}

void HideMainWindow() {
  // The size state stays: a minimised window stays minimised while hidden.
  (void)ShowWindow(WindowHandle(MainWindow), SW_HIDE);
}
