// The file and folder choosers of the edit dialog, driven from a second
// thread while the test's thread sits in the chooser's modal loop.
#include "tests/wine/dialogs_fixture.h"

#include <shlobj.h>

#include <atomic>
#include <functional>
#include <thread>

#include "dialogs/choosers.h"
#include "dialogs/edit_dialog.h"

namespace {

constexpr int FileNameCombo = 0x47c;   // cmb13 of the open-file dialog
constexpr int FileNameEdit = 0x480;    // edt1, its older form

struct ChooserSighting {
  HWND chooser = nullptr;
  HWND owner = nullptr;
  char caption[128] = {};
};

BOOL CALLBACK FindChooser(HWND window, LPARAM data) {
  char name[32] = {};
  (void)GetClassNameA(window, name, sizeof name);
  if (IsWindowVisible(window) && lstrcmpA(name, "#32770") == 0) {
    *reinterpret_cast<HWND*>(data) = window;
    return FALSE;
  }
  return TRUE;
}

// Waits on its own thread for the chooser that `uiThread` shows, lets
// `look` see the program's windows while it is up, then answers it with
// `answer`.
class ChooserDriver {
 public:
  ChooserDriver(DWORD uiThread, std::function<void(const ChooserSighting&)> look,
                std::function<void(HWND)> answer)
      : worker_([=] { Drive(uiThread, look, answer); }) {}
  ~ChooserDriver() { worker_.join(); }
  bool Found() const { return found_; }

 private:
  void Drive(DWORD uiThread, const std::function<void(const ChooserSighting&)>& look,
             const std::function<void(HWND)>& answer) {
    HWND chooser = nullptr;
    for (int attempt = 0; attempt < 400 && chooser == nullptr; ++attempt) {
      Sleep(25);
      (void)EnumThreadWindows(uiThread, FindChooser, reinterpret_cast<LPARAM>(&chooser));
    }
    if (chooser == nullptr) return;   // the test sees Found() false and fails
    Sleep(300);   // let it finish setting itself up
    ChooserSighting sighting;
    sighting.chooser = chooser;
    sighting.owner = GetWindow(chooser, GW_OWNER);
    (void)GetWindowTextA(chooser, sighting.caption, sizeof sighting.caption);
    look(sighting);
    answer(chooser);
    found_ = true;
  }

  std::atomic<bool> found_{false};
  std::thread worker_;
};

void PressButton(HWND chooser, int button) {
  (void)PostMessageA(chooser, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(chooser, button)));
}

void TypeFileNameAndConfirm(HWND chooser, const std::string& path) {
  HWND name = GetDlgItem(chooser, FileNameCombo);
  if (name == nullptr) name = GetDlgItem(chooser, FileNameEdit);
  (void)SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  PressButton(chooser, IDOK);
}

void SelectFolderAndConfirm(HWND browser, const char* folder) {
  if (folder != nullptr) {
    (void)SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(folder));
  }
  Sleep(200);
  PressButton(browser, IDOK);
}

std::string CurrentFolder() {
  char folder[MAX_PATH] = {};
  (void)GetCurrentDirectoryA(sizeof folder, folder);
  return folder;
}

std::string TempFolder() {
  char folder[MAX_PATH] = {};
  (void)GetTempPathA(sizeof folder, folder);
  return folder;
}

class ChoosersTest : public DialogsTest {
 protected:
  void SetUp() override {
    DialogsTest::SetUp();
    OpenEditDialog();
    (void)SetForegroundWindow(WindowHandle(EditDialog));
    PumpMessages();
    ASSERT_EQ(GetForegroundWindow(), WindowHandle(EditDialog));
    uiThread_ = GetCurrentThreadId();
  }

  DWORD uiThread_ = 0;
};

TEST_F(ChoosersTest, ChosenFileFillsItsFieldAndTheCurrentFolderStays) {
  const std::string folder = TempFolder() + "tavolin chooser\\";
  (void)CreateDirectoryA(folder.c_str(), nullptr);
  const std::string file = folder + "run me.exe";
  HANDLE created = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(created, INVALID_HANDLE_VALUE);
  (void)CloseHandle(created);
  const std::string before = CurrentFolder();

  ChooserSighting seen;
  bool found = false;
  {
    ChooserDriver driver(
        uiThread_, [&](const ChooserSighting& s) { seen = s; },
        [&](HWND chooser) { TypeFileNameAndConfirm(chooser, file); });
    ChooseFile();
    found = driver.Found();
  }
  ASSERT_TRUE(found);
  EXPECT_STREQ(seen.caption, "Datei auswählen");
  EXPECT_EQ(seen.owner, WindowHandle(EditDialog));
  EXPECT_EQ(ControlText(EditFileField), file);   // the full path, no quotes
  EXPECT_EQ(CurrentFolder(), before);
  (void)DeleteFileA(file.c_str());
  (void)RemoveDirectoryA(folder.c_str());
}

TEST_F(ChoosersTest, CancelledChoosersLeaveTheirFields) {
  SetControlText(EditFileField, "C:\\alt.exe");
  SetControlText(EditFolderField, "C:\\Alt\\");
  bool fileFound = false;
  {
    ChooserDriver driver(
        uiThread_, [](const ChooserSighting&) {},
        [](HWND chooser) { PressButton(chooser, IDCANCEL); });
    ChooseFile();
    fileFound = driver.Found();
  }
  EXPECT_TRUE(fileFound);
  EXPECT_EQ(ControlText(EditFileField), "C:\\alt.exe");

  SelectOption(EditOpenFolderOption);
  UpdateFunctionFields();
  (void)SetForegroundWindow(WindowHandle(EditDialog));
  bool folderFound = false;
  {
    ChooserDriver driver(
        uiThread_, [](const ChooserSighting&) {},
        [](HWND chooser) { PressButton(chooser, IDCANCEL); });
    ChooseFolder();
    folderFound = driver.Found();
  }
  EXPECT_TRUE(folderFound);
  EXPECT_EQ(ControlText(EditFolderField), "C:\\Alt\\");
}

