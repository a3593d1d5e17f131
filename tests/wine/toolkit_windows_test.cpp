// Windows opened by number: class, styles, inner size, placement, closing.
#include "toolkit_fixture.h"

namespace {

using WindowsTest = ToolkitTest;

RECT OuterRect(HWND window) {
  RECT rect;
  (void)GetWindowRect(window, &rect);
  return rect;
}

TEST_F(WindowsTest, MainWindowFlagsGiveTheOverlappedWindowCentredOnTheScreen) {
  ASSERT_TRUE(OpenNumberedWindow(MainWindow, 500, 200, "Tavolin 1.0.4", MainWindowFlags));
  HWND window = WindowHandle(MainWindow);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(IsWindowOpen(MainWindow));
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_FALSE(IsIconic(window));
  EXPECT_FALSE(IsZoomed(window));
  EXPECT_EQ(Style(window) & WS_OVERLAPPEDWINDOW, static_cast<DWORD>(WS_OVERLAPPEDWINDOW));
  EXPECT_EQ(Style(window) & 7, 0u) << "placement bits are no styles";
  EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);

  const SIZE client = ClientSize(window);
  EXPECT_EQ(client.cx, 500);
  EXPECT_EQ(client.cy, 200);

  const RECT outer = OuterRect(window);
  const int width = outer.right - outer.left;
  const int height = outer.bottom - outer.top;
  EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
  EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);

  char caption[64] = {};
  (void)GetWindowTextA(window, caption, sizeof caption);
  EXPECT_STREQ(caption, "Tavolin 1.0.4");
}

TEST_F(WindowsTest, WindowClassOfItsOwn) {
  ASSERT_TRUE(OpenNumberedWindow(MainWindow, 500, 200, "main", MainWindowFlags));
  ASSERT_TRUE(OpenNumberedWindow(EditDialog, 480, 350, "Taste ändern", DialogFlags, MainWindow));
  HWND main = WindowHandle(MainWindow);
  HWND dialog = WindowHandle(EditDialog);
  EXPECT_NE(GetClassLongPtrA(main, GCW_ATOM), GetClassLongPtrA(dialog, GCW_ATOM));
  for (HWND window : {main, dialog}) {
    EXPECT_EQ(GetClassLongPtrA(window, GCL_STYLE), static_cast<ULONG_PTR>(CS_DBLCLKS));
    EXPECT_EQ(GetClassLongPtrA(window, GCLP_HBRBACKGROUND),
              static_cast<ULONG_PTR>(COLOR_BTNFACE + 1));
    EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrA(window, GCLP_HCURSOR)),
              LoadCursorA(nullptr, IDC_ARROW));
    // The test program carries the program's resources, icon 1 among them.
    EXPECT_NE(GetClassLongPtrA(window, GCLP_HICON), 0u);
  }
  char caption[64] = {};
  (void)GetWindowTextA(dialog, caption, sizeof caption);
  EXPECT_STREQ(caption, "Taste ändern");
}

TEST_F(WindowsTest, DialogFlagsGiveACaptionOnlyCentredOnTheOwner) {
  ASSERT_TRUE(OpenNumberedWindow(MainWindow, 500, 200, "main", MainWindowFlags));
  ASSERT_TRUE(OpenNumberedWindow(CaptureDialog, 400, 120, "Taste sperren", DialogFlags, MainWindow));
  HWND owner = WindowHandle(MainWindow);
  HWND dialog = WindowHandle(CaptureDialog);

  const DWORD style = Style(dialog);
  EXPECT_EQ(style & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));
  EXPECT_EQ(style & (WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CHILD), 0u);
  EXPECT_EQ(ExStyle(dialog) & WS_EX_TOOLWINDOW, 0u);
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), owner) << "an owned top-level window";
  const SIZE client = ClientSize(dialog);
  EXPECT_EQ(client.cx, 400);
  EXPECT_EQ(client.cy, 120);

  const RECT o = OuterRect(owner);
  const RECT d = OuterRect(dialog);
  EXPECT_EQ(d.left, o.left + ((o.right - o.left) - (d.right - d.left)) / 2);
  EXPECT_EQ(d.top, o.top + ((o.bottom - o.top) - (d.bottom - d.top)) / 2);
}

