// The data folder and the settings file on real files under a temporary
// "appdata" folder, with the key table in a real list view.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mapping/mapping_table.h"
#include "mapping/settings_file.h"
#include "tests/wine/mapping_test_list.h"

namespace {

const std::string Title = "Tavolin";
const std::string FileName = "Tasten.ini";
const std::string Example38 = "Editor\r\nC:\\Windows\\notepad.exe|\r\n120\r\n";

void DeleteTree(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") DeleteTree(path + "\\" + name);
      } while (FindNextFileA(search, &found));
      (void)FindClose(search);
    }
    (void)RemoveDirectoryA(path.c_str());
  } else {
    (void)SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    (void)DeleteFileA(path.c_str());
  }
}

std::string ReadBytes(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "<cannot open>";
  std::string bytes;
  char block[65536];
  DWORD got = 0;
  while (ReadFile(file, block, sizeof block, &got, nullptr) && got > 0) bytes.append(block, got);
  (void)CloseHandle(file);
  return bytes;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
  DWORD written = 0;
  ASSERT_TRUE(WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
  ASSERT_EQ(written, bytes.size());
  (void)CloseHandle(file);
}

// A fresh "appdata" folder for every test, and an empty key table.
class SettingsFileTest : public ::testing::Test {
 protected:
  MappingTestList table;
  std::string appData;

  void SetUp() override {
    ASSERT_TRUE(table.list != nullptr);
    char temp[MAX_PATH];
    ASSERT_GT(GetTempPathA(MAX_PATH, temp), 0u);
    static int counter = 0;
    appData = std::string(temp) + "tavolin-mapping-" + std::to_string(GetCurrentProcessId()) +
              "-" + std::to_string(++counter);
    DeleteTree(appData);
    ASSERT_TRUE(CreateDirectoryA(appData.c_str(), nullptr));
    ASSERT_TRUE(SetEnvironmentVariableA("appdata", appData.c_str()));
  }

  void TearDown() override {
    SetSettingsWriteCall(nullptr);
    DeleteTree(appData);
  }

  std::string DataFolder() { return appData + "\\Pellwick\\Tavolin\\"; }
  std::string SettingsFile() { return DataFolder() + "Tasten.ini"; }
  std::string NewFile() { return SettingsFile() + ".tmp"; }

  // Data folder made and settings file holding `bytes`.
  void PrepareFile(const std::string& bytes) {
    EnsureDataFolder(Title);
    WriteBytes(SettingsFile(), bytes);
  }

  std::vector<std::string> Cells() {
    std::vector<std::string> cells;
    for (int row = 0; row < MappingCount(); ++row) {
      for (int column = 0; column < 3; ++column) cells.push_back(MappingCell(row, column));
    }
    return cells;
  }
};

TEST_F(SettingsFileTest, PathsFollowTheVariableAppData) {
  EXPECT_EQ(AppDataValue(), appData);
  EXPECT_EQ(MakerFolderPath(), appData + "\\Pellwick\\");
  EXPECT_EQ(DataFolderPath(Title), DataFolder());
  EXPECT_EQ(SettingsFilePath(Title, FileName), SettingsFile());
  // Looked up without regard to case, as Windows does.
  ASSERT_TRUE(SetEnvironmentVariableA("appdata", nullptr));
  ASSERT_TRUE(SetEnvironmentVariableA("APPDATA", "X:\\Roaming"));
  EXPECT_EQ(MakerFolderPath(), "X:\\Roaming\\Pellwick\\");
}

TEST_F(SettingsFileTest, CheckPathTellsFoldersFilesAndNothingApart) {
  const std::string file = appData + "\\file.txt";
  WriteBytes(file, "x");
  char missingDrive[] = "?:";
  const DWORD drives = GetLogicalDrives();
  for (char letter = 'Z'; letter >= 'D'; --letter) {
    if (!(drives & (1u << (letter - 'A')))) missingDrive[0] = letter;
  }
  ASSERT_NE(missingDrive[0], '?');
  const std::pair<std::string, PathKind> cases[] = {
      {"", PathKind::Missing},
      {appData, PathKind::Folder},
      {appData + "\\", PathKind::Folder},
      {appData + "\\\\\\", PathKind::Folder},
      {file, PathKind::File},
      {file + "\\", PathKind::File},
      {appData + "\\nothing", PathKind::Missing},
      {appData + "\\nothing\\deeper", PathKind::Missing},
      {"C:", PathKind::Folder},
      {"C:\\", PathKind::Folder},
      {missingDrive, PathKind::Missing},
      {std::string(missingDrive) + "\\", PathKind::Missing},
      {"\\\\", PathKind::Missing},
  };
  for (const auto& c : cases) EXPECT_EQ(CheckPath(c.first), c.second) << c.first;
}

TEST_F(SettingsFileTest, FirstStartMakesFoldersAndAnEmptyFile) {
  EnsureDataFolder(Title);
  EXPECT_EQ(CheckPath(appData + "\\Pellwick"), PathKind::Folder);
  EXPECT_EQ(CheckPath(DataFolder()), PathKind::Folder);
  EnsureSettingsFile(Title, FileName);
  ASSERT_EQ(CheckPath(SettingsFile()), PathKind::File);
  EXPECT_EQ(ReadBytes(SettingsFile()), "");
  LoadMappings(Title, FileName);
  EXPECT_EQ(MappingCount(), 0);
  SaveMappings(Title, FileName);
  EXPECT_EQ(ReadBytes(SettingsFile()), "");
  EXPECT_EQ(CheckPath(NewFile()), PathKind::Missing);
}

TEST_F(SettingsFileTest, EnsureSettingsFileNeverTouchesAnExistingFile) {
  PrepareFile(Example38);
  EnsureSettingsFile(Title, FileName);
  EXPECT_EQ(ReadBytes(SettingsFile()), Example38);
}

TEST_F(SettingsFileTest, SavesTheExampleRowAsThirtyEightBytes) {
  EnsureDataFolder(Title);
  EnsureSettingsFile(Title, FileName);
  AppendMapping("Editor\nC:\\Windows\\notepad.exe|\n120");
  SaveMappings(Title, FileName);
  EXPECT_EQ(ReadBytes(SettingsFile()), Example38);
  EXPECT_EQ(CheckPath(NewFile()), PathKind::Missing);
}

// What a file loads as, and what the next save makes of it.
TEST_F(SettingsFileTest, LoadsFilesOfEveryFormAndSavesThemInCrLfForm) {
  std::string high;
  for (int b = 128; b <= 255; ++b) high += static_cast<char>(b);
  struct Case {
    const char* what;
    std::string bytes;
    std::vector<std::string> cells;
    std::string saved;  // what the next save writes
  };
  const Case cases[] = {
      {"38-byte example", Example38, {"Editor", "C:\\Windows\\notepad.exe|", "120"}, Example38},
      {"LF only", "Editor\nC:\\Windows\\notepad.exe|\n120\n",
       {"Editor", "C:\\Windows\\notepad.exe|", "120"}, Example38},
      {"CR only", "Editor\rC:\\Windows\\notepad.exe|\r120",
       {"Editor", "C:\\Windows\\notepad.exe|", "120"}, Example38},
      {"four lines", "a\r\nb\r\nc\r\nd\r\n", {"a", "b", "c", "d", "", ""},
       "a\r\nb\r\nc\r\nd\r\n\r\n\r\n"},
      {"extra CR LF", Example38 + "\r\n",
       {"Editor", "C:\\Windows\\notepad.exe|", "120", "", "", ""}, Example38 + "\r\n\r\n\r\n"},
      {"byte-order mark", "\xEF\xBB\xBFGr\xFC\xDF\r\nAusgabe:x\r\n65\r\n",
       {"\xEF\xBB\xBFGr\xFC\xDF", "Ausgabe:x", "65"},
       "\xEF\xBB\xBFGr\xFC\xDF\r\nAusgabe:x\r\n65\r\n"},
      {"bytes 128-255", high + "\r\nAusgabe:" + high + "\r\n66\r\n",
       {high, "Ausgabe:" + high, "66"}, high + "\r\nAusgabe:" + high + "\r\n66\r\n"},
      {"NUL inside a line", std::string("ab\0cd\r\n1\r\n", 10), {"ab", "cd", "1"},
       "ab\r\ncd\r\n1\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    while (MappingCount() > 0) RemoveMapping(0);
    PrepareFile(c.bytes);
    LoadMappings(Title, FileName);
    EXPECT_EQ(Cells(), c.cells);
    SaveMappings(Title, FileName);
    EXPECT_EQ(ReadBytes(SettingsFile()), c.saved);
  }
}

TEST_F(SettingsFileTest, RoundTripsLongLinesByteForByte) {
  std::string longLine(4096 * 3 + 5, 'l');
  std::string hugeLine(6 << 20, 'm');
  for (size_t i = 0; i < hugeLine.size(); i += 4093) hugeLine[i] = 'M';
  const std::string bytes = longLine + "\r\nAusgabe:" + hugeLine + "\r\n120\r\n" +
                            "x\r\n" + std::string(4095, 'y') + "\r\n121\r\n";
  PrepareFile(bytes);
  LoadMappings(Title, FileName);
  ASSERT_EQ(MappingCount(), 2);
  EXPECT_EQ(MappingCell(0, 0), longLine);
  EXPECT_EQ(MappingCell(0, 1).size(), hugeLine.size() + 8);
  EXPECT_EQ(FindMapping(121), 1);
  WriteBytes(SettingsFile(), "");
  SaveMappings(Title, FileName);
  EXPECT_TRUE(ReadBytes(SettingsFile()) == bytes);
}

TEST_F(SettingsFileTest, AHiddenFileIsRewrittenAndStaysHidden) {
  PrepareFile(Example38);
  ASSERT_TRUE(SetFileAttributesA(SettingsFile().c_str(), FILE_ATTRIBUTE_HIDDEN));
  LoadMappings(Title, FileName);
  AppendMapping("Gruss\nAusgabe:mfg\n145");
  SaveMappings(Title, FileName);
  EXPECT_EQ(ReadBytes(SettingsFile()), Example38 + "Gruss\r\nAusgabe:mfg\r\n145\r\n");
  const DWORD attributes = GetFileAttributesA(SettingsFile().c_str());
  EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_HIDDEN));
}

