// The text rules of the key table: composing, splitting and decoding rows,
// parsing key codes, the lookup rule and FolderPart.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "mapping/key_mapping.h"

namespace {

struct ComposedRow {
  FunctionKind kind;
  const char* label;
  const char* file;
  const char* parameters;
  const char* folder;
  const char* text;
  int32_t keyCode;
  const char* rowText;
};

TEST(ComposeMappingRow, GivesTheRowTextOfEachFunctionKind) {
  const ComposedRow cases[] = {
      {FunctionKind::RunFile, "Editor", "C:\\Windows\\notepad.exe", "", "x", "x", 120,
       "Editor\nC:\\Windows\\notepad.exe|\n120"},
      {FunctionKind::RunFile, "Report", "C:\\Tools\\run.exe", "-q -x", "", "", 122,
       "Report\nC:\\Tools\\run.exe|-q -x\n122"},
      {FunctionKind::RunFile, "", "", "", "", "", 1, "\n|\n1"},
      {FunctionKind::OpenFolder, "Daten", "f", "p", "C:\\Daten\\", "t", 19, "Daten\nC:\\Daten\\\n19"},
      {FunctionKind::OutputText, "Gruss", "f", "p", "d", "mfg", 145, "Gruss\nAusgabe:mfg\n145"},
      {FunctionKind::OutputText, "", "", "", "", "", 0, "\nAusgabe:\n0"},
      {FunctionKind::OutputText, "M", "", "", "", "", -7, "M\nAusgabe:\n-7"},
      {FunctionKind::OutputText, "Min", "", "", "", "", INT32_MIN, "Min\nAusgabe:\n-2147483648"},
      {FunctionKind::OutputText, "Max", "", "", "", "", INT32_MAX, "Max\nAusgabe:\n2147483647"},
  };
  for (const ComposedRow& c : cases) {
    const std::string functionText =
        ComposeFunctionText(c.kind, c.file, c.parameters, c.folder, c.text);
    EXPECT_EQ(ComposeMappingRow(c.label, functionText, c.keyCode), c.rowText);
  }
}

struct SplitCase {
  std::string rowText;
  KeyMapping row;
};

TEST(SplitMappingRow, CutsAtLineFeedsIntoThreeCells) {
  const SplitCase cases[] = {
      {"Editor\nC:\\x.exe|\n120", {"Editor", "C:\\x.exe|", "120"}},
      {"only a label", {"only a label", "", ""}},
      {"two\nparts", {"two", "parts", ""}},
      {"\nno label\n9", {"", "no label", "9"}},
      {"a\nb\nc\nd\ne", {"a", "b", "c"}},
      {"\n\n", {"", "", ""}},
      {"", {"", "", ""}},
      {"a\n\n", {"a", "", ""}},
  };
  for (const SplitCase& c : cases) {
    const KeyMapping row = SplitMappingRow(c.rowText);
    EXPECT_EQ(row.label, c.row.label) << c.rowText;
    EXPECT_EQ(row.functionText, c.row.functionText) << c.rowText;
    EXPECT_EQ(row.keyCodeText, c.row.keyCodeText) << c.rowText;
  }
}

struct DecodeCase {
  std::string functionText;
  ActionKind kind;
  std::string target;
  std::string parameters;
  std::string text;
};

TEST(DecodeFunctionText, TellsLaunchFromOutputText) {
  const DecodeCase cases[] = {
      {"C:\\Windows\\notepad.exe|", ActionKind::Launch, "C:\\Windows\\notepad.exe", "", ""},
      {"C:\\Tools\\run.exe|-q -x", ActionKind::Launch, "C:\\Tools\\run.exe", "-q -x", ""},
      {"C:\\Daten\\", ActionKind::Launch, "C:\\Daten\\", "", ""},
      {"|", ActionKind::Launch, "", "", ""},
      {"", ActionKind::Launch, "", "", ""},
      {"path|a|b", ActionKind::Launch, "path", "a", ""},
      {"path||b", ActionKind::Launch, "path", "", ""},
      {"Ausgabe:mfg", ActionKind::OutputText, "", "", "mfg"},
      {"Ausgabe:", ActionKind::OutputText, "", "", ""},
      {"Ausgabe:a|b", ActionKind::OutputText, "", "", "a|b"},
      {"Ausgabe:\xE4\xF6\xFC\xDF", ActionKind::OutputText, "", "", "\xE4\xF6\xFC\xDF"},
      {"ausgabe:mfg", ActionKind::Launch, "ausgabe:mfg", "", ""},
      {"Ausgabe", ActionKind::Launch, "Ausgabe", "", ""},
      {"Ausgabe|x", ActionKind::Launch, "Ausgabe", "x", ""},
  };
  for (const DecodeCase& c : cases) {
    const KeyAction action = DecodeFunctionText(c.functionText);
    EXPECT_EQ(action.kind, c.kind) << c.functionText;
    EXPECT_EQ(action.target, c.target) << c.functionText;
    EXPECT_EQ(action.parameters, c.parameters) << c.functionText;
    EXPECT_EQ(action.text, c.text) << c.functionText;
  }
}

TEST(DecodeFunctionText, ReadsBackWhatComposeWrote) {
  const KeyAction run = DecodeFunctionText(
      ComposeFunctionText(FunctionKind::RunFile, "C:\\a b\\x.exe", "/s -t", "", ""));
  EXPECT_EQ(run.kind, ActionKind::Launch);
  EXPECT_EQ(run.target, "C:\\a b\\x.exe");
  EXPECT_EQ(run.parameters, "/s -t");
  const KeyAction folder = DecodeFunctionText(
      ComposeFunctionText(FunctionKind::OpenFolder, "", "", "D:\\Fotos\\", ""));
  EXPECT_EQ(folder.kind, ActionKind::Launch);
  EXPECT_EQ(folder.target, "D:\\Fotos\\");
  EXPECT_EQ(folder.parameters, "");
}

struct ParseCase {
  std::string text;
  int64_t value;
};

TEST(ParseKeyCode, ReadsSignBaseAndDigits) {
  const ParseCase cases[] = {
      {"120", 120}, {"+120", 120}, {"0120", 120}, {"120abc", 120}, {"$78", 120},
      {"  120", 120}, {"\t\t120", 120}, {" \t 120 9", 120}, {"%1111000", 120},
      {"$ff", 255}, {"$FF", 255}, {"$fg", 15}, {"%102", 2}, {"-120", -120},
      {"-$78", -120}, {"", 0}, {"abc", 0}, {"-", 0}, {"$", 0}, {"%", 0},
      {"+-1", 0}, {"--1", 0}, {" - 1", 0}, {"1 2", 1}, {"\n120", 0},
      {"9223372036854775807", INT64_MAX},
      {"-9223372036854775808", INT64_MIN},
      // Overflow wraps in 64 bits.
      {"9223372036854775808", INT64_MIN},
      {"18446744073709551616", 0},
      {"18446744073709551617", 1},
      {"$FFFFFFFFFFFFFFFF", -1},
      {"$1FFFFFFFFFFFFFFFF", -1},
      {"-$8000000000000000", INT64_MIN},
      {"%1111111111111111111111111111111111111111111111111111111111111111", -1},
      {"99999999999999999999999999999999999999999", 4870020673419870207LL},
      {std::string("12\0" "3", 4), 12},
  };
  for (const ParseCase& c : cases) {
    EXPECT_EQ(ParseKeyCode(c.text), c.value) << "text: " << c.text;
  }
}

TEST(FindMappingIn, FindsTheFirstRowFromTheTopWithTheCode) {
  const std::vector<std::string> codes = {"abc", "", "-120", "$78", "120", "4294967416",
                                          "-2147483648", "0"};
  auto at = [&](int row) { return codes[static_cast<size_t>(row)]; };
  const int count = static_cast<int>(codes.size());
  EXPECT_EQ(FindMappingIn(count, at, 120), 3);   // $78 comes before 120
  EXPECT_EQ(FindMappingIn(count, at, -120), 2);
  EXPECT_EQ(FindMappingIn(count, at, 0), 0);     // "abc" parses to 0
  // Codes are widened with their sign, never cut: 2^32 + 120 is no 120.
  EXPECT_EQ(FindMappingIn(count, at, INT32_MIN), 6);
  EXPECT_EQ(FindMappingIn(count, at, 121), -1);
  EXPECT_EQ(FindMappingIn(0, at, 120), -1);
  EXPECT_EQ(FindMappingIn(3, at, 120), -1);      // only rows below the count
}

TEST(FolderPart, KeepsTheTextUpToTheLastSeparator) {
  const std::pair<std::string, std::string> cases[] = {
      {"C:\\Tools\\run.exe", "C:\\Tools\\"},
      {"C:\\Daten\\", "C:\\Daten\\"},
      {"notepad.exe", ""},
      {"", ""},
      {"\"C:\\Program Files\\x.exe\"", "C:\\Program Files\\"},
      {"\"", ""},
      {"\"\\", "\\"},
      {"C:/a/b.txt", "C:/a/"},
      {"C:\\a/b\\c", "C:\\a/b\\"},
      {"\"\"x\\", "\"x\\"},  // only one quote is skipped
  };
  for (const auto& c : cases) EXPECT_EQ(FolderPart(c.first), c.second) << c.first;
}

}  // namespace