TEST_F(WindowsTest, DialogOfAnOwnerAtTheEdgesOfTheScreen) {
  ASSERT_TRUE(OpenNumberedWindow(MainWindow, 500, 200, "main", MainWindowFlags));
  HWND owner = WindowHandle(MainWindow);

  // Owner partly off the left and top edge: the dialog's x and y become 0.
  ASSERT_TRUE(SetWindowPos(owner, nullptr, -300, -150, 0, 0, SWP_NOSIZE | SWP_NOZORDER));
  ASSERT_TRUE(OpenNumberedWindow(CaptureDialog, 400, 120, "left", DialogFlags, MainWindow));
  RECT d = OuterRect(WindowHandle(CaptureDialog));
  EXPECT_EQ(d.left, 0);
  EXPECT_EQ(d.top, 0);
  CloseNumberedWindow(CaptureDialog);

  // Owner at the bottom right: the dialog may reach past the screen.
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  ASSERT_TRUE(SetWindowPos(owner, nullptr, screenWidth - 100, screenHeight - 50, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER));
  ASSERT_TRUE(OpenNumberedWindow(CaptureDialog, 400, 120, "right", DialogFlags, MainWindow));
  const RECT o = OuterRect(owner);
  d = OuterRect(WindowHandle(CaptureDialog));
  EXPECT_EQ(d.left, o.left + ((o.right - o.left) - (d.right - d.left)) / 2);
  EXPECT_GT(d.right, screenWidth);
  EXPECT_GT(d.bottom, screenHeight);
}