TEST_F(SettingsFileTest, AReadOnlyFileIsNotWritten) {
  PrepareFile(Example38);
  ASSERT_TRUE(SetFileAttributesA(SettingsFile().c_str(), FILE_ATTRIBUTE_READONLY));
  LoadMappings(Title, FileName);
  AppendMapping("Gruss\nAusgabe:mfg\n145");
  SaveMappings(Title, FileName);
  EXPECT_EQ(ReadBytes(SettingsFile()), Example38);
  EXPECT_EQ(CheckPath(NewFile()), PathKind::Missing);
}

TEST_F(SettingsFileTest, AFileWhereTheMakerFolderShouldBeStopsEverything) {
  WriteBytes(appData + "\\Pellwick", "in the way");
  EnsureDataFolder(Title);
  EXPECT_EQ(CheckPath(appData + "\\Pellwick"), PathKind::File);
  EXPECT_EQ(CheckPath(DataFolder()), PathKind::Missing);
  EnsureSettingsFile(Title, FileName);
  EXPECT_EQ(CheckPath(SettingsFile()), PathKind::Missing);
  LoadMappings(Title, FileName);
  EXPECT_EQ(MappingCount(), 0);
  AppendMapping("a\nb\n1");
  SaveMappings(Title, FileName);
  EXPECT_EQ(ReadBytes(appData + "\\Pellwick"), "in the way");
}

