// The main window: menu bar, toolbar, mapping list and status bar, their
// layout, the restore button and the status text.
#include "app/main_window.h"

#include <windows.h>
#include <commctrl.h>
#include <string>

#include "app/menu_look.h"
#include "mapping/mapping_table.h"
#include "toolkit/ui.h"

namespace {

constexpr int ListTop = 40;
constexpr int ListBottomMargin = 60;
constexpr int StatusBarMinHeight = 18;
// The status bar is not one of the numbered controls; its identifier stays
// outside their space so its notifications never look like theirs.
constexpr int StatusBarControlId = -10001;

HWND toolbar = nullptr;
HWND statusBar = nullptr;
// The toolbar's image list when it is ours: a toolbar destroys only the
// lists it made itself, never one it was handed.
HIMAGELIST ownToolbarImages = nullptr;

HWND MainHandle() { return WindowHandle(MainWindow); }
HWND ListHandle() { return ControlHandle(MappingListControl); }

int StatusBarHeight() {
  if (!statusBar) return 0;
  RECT rect = {};
  GetWindowRect(statusBar, &rect);
  return rect.bottom - rect.top;
}

// The inner height plus the menu bar: the window has a menu bar, and the
// list's height is measured against both.
int LayoutHeight() {
  RECT client = {};
  GetClientRect(MainHandle(), &client);
  return client.bottom + GetSystemMetrics(SM_CYMENU);
}

int InnerWidth() {
  RECT client = {};
  GetClientRect(MainHandle(), &client);
  return client.right;
}

int ListHeight() { return LayoutHeight() - (StatusBarHeight() + ListBottomMargin); }

void FillLastColumn() {
  (void)SendMessageA(ListHandle(), LVM_SETCOLUMNWIDTH, 2, LVSCW_AUTOSIZE_USEHEADER);
}

void AddColumn(HWND list, int column, const char* title, int width) {
  LVCOLUMNA lvc = {};
  lvc.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
  lvc.fmt = LVCFMT_LEFT;
  lvc.cx = width;
  lvc.pszText = const_cast<char*>(title);
  lvc.iSubItem = column;
  (void)SendMessageA(list, LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&lvc));
}

// The single status field ends before the size grip while the window can
// be sized, and at the right edge when it is maximised.
void SetStatusFieldEdge() {
  if (!statusBar) return;
  RECT client = {};
  GetClientRect(statusBar, &client);
  int right = client.right;
  const LONG style = GetWindowLongA(MainHandle(), GWL_STYLE);
  if ((style & WS_THICKFRAME) && !IsZoomed(MainHandle())) right -= client.bottom - 3;
  int edges[1] = {right};
  (void)SendMessageA(statusBar, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(edges));
}

void AddToolbarButton(HIMAGELIST images, int command, int image) {
  const int index = ImageList_ReplaceIcon(images, -1, ImageHandle(image));
  TBBUTTON button = {};
  button.iBitmap = index;
  button.idCommand = command;
  button.fsState = TBSTATE_ENABLED;
  button.fsStyle = BTNS_BUTTON;
  (void)SendMessageA(toolbar, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button));
}

void SetToolbarButtonText(int command, const char* text) {
  TBBUTTONINFOA info = {};
  info.cbSize = sizeof(info);
  info.dwMask = TBIF_TEXT | TBIF_STYLE;
  info.fsStyle = BTNS_AUTOSIZE;
  info.pszText = const_cast<char*>(text);
  (void)SendMessageA(toolbar, TB_SETBUTTONINFOA, command, reinterpret_cast<LPARAM>(&info));
}

