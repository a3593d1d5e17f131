// Control kinds with their classes and styles, options, text, Tab focus
// cycling and the image control with the embedded icons.
#include <cstring>

#include "toolkit/icon_file.h"
#include "toolkit_fixture.h"

namespace {

class ControlsTest : public ToolkitTest {
 protected:
  void SetUp() override {
    ToolkitTest::SetUp();
    ASSERT_TRUE(OpenNumberedWindow(MainWindow, 500, 200, "main", MainWindowFlags));
    ASSERT_TRUE(OpenNumberedWindow(EditDialog, 480, 350, "Taste ändern", DialogFlags, MainWindow));
    dialog = WindowHandle(EditDialog);
    (void)EventsUntilIdle();
  }

  static std::string ClassOf(HWND window) {
    char name[64] = {};
    (void)GetClassNameA(window, name, sizeof name);
    return name;
  }

  HWND dialog = nullptr;
};

TEST_F(ControlsTest, KindsHaveTheirClassesStylesAndFont) {
  struct Case {
    ControlKind kind;
    DWORD flags;
    const char* windowClass;
    DWORD style;      // besides WS_CHILD and WS_VISIBLE
    DWORD mask;       // the bits compared
    DWORD exStyle;
  };
  const DWORD common = WS_GROUP | WS_TABSTOP;
  const Case cases[] = {
      {GroupBox, 0, "Button", BS_GROUPBOX | WS_GROUP, BS_TYPEMASK | common, 0},
      {TextLabel, 0, "Static", SS_LEFT | WS_GROUP, SS_TYPEMASK | common, 0},
      {ImageControl, 0, "Static", SS_NOTIFY, SS_NOTIFY | common, 0},
      {ProgressBar, MarqueeProgress, "msctls_progress32", PBS_MARQUEE, PBS_MARQUEE | common, 0},
      {PushButton, 0, "Button", BS_PUSHBUTTON | common, BS_TYPEMASK | common, 0},
      {TextField, 0, "Edit", ES_AUTOHSCROLL | common, ES_AUTOHSCROLL | ES_READONLY | common,
       WS_EX_CLIENTEDGE},
      {TextField, ReadOnlyField, "Edit", ES_AUTOHSCROLL | ES_READONLY | common,
       ES_AUTOHSCROLL | ES_READONLY | common, WS_EX_CLIENTEDGE},
      {OptionButton, 0, "Button", BS_AUTORADIOBUTTON | common, BS_TYPEMASK | common, 0},
  };
  int number = 500;
  for (const Case& c : cases) {
    HWND control = CreateControl(c.kind, ++number, 5, 5, 100, 20, "Text", c.flags);
    ASSERT_NE(control, nullptr) << c.windowClass;
    EXPECT_EQ(GetParent(control), dialog);
    EXPECT_EQ(GetDlgCtrlID(control), number);
    EXPECT_STRCASEEQ(ClassOf(control).c_str(), c.windowClass);
    EXPECT_EQ(Style(control) & (WS_CHILD | WS_VISIBLE), static_cast<DWORD>(WS_CHILD | WS_VISIBLE));
    EXPECT_EQ(Style(control) & c.mask, c.style) << c.windowClass << " kind " << c.kind;
    EXPECT_EQ(ExStyle(control) & WS_EX_CLIENTEDGE, c.exStyle) << c.windowClass;
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)),
              GetStockObject(DEFAULT_GUI_FONT));
    EXPECT_EQ(ControlHandle(number), control);
  }
  PBRANGE range = {};
  (void)SendMessageA(ControlHandle(504), PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
  EXPECT_EQ(range.iLow, 0);
  EXPECT_EQ(range.iHigh, 100);
}

TEST_F(ControlsTest, TextIsReadAndReplacedWhole) {
  ASSERT_NE(CreateControl(TextField, EditLabelField, 10, 10, 200, 22, "Anfang"), nullptr);
  EXPECT_EQ(ControlText(EditLabelField), "Anfang");
  const std::string longText(5000, 'x');   // no length limit
  SetControlText(EditLabelField, longText);
  EXPECT_EQ(ControlText(EditLabelField), longText);
  SetControlText(EditLabelField, "Grüße");
  EXPECT_EQ(ControlText(EditLabelField), "Grüße");
  SetControlText(EditLabelField, "");
  EXPECT_EQ(ControlText(EditLabelField), "");
  EXPECT_EQ(ControlText(999), "") << "no such control";

  EnableControl(EditLabelField, false);
  EXPECT_FALSE(IsWindowEnabled(ControlHandle(EditLabelField)));
  EnableControl(EditLabelField, true);
  EXPECT_TRUE(IsWindowEnabled(ControlHandle(EditLabelField)));
}