TEST_F(SettingsFileTest, AnUnsetAppDataPutsTheFoldersUnderTheCurrentDriveRoot) {
  ASSERT_TRUE(SetEnvironmentVariableA("appdata", nullptr));
  EXPECT_EQ(AppDataValue(), "");
  EXPECT_EQ(SettingsFilePath(Title, FileName), "\\Pellwick\\Tavolin\\Tasten.ini");
  // On a drive of the test's own, so that nothing lands outside it.
  char oldDirectory[MAX_PATH];
  ASSERT_GT(GetCurrentDirectoryA(MAX_PATH, oldDirectory), 0u);
  const std::string drive = "C:\\";
  ASSERT_TRUE(SetCurrentDirectoryA(drive.c_str()));
  const std::string title = "Tavolin-test-" + std::to_string(GetCurrentProcessId());
  const bool makerExisted = CheckPath("C:\\Pellwick") == PathKind::Folder;
  EnsureDataFolder(title);
  EnsureSettingsFile(title, FileName);
  AppendMapping("a\nb\n1");
  SaveMappings(title, FileName);
  EXPECT_EQ(ReadBytes("C:\\Pellwick\\" + title + "\\Tasten.ini"), "a\r\nb\r\n1\r\n");
  DeleteTree("C:\\Pellwick\\" + title);
  if (!makerExisted) DeleteTree("C:\\Pellwick");
  ASSERT_TRUE(SetCurrentDirectoryA(oldDirectory));
}

