#pragma once
// The notification-area icon, its popup menu and the main window's
// visibility.

void BuildTrayPopupMenu();   // menu 1: "Anzeigen", "Verstecken", "Beenden"
void AddTrayIcon();          // icon 1 with image 3, tooltip = display title
void RemoveTrayIcon();       // teardown
void ShowTrayPopup();        // at the pointer, one pixel up and left
void ShowMainWindow();       // restore, show, bring to the foreground
void HideMainWindow();       // hide, keeping the size state