TEST_F(ControlsTest, ConsecutiveOptionsFormOneGroup) {
  ASSERT_NE(CreateControl(GroupBox, EditFunctionGroup, 5, 5, 400, 200, "Funktion"), nullptr);
  ASSERT_NE(CreateControl(OptionButton, EditRunFileOption, 10, 20, 150, 20, "Datei ausführen"), nullptr);
  ASSERT_NE(CreateControl(OptionButton, EditOpenFolderOption, 10, 40, 150, 20, "Ordner öffnen"), nullptr);
  ASSERT_NE(CreateControl(OptionButton, EditOutputTextOption, 10, 60, 150, 20, "Zeichen ausgeben"), nullptr);
  ASSERT_NE(CreateControl(TextLabel, 600, 10, 80, 150, 20, "Trenner"), nullptr);
  ASSERT_NE(CreateControl(OptionButton, 601, 10, 100, 150, 20, "Zweite Gruppe A"), nullptr);
  ASSERT_NE(CreateControl(OptionButton, 602, 10, 120, 150, 20, "Zweite Gruppe B"), nullptr);

  EXPECT_TRUE(Style(ControlHandle(EditRunFileOption)) & WS_GROUP);
  EXPECT_FALSE(Style(ControlHandle(EditOpenFolderOption)) & WS_GROUP);
  EXPECT_FALSE(Style(ControlHandle(EditOutputTextOption)) & WS_GROUP);
  EXPECT_TRUE(Style(ControlHandle(601)) & WS_GROUP);
  EXPECT_FALSE(Style(ControlHandle(602)) & WS_GROUP);

  SelectOption(601);
  SelectOption(EditRunFileOption);
  EXPECT_TRUE(IsOptionSelected(EditRunFileOption));
  // Checked by hand too, as a stray click could leave it.
  (void)SendMessageA(ControlHandle(EditOpenFolderOption), BM_SETCHECK, BST_CHECKED, 0);
  SelectOption(EditOutputTextOption);
  EXPECT_FALSE(IsOptionSelected(EditRunFileOption));
  EXPECT_FALSE(IsOptionSelected(EditOpenFolderOption));
  EXPECT_TRUE(IsOptionSelected(EditOutputTextOption));
  EXPECT_TRUE(IsOptionSelected(601)) << "the other group is left alone";
  EXPECT_FALSE(IsOptionSelected(602));

  SelectOption(602);
  EXPECT_FALSE(IsOptionSelected(601));
  EXPECT_TRUE(IsOptionSelected(EditOutputTextOption));
  EXPECT_FALSE(IsOptionSelected(999));
}

TEST_F(ControlsTest, OptionClickGivesOneGadgetEvent) {
  ASSERT_NE(CreateControl(OptionButton, EditRunFileOption, 10, 20, 150, 20, "Datei ausführen"), nullptr);
  ASSERT_NE(CreateControl(OptionButton, EditOpenFolderOption, 10, 40, 150, 20, "Ordner öffnen"), nullptr);
  (void)EventsUntilIdle();
  (void)SendMessageA(ControlHandle(EditOpenFolderOption), BM_CLICK, 0, 0);
  const std::vector<Event> events = EventsUntilIdle();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].kind, GadgetEvent);
  EXPECT_EQ(events[0].number, EditOpenFolderOption);
  EXPECT_TRUE(IsOptionSelected(EditOpenFolderOption));
}

class TabTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    // Creation order: label, field, disabled field, three options, a hidden
    // button, a button, a read-only field.
    ASSERT_NE(CreateControl(TextLabel, EditLabelCaption, 10, 10, 60, 20, "Taste:"), nullptr);
    ASSERT_NE(CreateControl(TextField, EditLabelField, 80, 10, 200, 22, ""), nullptr);
    ASSERT_NE(CreateControl(TextField, EditParametersField, 80, 40, 200, 22, ""), nullptr);
    ASSERT_NE(CreateControl(OptionButton, EditRunFileOption, 10, 70, 150, 20, "Datei"), nullptr);
    ASSERT_NE(CreateControl(OptionButton, EditOpenFolderOption, 10, 90, 150, 20, "Ordner"), nullptr);
    ASSERT_NE(CreateControl(OptionButton, EditOutputTextOption, 10, 110, 150, 20, "Zeichen"), nullptr);
    ASSERT_NE(CreateControl(PushButton, EditFileButton, 10, 140, 80, 24, "Versteckt"), nullptr);
    ASSERT_NE(CreateControl(PushButton, EditCancel, 100, 140, 80, 24, "Abbrechen"), nullptr);
    ASSERT_NE(CreateControl(TextField, EditFolderField, 10, 180, 200, 22, "", ReadOnlyField), nullptr);
    EnableControl(EditParametersField, false);
    EnableControl(EditOpenFolderOption, false);
    (void)ShowWindow(ControlHandle(EditFileButton), SW_HIDE);
    (void)SetActiveWindow(dialog);
    (void)SetFocus(ControlHandle(EditLabelField));
    (void)EventsUntilIdle();
  }

  // A Tab key that arrives at the focused control, as typing would deliver it.
  void PressTab(bool shift) {
    BYTE keys[256];
    (void)GetKeyboardState(keys);
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    (void)SetKeyboardState(keys);
    ASSERT_TRUE(PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 0x000F0001));
    ASSERT_TRUE(PostMessageA(GetFocus(), WM_KEYUP, VK_TAB, 0xC00F0001));
    EXPECT_TRUE(WithoutFocusNotes(EventsUntilIdle()).empty()) << "Tab gives no event";
    keys[VK_SHIFT] = 0;
    (void)SetKeyboardState(keys);
  }

  int FocusedControl() { return GetDlgCtrlID(GetFocus()); }

  // Text fields tell their window when they gain and lose the focus; those
  // notifications are events like any other, and not the point here.
  static std::vector<Event> WithoutFocusNotes(const std::vector<Event>& events) {
    std::vector<Event> kept;
    for (const Event& event : events) {
      if (event.kind == GadgetEvent && (event.type == EN_SETFOCUS || event.type == EN_KILLFOCUS)) {
        continue;
      }
      kept.push_back(event);
    }
    return kept;
  }
};

TEST_F(TabTest, TabCyclesForwardOverEnabledVisibleTabStops) {
  const int expected[] = {EditRunFileOption, EditOutputTextOption, EditCancel, EditFolderField,
                          EditLabelField, EditRunFileOption};
  for (int number : expected) {
    PressTab(false);
    EXPECT_EQ(FocusedControl(), number);
  }
}

TEST_F(TabTest, ShiftTabCyclesBackward) {
  const int expected[] = {EditFolderField, EditCancel, EditOutputTextOption, EditRunFileOption,
                          EditLabelField, EditFolderField};
  for (int number : expected) {
    PressTab(true);
    EXPECT_EQ(FocusedControl(), number);
  }
}

TEST_F(TabTest, TabWithoutFocusedControlTakesTheFirst) {
  (void)SetFocus(dialog);
  PressTab(false);
  EXPECT_EQ(FocusedControl(), EditLabelField);
}

TEST_F(TabTest, EnterAndEscapeDoNothing) {
  (void)SetFocus(ControlHandle(EditCancel));
  (void)EventsUntilIdle();
  for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
    ASSERT_TRUE(PostMessageA(GetFocus(), WM_KEYDOWN, key, 0));
    ASSERT_TRUE(PostMessageA(GetFocus(), WM_KEYUP, key, 0xC0000001));
  }
  EXPECT_TRUE(EventsUntilIdle().empty());
  EXPECT_TRUE(IsWindowOpen(EditDialog));
  EXPECT_EQ(FocusedControl(), EditCancel);
}

TEST_F(TabTest, RealTabKeysMoveTheFocus) {
  (void)SetForegroundWindow(dialog);
  (void)SetFocus(ControlHandle(EditLabelField));
  keybd_event(VK_TAB, 0x0F, 0, 0);
  keybd_event(VK_TAB, 0x0F, KEYEVENTF_KEYUP, 0);
  EXPECT_TRUE(WithoutFocusNotes(EventsUntilIdle()).empty());
  EXPECT_EQ(FocusedControl(), EditRunFileOption);

  keybd_event(VK_SHIFT, 0x2A, 0, 0);
  keybd_event(VK_TAB, 0x0F, 0, 0);
  keybd_event(VK_TAB, 0x0F, KEYEVENTF_KEYUP, 0);
  keybd_event(VK_SHIFT, 0x2A, KEYEVENTF_KEYUP, 0);
  EXPECT_TRUE(WithoutFocusNotes(EventsUntilIdle()).empty());
  EXPECT_EQ(FocusedControl(), EditLabelField);
  EXPECT_EQ(ControlText(EditLabelField), "") << "no tab character typed";
}