// Grid lines in the button-face colour: along the bottom of every row, on at
// the same pitch below the last row, and at every column boundary.
void DrawGridLines(HWND list, HDC dc) {
  const int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  if (rows == 0) return;
  RECT client;
  GetClientRect(list, &client);
  RECT header = {};
  GetWindowRect(reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0)), &header);
  MapWindowPoints(nullptr, list, reinterpret_cast<POINT*>(&header), 2);
  const int top = header.bottom;

  const int topIndex = static_cast<int>(SendMessageA(list, LVM_GETTOPINDEX, 0, 0));
  RECT row = {};
  row.left = LVIR_BOUNDS;
  if (!SendMessageA(list, LVM_GETITEMRECT, topIndex, reinterpret_cast<LPARAM>(&row))) return;
  const int pitch = row.bottom - row.top;
  if (pitch <= 0) return;

  HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNFACE));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  for (int y = row.bottom - 1; y < client.bottom; y += pitch) {
    MoveToEx(dc, client.left, y, nullptr);
    LineTo(dc, client.right, y);
  }
  int x = row.left;
  for (int column = 0; column < 3; ++column) {
    x += static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, column, 0));
    MoveToEx(dc, x - 1, top, nullptr);
    LineTo(dc, x - 1, client.bottom);
  }
  SelectObject(dc, oldPen);
  DeleteObject(pen);
}

bool HandleListCustomDraw(NMLVCUSTOMDRAW* draw, LRESULT* result) {
  switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      *result = CDRF_NOTIFYPOSTPAINT;
      return true;
    case CDDS_POSTPAINT:
      DrawGridLines(draw->nmcd.hdr.hwndFrom, draw->nmcd.hdc);
      *result = CDRF_DODEFAULT;
      return true;
    default:
      return false;
  }
}

// Lets the toolbar and status bar follow the window; the layer still turns
// the message into a SizeEvent.
void FollowSize(WPARAM sizeType, LPARAM size) {
  if (toolbar) (void)PostMessageA(toolbar, TB_AUTOSIZE, 0, 0);
  if (statusBar) (void)SendMessageA(statusBar, WM_SIZE, sizeType, size);
  if (sizeType == SIZE_RESTORED || sizeType == SIZE_MAXIMIZED) SetStatusFieldEdge();
}

}  // namespace

bool MainWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT* result) {
  switch (message) {
    case WM_MEASUREITEM:
      if (MeasureMenuItem(window, reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) {
        *result = TRUE;
        return true;
      }
      return false;
    case WM_DRAWITEM:
      if (DrawMenuItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) {
        *result = TRUE;
        return true;
      }
      return false;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header->idFrom == MappingListControl && header->code == NM_CUSTOMDRAW) {
        return HandleListCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(lParam), result);
      }
      // The grid lines run on below the last row: a row that comes or goes
      // changes them all the way down, not only in the row's own place.
      if (header->idFrom == MappingListControl &&
          (header->code == LVN_INSERTITEM || header->code == LVN_DELETEITEM)) {
        (void)InvalidateRect(header->hwndFrom, nullptr, TRUE);
      }
      return false;
    }
    case WM_SIZE:
      FollowSize(wParam, lParam);
      return false;
    case WM_SYSCOLORCHANGE:
      // Only top-level windows hear of new system colours; the common
      // controls keep the old ones until they are told.
      for (HWND part : {toolbar, statusBar, ListHandle()}) {
        if (part) (void)SendMessageA(part, WM_SYSCOLORCHANGE, wParam, lParam);
      }
      return false;
    case WM_DESTROY:
      // The toolbar and status bar go with the window; their handles must
      // not outlive it (a later window may be given the same values).
      toolbar = nullptr;
      statusBar = nullptr;
      return false;
    case WM_NCDESTROY:
      // The toolbar is gone by now, and with it the last user of its images.
      if (ownToolbarImages) (void)ImageList_Destroy(ownToolbarImages);
      ownToolbarImages = nullptr;
      return false;
    default:
      return false;
  }
}

