// The capture dialog and the edit dialog, with real windows under Wine.
#include "tests/wine/dialogs_fixture.h"

#include "dialogs/capture_dialog.h"
#include "dialogs/edit_dialog.h"

namespace {

struct ControlExpectation {
  int number;
  const char* windowClass;
  const char* text;
};

void ExpectControls(const std::vector<ControlExpectation>& expected) {
  for (const ControlExpectation& control : expected) {
    HWND handle = ControlHandle(control.number);
    ASSERT_NE(handle, nullptr) << control.number;
    char name[64] = {};
    (void)GetClassNameA(handle, name, sizeof name);
    EXPECT_STRCASEEQ(name, control.windowClass) << control.number;
    char text[256] = {};
    (void)GetWindowTextA(handle, text, sizeof text);
    EXPECT_STREQ(text, control.text) << control.number;
    EXPECT_TRUE(IsWindowVisible(handle)) << control.number;
  }
}

// A dialog window: caption bar only, owned by `owner`, of the inner size given.
void ExpectDialogFrame(int window, int owner, const char* caption, LONG width, LONG height) {
  HWND dialog = WindowHandle(window);
  ASSERT_NE(dialog, nullptr);
  char text[128] = {};
  (void)GetWindowTextA(dialog, text, sizeof text);
  EXPECT_STREQ(text, caption);
  const DWORD style = static_cast<DWORD>(GetWindowLongA(dialog, GWL_STYLE));
  EXPECT_EQ(style & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));
  EXPECT_EQ(style & (WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u);
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), WindowHandle(owner));
  RECT client = {};
  (void)GetClientRect(dialog, &client);
  EXPECT_EQ(client.right, width);
  EXPECT_EQ(client.bottom, height);
  EXPECT_TRUE(IsWindowVisible(dialog));
}

using CaptureDialogTest = DialogsTest;

