#include "dialogs/character_picker.h"

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "toolkit/numbers.h"
#include "toolkit/ui.h"

namespace {

constexpr int FirstPickedCode = 32;
constexpr int LastPickedCode = 255;

// The list holds its item texts in one column; it is not shown in the
// large-icon view.
void AddTextColumn(HWND list) {
  char title[] = "";
  LVCOLUMNA column = {};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.pszText = title;
  column.cx = 100;
  (void)SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
}

void SwitchToLargeIcons(HWND list) {
  const LONG_PTR style = GetWindowLongPtrA(list, GWL_STYLE);
  (void)SetWindowLongPtrA(list, GWL_STYLE, (style & ~LVS_TYPEMASK) | LVS_ICON);
  (void)RedrawWindow(list, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
}

// A 20-point font whose face the font mapper chooses.
HFONT MakePickerFont() {
  int pixelsPerInch = 96;
  HDC display = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  if (display != nullptr) {
    pixelsPerInch = GetDeviceCaps(display, LOGPIXELSY);
    (void)DeleteDC(display);
  }
  return CreateFontA(-MulDiv(20, pixelsPerInch, 72), 0, 0, 0, FW_NORMAL, FALSE,
                     FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, "");
}

// Every cell must hold its character: the list keeps room for an icon above
// each label, and a list that laid out its cells before the large font came
// leaves the label below its own cell, where a click finds no item. The
// cells are made tall enough for their labels then, never smaller.
void FitCellsToLabels(HWND list) {
  RECT cell = {};
  cell.left = LVIR_BOUNDS;
  RECT label = {};
  label.left = LVIR_LABEL;
  if (!SendMessageA(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&cell)) ||
      !SendMessageA(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&label))) {
    return;
  }
  const int labelGap = 4;
  const int neededHeight = label.bottom - cell.top + labelGap;
  if (neededHeight <= cell.bottom - cell.top) return;
  (void)SendMessageA(list, LVM_SETICONSPACING, 0,
                     MAKELPARAM(cell.right - cell.left, neededHeight));
  (void)SendMessageA(list, LVM_ARRANGE, LVA_DEFAULT, 0);
}

// One item per character code, each a one-byte text, appended in order.
// Drawing is held back while the items go in: a list in icon view lays out
// and repaints itself after every single insertion otherwise, which makes
// the picker take many seconds to open on some systems.
void FillCharacters(HWND list) {
  (void)SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  for (int code = FirstPickedCode; code <= LastPickedCode; ++code) {
    char text[2] = {static_cast<char>(code), '\0'};
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    item.pszText = text;
    (void)SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  }
  FitCellsToLabels(list);
  (void)SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  (void)RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

std::string ItemText(HWND list, int index) {
  char text[8] = {};   // an item holds one character
  LVITEMA item = {};
  item.iSubItem = 0;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  (void)SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&item));
  return std::string(text);
}

}  // namespace

void OpenCharacterPicker() {
  if (!OpenNumberedWindow(CharacterPicker, 320, 370, "Zeichenauswahl", DialogFlags,
                          EditDialog)) {
    return;
  }
  CreateControl(TextLabel, PickerPrompt, 10, 10, 300, 20,
                "Wählen Sie einen Zeichen aus, das Sie hinzufügen möchten:");
  HWND list = CreateControl(ListControl, PickerList, 10, 30, 300, 300, "",
                            ShowSelectionAlways);
  if (list != nullptr) {
    AddTextColumn(list);
    SwitchToLargeIcons(list);
    // Font 1 is made anew at each opening. The one the last opening made is
    // released first, so that never two of them are held at once.
    SetNumberedFont(PickerFont, nullptr);
    SetNumberedFont(PickerFont, MakePickerFont());
    (void)SendMessageA(list, WM_SETFONT,
                       reinterpret_cast<WPARAM>(NumberedFont(PickerFont)), TRUE);
    FillCharacters(list);
  }
  CreateControl(PushButton, PickerCancel, 100, 340, 100, 20, "Abbrechen");
  CreateControl(PushButton, PickerAdd, 210, 340, 100, 20, "Hinzufügen");
  EnableControl(PickerAdd, false);
  EnableNumberedWindow(EditDialog, false);
  FocusFirstControl(CharacterPicker);
}

void UpdateAddButton() {
  EnableControl(PickerAdd, SelectedListRow(PickerList) >= 0);
}

void AddPickedCharacter() {
  HWND list = ControlHandle(PickerList);
  const int selected = SelectedListRow(PickerList);
  if (list == nullptr || selected < 0) return;   // nothing picked: field unchanged
  SetControlText(EditTextField, ControlText(EditTextField) + ItemText(list, selected));
}
