// The two keyboard hooks and the key actions under Wine: a real list view
// bound as the mapping table, the real hooks installed, key events injected
// with SendInput by the test itself (under Wine the hooks run inside the
// SendInput call), then the thread's messages pumped so that the actions
// posted by the hooks run.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "dialogs/capture_dialog.h"
#include "dialogs/edit_dialog.h"
#include "keyboard/hooks.h"
#include "keyboard/key_decision.h"
#include "mapping/mapping_table.h"
#include "toolkit/numbers.h"
#include "toolkit/ui.h"
#include "tests/wine/message_pump.h"

namespace {

// Extra information of the test's key events: injected by "another program".
constexpr ULONG_PTR ForeignMark = 0x1234;

constexpr WORD KeyA = 'A', KeyB = 'B', KeyK = 'K', KeyM = 'M', KeyN = 'N', KeyQ = 'Q',
               KeyV = 'V', KeyW = 'W';

HWND tableWindow = nullptr;   // hidden, holds the list view of the table
HWND typingWindow = nullptr;  // visible, holds the focused edit field
HWND typingField = nullptr;

// A hook installed before the program's: it sees exactly the events that
// both of the program's hooks passed on. Its record reads "d65 u65" (down and
// up of key 65); events carrying the program's own mark are marked with *.
std::string passedOn;

LRESULT CALLBACK ObserverHook(int nCode, WPARAM wParam, LPARAM lParam) {
  const KBDLLHOOKSTRUCT* record = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
  bool up = wParam == WM_KEYUP || wParam == WM_SYSKEYUP;
  if (!passedOn.empty()) passedOn += " ";
  passedOn += (up ? "u" : "d") + std::to_string(record->vkCode);
  if (record->dwExtraInfo == static_cast<ULONG_PTR>(OwnInputMark)) passedOn += "*";
  return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

void Pump(int milliseconds) { PumpMessagesFor(static_cast<DWORD>(milliseconds)); }

void SendKey(WORD key, bool up, ULONG_PTR extra = ForeignMark) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  input.ki.dwExtraInfo = extra;
  ASSERT_EQ(SendInput(1, &input, sizeof input), 1u);
}

void Press(WORD key) {
  SendKey(key, false);
  SendKey(key, true);
}

std::string FieldText() {
  char text[512] = "";
  GetWindowTextA(typingField, text, sizeof text);
  return text;
}

std::string ClipboardText() {
  std::string text;
  if (!OpenClipboard(nullptr)) return "<clipboard busy>";
  HANDLE data = GetClipboardData(CF_TEXT);
  if (data) {
    const char* bytes = static_cast<const char*>(GlobalLock(data));
    if (bytes) text = bytes;
    GlobalUnlock(data);
  } else {
    text = "<no text>";
  }
  CloseClipboard();
  return text;
}

void AddRow(const std::string& label, const std::string& functionText, int keyCode) {
  AppendMapping(label + "\n" + functionText + "\n" + std::to_string(keyCode));
}

void ClearTable() {
  while (MappingCount() > 0) RemoveMapping(0);
}

void FocusTypingField() {
  SetForegroundWindow(typingWindow);
  SetFocus(typingField);
}

// Built once for the whole program: the hooks cannot be removed again.
class KeyboardWorld : public testing::Environment {
 public:
  void SetUp() override {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    InitUserInterface();
    tableWindow = CreateWindowExA(0, "STATIC", "table", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | LVS_REPORT | LVS_SINGLESEL,
                                0, 0, 300, 200, tableWindow, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    const char* titles[] = {"Bezeichnung", "Funktion", "Scancode"};
    for (int column = 0; column < 3; ++column) {
      LVCOLUMNA header = {};
      header.mask = LVCF_TEXT | LVCF_WIDTH;
      header.cx = 90;
      header.pszText = const_cast<char*>(titles[column]);
      SendMessageA(list, LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&header));
    }
    BindMappingTable(list);

    typingWindow = CreateWindowExA(0, "STATIC", "keyboard test typing",
                                   WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 400, 120, nullptr,
                                   nullptr, GetModuleHandleA(nullptr), nullptr);
    typingField = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10,
                                  360, 24, typingWindow, nullptr, GetModuleHandleA(nullptr),
                                  nullptr);
    ASSERT_NE(SetWindowsHookExA(WH_KEYBOARD_LL, ObserverHook, GetModuleHandleA(nullptr), 0),
              nullptr);
    InstallKeyboardHooks();
    Pump(100);
  }
};

