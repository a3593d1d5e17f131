// The Startup shortcut under Wine: the links CreateShortcut writes (read back
// through IShellLinkA and from the file's bytes), presence by file and by
// folder, the check mark of the real menu bar, and the start-mode dialog.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/program.h"
#include "autostart/autostart.h"
#include "autostart/shell_link.h"
#include "toolkit/ui.h"

namespace {

struct StoredLink {
  std::string target, workingFolder, arguments, description, iconFile;
  int iconIndex = -1;
  WORD hotkey = 0xFFFF;
};

// Loads a .lnk through the shell's own reader. Its show command is read
// from the file's bytes instead (ExpectLinkHeader): Wine's reader does not
// take it from the file and always reports SW_SHOWNORMAL.
bool ReadLink(const std::string& path, StoredLink* link) {
  IShellLinkA* shellLink = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IShellLinkA, reinterpret_cast<void**>(&shellLink))))
    return false;
  IPersistFile* file = nullptr;
  bool loaded = false;
  if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    wchar_t widePath[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH);
    loaded = SUCCEEDED(file->Load(widePath, STGM_READ));
    file->Release();
  }
  if (loaded) {
    char text[MAX_PATH] = "";
    shellLink->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
    link->target = text;
    text[0] = '\0';
    shellLink->GetWorkingDirectory(text, MAX_PATH);
    link->workingFolder = text;
    text[0] = '\0';
    shellLink->GetArguments(text, MAX_PATH);
    link->arguments = text;
    text[0] = '\0';
    shellLink->GetDescription(text, MAX_PATH);
    link->description = text;
    text[0] = '\0';
    shellLink->GetIconLocation(text, MAX_PATH, &link->iconIndex);
    link->iconFile = text;
    shellLink->GetHotkey(&link->hotkey);
  }
  shellLink->Release();
  return loaded;
}

std::vector<unsigned char> FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

uint32_t Le32(const std::vector<unsigned char>& bytes, size_t offset) {
  return bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16 |
         static_cast<uint32_t>(bytes[offset + 3]) << 24;
}

// The file's own header: size 0x4C, the shell-link class, and the show
// command at offset 0x3C.
void ExpectLinkHeader(const std::string& path, uint32_t showCommand) {
  const std::vector<unsigned char> bytes = FileBytes(path);
  ASSERT_GE(bytes.size(), 0x4Cu) << path;
  EXPECT_EQ(Le32(bytes, 0), 0x4Cu);
  EXPECT_EQ(Le32(bytes, 4), 0x00021401u);   // first part of CLSID_ShellLink
  EXPECT_EQ(Le32(bytes, 0x3C), showCommand);
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveFileOrFolder(const std::string& path) {
  DeleteFileA(path.c_str());
  RemoveDirectoryA(path.c_str());
}

std::string CurrentDirectory() {
  char folder[MAX_PATH] = "";
  GetCurrentDirectoryA(MAX_PATH, folder);
  return folder;
}

std::string TempFolder(const char* name) {
  char temp[MAX_PATH] = "";
  GetTempPathA(MAX_PATH, temp);
  std::string folder = std::string(temp) + name;
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder + "\\";
}

bool AutostartMarked() {
  return GetMenuState(GetMenu(WindowHandle(MainWindow)), MenuAutostart, MF_BYCOMMAND) &
         MF_CHECKED;
}

void ClearMark() {
  HMENU bar = GetMenu(WindowHandle(MainWindow));
  CheckMenuItem(bar, MenuAutostart, MF_BYCOMMAND | MF_UNCHECKED);
}

// Window 0 with the program's real menu bar, opened once for all tests; every
// test starts with no shortcut, a cleared mark and its own current folder.
class Autostart : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    InitUserInterface();
    LoadImages();
    ASSERT_TRUE(OpenNumberedWindow(MainWindow, 500, 200, DisplayTitle().c_str(),
                                   MainWindowFlags));
    BuildMenuBar();
  }
  static void TearDownTestSuite() {
    CloseAllWindows();
    ReleaseUserInterface();
  }
  void SetUp() override {
    ASSERT_NE(GetMenu(WindowHandle(MainWindow)), nullptr);
    link = StartupShortcutPath();
    ASSERT_FALSE(link.empty());
    RemoveFileOrFolder(link);
    ClearMark();
    savedFolder = CurrentDirectory();
    workFolder = TempFolder("tavolin autostart");
    ASSERT_TRUE(SetCurrentDirectoryA(workFolder.c_str()));
  }
  void TearDown() override {
    CloseDialog(StartModeDialog, MainWindow);
    RemoveFileOrFolder(link);
    SetCurrentDirectoryA(savedFolder.c_str());
    RemoveDirectoryA(workFolder.c_str());
  }
  std::string link, savedFolder, workFolder;
};

