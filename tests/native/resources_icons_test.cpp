// The committed icon files: complete ICO files in the layout the program and
// Windows read, with a real alpha channel and an AND mask that agrees with it.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

uint32_t Read16(const Bytes& b, size_t at) { return b[at] | b[at + 1] << 8; }
uint32_t Read32(const Bytes& b, size_t at) {
  return Read16(b, at) | static_cast<uint32_t>(Read16(b, at + 2)) << 16;
}

struct ImageStats {
  int transparent = 0;   // alpha 0
  int opaque = 0;        // alpha 255
  int partial = 0;       // anti-aliased edges
};

// Checks one image of an ICO file (its directory entry `index`) and counts
// its alpha values. Fails the test where the layout is wrong.
ImageStats CheckImage(const Bytes& file, int index, int size) {
  ImageStats stats;
  const size_t entry = 6 + 16 * index;
  EXPECT_EQ(file[entry], size % 256) << "width";
  EXPECT_EQ(file[entry + 1], size % 256) << "height";
  EXPECT_EQ(file[entry + 2], 0) << "no palette";
  EXPECT_EQ(Read16(file, entry + 4), 1u) << "planes";
  EXPECT_EQ(Read16(file, entry + 6), 32u) << "bits per pixel";
  const uint32_t length = Read32(file, entry + 8);
  const uint32_t offset = Read32(file, entry + 12);

  const size_t xorBytes = size_t(size) * size * 4;
  const size_t maskStride = (size + 31) / 32 * 4;
  const size_t maskBytes = maskStride * size;
  EXPECT_EQ(length, 40 + xorBytes + maskBytes);
  if (offset + size_t(length) > file.size() || length < 40 + xorBytes + maskBytes) {
    ADD_FAILURE() << "image " << index << " lies outside the file";
    return stats;
  }

  // BITMAPINFOHEADER: the height counts the colour rows and the mask rows.
  EXPECT_EQ(Read32(file, offset), 40u);
  EXPECT_EQ(Read32(file, offset + 4), uint32_t(size));
  EXPECT_EQ(Read32(file, offset + 8), uint32_t(size * 2));
  EXPECT_EQ(Read16(file, offset + 12), 1u);
  EXPECT_EQ(Read16(file, offset + 14), 32u);
  EXPECT_EQ(Read32(file, offset + 16), 0u) << "BI_RGB";

  const size_t pixels = offset + 40;
  const size_t mask = pixels + xorBytes;
  int maskMismatches = 0;
  int colourInTransparent = 0;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const size_t p = pixels + (size_t(y) * size + x) * 4;
      const uint8_t alpha = file[p + 3];
      const bool maskBit = file[mask + y * maskStride + x / 8] & (0x80 >> (x % 8));
      if (alpha == 0) {
        ++stats.transparent;
        if (file[p] || file[p + 1] || file[p + 2]) ++colourInTransparent;
      } else if (alpha == 255) {
        ++stats.opaque;
      } else {
        ++stats.partial;
      }
      // Systems that ignore the alpha channel draw through the mask alone.
      if (maskBit != (alpha == 0)) ++maskMismatches;
    }
  }
  EXPECT_EQ(maskMismatches, 0) << "AND mask disagrees with alpha in image " << index;
  EXPECT_EQ(colourInTransparent, 0) << "fully transparent pixels carry colour";
  return stats;
}

struct IconCase {
  const char* file;
  std::vector<int> sizes;
};

// Names the case by its file in test output.
void PrintTo(const IconCase& c, std::ostream* os) { *os << c.file; }

class CommittedIcon : public testing::TestWithParam<IconCase> {};

TEST_P(CommittedIcon, IsACompleteIcoWithRealAlpha) {
  const IconCase& c = GetParam();
  const Bytes file = ReadFile(std::string(TAVOLIN_ICON_DIR "/") + c.file);
  ASSERT_GE(file.size(), 6u) << c.file << " is missing or empty";

  EXPECT_EQ(Read16(file, 0), 0u) << "reserved";
  EXPECT_EQ(Read16(file, 2), 1u) << "type icon";
  ASSERT_EQ(Read16(file, 4), c.sizes.size()) << "number of images";
  ASSERT_GE(file.size(), 6 + 16 * c.sizes.size());

  // The images follow the directory back to back and end with the file.
  size_t expectedOffset = 6 + 16 * c.sizes.size();
  for (size_t i = 0; i < c.sizes.size(); ++i) {
    SCOPED_TRACE(std::string(c.file) + " image " + std::to_string(i));
    EXPECT_EQ(Read32(file, 6 + 16 * i + 12), expectedOffset);
    const ImageStats stats = CheckImage(file, int(i), c.sizes[i]);
    EXPECT_GT(stats.transparent, 0) << "no fully transparent pixel";
    EXPECT_GT(stats.opaque, 0) << "no opaque pixel";
    EXPECT_GT(stats.partial, 0) << "edges are not anti-aliased";
    expectedOffset += Read32(file, 6 + 16 * i + 8);
  }
  EXPECT_EQ(file.size(), expectedOffset) << "bytes after the last image";
}

INSTANTIATE_TEST_SUITE_P(
    Resources, CommittedIcon,
    testing::Values(IconCase{"image1.ico", {32}}, IconCase{"image2.ico", {32}},
                    IconCase{"image3.ico", {32}}, IconCase{"image4.ico", {32}},
                    IconCase{"image5.ico", {32}}, IconCase{"app.ico", {16, 32, 48}}),
    [](const testing::TestParamInfo<IconCase>& info) {
      std::string name = info.param.file;
      return name.substr(0, name.find('.'));
    });

// Each image shows something of its own: no two files are copies.
TEST(CommittedIcons, AreDistinct) {
  std::vector<Bytes> images;
  for (int n = 1; n <= 5; ++n) {
    images.push_back(ReadFile(TAVOLIN_ICON_DIR "/image" + std::to_string(n) + ".ico"));
  }
  for (size_t i = 0; i < images.size(); ++i) {
    for (size_t j = i + 1; j < images.size(); ++j) {
      EXPECT_NE(images[i], images[j]) << "image" << i + 1 << " equals image" << j + 1;
    }
  }
}

}  // namespace