TEST_F(ChoosersTest, ChosenFolderEndsInOneBackslash) {
  struct Case {
    const char* selected;
    const char* expected;
  };
  const Case cases[] = {{"C:\\windows", "C:\\windows\\"}, {"C:\\", "C:\\"}};
  for (const Case& c : cases) {
    (void)SetForegroundWindow(WindowHandle(EditDialog));
    ChooserSighting seen;
    bool found = false;
    {
      ChooserDriver driver(
          uiThread_, [&](const ChooserSighting& s) { seen = s; },
          [&](HWND browser) { SelectFolderAndConfirm(browser, c.selected); });
      ChooseFolder();
      found = driver.Found();
    }
    ASSERT_TRUE(found) << c.selected;
    EXPECT_EQ(seen.owner, WindowHandle(EditDialog)) << c.selected;
    EXPECT_STRCASEEQ(ControlText(EditFolderField).c_str(), c.expected) << c.selected;
  }
}

TEST_F(ChoosersTest, TheBrowserPreselectsTheInitialFolder) {
  std::string result;
  bool found = false;
  {
    ChooserDriver driver(
        uiThread_, [](const ChooserSighting&) {},
        [](HWND browser) { SelectFolderAndConfirm(browser, nullptr); });
    result = RunFolderChooser("Ordner auswählen", "C:\\windows\\system32\\");
    found = driver.Found();
  }
  ASSERT_TRUE(found);
  EXPECT_STRCASEEQ(result.c_str(), "C:\\windows\\system32\\");
}

// Around a chooser every other visible, enabled window of the thread is
// disabled, and exactly those are enabled again: the main window, which the
// open edit dialog keeps disabled, must stay disabled afterwards.
TEST_F(ChoosersTest, OtherWindowsAreDisabledWhileAChooserRuns) {
  HWND extraShown = CreateWindowExA(0, "Static", "frei", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                    nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  HWND extraHidden = CreateWindowExA(0, "Static", "versteckt", WS_POPUP, 0, 0, 50, 50,
                                     nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(extraShown, nullptr);
  (void)SetForegroundWindow(WindowHandle(EditDialog));
  PumpMessages();

  for (int chooser = 0; chooser < 2; ++chooser) {
    bool shownEnabled = true, hiddenEnabled = false, mainEnabled = true;
    bool found = false;
    {
      ChooserDriver driver(
          uiThread_,
          [&](const ChooserSighting&) {
            shownEnabled = IsWindowEnabled(extraShown) != FALSE;
            hiddenEnabled = IsWindowEnabled(extraHidden) != FALSE;
            mainEnabled = IsWindowEnabled(WindowHandle(MainWindow)) != FALSE;
          },
          [](HWND window) { PressButton(window, IDCANCEL); });
      if (chooser == 0) ChooseFile(); else ChooseFolder();
      found = driver.Found();
    }
    ASSERT_TRUE(found) << chooser;
    EXPECT_FALSE(shownEnabled) << chooser;
    EXPECT_TRUE(hiddenEnabled) << chooser;
    EXPECT_FALSE(mainEnabled) << chooser;
    EXPECT_TRUE(IsWindowEnabled(extraShown)) << chooser;
    EXPECT_TRUE(IsWindowEnabled(extraHidden)) << chooser;
    EXPECT_FALSE(IsWindowEnabled(WindowHandle(MainWindow))) << chooser;
    EXPECT_TRUE(IsWindowEnabled(WindowHandle(EditDialog))) << chooser;
  }
  (void)DestroyWindow(extraShown);
  (void)DestroyWindow(extraHidden);
}

// SHELL32.DLL comes from the system folder even with a file of that name in
// the current directory.
TEST(ShellLibrary, LoadsOnlyFromTheSystemFolder) {
  const std::string before = CurrentFolder();
  const std::string planted = TempFolder() + "tavolin planted\\";
  (void)CreateDirectoryA(planted.c_str(), nullptr);
  const std::string fake = planted + "SHELL32.DLL";
  HANDLE file = CreateFileA(fake.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  (void)WriteFile(file, "MZ not a library", 16, &written, nullptr);
  (void)CloseHandle(file);
  ASSERT_TRUE(SetCurrentDirectoryA(planted.c_str()));

  HMODULE shell = LoadSystemLibrary("SHELL32.DLL");
  (void)SetCurrentDirectoryA(before.c_str());
  ASSERT_NE(shell, nullptr);
  char loaded[MAX_PATH] = {};
  (void)GetModuleFileNameA(shell, loaded, sizeof loaded);
  char system[MAX_PATH] = {};
  (void)GetSystemDirectoryA(system, sizeof system);
  EXPECT_STRCASEEQ(loaded, (std::string(system) + "\\shell32.dll").c_str());
  EXPECT_NE(GetProcAddress(shell, "SHBrowseForFolderA"), nullptr);
  (void)FreeLibrary(shell);
  (void)DeleteFileA(fake.c_str());
  (void)RemoveDirectoryA(planted.c_str());
}

}  // namespace