TEST_F(CaptureDialogTest, ShowsItsControlsAndDisablesTheMainWindow) {
  OpenCaptureDialog();
  ExpectDialogFrame(CaptureDialog, MainWindow, "Taste sperren", 400, 120);
  EXPECT_EQ(ChildNumbers(CaptureDialog), (std::vector<int>{100, 101, 102, 103, 104}));
  ExpectControls({{100, "Button", "Taste ermitteln"},
                  {101, "Static", ""},
                  {102, "Static", "Drücken Sie eine beliebige Taste, die Sie ändern möchten..."},
                  {103, "msctls_progress32", ""},
                  {104, "Button", "Abbrechen"}});

  HWND progress = ControlHandle(CaptureProgress);
  EXPECT_NE(StyleOf(progress) & PBS_MARQUEE, 0u);
  PBRANGE range = {};
  (void)SendMessageA(progress, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
  EXPECT_EQ(range.iLow, 0);
  EXPECT_EQ(range.iHigh, 100);

  RECT image = {};
  (void)GetClientRect(ControlHandle(CaptureImage), &image);
  EXPECT_EQ(image.right, 32);
  EXPECT_EQ(image.bottom, 32);

  EXPECT_FALSE(IsWindowEnabled(WindowHandle(MainWindow)));
  EXPECT_TRUE(IsWindowEnabled(WindowHandle(CaptureDialog)));
}

TEST_F(CaptureDialogTest, AbbrechenEndsTheCaptureAndAddsNothing) {
  captureActive = 1;
  capturedKeyCode = 65;
  SetStatusText("unverändert");
  OpenCaptureDialog();

  // The click arrives as the button's event; the event loop then does this.
  (void)SendMessageA(ControlHandle(CaptureCancel), BM_CLICK, 0, 0);
  TakeEvent(GadgetEvent, CaptureCancel);
  captureActive = 0;
  CloseDialog(CaptureDialog, MainWindow);

  EXPECT_FALSE(IsWindowOpen(CaptureDialog));
  EXPECT_TRUE(IsWindowEnabled(WindowHandle(MainWindow)));
  EXPECT_EQ(capturedKeyCode, 65);
  EXPECT_EQ(MappingCount(), 0);
  EXPECT_EQ(StatusText(), "unverändert");
}

using EditDialogTest = DialogsTest;

TEST_F(EditDialogTest, ControlsComeInTheirOrderWithEmptyFields) {
  OpenEditDialog();
  ExpectDialogFrame(EditDialog, MainWindow, "Taste ändern", 480, 350);
  EXPECT_EQ(ChildNumbers(EditDialog),
            (std::vector<int>{200, 201, 202, 203, 204, 205, 206, 207, 208, 209, 210, 211,
                              219, 220, 212, 213, 214, 215, 216, 217, 218, 221}));
  ExpectControls({{200, "Button", "Bezeichnung"},
                  {201, "Static", ""},
                  {202, "Static", "Taste:"},
                  {203, "Edit", ""},
                  {204, "Button", "Funktion"},
                  {205, "Static", ""},
                  {206, "Button", "Datei ausführen"},
                  {207, "Button", "Ordner öffnen"},
                  {208, "Button", "Zeichen ausgeben"},
                  {209, "Static", "Datei:"},
                  {210, "Edit", ""},
                  {211, "Button", "Auswählen"},
                  {219, "Static", "Parameter:"},
                  {220, "Edit", ""},
                  {212, "Static", "Ordner:"},
                  {213, "Edit", ""},
                  {214, "Button", "Auswählen"},
                  {215, "Static", "Zeichen:"},
                  {216, "Edit", ""},
                  {217, "Button", "Auswählen"},
                  {218, "Button", "Abbrechen"},
                  {221, "Button", "Fertig stellen"}});

  // One option group, 206 to 208; text 209 ends it.
  EXPECT_NE(StyleOf(ControlHandle(206)) & WS_GROUP, 0u);
  EXPECT_EQ(StyleOf(ControlHandle(207)) & WS_GROUP, 0u);
  EXPECT_EQ(StyleOf(ControlHandle(208)) & WS_GROUP, 0u);
  EXPECT_NE(StyleOf(ControlHandle(209)) & WS_GROUP, 0u);
  for (int option : {206, 207, 208}) {
    EXPECT_EQ(StyleOf(ControlHandle(option)) & BS_TYPEMASK,
              static_cast<DWORD>(BS_AUTORADIOBUTTON)) << option;
  }
  // The file and folder fields change only through their choosers.
  for (int field : {210, 213}) EXPECT_NE(StyleOf(ControlHandle(field)) & ES_READONLY, 0u);
  for (int field : {203, 216, 220}) EXPECT_EQ(StyleOf(ControlHandle(field)) & ES_READONLY, 0u);
}

TEST_F(EditDialogTest, OpensWithTheFileGroupEnabledBehindADisabledMainWindow) {
  OpenEditDialog();
  EXPECT_TRUE(IsOptionSelected(206));
  EXPECT_FALSE(IsOptionSelected(207));
  EXPECT_FALSE(IsOptionSelected(208));
  for (int control : {209, 210, 211, 219, 220}) EXPECT_TRUE(ControlEnabled(control)) << control;
  for (int control : {212, 213, 214, 215, 216, 217}) {
    EXPECT_FALSE(ControlEnabled(control)) << control;
  }
  for (int control : {203, 206, 207, 208, 218, 221}) EXPECT_TRUE(ControlEnabled(control)) << control;
  EXPECT_FALSE(IsWindowEnabled(WindowHandle(MainWindow)));
}

TEST_F(EditDialogTest, OpensWithTheFocusInTheLabelField) {
  // The capture hands over to this dialog: the key's name can be typed at once.
  OpenEditDialog();
  EXPECT_EQ(GetFocus(), ControlHandle(EditLabelField));
}

TEST_F(EditDialogTest, EveryOpeningStartsAfresh) {
  OpenEditDialog();
  SetControlText(203, "alt");
  SetControlText(216, "xyz");
  SelectOption(208);
  UpdateFunctionFields();
  CloseDialog(EditDialog, MainWindow);

  OpenEditDialog();
  EXPECT_TRUE(IsOptionSelected(206));
  EXPECT_FALSE(IsOptionSelected(208));
  EXPECT_EQ(ControlText(203), "");
  EXPECT_EQ(ControlText(216), "");
  EXPECT_FALSE(ControlEnabled(216));
}

TEST_F(EditDialogTest, TheSelectedOptionEnablesItsGroupOnlyAndKeepsTexts) {
  struct Case {
    int option;
    bool file, folder, text;
  };
  const Case cases[] = {{207, false, true, false},
                        {208, false, false, true},
                        {206, true, false, false}};
  OpenEditDialog();
  SetControlText(210, "C:\\a.exe");
  SetControlText(220, "-p");
  SetControlText(213, "C:\\b\\");
  SetControlText(216, "c");
  for (const Case& c : cases) {
    SelectOption(c.option);
    UpdateFunctionFields();
    for (int control : {209, 210, 211, 219, 220}) {
      EXPECT_EQ(ControlEnabled(control), c.file) << c.option << " " << control;
    }
    for (int control : {212, 213, 214}) {
      EXPECT_EQ(ControlEnabled(control), c.folder) << c.option << " " << control;
    }
    for (int control : {215, 216, 217}) {
      EXPECT_EQ(ControlEnabled(control), c.text) << c.option << " " << control;
    }
  }
  EXPECT_EQ(ControlText(210), "C:\\a.exe");
  EXPECT_EQ(ControlText(220), "-p");
  EXPECT_EQ(ControlText(213), "C:\\b\\");
  EXPECT_EQ(ControlText(216), "c");
}

TEST_F(EditDialogTest, WithNoOptionSelectedTheGroupsStayAsTheyAre) {
  OpenEditDialog();
  for (int option : {206, 207, 208}) {
    (void)SendMessageA(ControlHandle(option), BM_SETCHECK, BST_UNCHECKED, 0);
  }
  EnableControl(216, true);   // a mixed state that nothing should tidy up
  UpdateFunctionFields();
  EXPECT_TRUE(ControlEnabled(210));
  EXPECT_FALSE(ControlEnabled(213));
  EXPECT_TRUE(ControlEnabled(216));
  EXPECT_FALSE(ControlEnabled(217));
}

TEST_F(EditDialogTest, ReadOnlyFieldsTakeNoTyping) {
  OpenEditDialog();
  for (int field : {210, 213, 203}) {
    HWND edit = ControlHandle(field);
    (void)SendMessageA(edit, WM_CHAR, 'x', 0);
    (void)SendMessageA(edit, WM_CHAR, 'y', 0);
  }
  EXPECT_EQ(ControlText(210), "");
  EXPECT_EQ(ControlText(213), "");
  EXPECT_EQ(ControlText(203), "xy");   // the label field does take them
}

struct CompleteCase {
  const char* name;
  int option;
  std::string label, file, parameters, folder, text;
  int keyCode;
  std::string expectedFunction;
};

std::string HighBytes() {
  std::string text;
  for (int code = 128; code <= 255; ++code) text.push_back(static_cast<char>(code));
  return text;
}

TEST_F(EditDialogTest, FertigStellenAppendsTheRowOfTheSelectedOption) {
  const CompleteCase cases[] = {
      {"file with parameters", 206, "Report", "C:\\Tools\\run.exe", "-q -x", "C:\\x\\", "t",
       122, "C:\\Tools\\run.exe|-q -x"},
      {"file without parameters", 206, "Editor", "C:\\Windows\\notepad.exe", "", "", "", 120,
       "C:\\Windows\\notepad.exe|"},
      {"folder", 207, "Daten", "C:\\f.exe", "-p", "C:\\Daten\\", "t", 19, "C:\\Daten\\"},
      {"drive root", 207, "Laufwerk", "", "", "D:\\", "", 68, "D:\\"},
      {"characters", 208, "Gruss", "C:\\f.exe", "-p", "C:\\x\\", "mfg", 145, "Ausgabe:mfg"},
      {"high characters", 208, "Zeichen \xe4\xf6\xfc", "", "", "", " |" + HighBytes(), 255,
       "Ausgabe: |" + HighBytes()},
  };
  int expectedRows = 0;
  for (const CompleteCase& c : cases) {
    OpenEditDialog();
    SetControlText(203, c.label);
    SetControlText(210, c.file);
    SetControlText(220, c.parameters);
    SetControlText(213, c.folder);
    SetControlText(216, c.text);
    SelectOption(c.option);
    UpdateFunctionFields();
    capturedKeyCode = c.keyCode;
    SetStatusText("vorher");

    CompleteEditDialog();
    ++expectedRows;

    ASSERT_EQ(MappingCount(), expectedRows) << c.name;
    const int row = expectedRows - 1;   // appended after the last row
    EXPECT_EQ(MappingCell(row, 0), c.label) << c.name;
    EXPECT_EQ(MappingCell(row, 1), c.expectedFunction) << c.name;
    EXPECT_EQ(MappingCell(row, 2), std::to_string(c.keyCode)) << c.name;
    EXPECT_FALSE(IsWindowOpen(EditDialog)) << c.name;
    EXPECT_TRUE(IsWindowEnabled(WindowHandle(MainWindow))) << c.name;
    EXPECT_NE(StatusText(), "vorher") << c.name;
  }
  EXPECT_EQ(StatusText(), "6 Tasten wurden geändert");
}

TEST_F(EditDialogTest, EmptyFieldsStillAddARow) {
  struct Case {
    int option;
    const char* expectedFunction;
  };
  const Case cases[] = {{206, "|"}, {207, ""}, {208, "Ausgabe:"}};
  capturedKeyCode = 90;
  for (const Case& c : cases) {
    OpenEditDialog();
    SelectOption(c.option);
    UpdateFunctionFields();
    CompleteEditDialog();
  }
  ASSERT_EQ(MappingCount(), 3);
  for (int row = 0; row < 3; ++row) {
    EXPECT_EQ(MappingCell(row, 0), "") << row;
    EXPECT_EQ(MappingCell(row, 1), cases[row].expectedFunction) << row;
    EXPECT_EQ(MappingCell(row, 2), "90") << row;
  }
  EXPECT_EQ(StatusText(), "3 Tasten wurden geändert");
}

TEST_F(EditDialogTest, ASecondRowForTheSameKeyIsAppendedAllTheSame) {
  capturedKeyCode = 120;
  for (const char* label : {"eins", "zwei"}) {
    OpenEditDialog();
    SetControlText(203, label);
    CompleteEditDialog();
  }
  ASSERT_EQ(MappingCount(), 2);
  EXPECT_EQ(MappingCell(0, 0), "eins");
  EXPECT_EQ(MappingCell(1, 0), "zwei");
  EXPECT_EQ(MappingCell(1, 2), "120");
  EXPECT_EQ(StatusText(), "2 Tasten wurden geändert");
}

TEST_F(EditDialogTest, WithNoOptionSelectedNoRowIsMadeButTheDialogCloses) {
  AppendMapping("alt\nC:\\alt.exe|\n65");
  OpenEditDialog();
  for (int option : {206, 207, 208}) {
    (void)SendMessageA(ControlHandle(option), BM_SETCHECK, BST_UNCHECKED, 0);
  }
  SetStatusText("vorher");
  CompleteEditDialog();
  EXPECT_EQ(MappingCount(), 1);
  EXPECT_FALSE(IsWindowOpen(EditDialog));
  EXPECT_TRUE(IsWindowEnabled(WindowHandle(MainWindow)));
  EXPECT_EQ(StatusText(), "1 Taste wird gesperrt");
}

TEST_F(EditDialogTest, AbbrechenAddsNothingAndLeavesTheStatusText) {
  capturedKeyCode = 122;
  OpenEditDialog();
  SetControlText(203, "Report");
  SetControlText(210, "C:\\Tools\\run.exe");
  SetStatusText("unverändert");

  (void)SendMessageA(ControlHandle(EditCancel), BM_CLICK, 0, 0);
  TakeEvent(GadgetEvent, EditCancel);
  CloseDialog(EditDialog, MainWindow);   // what the event loop does for 218

  EXPECT_EQ(MappingCount(), 0);
  EXPECT_FALSE(IsWindowOpen(EditDialog));
  EXPECT_TRUE(IsWindowEnabled(WindowHandle(MainWindow)));
  EXPECT_EQ(StatusText(), "unverändert");
  EXPECT_EQ(capturedKeyCode, 122);
}

}  // namespace
