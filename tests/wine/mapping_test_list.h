#pragma once
// A hidden top-level window with a report-view list of three columns, as
// the main window has, bound as the key table for the life of the object.
#include <windows.h>
#include <commctrl.h>

#include "mapping/mapping_table.h"

struct MappingTestList {
  HWND owner = nullptr;
  HWND list = nullptr;

  MappingTestList() {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES};
    (void)InitCommonControlsEx(&controls);  // the window creation below shows any failure
    owner = CreateWindowExA(0, "STATIC", "mapping test", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300,
                            nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    list = CreateWindowExA(0, WC_LISTVIEWA, "",
                           WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                           0, 0, 400, 300, owner, nullptr, GetModuleHandleA(nullptr), nullptr);
    const char* titles[] = {"Bezeichnung", "Funktion", "Scancode"};
    for (int column = 0; column < 3; ++column) {
      LVCOLUMNA header = {};
      header.mask = LVCF_TEXT | LVCF_WIDTH;
      header.cx = 120;
      header.pszText = const_cast<char*>(titles[column]);
      (void)SendMessageA(list, LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&header));
    }
    BindMappingTable(list);
  }

  ~MappingTestList() {
    BindMappingTable(nullptr);
    (void)DestroyWindow(owner);  // takes the list with it
  }

  void Select(int row) {
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED;
    item.state = LVIS_SELECTED;
    (void)SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
  }

  MappingTestList(const MappingTestList&) = delete;
  MappingTestList& operator=(const MappingTestList&) = delete;
};