class KeyboardHooks : public testing::Test {
 protected:
  void SetUp() override {
    ClearTable();
    captureActive = 0;
    SetWindowTextA(typingField, "");
    FocusTypingField();
    Pump(50);
    ASSERT_EQ(GetFocus(), typingField);
    passedOn.clear();
  }
  void TearDown() override {
    captureActive = 0;
    ClearTable();
    Pump(50);
  }
};

TEST_F(KeyboardHooks, EmptyTablePassesEveryKey) {
  Press(KeyA);
  Press(KeyB);
  SendKey(VK_CONTROL, false);
  SendKey(VK_CONTROL, true);
  Pump(150);
  EXPECT_EQ(FieldText(), "ab");
  EXPECT_EQ(passedOn, "d65 u65 d66 u66 d17 u17");
}

TEST_F(KeyboardHooks, MappedKeyIsSwallowedOthersPass) {
  AddRow("Gruss", "Ausgabe:", KeyB);   // an empty text pastes nothing
  Press(KeyA);
  Press(KeyB);
  Press(KeyA);
  SendKey(KeyB, false);                // a down alone is swallowed too
  Pump(200);
  EXPECT_EQ(FieldText(), "aa");
  // B never went on; its release had the (empty) text pasted once the
  // messages were pumped.
  EXPECT_EQ(passedOn, "d65 u65 d65 u65 d17* d86* u86* u17*");
  // Removing the row restores the key at the very next event.
  RemoveMapping(0);
  SendKey(KeyB, true);
  Press(KeyB);
  Pump(150);
  EXPECT_EQ(FieldText(), "aab");
}

TEST_F(KeyboardHooks, RepeatsAreSwallowedAndTheReleaseActsOnce) {
  AddRow("Wiederholt", "Ausgabe:x1", KeyQ);
  for (int repeat = 0; repeat < 4; ++repeat) SendKey(KeyQ, false);
  Pump(150);
  EXPECT_EQ(FieldText(), "");   // nothing yet: the function waits for the release
  SendKey(KeyQ, true);
  Pump(300);
  EXPECT_EQ(FieldText(), "x1");
  EXPECT_EQ(ClipboardText(), "x1");
}

TEST_F(KeyboardHooks, ReleaseWithoutSeenDownActs) {
  AddRow("Nur los", "Ausgabe:up", KeyK);
  SendKey(KeyK, true);
  Pump(300);
  EXPECT_EQ(FieldText(), "up");
}

TEST_F(KeyboardHooks, UpperOfTwoRowsWithOneCodeActs) {
  AddRow("Oben", "Ausgabe:oben", KeyW);
  AddRow("Unten", "Ausgabe:unten", KeyW);
  Press(KeyW);
  Pump(300);
  EXPECT_EQ(FieldText(), "oben");
  RemoveMapping(0);
  Press(KeyW);
  Pump(300);
  EXPECT_EQ(FieldText(), "obenunten");
}

