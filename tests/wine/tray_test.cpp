// The notification-area icon, its popup menu, the main window's visibility
// and the about box, under Wine in the shared virtual desktop (the test
// process runs in it, so the shell's notification area is there).
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <thread>
#include <vector>

#include "app/about_box.h"
#include "app/program.h"
#include "app/tray.h"
#include "tests/wine/message_pump.h"
#include "toolkit/ui.h"

namespace {

constexpr int SentinelItem = 9999;   // a menu item no menu has

// Lets the window procedures run for a while, so that what the shell or
// the system posts meanwhile becomes events.
void Pump(DWORD milliseconds) { PumpMessagesFor(milliseconds); }

// Every event produced so far, in order: a sentinel MenuEvent posted last
// marks the end, so the wait never blocks for good.
std::vector<Event> TakeEvents() {
  PostMessageA(WindowHandle(MainWindow), WM_COMMAND, SentinelItem, 0);
  std::vector<Event> events;
  for (;;) {
    const Event event = WaitEvent();
    if (event.kind == MenuEvent && event.number == SentinelItem) return events;
    events.push_back(event);
  }
}

std::vector<Event> TrayEvents(const std::vector<Event>& events) {
  std::vector<Event> tray;
  for (const Event& event : events)
    if (event.kind == TrayEvent) tray.push_back(event);
  return tray;
}

NOTIFYICONDATAA IconRecord() {
  NOTIFYICONDATAA record;
  ZeroMemory(&record, sizeof record);
  record.cbSize = NOTIFYICONDATAA_V1_SIZE;
  record.hWnd = WindowHandle(MainWindow);
  record.uID = TrayIconNumber;
  return record;
}

// Whether the shell knows icon 1 of window 0: it modifies only known icons.
bool IconRegistered() {
  NOTIFYICONDATAA record = IconRecord();
  return Shell_NotifyIconA(NIM_MODIFY, &record);
}

void MouseAt(int x, int y, DWORD flags) {
  INPUT input;
  ZeroMemory(&input, sizeof input);
  input.type = INPUT_MOUSE;
  input.mi.dx = (x * 65535 + 511) / 1023;
  input.mi.dy = (y * 65535 + 383) / 767;
  input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
  SendInput(1, &input, sizeof input);
}

// Presses and releases a button on the taskbar at x, once or twice in a row.
void ClickTaskbar(int x, DWORD down, DWORD up, int times) {
  constexpr int y = 758;
  Sleep(GetDoubleClickTime() + 100);   // no double click with the click before
  MouseAt(x, y, 0);
  Pump(50);
  for (int i = 0; i < times; ++i) {
    MouseAt(x, y, down);
    MouseAt(x, y, up);
  }
  Pump(300);
}

// The notification area lines its icons up from the right in the order they
// were added: icon i (from 0) is centred at 1024 - 20 * i - 10 in the
// 1024 x 768 virtual desktop. Ours is found by pressing on each place until
// window 0 hears of it; -1 when none answers.
int OurIconX() {
  static int found = -1;
  for (int slot = 0; found < 0 && slot < 8; ++slot) {
    const int x = 1024 - 20 * slot - 10;
    (void)TakeEvents();
    ClickTaskbar(x, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 1);
    if (!TrayEvents(TakeEvents()).empty()) found = x;
  }
  return found;
}

class Tray : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    InitUserInterface();
    LoadImages();
    ASSERT_TRUE(OpenNumberedWindow(MainWindow, 500, 200, DisplayTitle().c_str(),
                                   MainWindowFlags));
    BuildTrayPopupMenu();
    AddTrayIcon();
  }
  static void TearDownTestSuite() {
    RemoveTrayIcon();
    CloseAllWindows();
    ReleaseUserInterface();
  }
  void SetUp() override {
    main = WindowHandle(MainWindow);
    ShowWindow(main, SW_SHOWNORMAL);
    Pump(50);
    (void)TakeEvents();
  }
  HWND main = nullptr;
};

