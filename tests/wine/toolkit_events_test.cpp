// Events from real windows: sizes, close requests, controls, menus, the
// toolbar, the tray icon and lists, one at a time in the order they arose.
#include "toolkit_fixture.h"

namespace {

class EventsTest : public ToolkitTest {
 protected:
  void SetUp() override {
    ToolkitTest::SetUp();
    ASSERT_TRUE(OpenNumberedWindow(MainWindow, 500, 200, "main", MainWindowFlags));
    main = WindowHandle(MainWindow);
    (void)EventsUntilIdle();
  }
  HWND main = nullptr;
};

Event MakeEvent(EventKind kind, int number, int type = 0) {
  Event event;
  event.kind = kind;
  event.number = number;
  event.type = type;
  return event;
}

TEST_F(EventsTest, OpeningADialogGivesSizeEvents) {
  ASSERT_TRUE(OpenNumberedWindow(CaptureDialog, 400, 120, "d", DialogFlags, MainWindow));
  const std::vector<Event> events = EventsUntilIdle();
  ASSERT_FALSE(events.empty());
  for (const Event& event : events) {
    EXPECT_EQ(event, MakeEvent(SizeEvent, CaptureDialog));
  }
}

TEST_F(EventsTest, CloseRequestGivesCloseEventAndDestroysNothing) {
  ASSERT_TRUE(OpenNumberedWindow(CaptureDialog, 400, 120, "d", DialogFlags, MainWindow));
  (void)EventsUntilIdle();
  ASSERT_TRUE(PostMessageA(WindowHandle(CaptureDialog), WM_CLOSE, 0, 0));
  ASSERT_TRUE(PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0));
  const std::vector<Event> events = EventsUntilIdle();
  const std::vector<Event> expected = {MakeEvent(CloseEvent, CaptureDialog),
                                       MakeEvent(CloseEvent, MainWindow)};
  EXPECT_EQ(events, expected);
  EXPECT_TRUE(IsWindow(WindowHandle(CaptureDialog)));
  EXPECT_TRUE(IsWindowVisible(main));
}

TEST_F(EventsTest, MinimisingGivesMinimizeEventNotSizeEvent) {
  (void)ShowWindow(main, SW_MINIMIZE);
  std::vector<Event> events = EventsUntilIdle();
  EXPECT_TRUE(IsIconic(main));
  EXPECT_EQ(EventsOfKind(events, MinimizeEvent).size(), 1u);
  EXPECT_TRUE(EventsOfKind(events, SizeEvent).empty());

  (void)ShowWindow(main, SW_RESTORE);
  events = EventsUntilIdle();
  EXPECT_TRUE(EventsOfKind(events, MinimizeEvent).empty());
  ASSERT_FALSE(EventsOfKind(events, SizeEvent).empty());
  EXPECT_EQ(EventsOfKind(events, SizeEvent)[0].number, MainWindow);
}

TEST_F(EventsTest, ButtonClickGivesGadgetEventWithItsNumber) {
  HWND button = CreateControl(PushButton, 104, 10, 10, 80, 24, "Abbrechen");
  ASSERT_NE(button, nullptr);
  (void)EventsUntilIdle();
  (void)SendMessageA(button, BM_CLICK, 0, 0);
  const std::vector<Event> events = EventsUntilIdle();
  const std::vector<Event> expected = {MakeEvent(GadgetEvent, 104, BN_CLICKED)};
  EXPECT_EQ(events, expected);
}

TEST_F(EventsTest, MenuItemAndControlOfTheSameNumberAreToldApart) {
  HWND button = CreateControl(PushButton, 100, 10, 10, 80, 24, "hundert");
  ASSERT_NE(button, nullptr);
  (void)EventsUntilIdle();
  // A menu item chosen, an accelerator (none exist: no event), a control.
  ASSERT_TRUE(PostMessageA(main, WM_COMMAND, MAKEWPARAM(100, 0), 0));
  ASSERT_TRUE(PostMessageA(main, WM_COMMAND, MAKEWPARAM(100, 1), 0));
  (void)SendMessageA(button, BM_CLICK, 0, 0);
  const std::vector<Event> events = EventsUntilIdle();
  // The click was sent, so it is handled before the posted messages.
  const std::vector<Event> expected = {MakeEvent(GadgetEvent, 100, BN_CLICKED),
                                       MakeEvent(MenuEvent, 100)};
  EXPECT_EQ(events, expected);
}