TEST_F(WindowsTest, WindowLargerThanTheScreenIsLimitedToIt) {
  ASSERT_TRUE(OpenNumberedWindow(MainWindow, 3000, 2000, "huge", MainWindowFlags));
  const RECT outer = OuterRect(WindowHandle(MainWindow));
  EXPECT_EQ(outer.left, 0);
  EXPECT_EQ(outer.top, 0);
  EXPECT_LE(outer.right - outer.left, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_LE(outer.bottom - outer.top, GetSystemMetrics(SM_CYSCREEN));
}

TEST_F(WindowsTest, FailedCreationLeavesTheNumberFree) {
  ASSERT_TRUE(OpenNumberedWindow(MainWindow, 500, 200, "main", MainWindowFlags));
  // A top-level window cannot be a child: CreateWindowExA refuses it.
  EXPECT_FALSE(OpenNumberedWindow(StartModeDialog, 400, 120, "x", WS_CHILD));
  EXPECT_FALSE(IsWindowOpen(StartModeDialog));
  EXPECT_EQ(CreateControl(PushButton, StartModeCancel, 10, 10, 80, 24, "x"), nullptr)
      << "no control lands in the window opened before";
  EXPECT_EQ(WindowHandle(StartModeDialog), nullptr);
  WNDCLASSEXA info = {};
  info.cbSize = sizeof(info);
  EXPECT_FALSE(GetClassInfoExA(GetModuleHandleA(nullptr), "TavolinWindow4", &info))
      << "the class is released";
  // The number can be opened again.
  EXPECT_TRUE(OpenNumberedWindow(StartModeDialog, 400, 120, "Autostart", DialogFlags, MainWindow));
}

TEST_F(WindowsTest, ClosingActivatesTheOwnerAndFreesTheNumber) {
  ASSERT_TRUE(OpenNumberedWindow(MainWindow, 500, 200, "main", MainWindowFlags));
  ASSERT_TRUE(OpenNumberedWindow(CaptureDialog, 400, 120, "dialog", DialogFlags, MainWindow));
  ASSERT_NE(CreateControl(PushButton, CaptureCancel, 10, 10, 80, 24, "Abbrechen"), nullptr);
  HWND dialog = WindowHandle(CaptureDialog);
  (void)SetActiveWindow(dialog);
  ASSERT_EQ(GetActiveWindow(), dialog);

  CloseNumberedWindow(CaptureDialog);
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_FALSE(IsWindowOpen(CaptureDialog));
  EXPECT_EQ(ControlHandle(CaptureCancel), nullptr) << "its controls are forgotten";
  EXPECT_EQ(GetActiveWindow(), WindowHandle(MainWindow));
  // The window opened last is gone: no control lands anywhere.
  EXPECT_EQ(CreateControl(PushButton, CaptureCancel, 10, 10, 80, 24, "x"), nullptr);

  CloseNumberedWindow(CaptureDialog);    // not open: ignored
  CloseNumberedWindow(42);
  EnableNumberedWindow(42, false);
  EXPECT_TRUE(IsWindowOpen(MainWindow));
}

TEST_F(WindowsTest, ClosingAnOwnerForgetsTheDialogsItOwned) {
  ASSERT_TRUE(OpenNumberedWindow(MainWindow, 500, 200, "main", MainWindowFlags));
  ASSERT_TRUE(OpenNumberedWindow(EditDialog, 480, 350, "edit", DialogFlags, MainWindow));
  ASSERT_TRUE(OpenNumberedWindow(CharacterPicker, 320, 370, "picker", DialogFlags, EditDialog));
  ASSERT_NE(CreateControl(PushButton, PickerCancel, 10, 10, 80, 24, "Abbrechen"), nullptr);
  CloseNumberedWindow(EditDialog);
  EXPECT_FALSE(IsWindowOpen(CharacterPicker)) << "destroyed with its owner";
  EXPECT_EQ(ControlHandle(PickerCancel), nullptr);
  EXPECT_TRUE(OpenNumberedWindow(CharacterPicker, 320, 370, "picker", DialogFlags, MainWindow));
}

TEST_F(WindowsTest, CloseDialogEnablesTheOwnerBeforeTheDialogIsDestroyed) {
  static bool ownerEnabledAtDestroy = false;
  static bool destroyed = false;
  ownerEnabledAtDestroy = false;
  destroyed = false;
  ASSERT_TRUE(OpenNumberedWindow(MainWindow, 500, 200, "main", MainWindowFlags));
  ASSERT_TRUE(OpenNumberedWindow(StartModeDialog, 400, 120, "Autostart", DialogFlags, MainWindow));
  EnableNumberedWindow(MainWindow, false);
  ASSERT_FALSE(IsWindowEnabled(WindowHandle(MainWindow)));
  SetMessageHandler(StartModeDialog, [](HWND, UINT message, WPARAM, LPARAM, LRESULT*) {
    if (message == WM_DESTROY) {
      destroyed = true;
      ownerEnabledAtDestroy = IsWindowEnabled(WindowHandle(MainWindow)) != FALSE;
    }
    return false;
  });

  CloseDialog(StartModeDialog, MainWindow);
  EXPECT_TRUE(destroyed);
  EXPECT_TRUE(ownerEnabledAtDestroy);
  EXPECT_FALSE(IsWindowOpen(StartModeDialog));

  // With the dialog not open, only the owner is enabled.
  EnableNumberedWindow(MainWindow, false);
  CloseDialog(StartModeDialog, MainWindow);
  EXPECT_TRUE(IsWindowEnabled(WindowHandle(MainWindow)));
}

TEST_F(WindowsTest, MinimumTrackingSizeHoldsWhenResized) {
  ASSERT_TRUE(OpenNumberedWindow(MainWindow, 500, 200, "main", MainWindowFlags));
  HWND window = WindowHandle(MainWindow);
  const RECT initial = OuterRect(window);
  const int width = initial.right - initial.left;
  const int height = initial.bottom - initial.top;
  SetMinimumTrackingSize(MainWindow, width, height);

  ASSERT_TRUE(SetWindowPos(window, nullptr, 0, 0, 200, 100, SWP_NOMOVE | SWP_NOZORDER));
  RECT now = OuterRect(window);
  EXPECT_EQ(now.right - now.left, width);
  EXPECT_EQ(now.bottom - now.top, height);

  ASSERT_TRUE(SetWindowPos(window, nullptr, 0, 0, width + 50, height + 30, SWP_NOMOVE | SWP_NOZORDER));
  now = OuterRect(window);
  EXPECT_EQ(now.right - now.left, width + 50);
  EXPECT_EQ(now.bottom - now.top, height + 30);
}

TEST_F(WindowsTest, ReopeningANumberBuildsAFreshWindow) {
  ASSERT_TRUE(OpenNumberedWindow(MainWindow, 500, 200, "main", MainWindowFlags));
  ASSERT_TRUE(OpenNumberedWindow(CaptureDialog, 400, 120, "first", DialogFlags, MainWindow));
  HWND first = WindowHandle(CaptureDialog);
  ASSERT_TRUE(OpenNumberedWindow(CaptureDialog, 400, 120, "second", DialogFlags, MainWindow));
  EXPECT_FALSE(IsWindow(first));
  EXPECT_NE(WindowHandle(CaptureDialog), first);
}

TEST_F(WindowsTest, FontsByNumberAreReleasedWhenReplaced) {
  HFONT first = CreateFontA(20, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
  HFONT second = CreateFontA(24, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
  SetNumberedFont(PickerFont, first);
  EXPECT_EQ(NumberedFont(PickerFont), first);
  SetNumberedFont(PickerFont, first);   // the same font again stays alive
  EXPECT_EQ(GetObjectType(first), static_cast<DWORD>(OBJ_FONT));
  SetNumberedFont(PickerFont, second);
  EXPECT_EQ(NumberedFont(PickerFont), second);
  EXPECT_EQ(GetObjectType(first), 0u) << "the replaced font is deleted";
  EXPECT_EQ(NumberedFont(7), nullptr);
}

}  // namespace