TEST_F(KeyboardHooks, OutputTextReplacesTheClipboardAndPastes) {
  // Something else on the clipboard first, in a second format as well.
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL old = GlobalAlloc(GMEM_MOVEABLE, 4);
  memcpy(GlobalLock(old), "old", 4);
  GlobalUnlock(old);
  SetClipboardData(CF_TEXT, old);
  HGLOBAL other = GlobalAlloc(GMEM_MOVEABLE, 4);
  memcpy(GlobalLock(other), "bin", 4);
  GlobalUnlock(other);
  UINT privateFormat = RegisterClipboardFormatA("TavolinTestFormat");
  SetClipboardData(privateFormat, other);
  CloseClipboard();

  AddRow("Gruss", "Ausgabe:Grüße | mfg", VK_F9);
  Press(VK_F9);
  Pump(300);
  EXPECT_EQ(FieldText(), "Grüße | mfg");
  EXPECT_EQ(ClipboardText(), "Grüße | mfg");
  EXPECT_FALSE(IsClipboardFormatAvailable(privateFormat));
}

TEST_F(KeyboardHooks, RowsOnVOrCtrlDoNotTriggerThemselves) {
  // Without telling its own Ctrl+V apart, the V row would swallow the
  // synthesized V and paste again on its release, without end.
  AddRow("V", "Ausgabe:vv!", KeyV);
  Press(KeyV);
  Pump(400);
  EXPECT_EQ(FieldText(), "vv!");
  // Only the one synthesized Ctrl+V went on; the typed V was swallowed.
  EXPECT_EQ(passedOn, "d17* d86* u86* u17*");

  ClearTable();
  SetWindowTextA(typingField, "");
  AddRow("Strg", "Ausgabe:ctl", VK_CONTROL);
  passedOn.clear();
  Press(VK_CONTROL);
  Pump(400);
  EXPECT_EQ(FieldText(), "ctl");
  EXPECT_EQ(passedOn, "d17* d86* u86* u17*");
}

TEST_F(KeyboardHooks, KeysCarryingTheOwnMarkPassEvenWhenMapped) {
  AddRow("A", "Ausgabe:nein", KeyA);
  SendKey(KeyA, false, static_cast<ULONG_PTR>(OwnInputMark));
  SendKey(KeyA, true, static_cast<ULONG_PTR>(OwnInputMark));
  Pump(200);
  EXPECT_EQ(FieldText(), "a");
}