TEST_F(EventsTest, ToolbarButtonGivesMenuEvent) {
  TBBUTTON buttons[2] = {};
  buttons[0].iBitmap = I_IMAGENONE;
  buttons[0].idCommand = ToolbarCapture;
  buttons[0].fsState = TBSTATE_ENABLED;
  buttons[0].fsStyle = BTNS_BUTTON;
  buttons[0].iString = reinterpret_cast<INT_PTR>("Drei");
  buttons[1] = buttons[0];
  buttons[1].idCommand = ToolbarRestore;
  buttons[1].iString = reinterpret_cast<INT_PTR>("Vier");
  HWND toolbar = CreateToolbarEx(main, WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_LIST,
                                 static_cast<UINT>(ToolbarControlId), 0, nullptr, 0, buttons, 2,
                                 0, 0, 0, 0, sizeof(TBBUTTON));
  ASSERT_NE(toolbar, nullptr);
  ASSERT_EQ(GetDlgCtrlID(toolbar), ToolbarControlId);
  (void)EventsUntilIdle();

  // A real click on button 4: the toolbar sends WM_COMMAND itself.
  RECT item;
  ASSERT_TRUE(SendMessageA(toolbar, TB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item)));
  const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
  ASSERT_TRUE(PostMessageA(toolbar, WM_LBUTTONDOWN, MK_LBUTTON, at));
  ASSERT_TRUE(PostMessageA(toolbar, WM_LBUTTONUP, 0, at));
  const std::vector<Event> events = EventsUntilIdle();
  const std::vector<Event> expected = {MakeEvent(MenuEvent, ToolbarRestore)};
  EXPECT_EQ(events, expected);
}

TEST_F(EventsTest, TrayCallbackIsPostedAgainAndBecomesTrayEvent) {
  struct Case {
    UINT mouseMessage;
    int type;   // -1: no event
  };
  const Case cases[] = {
      {WM_LBUTTONDOWN, 0}, {WM_RBUTTONDOWN, 1}, {WM_LBUTTONDBLCLK, 2}, {WM_RBUTTONDBLCLK, 3},
      {WM_LBUTTONUP, -1},  {WM_RBUTTONUP, -1},  {WM_MOUSEMOVE, -1},    {WM_MBUTTONDOWN, -1},
  };
  for (const Case& c : cases) {
    // A message posted before the callback comes out first: the callback
    // is answered at once and its copy queued behind.
    ASSERT_TRUE(PostMessageA(main, WM_COMMAND, MAKEWPARAM(MenuAbout, 0), 0));
    EXPECT_EQ(SendMessageA(main, TrayCallbackMessage, TrayIconNumber, c.mouseMessage), 0);
    std::vector<Event> expected = {MakeEvent(MenuEvent, MenuAbout)};
    if (c.type >= 0) expected.push_back(MakeEvent(TrayEvent, TrayIconNumber, c.type));
    EXPECT_EQ(EventsUntilIdle(), expected) << "mouse message 0x" << std::hex << c.mouseMessage;
  }
}

TEST_F(EventsTest, HandlerThatAnswersSuppressesTheEvent) {
  static int closeRequests = 0;
  closeRequests = 0;
  SetMessageHandler(MainWindow, [](HWND, UINT message, WPARAM, LPARAM, LRESULT* result) {
    if (message != WM_CLOSE) return false;
    ++closeRequests;
    *result = 0;
    return true;
  });
  ASSERT_TRUE(PostMessageA(main, WM_CLOSE, 0, 0));
  ASSERT_TRUE(PostMessageA(main, WM_COMMAND, MAKEWPARAM(MenuQuit, 0), 0));
  const std::vector<Event> expected = {MakeEvent(MenuEvent, MenuQuit)};
  EXPECT_EQ(EventsUntilIdle(), expected);
  EXPECT_EQ(closeRequests, 1);
}

