// The text rules of the file and folder choosers.
#include <gtest/gtest.h>
#include <string>
#include "dialogs/folder_rules.h"

namespace {

struct TextCase {
  const char* name;
  std::string input;
  std::string expected;
};

TEST(FolderResult, EndsWithExactlyOneAddedBackslash) {
  const TextCase cases[] = {
      {"folder", "C:\\Daten", "C:\\Daten\\"},
      {"nested folder", "C:\\Program Files\\Tavolin", "C:\\Program Files\\Tavolin\\"},
      {"drive root keeps its single backslash", "C:\\", "C:\\"},
      {"already ending in a backslash", "C:\\Daten\\", "C:\\Daten\\"},
      {"network share", "\\\\server\\share", "\\\\server\\share\\"},
      {"no file-system path gives nothing", "", ""},
      {"a slash is not a backslash", "C:/Daten/", "C:/Daten/\\"},
      {"umlaut bytes unchanged", "C:\\B\xFC" "cher", "C:\\B\xFC" "cher\\"},
  };
  for (const TextCase& c : cases) {
    EXPECT_EQ(FolderResult(c.input), c.expected) << c.name;
  }
}

TEST(FolderResult, FullLengthPathGetsItsBackslashToo) {
  // The browser's buffer holds 259 characters; the backslash makes 260 and
  // must not be lost or overflow anything.
  const std::string path = "C:\\" + std::string(256, 'a');
  ASSERT_EQ(path.size(), 259u);
  const std::string result = FolderResult(path);
  EXPECT_EQ(result.size(), 260u);
  EXPECT_EQ(result, path + "\\");
}

TEST(InitialFolder, DropsOneFinalBackslashBeyondADriveRoot) {
  const TextCase cases[] = {
      {"empty", "", ""},
      {"drive root stays", "C:\\", "C:\\"},
      {"three characters without backslash", "C:x", "C:x"},
      {"folder loses its final backslash", "C:\\Daten\\", "C:\\Daten"},
      {"only one backslash removed", "C:\\Daten\\\\", "C:\\Daten\\"},
      {"folder without backslash unchanged", "C:\\Daten", "C:\\Daten"},
      {"four characters", "C:\\a\\", "C:\\a"},
      {"short text with backslash kept", "ab\\", "ab\\"},
  };
  for (const TextCase& c : cases) {
    EXPECT_EQ(InitialFolder(c.input), c.expected) << c.name;
  }
}

TEST(InitialFolder, CutsTo259CharactersBeforeTheBackslashRule) {
  // 300 characters: the cut comes first, so a backslash at position 259
  // (the last one kept) is removed and one beyond the cut never matters.
  std::string text = "C:\\" + std::string(297, 'b');
  text[258] = '\\';
  const std::string folder = InitialFolder(text);
  EXPECT_EQ(folder, text.substr(0, 258));

  const std::string exact = "C:\\" + std::string(256, 'c');
  EXPECT_EQ(InitialFolder(exact), exact);
  EXPECT_EQ(InitialFolder(exact + "\\"), exact);
}

TEST(FileFilter, PipesBecomeNulsAndASecondNulEnds) {
  EXPECT_EQ(FileFilter("Alle Dateien|*.*"), std::string("Alle Dateien\0*.*\0\0", 18));
  EXPECT_EQ(FileFilter("Programme|*.exe|Alle|*.*"),
            std::string("Programme\0*.exe\0Alle\0*.*\0\0", 26));
  EXPECT_EQ(FileFilter(""), std::string("\0\0", 2));
}

}  // namespace
