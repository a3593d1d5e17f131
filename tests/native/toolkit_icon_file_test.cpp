// Reading ICO file directories and rewriting them as icon group directories.
#include <gtest/gtest.h>

#include <array>

#include "toolkit/icon_file.h"

namespace {

void PutWord(std::vector<uint8_t>& b, size_t at, unsigned v) {
  b[at] = static_cast<uint8_t>(v & 0xFF);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}

void PutDoubleWord(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  PutWord(b, at, v & 0xFFFF);
  PutWord(b, at + 2, v >> 16);
}

// An ICO file with the given entries (width, height, bit count, image size),
// images laid out one after the other behind the directory.
std::vector<uint8_t> IcoFile(const std::vector<std::array<int, 4>>& images) {
  size_t offset = 6 + 16 * images.size();
  size_t total = offset;
  for (const auto& image : images) total += static_cast<size_t>(image[3]);
  std::vector<uint8_t> file(total, 0xAB);
  PutWord(file, 0, 0);
  PutWord(file, 2, 1);
  PutWord(file, 4, static_cast<unsigned>(images.size()));
  for (size_t i = 0; i < images.size(); ++i) {
    const size_t at = 6 + 16 * i;
    file[at] = static_cast<uint8_t>(images[i][0] & 0xFF);
    file[at + 1] = static_cast<uint8_t>(images[i][1] & 0xFF);
    file[at + 2] = 0;
    file[at + 3] = 0;
    PutWord(file, at + 4, 1);
    PutWord(file, at + 6, static_cast<unsigned>(images[i][2]));
    PutDoubleWord(file, at + 8, static_cast<uint32_t>(images[i][3]));
    PutDoubleWord(file, at + 12, static_cast<uint32_t>(offset));
    offset += static_cast<size_t>(images[i][3]);
  }
  return file;
}

TEST(ReadIconDirectory, ListsEveryImage) {
  const std::vector<uint8_t> file = IcoFile({{32, 32, 32, 4264}, {0, 0, 32, 100}});
  const std::vector<IconFileEntry> entries = ReadIconDirectory(file.data(), file.size());
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].width, 32);
  EXPECT_EQ(entries[0].height, 32);
  EXPECT_EQ(entries[0].bitCount, 32);
  EXPECT_EQ(entries[0].offset, 38u);
  EXPECT_EQ(entries[0].size, 4264u);
  EXPECT_EQ(entries[1].width, 256);   // 0 stands for 256
  EXPECT_EQ(entries[1].offset, 38u + 4264u);
}

TEST(ReadIconDirectory, RejectsMalformedFiles) {
  const std::vector<uint8_t> good = IcoFile({{32, 32, 32, 64}});
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
  };
  std::vector<Case> cases;
  cases.push_back({"empty", {}});
  cases.push_back({"header only", {0, 0, 1, 0}});
  auto cursorType = good;
  PutWord(cursorType, 2, 2);
  cases.push_back({"cursor file", cursorType});
  auto noImages = good;
  PutWord(noImages, 4, 0);
  cases.push_back({"no images", noImages});
  auto moreEntriesThanBytes = good;
  PutWord(moreEntriesThanBytes, 4, 500);
  cases.push_back({"directory longer than the file", moreEntriesThanBytes});
  cases.push_back({"image cut short", std::vector<uint8_t>(good.begin(), good.end() - 1)});
  auto offsetBeyond = good;
  PutDoubleWord(offsetBeyond, 6 + 12, 0xFFFFFFF0u);
  cases.push_back({"offset past the end", offsetBeyond});
  auto sizeWraps = good;
  PutDoubleWord(sizeWraps, 6 + 8, 0xFFFFFFFFu);
  cases.push_back({"size that would wrap around", sizeWraps});
  auto zeroSize = good;
  PutDoubleWord(zeroSize, 6 + 8, 0);
  cases.push_back({"empty image", zeroSize});

  for (const Case& c : cases) {
    EXPECT_TRUE(ReadIconDirectory(c.bytes.data(), c.bytes.size()).empty()) << c.what;
  }
  EXPECT_TRUE(ReadIconDirectory(nullptr, 100).empty());
}

TEST(GroupIconDirectory, UsesFourteenByteEntriesWithIdentifiers) {
  IconFileEntry small;
  small.width = 32;
  small.height = 32;
  small.bitCount = 32;
  small.size = 4264;
  small.offset = 38;
  IconFileEntry large = small;
  large.width = large.height = 256;
  large.size = 0x12345;
  const std::vector<uint8_t> directory = GroupIconDirectory({small, large});
  const std::vector<uint8_t> expected = {
      0, 0, 1, 0, 2, 0,
      32, 32, 0, 0, 1, 0, 32, 0, 0xA8, 0x10, 0, 0, 1, 0,
      0, 0, 0, 0, 1, 0, 32, 0, 0x45, 0x23, 0x01, 0, 2, 0,
  };
  EXPECT_EQ(directory, expected);
}

}  // namespace
