// The key actions under Wine: real processes started and recorded, the
// shell's handling of documents and folders, the real clipboard.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>

#include "keyboard/key_actions.h"

namespace {

std::string OwnFolder() {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string folder(path, length);
  return folder.erase(folder.find_last_of('\\') + 1);
}

std::string ReadWholeFile(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "";
  std::string text(4096, '\0');
  DWORD read = 0;
  ReadFile(file, &text[0], static_cast<DWORD>(text.size()), &read, nullptr);
  CloseHandle(file);
  text.resize(read);
  return text;
}

bool WriteWholeFile(const std::string& path, const std::string& text) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  return ok;
}

std::string WithoutTrailingBackslash(std::string folder) {
  if (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
  return folder;
}

struct LaunchRecord {
  std::string commandLine;
  std::string currentDirectory;
};

// The record program copied into a folder whose name holds a blank, so the
// quoting of the command line matters.
class Launching : public testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    folder = std::string(temp) + "Tavolin Tasten Test\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    recorder = folder + "record launch.exe";
    ASSERT_TRUE(CopyFileA((OwnFolder() + "keyboard_record_launch.exe").c_str(),
                          recorder.c_str(), FALSE));
    DeleteFileA(RecordPath().c_str());
  }
  std::string RecordPath() const { return folder + "record_launch.txt"; }

  // Waits up to five seconds for the started program's record.
  bool WaitForRecord(LaunchRecord* record) {
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::string text = ReadWholeFile(RecordPath());
      size_t firstEnd = text.find('\n');
      if (firstEnd != std::string::npos && text.back() == '\n') {
        record->commandLine = text.substr(0, firstEnd);
        record->currentDirectory = text.substr(firstEnd + 1, text.size() - firstEnd - 2);
        return true;
      }
      Sleep(50);
    }
    return false;
  }

  std::string folder;
  std::string recorder;
};

TEST_F(Launching, CommandLineOfTheDirectStart) {
  struct Case { std::string target, parameters, commandLine; };
  const Case cases[] = {
      {"C:\\Tools\\run.exe", "-q -x", "\"C:\\Tools\\run.exe\" -q -x"},
      {"C:\\Tools\\run.exe", "", "\"C:\\Tools\\run.exe\""},
      {"\"C:\\Tools\\run.exe\" -v", "", "\"C:\\Tools\\run.exe\" -v"},
      {"notepad.exe", "a \"b c\"", "\"notepad.exe\" a \"b c\""},
      {"", "", "\"\""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(LaunchCommandLine(c.target, c.parameters), c.commandLine) << c.target;
}

TEST_F(Launching, RunFileRowStartsTheProgramInItsFolder) {
  PerformKeyAction(recorder + "|-q -x");
  LaunchRecord record;
  ASSERT_TRUE(WaitForRecord(&record));
  EXPECT_EQ(record.commandLine, "\"" + recorder + "\" -q -x");
  EXPECT_EQ(record.currentDirectory, WithoutTrailingBackslash(folder));
}

TEST_F(Launching, QuotedPathIsKeptAndNoParametersGiveNoBlank) {
  PerformKeyAction("\"" + recorder + "\"|");
  LaunchRecord record;
  ASSERT_TRUE(WaitForRecord(&record));
  EXPECT_EQ(record.commandLine, "\"" + recorder + "\"");
  // The working folder is taken after the leading quote.
  EXPECT_EQ(record.currentDirectory, WithoutTrailingBackslash(folder));
}

TEST_F(Launching, BareProgramNameKeepsOurCurrentDirectory) {
  // No folder in the target: the started program inherits ours, and the
  // direct start finds the program by the system's search rules, which look
  // in the current directory.
  char previous[MAX_PATH];
  GetCurrentDirectoryA(sizeof previous, previous);
  ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));
  EXPECT_EQ(LaunchTarget("record launch.exe", "", ""), 1);
  SetCurrentDirectoryA(previous);
  LaunchRecord record;
  ASSERT_TRUE(WaitForRecord(&record));
  EXPECT_EQ(record.commandLine, "\"record launch.exe\"");
  EXPECT_EQ(record.currentDirectory, WithoutTrailingBackslash(folder));
}

TEST_F(Launching, DocumentGoesToTheShellWithItsParameters) {
  // A document type of our own, opened by the record program.
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, ".tavolintest", 0, nullptr, 0, KEY_WRITE,
                            nullptr, &key, nullptr), ERROR_SUCCESS);
  RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>("TavolinTestDoc"), 15);
  RegCloseKey(key);
  std::string command = "\"" + recorder + "\" opened \"%1\" %*";
  ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, "TavolinTestDoc\\shell\\open\\command", 0,
                            nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), ERROR_SUCCESS);
  RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                 static_cast<DWORD>(command.size() + 1));
  RegCloseKey(key);

  std::string document = folder + "Notiz.tavolintest";
  ASSERT_TRUE(WriteWholeFile(document, "Inhalt"));
  PerformKeyAction(document + "|-p 1");
  LaunchRecord record;
  ASSERT_TRUE(WaitForRecord(&record));
  EXPECT_EQ(record.commandLine.find("\"" + recorder + "\" opened \"" + document + "\""), 0u)
      << record.commandLine;
  EXPECT_NE(record.commandLine.find("-p 1"), std::string::npos) << record.commandLine;
  EXPECT_EQ(record.currentDirectory, WithoutTrailingBackslash(folder));
}

TEST_F(Launching, NothingThatExistsFailsBothWays) {
  // The shell would show its own message for a missing file; a timer of
  // this thread closes it.
  SetTimer(nullptr, 0, 500, [](HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    DWORD self = GetCurrentThreadId();
    EnumThreadWindows(self, [](HWND window, LPARAM) -> BOOL {
      PostMessageA(window, WM_CLOSE, 0, 0);
      return TRUE;
    }, 0);
  });
  EXPECT_EQ(LaunchTarget(folder + "fehlt.exe", "-a", folder), 0);
}

class Clipboard : public testing::Test {
 protected:
  static std::string Text() {
    std::string text = "<none>";
    if (!OpenClipboard(nullptr)) return "<busy>";
    HANDLE data = GetClipboardData(CF_TEXT);
    const char* bytes = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
    if (bytes) {
      text = bytes;
      GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
  }
};

TEST_F(Clipboard, PlacesTheTextAsCfText) {
  ASSERT_NE(PutClipboardText("Grüße"), nullptr);
  EXPECT_EQ(Text(), "Grüße");
  ASSERT_NE(PutClipboardText(""), nullptr);   // an empty text is a text
  EXPECT_EQ(Text(), "");
}

TEST_F(Clipboard, BusyClipboardKeepsItsContent) {
  ASSERT_NE(PutClipboardText("vorher"), nullptr);
  // A window of another thread holds the clipboard open.
  HANDLE opened = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::thread holder([&] {
    HWND owner = CreateWindowExA(0, "STATIC", "holder", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 nullptr, nullptr);
    if (OpenClipboard(owner)) {
      SetEvent(opened);
      WaitForSingleObject(release, 5000);
      CloseClipboard();
    }
    SetEvent(opened);
    DestroyWindow(owner);
  });
  WaitForSingleObject(opened, 5000);
  EXPECT_EQ(PutClipboardText("nachher"), nullptr);
  SetEvent(release);
  holder.join();
  CloseHandle(opened);
  CloseHandle(release);
  EXPECT_EQ(Text(), "vorher");
}

}  // namespace