// An ICO file with one 32 x 32, 32-bit image: left half opaque red, right
// half red at half opacity, the bottom row fully transparent.
std::vector<uint8_t> HalfTransparentIcon() {
  const int size = 32;
  const size_t pixels = size * size * 4;
  const size_t mask = size * 4;   // 1 bit per pixel, rows padded to 4 bytes
  const size_t image = sizeof(BITMAPINFOHEADER) + pixels + mask;
  std::vector<uint8_t> file(6 + 16 + image, 0);
  const uint8_t header[] = {0, 0, 1, 0, 1, 0, 32, 32, 0, 0, 1, 0, 32, 0};
  std::memcpy(file.data(), header, sizeof header);
  const uint32_t imageSize = static_cast<uint32_t>(image);
  const uint32_t offset = 22;
  std::memcpy(&file[14], &imageSize, 4);
  std::memcpy(&file[18], &offset, 4);
  BITMAPINFOHEADER info = {};
  info.biSize = sizeof(info);
  info.biWidth = size;
  info.biHeight = size * 2;
  info.biPlanes = 1;
  info.biBitCount = 32;
  std::memcpy(&file[22], &info, sizeof info);
  uint8_t* bits = &file[22 + sizeof info];
  for (int row = 0; row < size; ++row) {       // bottom-up: row 0 is the bottom
    for (int x = 0; x < size; ++x) {
      uint8_t* p = bits + (row * size + x) * 4;
      const uint8_t alpha = row == 0 ? 0 : (x < 16 ? 255 : 128);
      p[0] = 0;                                  // blue
      p[1] = 0;                                  // green
      p[2] = alpha == 0 ? 0 : 255;                 // red, alpha not premultiplied
      p[3] = alpha;
    }
  }
  return file;
}

TEST_F(ControlsTest, EmbeddedImagesAreIconsOf32By32) {
  for (int image = 1; image <= ImageCount; ++image) {
    HICON icon = ImageHandle(image);
    ASSERT_NE(icon, nullptr) << "image " << image;
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP bitmap = {};
    ASSERT_TRUE(info.hbmColor != nullptr);
    (void)GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
    EXPECT_EQ(bitmap.bmWidth, 32);
    EXPECT_EQ(bitmap.bmHeight, 32);
    EXPECT_EQ(bitmap.bmBitsPixel, 32);
    (void)DeleteObject(info.hbmColor);
    (void)DeleteObject(info.hbmMask);
  }
  EXPECT_EQ(ImageHandle(0), nullptr);
  EXPECT_EQ(ImageHandle(ImageCount + 1), nullptr);
}

TEST_F(ControlsTest, BrokenIcoFilesGiveNoIcon) {
  std::vector<uint8_t> file = HalfTransparentIcon();
  EXPECT_EQ(IconFromIcoFile(file.data(), 10), nullptr);
  file[2] = 2;   // a cursor file
  EXPECT_EQ(IconFromIcoFile(file.data(), file.size()), nullptr);
}

TEST_F(ControlsTest, ImageControlTakesTheIconSizeAndPaintsWithAlpha) {
  HWND control = CreateImageControl(EditFunctionImage, 20, 20, 0, 0, ImageFunction);
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(ClientSize(control).cx, 32);
  EXPECT_EQ(ClientSize(control).cy, 32);
  EXPECT_TRUE(Style(control) & SS_NOTIFY);

  const std::vector<uint8_t> file = HalfTransparentIcon();
  HICON icon = IconFromIcoFile(file.data(), file.size());
  ASSERT_NE(icon, nullptr);
  PaintImageControlWith(control, icon);

  // Paint into a 32-bit bitmap of our own and read the pixels back.
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = 32;
  info.bmiHeader.biHeight = -32;   // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(bitmap, nullptr);
  HGDIOBJ old = SelectObject(memory, bitmap);
  (void)SendMessageA(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
  (void)GdiFlush();
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const COLORREF opaque = GetPixel(memory, 4, 4);
  const COLORREF half = GetPixel(memory, 24, 4);
  const COLORREF clear = GetPixel(memory, 24, 31);
  (void)SelectObject(memory, old);
  (void)DeleteObject(bitmap);
  (void)DeleteDC(memory);
  (void)ReleaseDC(nullptr, screen);
  (void)DestroyIcon(icon);

  EXPECT_EQ(opaque, RGB(255, 0, 0));
  EXPECT_EQ(clear, face) << "transparent pixels show the background";
  // Half-opaque red over the button face: blended, neither red nor face.
  EXPECT_NEAR(GetRValue(half), (255 + GetRValue(face)) / 2, 3);
  EXPECT_NEAR(GetGValue(half), GetGValue(face) / 2, 3);
  EXPECT_NEAR(GetBValue(half), GetBValue(face) / 2, 3);
}

TEST_F(ControlsTest, ImageControlWithoutImageKeepsItsSize) {
  HWND control = CreateImageControl(CaptureImage, 20, 20, 48, 40, 0);
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(ClientSize(control).cx, 48);
  EXPECT_EQ(ClientSize(control).cy, 40);
  HWND plain = CreateControl(ImageControl, StartModeImage, 80, 20, 0, 0);
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(ClientSize(plain).cx, 32);
  EXPECT_EQ(ClientSize(plain).cy, 32);
}

}  // namespace