// Keys typed on the X display with xdotool reach the hooks as hardware
// input (not injected, no extra information), as a user's keys do. Wine
// starts the Unix program itself; the pointer is put over the virtual
// desktop so that the keys reach Wine.
bool RunXdotool(const std::string& arguments) {
  std::string commandLine = "Z:\\usr\\bin\\xdotool " + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    return false;
  // Pump while xdotool types: the hooks run on this thread.
  while (MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 5000, QS_ALLINPUT) ==
         WAIT_OBJECT_0 + 1)
    Pump(1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

TEST_F(KeyboardHooks, TypedKeysOnTheDisplay) {
  AddRow("Gruss", "Ausgabe:xdo", VK_F9);
  RECT field;
  GetWindowRect(typingField, &field);
  if (!RunXdotool("mousemove " + std::to_string(field.left + 20) + " " +
                  std::to_string(field.top + 10)))
    GTEST_SKIP() << "xdotool cannot be started";
  FocusTypingField();
  ASSERT_TRUE(RunXdotool("key a keydown F9 keydown F9 keyup F9 key b"));
  Pump(400);
  EXPECT_EQ(FieldText(), "axdob");
  EXPECT_EQ(passedOn, "d65 u65 d17* d86* u86* u17* d66 u66");
}

// A timer inside the message box presses the mapped key, a second one
// notes the clipboard and closes the box: the action must have run while
// the box was still open.
constexpr char BoxCaption[] = "keyboard test box";
std::string clipboardWhileBoxOpen;

void CALLBACK PressInsideBox(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  Press(VK_F10);
}

void CALLBACK CloseBox(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  clipboardWhileBoxOpen = ClipboardText();
  HWND box = FindWindowA(nullptr, BoxCaption);
  if (box) PostMessageA(box, WM_COMMAND, IDOK, 0);
}

TEST_F(KeyboardHooks, MappedKeyActsWhileAMessageBoxIsOpen) {
  AddRow("Box", "Ausgabe:in der Box", VK_F10);
  clipboardWhileBoxOpen.clear();
  SetTimer(nullptr, 0, 100, PressInsideBox);
  SetTimer(nullptr, 0, 600, CloseBox);
  MessageBoxA(typingWindow, "wartet", BoxCaption, MB_OK);
  EXPECT_EQ(clipboardWhileBoxOpen, "in der Box");
}

// Capture: the dialogs of the program over a main window of its own.
class KeyCapture : public KeyboardHooks {
 protected:
  void SetUp() override {
    KeyboardHooks::SetUp();
    ASSERT_TRUE(OpenNumberedWindow(MainWindow, 300, 200, "keyboard test main", MainWindowFlags));
    captureActive = 1;
    OpenCaptureDialog();
    ASSERT_TRUE(IsWindowOpen(CaptureDialog));
    FocusTypingField();
    Pump(50);
  }
  void TearDown() override {
    if (IsWindowOpen(EditDialog)) CloseDialog(EditDialog, MainWindow);
    if (IsWindowOpen(CaptureDialog)) CloseDialog(CaptureDialog, MainWindow);
    CloseNumberedWindow(MainWindow);
    KeyboardHooks::TearDown();
  }
  void ExpectCaptured(int keyCode) {
    EXPECT_EQ(captureActive, 0);
    EXPECT_EQ(capturedKeyCode, keyCode);
    EXPECT_FALSE(IsWindowOpen(CaptureDialog));
    EXPECT_TRUE(IsWindowOpen(EditDialog));
  }
};

TEST_F(KeyCapture, TakesAKeyDownAndPassesItOn) {
  capturedKeyCode = 0;
  Press(KeyN);
  Pump(200);
  ExpectCaptured(KeyN);
  // The captured event and its release went on down the chain.
  EXPECT_EQ(passedOn, "d78 u78");
}

TEST_F(KeyCapture, TheCapturedKeyTypesNothingIntoTheEditDialog) {
  // The captured key goes on to the window that had the focus when it was
  // pressed; the edit dialog that replaces the capture dialog opens with
  // every field empty, whatever key was taken (a letter, a blank, Tab).
  for (WORD keyCode : {KeyN, static_cast<WORD>(VK_SPACE), static_cast<WORD>(VK_TAB)}) {
    SendKey(keyCode, false);
    Pump(200);
    ExpectCaptured(keyCode);
    SendKey(keyCode, true);
    Pump(100);
    EXPECT_EQ(ControlText(EditLabelField), "") << keyCode;
    CloseDialog(EditDialog, MainWindow);
    captureActive = 1;
    OpenCaptureDialog();
    Pump(50);
  }
}

TEST_F(KeyCapture, TakesALoneReleaseAndASystemKey) {
  SendKey(KeyK, true);
  Pump(200);
  ExpectCaptured(KeyK);

  CloseDialog(EditDialog, MainWindow);
  captureActive = 1;
  OpenCaptureDialog();
  FocusTypingField();
  SendKey(VK_MENU, false);   // Alt: WM_SYSKEYDOWN
  Pump(200);
  ExpectCaptured(VK_MENU);
  SendKey(VK_MENU, true);
  Pump(50);
}

TEST_F(KeyCapture, MappedKeyAndOwnPasteDoNotEndTheCapture) {
  AddRow("Gruss", "Ausgabe:mm", KeyM);
  capturedKeyCode = 0;
  Press(KeyM);
  Pump(300);
  EXPECT_EQ(captureActive, 1);   // the swallowed key and our Ctrl+V were not taken
  EXPECT_EQ(capturedKeyCode, 0);
  EXPECT_TRUE(IsWindowOpen(CaptureDialog));
  EXPECT_EQ(FieldText(), "mm");
  EXPECT_EQ(passedOn, "d17* d86* u86* u17*");
  Press(KeyN);
  Pump(200);
  ExpectCaptured(KeyN);
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  testing::AddGlobalTestEnvironment(new KeyboardWorld);
  return RUN_ALL_TESTS();
}