TEST_F(Tray, IconIsRegisteredUntilRemoved) {
  EXPECT_TRUE(IconRegistered());
  RemoveTrayIcon();
  EXPECT_FALSE(IconRegistered());
  BuildTrayPopupMenu();   // the popup goes with the icon
  AddTrayIcon();
  EXPECT_TRUE(IconRegistered());
}

TEST_F(Tray, ClicksOnTheIconBecomeTrayEvents) {
  const int iconX = OurIconX();
  ASSERT_GE(iconX, 0) << "no click on the notification area reached window 0";
  const struct {
    const char* what;
    DWORD down, up;
    int times;
    std::vector<int> types;
  } clicks[] = {
      // A press gives one event; releases and the pointer's moves none.
      {"left", MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 1, {0}},
      {"right", MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, 1, {1}},
      {"left double", MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 2, {0, 2}},
      {"right double", MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, 2, {1, 3}},
  };
  for (const auto& click : clicks) {
    SCOPED_TRACE(click.what);
    ClickTaskbar(iconX, click.down, click.up, click.times);
    std::vector<int> types;
    for (const Event& event : TrayEvents(TakeEvents())) {
      EXPECT_EQ(event.number, TrayIconNumber);
      types.push_back(event.type);
    }
    EXPECT_EQ(types, click.types);
  }
}

TEST_F(Tray, ShellCallbackIsRepostedAsTrayEvent) {
  const struct { UINT mouse; int type; } messages[] = {
      {WM_LBUTTONDOWN, 0}, {WM_RBUTTONDOWN, 1}, {WM_LBUTTONDBLCLK, 2},
      {WM_RBUTTONDBLCLK, 3}, {WM_MOUSEMOVE, -1}, {WM_LBUTTONUP, -1}, {WM_RBUTTONUP, -1},
  };
  for (const auto& m : messages) {
    SCOPED_TRACE(m.mouse);
    // Answered at once; the event only comes from the posted copy.
    EXPECT_EQ(SendMessageA(main, TrayCallbackMessage, TrayIconNumber, m.mouse), 0);
    const std::vector<Event> tray = TrayEvents(TakeEvents());
    if (m.type < 0) {
      EXPECT_TRUE(tray.empty());
    } else {
      ASSERT_EQ(tray.size(), 1u);
      EXPECT_EQ(tray[0].number, TrayIconNumber);
      EXPECT_EQ(tray[0].type, m.type);
    }
  }
}

// What the popup looked like while it was open, seen from a timer that runs
// inside its modal loop.
struct PopupSight {
  bool seen = false;
  RECT place = {0, 0, 0, 0};
  HWND foreground = nullptr;
  int downPresses = 0;   // arrow-down presses to send, then Enter; 0 closes it
};
PopupSight popupSight;

