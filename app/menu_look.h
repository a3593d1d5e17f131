#pragma once
// The owner-drawn look shared by the menu bar's drop-down menus and the tray
// popup menu. Window 0 draws the items in answer to WM_MEASUREITEM and
// WM_DRAWITEM; the item's text travels as its item data.
#include <windows.h>

// Appends an owner-drawn item whose text is `text` (a string that lives as
// long as the menu, e.g. a literal).
void AppendOwnerDrawnItem(HMENU menu, UINT item, const char* text);

// Answers WM_MEASUREITEM / WM_DRAWITEM for menu items; false for others.
bool MeasureMenuItem(HWND window, MEASUREITEMSTRUCT* measure);
bool DrawMenuItem(const DRAWITEMSTRUCT* draw);