void BuildMenuBar() {
  HMENU bar = CreateMenu();
  if (!bar) return;
  HMENU program = CreatePopupMenu();
  AppendOwnerDrawnItem(program, MenuAutostart, "Autostart");
  AppendOwnerDrawnItem(program, MenuQuit, "Beenden");
  (void)AppendMenuA(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(program), "Programm");
  HMENU help = CreatePopupMenu();
  AppendOwnerDrawnItem(help, MenuAbout, "Informationen");
  (void)AppendMenuA(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(help), "Hilfe");
  // Attached once, complete: every attachment of a bar to the visible window
  // recomputes and repaints its frame.
  (void)SetMenu(MainHandle(), bar);
}

void BuildToolbar() {
  toolbar = CreateToolbarEx(MainHandle(), WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS,
                            static_cast<UINT>(ToolbarControlId), 0, nullptr, 0, nullptr, 0,
                            0, 0, 0, 0, sizeof(TBBUTTON));
  if (!toolbar) return;
  (void)SetWindowLongA(toolbar, GWL_STYLE, GetWindowLongA(toolbar, GWL_STYLE) | TBSTYLE_LIST);

  // A toolbar made without bitmaps may have no image list yet.
  auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(toolbar, TB_GETIMAGELIST, 0, 0));
  if (images) {
    (void)ImageList_SetIconSize(images, 32, 32);
  } else {
    images = ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, 2, 0);
    ownToolbarImages = images;
  }
  (void)SendMessageA(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));

  (void)SendMessageA(toolbar, TB_AUTOSIZE, 0, 0);
  (void)SendMessageA(toolbar, TB_SETBUTTONSIZE, 0, MAKELPARAM(500, 0));

  AddToolbarButton(images, ToolbarCapture, ImageCaptureButton);
  AddToolbarButton(images, ToolbarRestore, ImageRestoreButton);
  SetToolbarButtonText(ToolbarCapture, "Funktion einer Taste ändern");
  SetToolbarButtonText(ToolbarRestore, "Funktion einer Taste wiederherstellen");
  (void)SendMessageA(toolbar, TB_ENABLEBUTTON, ToolbarRestore, FALSE);
}

void BuildStatusBar() {
  HWND window = MainHandle();
  statusBar = CreateStatusWindowA(WS_CHILD | WS_VISIBLE, "", window, StatusBarControlId);
  if (!statusBar) return;
  (void)SendMessageA(statusBar, SB_SETMINHEIGHT, StatusBarMinHeight, 0);
  RECT client;
  GetClientRect(window, &client);
  (void)SendMessageA(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
  SetStatusFieldEdge();
}

void BuildMappingList() {
  HWND list = CreateControl(ListControl, MappingListControl, 0, ListTop, InnerWidth(),
                            ListHeight(), "", ShowSelectionAlways);
  if (!list) return;
  (void)SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER,
                     LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
  AddColumn(list, 0, "Bezeichnung", 100);
  AddColumn(list, 1, "Funktion", 300);
  AddColumn(list, 2, "Scancode", 100);
  FillLastColumn();
  (void)EnableWindow(reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0)), FALSE);
  BindMappingTable(list);
}

void LayOutMappingList() {
  HWND list = ListHandle();
  if (!list) return;
  (void)MoveWindow(list, 0, ListTop, InnerWidth(), ListHeight(), TRUE);
  FillLastColumn();
}

void RefreshStatusText() {
  const int count = MappingCount();
  const std::string text =
      count == 1 ? "1 Taste wird gesperrt" : std::to_string(count) + " Tasten wurden geändert";
  if (statusBar) (void)SendMessageA(statusBar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void UpdateRestoreButton() {
  if (!toolbar) return;
  const BOOL enable = SelectedMapping() != -1;
  (void)SendMessageA(toolbar, TB_ENABLEBUTTON, ToolbarRestore, MAKELPARAM(enable, 0));
}

void RemoveSelectedMapping() {
  RemoveMapping(SelectedMapping());
  UpdateRestoreButton();
  RefreshStatusText();
}