void CALLBACK LookAtPopup(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  HWND popup = FindWindowA("#32768", nullptr);
  popupSight.seen = popup != nullptr && IsWindowVisible(popup);
  if (popup) GetWindowRect(popup, &popupSight.place);
  popupSight.foreground = GetForegroundWindow();
  if (popupSight.downPresses == 0) {
    EndMenu();
    return;
  }
  HWND main = WindowHandle(MainWindow);
  for (int i = 0; i < popupSight.downPresses; ++i)
    PostMessageA(main, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageA(main, WM_KEYDOWN, VK_RETURN, 0);
}

// Moves the pointer and waits until the system reports it there: under Wine
// the move reaches the X server first, and the position read back can lag.
void MovePointerTo(int x, int y) {
  (void)SetCursorPos(x, y);
  for (int tries = 0; tries < 100; ++tries) {
    POINT at = {};
    if (GetCursorPos(&at) && at.x == x && at.y == y) return;
    Pump(10);
  }
}

void OpenPopupAt(int x, int y, int downPresses) {
  MovePointerTo(x, y);
  popupSight = PopupSight();
  popupSight.downPresses = downPresses;
  SetTimer(nullptr, 0, 200, LookAtPopup);
  ShowTrayPopup();
}

TEST_F(Tray, PopupOpensOnePixelUpAndLeftOfThePointer) {
  // Also while the main window is hidden.
  HideMainWindow();
  OpenPopupAt(300, 200, 0);
  EXPECT_TRUE(popupSight.seen);
  EXPECT_EQ(popupSight.place.left, 299);
  EXPECT_EQ(popupSight.place.top, 199);
  EXPECT_EQ(popupSight.foreground, main);
  EXPECT_TRUE(TrayEvents(TakeEvents()).empty());
}

TEST_F(Tray, PopupItemsBecomeMenuEvents) {
  const struct { int downPresses; int item; } choices[] = {
      {1, TrayShow}, {2, TrayHide}, {3, TrayQuit}};
  for (const auto& choice : choices) {
    SCOPED_TRACE(choice.item);
    OpenPopupAt(400, 300, choice.downPresses);
    ASSERT_TRUE(popupSight.seen);
    std::vector<int> items;
    for (const Event& event : TakeEvents())
      if (event.kind == MenuEvent) items.push_back(event.number);
    EXPECT_EQ(items, std::vector<int>{choice.item});
  }
}

enum Step { Maximise, Minimise, Hide, Show };

struct VisibilityCase {
  const char* what;
  std::vector<Step> steps;
  bool visible, zoomed, iconic;
};

TEST_F(Tray, ShowAndHideKeepOrResetThePlacement) {
  const VisibilityCase cases[] = {
      {"hidden", {Hide}, false, false, false},
      {"hidden and shown", {Hide, Show}, true, false, false},
      {"maximised, hidden", {Maximise, Hide}, false, true, false},
      {"maximised, hidden, shown: normal size", {Maximise, Hide, Show}, true, false, false},
      {"maximised, shown again: normal size", {Maximise, Show}, true, false, false},
      {"minimised, hidden: stays minimised", {Minimise, Hide}, false, false, true},
      {"minimised, hidden, shown", {Minimise, Hide, Show}, true, false, false},
      {"maximised, minimised, hidden, shown: maximised again",
       {Maximise, Minimise, Hide, Show}, true, true, false},
  };
  for (const VisibilityCase& c : cases) {
    SCOPED_TRACE(c.what);
    ShowWindow(main, SW_SHOWNORMAL);
    for (Step step : c.steps) {
      switch (step) {
        case Maximise: ShowWindow(main, SW_SHOWMAXIMIZED); break;
        case Minimise: ShowWindow(main, SW_MINIMIZE); break;
        case Hide: HideMainWindow(); break;
        case Show: ShowMainWindow(); break;
      }
      Pump(30);
    }
    EXPECT_EQ(IsWindowVisible(main) != FALSE, c.visible);
    EXPECT_EQ(IsZoomed(main) != FALSE, c.zoomed);
    EXPECT_EQ(IsIconic(main) != FALSE, c.iconic);
    if (c.steps.back() == Show) {
      EXPECT_EQ(GetForegroundWindow(), main);
    }
  }
  ShowWindow(main, SW_SHOWNORMAL);
}

// What a second thread saw of the about box while it was open.
struct AboutSight {
  bool found = false;
  HWND owner = nullptr;
  std::string text;
  int visibleButtons = 0;
  bool hasIcon = false;
  std::vector<bool> enabled;   // of the watched windows, in their order
};

BOOL CALLBACK LookAtBoxChild(HWND child, LPARAM sightAddress) {
  AboutSight* sight = reinterpret_cast<AboutSight*>(sightAddress);
  char className[32] = "";
  GetClassNameA(child, className, sizeof className);
  const LONG style = GetWindowLongA(child, GWL_STYLE);
  if (lstrcmpiA(className, "Button") == 0 && IsWindowVisible(child)) ++sight->visibleButtons;
  if (lstrcmpiA(className, "Static") == 0) {
    if ((style & SS_TYPEMASK) == SS_ICON) sight->hasIcon = true;
    char text[512] = "";
    GetWindowTextA(child, text, sizeof text);
    if (std::string(text).rfind(DisplayTitle(), 0) == 0) sight->text = text;
  }
  return TRUE;
}

// Finds the box by its caption, notes what it sees and closes it with OK.
AboutSight ShowAboutBoxWatched(const std::vector<HWND>& watched) {
  AboutSight sight;
  std::thread watcher([&sight, watched] {
    HWND box = nullptr;
    for (int i = 0; i < 500 && !box; ++i) {
      box = FindWindowA("#32770", "Informationen");
      if (!box) Sleep(10);
    }
    if (!box) return;
    Sleep(100);   // let the box finish its set-up
    sight.found = true;
    sight.owner = GetWindow(box, GW_OWNER);
    for (HWND window : watched) sight.enabled.push_back(IsWindowEnabled(window) != FALSE);
    EnumChildWindows(box, LookAtBoxChild, reinterpret_cast<LPARAM>(&sight));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  });
  ShowAboutBox();
  watcher.join();
  return sight;
}

class AboutBox : public Tray {
 protected:
  void TearDown() override {
    for (int number : {1, 2, 3, 4}) CloseDialog(number, MainWindow);
    EnableNumberedWindow(MainWindow, true);
  }
  HWND Open(int number, const char* caption) {
    EXPECT_TRUE(OpenNumberedWindow(number, 200, 80, caption, CenterOnScreen));
    return WindowHandle(number);
  }
};

TEST_F(AboutBox, TextCaptionIconAndOneButton) {
  SetForegroundWindow(main);
  const AboutSight sight = ShowAboutBoxWatched({});
  ASSERT_TRUE(sight.found);
  EXPECT_TRUE(sight.hasIcon);
  EXPECT_EQ(sight.visibleButtons, 1);
  // The display title, then lines each introduced by a lone carriage return.
  EXPECT_EQ(sight.text.find('\n'), std::string::npos);
  std::vector<std::string> lines(1);
  for (char c : sight.text) {
    if (c == '\r') lines.emplace_back();
    else lines.back() += c;
  }
  ASSERT_GE(lines.size(), 4u) << sight.text;
  EXPECT_EQ(lines[0], "Tavolin 1.0.4");
  for (size_t i = 1; i < lines.size(); ++i) EXPECT_FALSE(lines[i].empty()) << i;
  EXPECT_NE(sight.text.find("kostenlos"), std::string::npos);
  EXPECT_NE(sight.text.find("Symbole"), std::string::npos);
}

TEST_F(AboutBox, DisablesOtherWindowsAndEnablesExactlyThoseAgain) {
  HWND usable = Open(1, "Eins");
  HWND disabledBefore = Open(2, "Zwei");
  EnableWindow(disabledBefore, FALSE);
  HWND hidden = Open(3, "Drei");
  ShowWindow(hidden, SW_HIDE);
  SetForegroundWindow(main);
  Pump(50);
  ASSERT_EQ(GetForegroundWindow(), main);

  const AboutSight sight = ShowAboutBoxWatched({main, usable, disabledBefore, hidden});
  ASSERT_TRUE(sight.found);
  EXPECT_EQ(sight.owner, main);   // the foreground window, one of ours
  EXPECT_EQ(sight.enabled, (std::vector<bool>{false, false, false, true}));

  EXPECT_TRUE(IsWindowEnabled(main));
  EXPECT_TRUE(IsWindowEnabled(usable));
  EXPECT_FALSE(IsWindowEnabled(disabledBefore));
  EXPECT_TRUE(IsWindowEnabled(hidden));
}

TEST_F(AboutBox, OverAnOpenDialogTheOwnerStaysDisabled) {
  // A dialog owned by window 0, which is disabled while it is open.
  ASSERT_TRUE(OpenNumberedWindow(StartModeDialog, 400, 120, "Autostart", DialogFlags,
                                 MainWindow));
  HWND dialog = WindowHandle(StartModeDialog);
  EnableNumberedWindow(MainWindow, false);
  SetForegroundWindow(dialog);
  Pump(50);
  ASSERT_EQ(GetForegroundWindow(), dialog);

  const AboutSight sight = ShowAboutBoxWatched({main, dialog});
  ASSERT_TRUE(sight.found);
  EXPECT_EQ(sight.owner, dialog);
  EXPECT_EQ(sight.enabled, (std::vector<bool>{false, false}));
  EXPECT_FALSE(IsWindowEnabled(main));
  EXPECT_TRUE(IsWindowEnabled(dialog));
}

}  // namespace
