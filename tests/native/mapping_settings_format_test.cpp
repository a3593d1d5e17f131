// The byte format of the settings file: the line reader's rules and the
// writer, over sources and sinks in memory.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "mapping/settings_format.h"

namespace {

// A source that hands out `bytes` at most `step` bytes at a time, so that
// line ends can be made to fall across block borders.
ByteSource SourceOf(const std::string& bytes, size_t step = SettingsBlockSize) {
  auto position = std::make_shared<size_t>(0);
  return [bytes, step, position](char* buffer, size_t capacity) {
    size_t count = bytes.size() - *position;
    if (count > capacity) count = capacity;
    if (count > step) count = step;
    std::memcpy(buffer, bytes.data() + *position, count);
    *position += count;
    return count;
  };
}

using Table = std::vector<KeyMapping>;

void ExpectTable(const Table& actual, const Table& expected, const std::string& what) {
  ASSERT_EQ(actual.size(), expected.size()) << what;
  for (size_t i = 0; i < actual.size(); ++i) {
    EXPECT_EQ(actual[i].label, expected[i].label) << what << " row " << i;
    EXPECT_EQ(actual[i].functionText, expected[i].functionText) << what << " row " << i;
    EXPECT_EQ(actual[i].keyCodeText, expected[i].keyCodeText) << what << " row " << i;
  }
}

const std::string Example38 = "Editor\r\nC:\\Windows\\notepad.exe|\r\n120\r\n";

TEST(SettingsWriter, WritesEveryCellFollowedByCrLf) {
  EXPECT_EQ(SettingsFileBytes({}), "");
  const std::string bytes = SettingsFileBytes({{"Editor", "C:\\Windows\\notepad.exe|", "120"}});
  EXPECT_EQ(bytes, Example38);
  EXPECT_EQ(bytes.size(), 38u);
  EXPECT_EQ(SettingsFileBytes({{"", "", ""}, {"a", "", "1"}}), "\r\n\r\n\r\n" "a\r\n\r\n1\r\n");
}

struct ReadCase {
  const char* what;
  std::string bytes;
  Table table;
};

TEST(LineReader, ReadsRowsByTheLineRules) {
  const Table editor = {{"Editor", "C:\\Windows\\notepad.exe|", "120"}};
  const ReadCase cases[] = {
      {"empty file", "", {}},
      {"38-byte example", Example38, editor},
      {"LF only", "Editor\nC:\\Windows\\notepad.exe|\n120\n", editor},
      {"CR only", "Editor\rC:\\Windows\\notepad.exe|\r120\r", editor},
      {"no final line end", "Editor\r\nC:\\Windows\\notepad.exe|\r\n120", editor},
      {"mixed line ends", "a\rb\nc\r\nd\n\re\r\r\n",
       {{"a", "b", "c"}, {"d", "", "e"}, {"", "", ""}}},
      {"four lines", "a\r\nb\r\nc\r\nd\r\n", {{"a", "b", "c"}, {"d", "", ""}}},
      {"five lines", "a\nb\nc\nd\ne", {{"a", "b", "c"}, {"d", "e", ""}}},
      {"extra CR LF", Example38 + "\r\n",
       {editor[0], {"", "", ""}}},
      {"a lone line end", "\n", {{"", "", ""}}},
      {"UTF-8 byte-order mark", "\xEF\xBB\xBF" "A\r\nB\r\n1\r\n",
       {{"\xEF\xBB\xBF" "A", "B", "1"}}},
      {"NUL ends a line", std::string("ab\0cd\r\ne\r\n", 10), {{"ab", "cd", "e"}}},
      {"NUL after CR", std::string("a\r\0b\r\n", 6), {{"a", "", "b"}}},
      {"blanks are kept", "  a \r\n\tb\t\r\n 1 \r\n", {{"  a ", "\tb\t", " 1 "}}},
  };
  for (const ReadCase& c : cases) {
    ExpectTable(ReadMappingTable(SourceOf(c.bytes)), c.table, c.what);
    // The same bytes handed out one at a time: CR and LF of one line end
    // then always come in different blocks.
    ExpectTable(ReadMappingTable(SourceOf(c.bytes, 1)), c.table, std::string(c.what) + ", bytewise");
  }
}

TEST(LineReader, KeepsBytes128To255Unchanged) {
  std::string high;
  for (int b = 128; b <= 255; ++b) high += static_cast<char>(b);
  const Table table = {{high, "Ausgabe:" + high, "120"}};
  const std::string bytes = SettingsFileBytes(table);
  EXPECT_EQ(bytes.size(), 128u + 2 + 8 + 128 + 2 + 3 + 2);
  ExpectTable(ReadMappingTable(SourceOf(bytes)), table, "bytes 128-255");
}

TEST(LineReader, ReadsLinesLongerThanABlock) {
  // Lengths around the block size, where a line end falls on its border,
  // and one line of several megabytes.
  for (size_t length : {SettingsBlockSize - 2, SettingsBlockSize - 1, SettingsBlockSize,
                        SettingsBlockSize + 1, 3 * SettingsBlockSize + 7, size_t{5} << 20}) {
    std::string longCell(length, 'x');
    for (size_t i = 0; i < length; i += 997) longCell[i] = static_cast<char>('a' + i % 26);
    const Table table = {{longCell, "Ausgabe:" + longCell, "65"}, {"b", "c", "66"}};
    const std::string bytes = SettingsFileBytes(table);
    ExpectTable(ReadMappingTable(SourceOf(bytes)), table, "length " + std::to_string(length));
    ExpectTable(ReadMappingTable(SourceOf(bytes, 1000)), table,
                "length " + std::to_string(length) + ", uneven blocks");
  }
}

TEST(LineReader, ALineReadWhenNoByteIsLeftIsEmpty) {
  LineReader reader = MakeLineReader(SourceOf("x\r\n"));
  EXPECT_TRUE(BytesRemain(reader));
  EXPECT_EQ(ReadSettingsLine(reader), "x");
  EXPECT_FALSE(BytesRemain(reader));
  EXPECT_EQ(ReadSettingsLine(reader), "");
  EXPECT_EQ(ReadMappingRowText(reader), "\n\n");
}

TEST(LineReader, AsksTheSourceNoMoreOnceItHasEnded) {
  int calls = 0;
  LineReader reader = MakeLineReader([&](char* buffer, size_t) {
    ++calls;
    if (calls == 1) {
      buffer[0] = 'a';
      return size_t{1};
    }
    return size_t{0};
  });
  EXPECT_EQ(ReadMappingRowText(reader), "a\n\n");
  EXPECT_FALSE(BytesRemain(reader));
  EXPECT_EQ(calls, 2);
}

TEST(SettingsFormat, RoundTripsByteForByte) {
  const Table table = {{"Editor", "C:\\Windows\\notepad.exe|", "120"},
                       {"", "|", ""},
                       {"Gr\xFC\xDF" "e", "Ausgabe:mfg \xA9", "$78"},
                       {"", "", ""}};
  const std::string bytes = SettingsFileBytes(table);
  const Table readBack = ReadMappingTable(SourceOf(bytes));
  ExpectTable(readBack, table, "round trip");
  EXPECT_EQ(SettingsFileBytes(readBack), bytes);

  // A file in the reader's wider forms is written back in the writer's.
  const Table fromLf = ReadMappingTable(SourceOf("a\nb\n1\nc"));
  EXPECT_EQ(SettingsFileBytes(fromLf), "a\r\nb\r\n1\r\nc\r\n\r\n\r\n");
}

TEST(SettingsWriter, HandsTheSinkFullBlocksAndReportsAFailedWrite) {
  std::vector<size_t> writes;
  SettingsWriter writer = MakeSettingsWriter([&](const char*, size_t count) {
    writes.push_back(count);
    return writes.size() < 2;  // the second write fails
  });
  const std::string cell(5000, 'z');
  WriteSettingsCell(writer, cell);             // 5002 bytes: one full block
  EXPECT_EQ(writes, std::vector<size_t>({SettingsBlockSize}));
  WriteSettingsCell(writer, cell);             // fills the second block, which fails
  WriteSettingsCell(writer, cell);             // is not handed on any more
  EXPECT_FALSE(FinishSettingsWriter(writer));
  EXPECT_EQ(writes, std::vector<size_t>({SettingsBlockSize, SettingsBlockSize}));

  SettingsWriter good = MakeSettingsWriter([](const char*, size_t) { return true; });
  WriteSettingsCell(good, "a");
  EXPECT_TRUE(FinishSettingsWriter(good));
}

}  // namespace