TEST_F(EventsTest, EventsOfAModalLoopWaitForTheNextWait) {
  ASSERT_TRUE(PostMessageA(main, WM_COMMAND, MAKEWPARAM(MenuAutostart, 0), 0));
  ASSERT_TRUE(PostMessageA(main, WM_CLOSE, 0, 0));
  // Someone else's loop dispatches the messages, as a message box would.
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) (void)DispatchMessageA(&message);
  ASSERT_TRUE(PostMessageA(main, WM_COMMAND, MAKEWPARAM(MenuQuit, 0), 0));
  const std::vector<Event> expected = {MakeEvent(MenuEvent, MenuAutostart),
                                       MakeEvent(CloseEvent, MainWindow),
                                       MakeEvent(MenuEvent, MenuQuit)};
  EXPECT_EQ(EventsUntilIdle(), expected);
}

TEST_F(EventsTest, ClicksWaitingForAClosedDialogAreDropped) {
  ASSERT_TRUE(OpenNumberedWindow(CaptureDialog, 400, 120, "dialog", DialogFlags, MainWindow));
  HWND cancel = CreateControl(PushButton, CaptureCancel, 290, 90, 100, 20, "Abbrechen");
  (void)EventsUntilIdle();
  // Clicked during a modal loop, then the dialog goes before the next wait.
  ASSERT_TRUE(PostMessageA(cancel, BM_CLICK, 0, 0));
  ASSERT_TRUE(PostMessageA(main, WM_COMMAND, MAKEWPARAM(MenuAutostart, 0), 0));
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) (void)DispatchMessageA(&message);
  CloseDialog(CaptureDialog, MainWindow);
  const std::vector<Event> expected = {MakeEvent(MenuEvent, MenuAutostart)};
  EXPECT_EQ(EventsUntilIdle(), expected);
}

TEST_F(EventsTest, QuitMessageIsACloseRequest) {
  PostQuitMessage(0);
  const std::vector<Event> expected = {MakeEvent(CloseEvent, -1)};
  EXPECT_EQ(EventsUntilIdle(), expected);
}