// Writes that fail once `budget` bytes have gone through, as on a full disk.
DWORD writeBudget = 0;
BOOL WriteUntilTheDiskIsFull(HANDLE file, const void* bytes, DWORD count, DWORD* written) {
  const DWORD part = count < writeBudget ? count : writeBudget;
  writeBudget -= part;
  if (!WriteFile(file, bytes, part, written, nullptr)) return FALSE;
  if (part < count) {
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
  }
  return TRUE;
}

TEST_F(SettingsFileTest, ASaveThatFailsHalfWayLeavesTheOldFileWhole) {
  PrepareFile(Example38);
  LoadMappings(Title, FileName);
  for (int row = 0; row < 50; ++row) AppendMapping("row\nAusgabe:" + std::string(300, 'a') + "\n7");
  for (DWORD budget : {DWORD{0}, DWORD{100}, DWORD{4096}, DWORD{9000}}) {
    SCOPED_TRACE(budget);
    writeBudget = budget;
    SetSettingsWriteCall(WriteUntilTheDiskIsFull);
    SaveMappings(Title, FileName);
    EXPECT_EQ(ReadBytes(SettingsFile()), Example38);
    EXPECT_EQ(CheckPath(NewFile()), PathKind::Missing);
  }
  // With room on the disk the same table is saved whole.
  SetSettingsWriteCall(nullptr);
  SaveMappings(Title, FileName);
  const std::string saved = ReadBytes(SettingsFile());
  EXPECT_EQ(saved.size(), 38u + 50 * (3 + 2 + 308 + 2 + 1 + 2));
  EXPECT_EQ(saved.substr(0, 38), Example38);
}

TEST_F(SettingsFileTest, ASaveThatCannotMakeItsNewFileLeavesTheOldOne) {
  PrepareFile(Example38);
  LoadMappings(Title, FileName);
  AppendMapping("a\nb\n1");
  ASSERT_TRUE(CreateDirectoryA(NewFile().c_str(), nullptr));  // a folder in the way
  SaveMappings(Title, FileName);
  EXPECT_EQ(ReadBytes(SettingsFile()), Example38);
  EXPECT_EQ(CheckPath(NewFile()), PathKind::Folder);
}

