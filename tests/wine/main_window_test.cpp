// The main window's parts on a real window: the toolbar as the window shows
// it, and the grid lines that the list draws after painting its rows.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_window.h"
#include "mapping/mapping_table.h"
#include "tests/wine/message_pump.h"
#include "toolkit/numbers.h"
#include "toolkit/ui.h"

namespace {

class MainWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    InitUserInterface();
    LoadImages();
  }

  void SetUp() override {
    ASSERT_TRUE(OpenNumberedWindow(MainWindow, 500, 200, "Tavolin 1.0.4", MainWindowFlags));
    SetMessageHandler(MainWindow, MainWindowMessage);
    BuildToolbar();
    BuildStatusBar();
    BuildMappingList();
    PumpMessages();
  }

  void TearDown() override {
    CloseAllWindows();
    PumpMessages();
  }

  static HWND Toolbar() {
    return FindWindowExA(WindowHandle(MainWindow), nullptr, TOOLBARCLASSNAMEA, nullptr);
  }
};

// The list's client area as the list paints it, custom drawing included.
class ListPicture {
 public:
  explicit ListPicture(HWND list) {
    RECT client;
    (void)GetClientRect(list, &client);
    width_ = client.right;
    height_ = client.bottom;
    HDC screen = GetDC(nullptr);
    memory_ = CreateCompatibleDC(screen);
    (void)ReleaseDC(nullptr, screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;   // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(memory_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    old_ = SelectObject(memory_, bitmap_);
    // Printing paints the rows only: the background comes first, as on screen.
    const RECT all = {0, 0, width_, height_};
    (void)SetDCBrushColor(memory_, static_cast<COLORREF>(SendMessageA(list, LVM_GETBKCOLOR, 0, 0)));
    (void)FillRect(memory_, &all, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    (void)SendMessageA(list, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory_), PRF_CLIENT);
    (void)GdiFlush();
  }
  ~ListPicture() {
    (void)SelectObject(memory_, old_);
    (void)DeleteObject(bitmap_);
    (void)DeleteDC(memory_);
  }
  COLORREF At(int x, int y) const { return GetPixel(memory_, x, y); }
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  int width_ = 0;
  int height_ = 0;
  HDC memory_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

RECT RowRect(HWND list, int row) {
  RECT rect = {};
  rect.left = LVIR_BOUNDS;
  (void)SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
  return rect;
}

int HeaderBottom(HWND list) {
  RECT header = {};
  (void)GetWindowRect(reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0)), &header);
  (void)MapWindowPoints(nullptr, list, reinterpret_cast<POINT*>(&header), 2);
  return header.bottom;
}

TEST_F(MainWindowTest, ToolbarShowsTwoButtonsWithTextRightOfLargeImages) {
  HWND toolbar = Toolbar();
  ASSERT_NE(toolbar, nullptr);
  EXPECT_EQ(GetDlgCtrlID(toolbar), ToolbarControlId);
  const DWORD style = static_cast<DWORD>(GetWindowLongA(toolbar, GWL_STYLE));
  EXPECT_EQ(style & (TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | TBSTYLE_LIST),
            static_cast<DWORD>(TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | TBSTYLE_LIST));

  auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(toolbar, TB_GETIMAGELIST, 0, 0));
  ASSERT_NE(images, nullptr);
  int imageWidth = 0, imageHeight = 0;
  ASSERT_TRUE(ImageList_GetIconSize(images, &imageWidth, &imageHeight));
  EXPECT_EQ(imageWidth, 32);
  EXPECT_EQ(imageHeight, 32);
  EXPECT_EQ(ImageList_GetImageCount(images), 2);

  struct Expected {
    int command;
    const char* text;
    bool enabled;
  };
  const Expected expected[] = {{ToolbarCapture, "Funktion einer Taste ändern", true},
                               {ToolbarRestore, "Funktion einer Taste wiederherstellen", false}};
  ASSERT_EQ(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0), 2);
  int widths[2] = {};
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(expected[i].text);
    TBBUTTON button = {};
    ASSERT_TRUE(SendMessageA(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button)));
    EXPECT_EQ(button.idCommand, expected[i].command);
    EXPECT_EQ(button.iBitmap, i);
    EXPECT_TRUE(button.fsStyle & BTNS_AUTOSIZE);
    char text[128] = {};
    (void)SendMessageA(toolbar, TB_GETBUTTONTEXTA, expected[i].command,
                       reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, expected[i].text);
    EXPECT_EQ(SendMessageA(toolbar, TB_ISBUTTONENABLED, expected[i].command, 0) != 0,
              expected[i].enabled);
    RECT rect = {};
    ASSERT_TRUE(SendMessageA(toolbar, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&rect)));
    EXPECT_GE(rect.bottom - rect.top, 32) << "room for the image";
    widths[i] = rect.right - rect.left;
  }
  // Each button is as wide as its image and text need, not 500 pixels.
  EXPECT_LT(widths[0], widths[1]);
  EXPECT_LT(widths[1], 500);
}

