// The key table over a real list view: appending, reading, removing,
// selecting and finding rows.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "mapping/key_mapping.h"
#include "mapping/mapping_table.h"
#include "tests/wine/mapping_test_list.h"

namespace {

class MappingTableTest : public ::testing::Test {
 protected:
  MappingTestList table;

  std::vector<std::string> Row(int row) {
    return {MappingCell(row, 0), MappingCell(row, 1), MappingCell(row, 2)};
  }
};

TEST_F(MappingTableTest, StartsEmpty) {
  ASSERT_TRUE(table.list != nullptr);
  EXPECT_EQ(MappingCount(), 0);
  EXPECT_EQ(SelectedMapping(), -1);
  EXPECT_EQ(FindMapping(120), -1);
  EXPECT_EQ(MappingCell(0, 0), "");
  RemoveMapping(-1);
  RemoveMapping(0);
  EXPECT_EQ(MappingCount(), 0);
}

TEST_F(MappingTableTest, AppendSplitsTheRowTextIntoThreeCells) {
  struct Case {
    std::string rowText;
    std::vector<std::string> cells;
  };
  const Case cases[] = {
      {ComposeMappingRow("Editor", "C:\\Windows\\notepad.exe|", 120),
       {"Editor", "C:\\Windows\\notepad.exe|", "120"}},
      {"only a label", {"only a label", "", ""}},
      {"two\nparts", {"two", "parts", ""}},
      {"\nAusgabe:x\n9", {"", "Ausgabe:x", "9"}},
      {"a\nb\nc\nd", {"a", "b", "c"}},
      {"\n\n", {"", "", ""}},
  };
  for (const Case& c : cases) AppendMapping(c.rowText);
  ASSERT_EQ(MappingCount(), 6);
  for (int row = 0; row < 6; ++row) EXPECT_EQ(Row(row), cases[row].cells) << "row " << row;
  // Outside the table or its columns: empty text.
  EXPECT_EQ(MappingCell(6, 0), "");
  EXPECT_EQ(MappingCell(-1, 0), "");
  EXPECT_EQ(MappingCell(0, 3), "");
  EXPECT_EQ(MappingCell(0, -1), "");
}

TEST_F(MappingTableTest, GivesBackWholeCellsOfAnyLengthAndEveryByte) {
  std::string high;
  for (int b = 128; b <= 255; ++b) high += static_cast<char>(b);
  const std::string huge(5 << 20, 'h');
  std::string long5000(5000, 'x');
  long5000.back() = 'E';
  AppendMapping("short\nAusgabe:" + high + "\n65");
  AppendMapping(long5000 + "\n" + huge + "\n66");
  AppendMapping(high + "\n|\n67");
  EXPECT_EQ(Row(0), std::vector<std::string>({"short", "Ausgabe:" + high, "65"}));
  EXPECT_EQ(MappingCell(1, 0), long5000);
  EXPECT_EQ(MappingCell(1, 1).size(), huge.size());
  EXPECT_EQ(MappingCell(1, 1), huge);
  EXPECT_EQ(MappingCell(2, 0), high);
  // The longest cell ever stored still sets the buffer once its row is gone.
  RemoveMapping(1);
  AppendMapping(long5000 + "\nx\n68");
  EXPECT_EQ(MappingCell(2, 0), long5000);
}

TEST_F(MappingTableTest, RemoveMovesLaterRowsUpAndIgnoresBadIndices) {
  for (const char* label : {"a", "b", "c", "d"}) AppendMapping(std::string(label) + "\nf\n1");
  RemoveMapping(-1);
  RemoveMapping(4);
  RemoveMapping(1000);
  EXPECT_EQ(MappingCount(), 4);
  RemoveMapping(1);
  ASSERT_EQ(MappingCount(), 3);
  EXPECT_EQ(MappingCell(0, 0), "a");
  EXPECT_EQ(MappingCell(1, 0), "c");
  EXPECT_EQ(MappingCell(2, 0), "d");
  RemoveMapping(2);
  RemoveMapping(0);
  ASSERT_EQ(MappingCount(), 1);
  EXPECT_EQ(MappingCell(0, 0), "c");
}

TEST_F(MappingTableTest, SelectedMappingFollowsTheListSelection) {
  for (const char* label : {"a", "b", "c"}) AppendMapping(std::string(label) + "\nf\n1");
  EXPECT_EQ(SelectedMapping(), -1);
  table.Select(2);
  EXPECT_EQ(SelectedMapping(), 2);
  table.Select(1);  // a single-selection list: the new row replaces the old
  EXPECT_EQ(SelectedMapping(), 1);
  RemoveMapping(SelectedMapping());
  EXPECT_EQ(MappingCount(), 2);
  EXPECT_EQ(MappingCell(1, 0), "c");
  EXPECT_EQ(SelectedMapping(), -1);
}

TEST_F(MappingTableTest, FindMappingTakesTheFirstRowWithTheCode) {
  AppendMapping("empty\nf\n");
  AppendMapping("abc\nf\nabc");
  AppendMapping("minus\nf\n-120");
  AppendMapping("hex\nf\n$78");
  AppendMapping("dec\nf\n120");
  AppendMapping("wide\nf\n4294967416");  // 2^32 + 120: no 32-bit code matches
  EXPECT_EQ(FindMapping(120), 3);
  EXPECT_EQ(FindMapping(-120), 2);
  EXPECT_EQ(FindMapping(0), 0);
  EXPECT_EQ(FindMapping(121), -1);
  RemoveMapping(3);  // the upper row goes: the lower one acts
  EXPECT_EQ(FindMapping(120), 3);
  EXPECT_EQ(MappingCell(3, 0), "dec");
  RemoveMapping(3);
  EXPECT_EQ(FindMapping(120), -1);
}

// FindMapping answers from its own index; the plain rule reads the list.
// Both must agree after any sequence of appends and removals.
TEST_F(MappingTableTest, FindMappingAgreesWithAScanOfTheList) {
  std::mt19937 random(20261211);
  const char* codeTexts[] = {"1", "2", "3", "$2", "%11", " 1", "-1", "", "x", "+3", "0003"};
  const int codes[] = {-1, 0, 1, 2, 3, 4};
  auto plainScan = [](int32_t keyCode) {
    return FindMappingIn(MappingCount(), [](int row) { return MappingCell(row, 2); }, keyCode);
  };
  for (int step = 0; step < 400; ++step) {
    if (random() % 3 == 0 && MappingCount() > 0) {
      RemoveMapping(static_cast<int>(random() % (MappingCount() + 1)) - 1 + (random() % 2));
    } else {
      AppendMapping("r" + std::to_string(step) + "\nf\n" + codeTexts[random() % 11]);
    }
    for (int code : codes) {
      ASSERT_EQ(FindMapping(code), plainScan(code)) << "step " << step << " code " << code;
    }
  }
}

// Rows that come or go past AppendMapping and RemoveMapping, and a list
// that is destroyed, must not leave the lookup answering from rows that are
// no longer there (the keyboard hook would swallow a key that has no row).
TEST_F(MappingTableTest, FindMappingFollowsRowsChangedBehindItsBack) {
  AppendMapping("a\nf\n120");
  AppendMapping("b\nf\n121");
  ASSERT_EQ(FindMapping(121), 1);

  ASSERT_TRUE(SendMessageA(table.list, LVM_DELETEITEM, 0, 0));
  EXPECT_EQ(FindMapping(120), -1);
  EXPECT_EQ(FindMapping(121), 0);

  char label[] = "c";
  LVITEMA item = {};
  item.mask = LVIF_TEXT;
  item.iItem = 0;
  item.pszText = label;
  ASSERT_EQ(SendMessageA(table.list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)), 0);
  char code[] = "122";
  item.iSubItem = 2;
  item.pszText = code;
  ASSERT_TRUE(SendMessageA(table.list, LVM_SETITEMTEXTA, 0, reinterpret_cast<LPARAM>(&item)));
  EXPECT_EQ(FindMapping(122), 0);
  EXPECT_EQ(FindMapping(121), 1);

  ASSERT_TRUE(SendMessageA(table.list, LVM_DELETEALLITEMS, 0, 0));
  EXPECT_EQ(FindMapping(121), -1);

  AppendMapping("d\nf\n123");
  ASSERT_EQ(FindMapping(123), 0);
  ASSERT_TRUE(DestroyWindow(table.list));
  EXPECT_EQ(FindMapping(123), -1);
  AppendMapping("e\nf\n124");  // no list takes the row
  EXPECT_EQ(MappingCount(), 0);
  EXPECT_EQ(FindMapping(124), -1);
}

}  // namespace
