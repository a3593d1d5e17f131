#pragma once
// The main window's four parts: menu bar, toolbar, mapping list, status bar.

// Building steps, called once at start-up in this order (the tray popup
// menu is built between the menu bar and the toolbar).
void BuildMenuBar();
void BuildToolbar();
void BuildStatusBar();
void BuildMappingList();

// Keeps the list between toolbar and status bar; on every SizeEvent.
void LayOutMappingList();
// "1 Taste wird gesperrt" or "<n> Tasten wurden geändert".
void RefreshStatusText();
// Toolbar button 4 is enabled exactly while a row is selected.
void UpdateRestoreButton();
// Toolbar button 4: removes the selected row.
void RemoveSelectedMapping();

#include <windows.h>
// Window 0's own messages: owner-drawn menus, the list's grid lines, and the
// toolbar and status bar following the window's size.
bool MainWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT* result);