TEST_F(MainWindowTest, ToolbarImagesGoWithTheWindow) {
  auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(Toolbar(), TB_GETIMAGELIST, 0, 0));
  ASSERT_NE(images, nullptr);
  ASSERT_EQ(ImageList_GetImageCount(images), 2);
  CloseAllWindows();
  PumpMessages();
  // A destroyed list is no list any more: it reports no images.
  EXPECT_EQ(ImageList_GetImageCount(images), 0);
}

TEST_F(MainWindowTest, GridLinesRunAlongEveryRowOnBelowTheLastAndAtColumnEdges) {
  AppendMapping("Editor\nC:\\Windows\\notepad.exe|\n120");
  AppendMapping("Daten\nC:\\Daten\\\n121");
  HWND list = ControlHandle(MappingListControl);
  ASSERT_NE(list, nullptr);
  const RECT first = RowRect(list, 0);
  const int pitch = first.bottom - first.top;
  ASSERT_GT(pitch, 4);
  const ListPicture picture(list);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const COLORREF background = static_cast<COLORREF>(SendMessageA(list, LVM_GETBKCOLOR, 0, 0));
  ASSERT_NE(face, background);

  // Horizontal lines at the bottom of rows 0 and 1, and on at the same pitch
  // down to the bottom of the list; nothing half-way between them.
  int lines = 0;
  for (int y = first.bottom - 1; y < picture.height(); y += pitch, ++lines) {
    SCOPED_TRACE(y);
    EXPECT_EQ(picture.At(250, y), face);
    if (y + pitch / 2 < picture.height()) {
      EXPECT_EQ(picture.At(250, y + pitch / 2), background);
    }
  }
  EXPECT_GE(lines, 3) << "the list reaches below its two rows";

  // Vertical lines at the column boundaries 100 and 400 and at the right
  // edge of column 2, from the header down, also below the rows.
  const int column2Right = 400 + static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, 2, 0));
  const int emptyY = RowRect(list, 1).bottom + pitch / 2;
  ASSERT_LT(emptyY, picture.height());
  for (int x : {99, 399, column2Right - 1}) {
    SCOPED_TRACE(x);
    EXPECT_EQ(picture.At(x, HeaderBottom(list) + 1), face);
    EXPECT_EQ(picture.At(x, emptyY), face);
  }
  EXPECT_EQ(picture.At(150, emptyY), background);
}

TEST_F(MainWindowTest, WithoutRowsTheListBelowTheHeaderIsOnlyBackground) {
  HWND list = ControlHandle(MappingListControl);
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(MappingCount(), 0);
  const ListPicture picture(list);
  const COLORREF background = static_cast<COLORREF>(SendMessageA(list, LVM_GETBKCOLOR, 0, 0));
  int other = 0;
  for (int y = HeaderBottom(list); y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); x += 3) other += picture.At(x, y) != background;
  }
  EXPECT_EQ(other, 0);
}

}  // namespace