TEST_F(Autostart, StartupFolderIsTheUsersStartupFolderWithBackslash) {
  const std::string folder = StartupFolderPath();
  char appData[MAX_PATH] = "";
  ASSERT_GT(GetEnvironmentVariableA("APPDATA", appData, MAX_PATH), 0u);
  const std::string expected =
      std::string(appData) + "\\Microsoft\\Windows\\Start Menu\\Programs\\Startup\\";
  EXPECT_EQ(CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, folder.c_str(), -1,
                           expected.c_str(), -1), CSTR_EQUAL)
      << folder << " vs " << expected;
  EXPECT_EQ(GetFileAttributesA(folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY,
            static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_EQ(link, folder + "Tavolin.lnk");
}

struct LinkCase {
  const char* workingFolder;   // as passed; "" means the target's folder
  const char* arguments;
  int showCommand;
  const char* description;
  int hotkey;
  const char* iconFile;        // as passed; "|" means the target
  int iconIndex;
};

TEST_F(Autostart, CreateShortcutStoresEveryField) {
  const std::string target = workFolder + "Tavolin.exe";
  const LinkCase cases[] = {
      {"", "", SW_SHOWNORMAL, "", 0, "|", 0},
      {"", "", SW_SHOWMINNOACTIVE, "", 0, "|", 0},
      {"", "", SW_SHOWMAXIMIZED, "", 0, "|", 0},
      // Other values are passed through unchanged.
      {"C:\\Arbeit\\", "/leise 2", SW_SHOWNORMAL, "Tasten", MAKEWORD('K', HOTKEYF_CONTROL),
       "C:\\windows\\system32\\shell32.dll", 3},
  };
  for (const LinkCase& c : cases) {
    SCOPED_TRACE(c.showCommand);
    RemoveFileOrFolder(link);
    EXPECT_EQ(CreateShortcut(target, link, c.workingFolder, c.arguments, c.showCommand,
                             c.description, c.hotkey, c.iconFile, c.iconIndex), 1);
    StoredLink stored;
    ASSERT_TRUE(ReadLink(link, &stored));
    EXPECT_EQ(stored.target, target);
    EXPECT_EQ(stored.workingFolder, *c.workingFolder ? c.workingFolder : workFolder);
    EXPECT_EQ(stored.arguments, c.arguments);
    EXPECT_EQ(stored.description, c.description);
    EXPECT_EQ(stored.hotkey, c.hotkey);
    EXPECT_EQ(stored.iconFile, std::string(c.iconFile) == "|" ? target : c.iconFile);
    EXPECT_EQ(stored.iconIndex, c.iconIndex);
    ExpectLinkHeader(link, static_cast<uint32_t>(c.showCommand));
  }
}

TEST_F(Autostart, CreateShortcutOverwritesAnExistingFile) {
  { std::ofstream(link, std::ios::binary) << "not a link"; }
  EXPECT_EQ(CreateShortcut(workFolder + "Tavolin.exe", link, "", "", SW_SHOWMAXIMIZED, "", 0,
                           "|", 0), 1);
  ExpectLinkHeader(link, SW_SHOWMAXIMIZED);
}

TEST_F(Autostart, StartModeWritesLinkToTheRunningProgram) {
  // The current folder is another than the program's: the link still names
  // the program that runs, in its own folder.
  char program[MAX_PATH] = {};
  ASSERT_GT(GetModuleFileNameA(nullptr, program, sizeof program), 0u);
  const std::string target = program;
  const std::string folder = target.substr(0, target.rfind('\\') + 1);
  ASSERT_NE(folder, workFolder);
  const struct { int mode; int showCommand; } modes[] = {
      {StartNormal, SW_SHOWNORMAL},
      {StartMinimized, SW_SHOWMINNOACTIVE},   // 7, not SW_SHOWMINIMIZED
      {StartMaximized, SW_SHOWMAXIMIZED},
  };
  for (const auto& m : modes) {
    SCOPED_TRACE(m.mode);
    RemoveFileOrFolder(link);
    ClearMark();
    ChooseStartMode(m.mode);
    EXPECT_TRUE(AutostartMarked());
    StoredLink stored;
    ASSERT_TRUE(ReadLink(link, &stored));
    EXPECT_EQ(stored.target, target);
    EXPECT_EQ(stored.workingFolder, folder);
    EXPECT_EQ(stored.arguments, "");
    EXPECT_EQ(stored.description, "");
    EXPECT_EQ(stored.hotkey, 0);
    EXPECT_EQ(stored.iconFile, target);
    EXPECT_EQ(stored.iconIndex, 0);
    ExpectLinkHeader(link, static_cast<uint32_t>(m.showCommand));
  }
}

TEST_F(Autostart, StartModeSetsTheMarkEvenWhenWritingFails) {
  // A folder of the link's name cannot be overwritten by a file.
  ASSERT_TRUE(CreateDirectoryA(link.c_str(), nullptr));
  ChooseStartMode(StartNormal);
  EXPECT_TRUE(AutostartMarked());
  EXPECT_TRUE(GetFileAttributesA(link.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(Autostart, WithoutStartupFolderNothingIsWrittenElsewhere) {
  // Move the Startup folder away: the shell then cannot name it.
  const std::string startup = StartupFolderPath();
  const std::string folder = startup.substr(0, startup.size() - 1);
  const std::string away = folder + " weg";
  ASSERT_TRUE(MoveFileA(folder.c_str(), away.c_str()));
  const std::string lookedUp = StartupFolderPath();
  ChooseStartMode(StartMaximized);
  const bool marked = AutostartMarked();
  ClearMark();
  UpdateAutostartMark();
  const bool markedAtStart = AutostartMarked();
  ASSERT_TRUE(MoveFileA(away.c_str(), folder.c_str()));

  EXPECT_EQ(lookedUp, "");
  EXPECT_TRUE(marked);
  EXPECT_FALSE(markedAtStart);
  EXPECT_FALSE(Exists(workFolder + "Tavolin.lnk"));
  EXPECT_FALSE(Exists("C:\\Tavolin.lnk"));
  EXPECT_FALSE(Exists("\\Tavolin.lnk"));
  EXPECT_FALSE(Exists(link));
}

TEST_F(Autostart, MarkAtStartShowsFileOrFolderOfTheLinksName) {
  const struct { const char* what; bool file; bool folder; bool marked; } cases[] = {
      {"nothing", false, false, false},
      {"a file", true, false, true},
      {"a folder", false, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    RemoveFileOrFolder(link);
    ClearMark();
    if (c.file) {
      std::ofstream(link, std::ios::binary) << "made elsewhere";
    }
    if (c.folder) {
      ASSERT_TRUE(CreateDirectoryA(link.c_str(), nullptr));
    }
    UpdateAutostartMark();
    EXPECT_EQ(AutostartMarked(), c.marked);
  }
}

TEST_F(Autostart, ToggleDeletesPresentShortcutAndClearsMark) {
  ChooseStartMode(StartNormal);
  ASSERT_TRUE(Exists(link));
  ToggleStartupShortcut();
  EXPECT_FALSE(Exists(link));
  EXPECT_FALSE(AutostartMarked());
  EXPECT_FALSE(IsWindowOpen(StartModeDialog));
}

TEST_F(Autostart, ToggleOnFolderClearsMarkAndLeavesFolder) {
  ASSERT_TRUE(CreateDirectoryA(link.c_str(), nullptr));
  UpdateAutostartMark();
  ASSERT_TRUE(AutostartMarked());
  ToggleStartupShortcut();
  EXPECT_FALSE(AutostartMarked());
  EXPECT_TRUE(Exists(link));
  EXPECT_FALSE(IsWindowOpen(StartModeDialog));
}

TEST_F(Autostart, ToggleWithoutShortcutOpensStartModeDialog) {
  ToggleStartupShortcut();
  ASSERT_TRUE(IsWindowOpen(StartModeDialog));
  HWND dialog = WindowHandle(StartModeDialog);
  EXPECT_FALSE(IsWindowEnabled(WindowHandle(MainWindow)));
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), WindowHandle(MainWindow));
  char caption[64] = "";
  GetWindowTextA(dialog, caption, sizeof caption);
  EXPECT_STREQ(caption, "Autostart");
  RECT inner;
  GetClientRect(dialog, &inner);
  EXPECT_EQ(inner.right, 400);
  EXPECT_EQ(inner.bottom, 120);

  const struct { int number; const char* text; RECT place; } controls[] = {
      {StartModeGroup, "Startmodus der Verknüpfung", {10, 10, 390, 80}},
      {StartModeImage, nullptr, {20, 30, 52, 62}},
      {StartModePrompt, "Wie soll das Programm gestartet werden?", {60, 30, 260, 50}},
      {StartModeNormal, "Normal", {60, 50, 160, 70}},
      {StartModeMinimized, "Minimiert", {170, 50, 270, 70}},
      {StartModeMaximized, "Maximiert", {280, 50, 380, 70}},
      {StartModeCancel, "Abbrechen", {290, 90, 390, 110}},
  };
  for (const auto& c : controls) {
    SCOPED_TRACE(c.number);
    HWND control = GetDlgItem(dialog, c.number);
    ASSERT_NE(control, nullptr);
    if (c.text) {
      EXPECT_EQ(ControlText(c.number), c.text);
    }
    RECT place;
    GetWindowRect(control, &place);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
    EXPECT_EQ(place.left, c.place.left);
    EXPECT_EQ(place.top, c.place.top);
    EXPECT_EQ(place.right, c.place.right);
    EXPECT_EQ(place.bottom, c.place.bottom);
  }
  // Opening the dialog writes nothing and leaves the mark.
  EXPECT_FALSE(Exists(link));
  EXPECT_FALSE(AutostartMarked());

  CloseDialog(StartModeDialog, MainWindow);
  EXPECT_TRUE(IsWindowEnabled(WindowHandle(MainWindow)));
  EXPECT_FALSE(Exists(link));
}

}  // namespace