// An interrupted save leaves its temp file behind; if it was hidden since,
// the next save must still go through and must not hide the settings file.
TEST_F(SettingsFileTest, AHiddenTempFileLeftBehindIsReplacedWithoutItsMark) {
  PrepareFile(Example38);
  LoadMappings(Title, FileName);
  WriteBytes(NewFile(), "Editor\r\nC:\\Win");
  ASSERT_TRUE(SetFileAttributesA(NewFile().c_str(), FILE_ATTRIBUTE_HIDDEN));
  AppendMapping("a\nb\n1");
  SaveMappings(Title, FileName);
  EXPECT_EQ(ReadBytes(SettingsFile()), Example38 + "a\r\nb\r\n1\r\n");
  EXPECT_EQ(CheckPath(NewFile()), PathKind::Missing);
  const DWORD attributes = GetFileAttributesA(SettingsFile().c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_FALSE(attributes & FILE_ATTRIBUTE_HIDDEN);
}

TEST_F(SettingsFileTest, AFileThatCouldNotBeReadAtStartIsNotOverwritten) {
  PrepareFile(Example38);
  // Another program holds the file and lets nobody read it.
  HANDLE holder = CreateFileA(SettingsFile().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  LoadMappings(Title, FileName);
  (void)CloseHandle(holder);
  EXPECT_EQ(MappingCount(), 0);
  AppendMapping("new\nAusgabe:x\n70");
  SaveMappings(Title, FileName);
  EXPECT_EQ(ReadBytes(SettingsFile()), Example38);

  // The next run that reads it saves as usual.
  RemoveMapping(0);
  LoadMappings(Title, FileName);
  ASSERT_EQ(MappingCount(), 1);
  AppendMapping("new\nAusgabe:x\n70");
  SaveMappings(Title, FileName);
  EXPECT_EQ(ReadBytes(SettingsFile()), Example38 + "new\r\nAusgabe:x\r\n70\r\n");
}

// Without a list (as when the main window's list could not be made) the
// rows read go nowhere: the file keeps them rather than being emptied.
TEST_F(SettingsFileTest, RowsTheTableCouldNotTakeAreNotOverwritten) {
  PrepareFile(Example38);
  BindMappingTable(nullptr);
  LoadMappings(Title, FileName);
  SaveMappings(Title, FileName);
  BindMappingTable(table.list);
  EXPECT_EQ(ReadBytes(SettingsFile()), Example38);

  // An empty file holds nothing to lose: it is saved as usual.
  WriteBytes(SettingsFile(), "");
  BindMappingTable(nullptr);
  LoadMappings(Title, FileName);
  BindMappingTable(table.list);
  AppendMapping("Editor\nC:\\Windows\\notepad.exe|\n120");
  SaveMappings(Title, FileName);
  EXPECT_EQ(ReadBytes(SettingsFile()), Example38);
}

TEST_F(SettingsFileTest, AMissingFileAtStartIsWrittenAtTheEnd) {
  EnsureDataFolder(Title);  // the settings file itself could not be made
  LoadMappings(Title, FileName);
  EXPECT_EQ(MappingCount(), 0);
  AppendMapping("Editor\nC:\\Windows\\notepad.exe|\n120");
  SaveMappings(Title, FileName);
  EXPECT_EQ(ReadBytes(SettingsFile()), Example38);
}

TEST_F(SettingsFileTest, AFolderInPlaceOfTheFileIsLeftAlone) {
  EnsureDataFolder(Title);
  ASSERT_TRUE(CreateDirectoryA(SettingsFile().c_str(), nullptr));
  EnsureSettingsFile(Title, FileName);
  LoadMappings(Title, FileName);
  AppendMapping("a\nb\n1");
  SaveMappings(Title, FileName);
  EXPECT_EQ(CheckPath(SettingsFile()), PathKind::Folder);
  EXPECT_EQ(CheckPath(NewFile()), PathKind::Missing);
}

}  // namespace
