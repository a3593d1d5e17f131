#pragma once
// The program's main window with its real mapping list and status bar,
// opened afresh for every test of the dialogs.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_window.h"
#include "tests/wine/message_pump.h"
#include "keyboard/hooks.h"
#include "mapping/mapping_table.h"
#include "toolkit/numbers.h"
#include "toolkit/ui.h"

class DialogsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    InitUserInterface();
    LoadImages();
  }

  void SetUp() override {
    ASSERT_TRUE(OpenNumberedWindow(MainWindow, 500, 200, "Tavolin 1.0.4", MainWindowFlags));
    BuildStatusBar();
    BuildMappingList();
    captureActive = 0;
    capturedKeyCode = 0;
    PumpMessages();
  }

  void TearDown() override {
    CloseAllWindows();
    PumpMessages();
  }

  // Takes events until one of the kind and number comes; it must already be
  // waiting, or this blocks.
  static void TakeEvent(EventKind kind, int number) {
    for (;;) {
      const Event event = WaitEvent();
      if (event.kind == kind && event.number == number) return;
    }
  }

  static std::string WindowText(HWND window) {
    char text[512] = {};
    (void)GetWindowTextA(window, text, sizeof text);
    return text;
  }

  static std::string ClassOf(HWND window) {
    char name[64] = {};
    (void)GetClassNameA(window, name, sizeof name);
    return name;
  }

  static DWORD StyleOf(HWND window) {
    return static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
  }

  static SIZE InnerSize(int window) {
    RECT client = {};
    (void)GetClientRect(WindowHandle(window), &client);
    return SIZE{client.right - client.left, client.bottom - client.top};
  }

  // Control identifiers of a window's children in creation order.
  static std::vector<int> ChildNumbers(int window) {
    std::vector<int> numbers;
    for (HWND child = GetWindow(WindowHandle(window), GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
      numbers.push_back(GetDlgCtrlID(child));
    }
    return numbers;
  }

  static bool ControlEnabled(int number) {
    return IsWindowEnabled(ControlHandle(number)) != FALSE;
  }

  static std::string StatusText() {
    HWND statusBar = FindWindowExA(WindowHandle(MainWindow), nullptr, STATUSCLASSNAMEA, nullptr);
    if (statusBar == nullptr) return "<no status bar>";
    char text[256] = {};
    (void)SendMessageA(statusBar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    return text;
  }

  static void SetStatusText(const char* text) {
    HWND statusBar = FindWindowExA(WindowHandle(MainWindow), nullptr, STATUSCLASSNAMEA, nullptr);
    (void)SendMessageA(statusBar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text));
  }

  struct Row {
    std::string label, functionText, keyCodeText;
  };

  static std::vector<Row> Rows() {
    std::vector<Row> rows;
    for (int row = 0; row < MappingCount(); ++row) {
      rows.push_back({MappingCell(row, 0), MappingCell(row, 1), MappingCell(row, 2)});
    }
    return rows;
  }
};