class ListEventsTest : public EventsTest {
 protected:
  void SetUp() override {
    EventsTest::SetUp();
    list = CreateControl(ListControl, MappingListControl, 0, 0, 400, 180, "", ShowSelectionAlways);
    ASSERT_NE(list, nullptr);
    LVCOLUMNA column = {};
    column.mask = LVCF_WIDTH | LVCF_TEXT;
    column.cx = 300;
    column.pszText = const_cast<char*>("Bezeichnung");
    (void)SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    for (int row = 0; row < 3; ++row) {
      LVITEMA item = {};
      item.mask = LVIF_TEXT;
      item.iItem = row;
      item.pszText = const_cast<char*>("Zeile");
      (void)SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    (void)EventsUntilIdle();
  }

  void SelectRow(int row) {
    LVITEMA state = {};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    (void)SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
  }

  // A real click of the left button at a point of the list, through the
  // system's input queue.
  void ClickAt(int x, int y) {
    POINT screen = {x, y};
    (void)ClientToScreen(list, &screen);
    (void)SetForegroundWindow(main);
    (void)SetCursorPos(screen.x, screen.y);
    // The pointer is moved through the X server, whose report of the
    // earlier position may still come in and move it back: press only once
    // the pointer has stayed where it was put.
    int steady = 0;
    for (int tries = 0; tries < 100 && steady < 3; ++tries) {
      MSG pending;
      (void)PeekMessageA(&pending, nullptr, 0, 0, PM_NOREMOVE);   // takes in the X events
      POINT now = {};
      (void)GetCursorPos(&now);
      if (now.x == screen.x && now.y == screen.y) {
        ++steady;
      } else {
        steady = 0;
        (void)SetCursorPos(screen.x, screen.y);
      }
      Sleep(5);
    }
    mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
  }

  POINT RowCentre(int row) {
    RECT rect = {};
    rect.left = LVIR_BOUNDS;
    (void)SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  }

  HWND list = nullptr;
};

TEST_F(ListEventsTest, KindAndStyles) {
  EXPECT_EQ(Style(list) & (LVS_TYPEMASK | LVS_SINGLESEL | LVS_SHAREIMAGELISTS | LVS_SHOWSELALWAYS),
            static_cast<DWORD>(LVS_REPORT | LVS_SINGLESEL | LVS_SHAREIMAGELISTS | LVS_SHOWSELALWAYS));
  EXPECT_TRUE(Style(list) & WS_TABSTOP);
  EXPECT_TRUE(ExStyle(list) & WS_EX_CLIENTEDGE);
  const DWORD extended = static_cast<DWORD>(SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
  EXPECT_EQ(extended, static_cast<DWORD>(LVS_EX_DOUBLEBUFFER));
}

TEST_F(ListEventsTest, RowBecomingSelectedGivesGadgetEvent) {
  SelectRow(1);
  const std::vector<Event> events = EventsUntilIdle();
  ASSERT_FALSE(events.empty());
  for (const Event& event : events) {
    EXPECT_EQ(event, MakeEvent(GadgetEvent, MappingListControl, static_cast<int>(LVN_ITEMCHANGED)));
  }
  EXPECT_EQ(SelectedListRow(MappingListControl), 1);
}

TEST_F(ListEventsTest, LosingTheSelectionWithoutAClickGivesNoEvent) {
  SelectRow(1);
  (void)EventsUntilIdle();
  LVITEMA state = {};
  state.stateMask = LVIS_SELECTED;
  (void)SendMessageA(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&state));
  EXPECT_TRUE(EventsUntilIdle().empty());
  EXPECT_EQ(SelectedListRow(MappingListControl), -1);
}

TEST_F(ListEventsTest, ClickThatLeavesNoRowSelectedIsReportedTwice) {
  SelectRow(0);
  (void)EventsUntilIdle();
  ClickAt(150, 170);   // below the last row
  const std::vector<Event> events = EventsUntilIdle();
  EXPECT_EQ(SelectedListRow(MappingListControl), -1);
  const std::vector<Event> expected = {
      MakeEvent(GadgetEvent, MappingListControl, static_cast<int>(LVN_ITEMCHANGED)),
      MakeEvent(GadgetEvent, MappingListControl, static_cast<int>(NM_CLICK))};
  EXPECT_EQ(events, expected);

  // Again on the empty area (elsewhere, so that it is no double click):
  // nothing was selected, so the click alone.
  ClickAt(300, 165);
  const std::vector<Event> again = {MakeEvent(GadgetEvent, MappingListControl, static_cast<int>(NM_CLICK))};
  EXPECT_EQ(EventsUntilIdle(), again);
}

TEST_F(ListEventsTest, ClickAfterTheSelectedRowWasRemovedIsReportedOnce) {
  SelectRow(0);
  (void)EventsUntilIdle();
  ASSERT_TRUE(SendMessageA(list, LVM_DELETEITEM, 0, 0));
  EXPECT_TRUE(EventsUntilIdle().empty());
  ASSERT_EQ(SelectedListRow(MappingListControl), -1);
  // No row was selected before this click, so it took no selection away.
  ClickAt(150, 170);
  const std::vector<Event> expected = {
      MakeEvent(GadgetEvent, MappingListControl, static_cast<int>(NM_CLICK))};
  EXPECT_EQ(EventsUntilIdle(), expected);
}

TEST_F(ListEventsTest, ClickOnARowSelectsItAndIsReported) {
  const POINT centre = RowCentre(2);
  ClickAt(centre.x, centre.y);
  const std::vector<Event> events = EventsUntilIdle();
  EXPECT_EQ(SelectedListRow(MappingListControl), 2);
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back(), MakeEvent(GadgetEvent, MappingListControl, static_cast<int>(NM_CLICK)));
  EXPECT_FALSE(EventsOfKind(events, GadgetEvent).empty());
  for (const Event& event : events) EXPECT_EQ(event.number, MappingListControl);
}

TEST_F(ListEventsTest, DoubleClickIsReported) {
  const POINT centre = RowCentre(1);
  ClickAt(centre.x, centre.y);
  ClickAt(centre.x, centre.y);
  const std::vector<Event> events = EventsUntilIdle();
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back(), MakeEvent(GadgetEvent, MappingListControl, static_cast<int>(NM_DBLCLK)));
  EXPECT_EQ(SelectedListRow(MappingListControl), 1);
}

}  // namespace
