// The placement rules of windows opened by number: the style a flags word
// gives, centring on the screen and on an owner.
#include <gtest/gtest.h>

#include "toolkit/placement.h"

namespace {

constexpr uint32_t OverlappedWindow = 0x00CF0000;

struct StyleCase {
  uint32_t flags;
  uint32_t style;
};

TEST(WindowStyleFromFlags, CaptionOnlyWithoutStyleBits) {
  const StyleCase cases[] = {
      {0, CaptionStyle},
      {1, CaptionStyle},
      {2, CaptionStyle},
      {3, CaptionStyle},
      // Bit 4 is a placement bit: removed, but it is "another bit", so no caption.
      {4, 0},
      {0x00CF0001, OverlappedWindow},
      {0x00CF0002, OverlappedWindow},
      {0x10000002, 0x10000000},
  };
  for (const StyleCase& c : cases) {
    EXPECT_EQ(WindowStyleFromFlags(c.flags), c.style) << "flags 0x" << std::hex << c.flags;
  }
}

struct ScreenCase {
  int width, height;            // outer size asked for
  WindowPlacement expected;
};

TEST(PlaceWindow, CentresOnTheScreenAndLimitsToIt) {
  const ScreenCase cases[] = {
      {516, 239, {254, 264, 516, 239}},     // odd remainders truncate
      {1024, 768, {0, 0, 1024, 768}},
      {1500, 900, {0, 0, 1024, 768}},       // larger than the screen: limited
      {1500, 100, {0, 334, 1024, 100}},
      {1, 1, {511, 383, 1, 1}},
  };
  for (const ScreenCase& c : cases) {
    const WindowPlacement p = PlaceWindow(1, c.width, c.height, 1024, 768, nullptr);
    EXPECT_EQ(p.x, c.expected.x) << c.width << "x" << c.height;
    EXPECT_EQ(p.y, c.expected.y) << c.width << "x" << c.height;
    EXPECT_EQ(p.width, c.expected.width);
    EXPECT_EQ(p.height, c.expected.height);
  }
}

struct OwnerCase {
  const char* what;
  ScreenArea owner;
  int width, height;
  int x, y;
};

TEST(PlaceWindow, CentresOnTheOwner) {
  const OwnerCase cases[] = {
      {"inside", {254, 264, 516, 239}, 406, 145, 309, 311},
      {"odd difference truncates", {100, 100, 301, 201}, 100, 100, 200, 150},
      // (100 - 301) / 2 is -100.5: toward zero gives -100, not -101.
      {"larger dialog, truncation toward zero", {500, 500, 100, 100}, 301, 301, 400, 400},
      {"near the left edge", {-50, 300, 200, 100}, 400, 100, 0, 300},
      {"near the top edge", {300, 10, 100, 50}, 100, 200, 300, 0},
      {"owner off screen to the top left", {-32000, -32000, 160, 28}, 400, 120, 0, 0},
      {"near the right edge: not limited", {900, 600, 300, 300}, 200, 200, 950, 650},
  };
  for (const OwnerCase& c : cases) {
    const WindowPlacement p = PlaceWindow(2, c.width, c.height, 1024, 768, &c.owner);
    EXPECT_EQ(p.x, c.x) << c.what;
    EXPECT_EQ(p.y, c.y) << c.what;
    EXPECT_EQ(p.width, c.width) << c.what;
    EXPECT_EQ(p.height, c.height) << c.what;
  }
}

TEST(PlaceWindow, WithoutReferenceOrBitsStaysAtTheOrigin) {
  const WindowPlacement noOwner = PlaceWindow(2, 400, 120, 1024, 768, nullptr);
  EXPECT_EQ(noOwner.x, 0);
  EXPECT_EQ(noOwner.y, 0);
  const ScreenArea owner = {300, 300, 400, 400};
  const WindowPlacement noBits = PlaceWindow(0x00CF0000, 400, 120, 1024, 768, &owner);
  EXPECT_EQ(noBits.x, 0);
  EXPECT_EQ(noBits.y, 0);
  EXPECT_EQ(noBits.width, 400);
}

TEST(PlaceWindow, BothBitsLimitToTheScreenThenCentreOnTheOwner) {
  const ScreenArea owner = {100, 100, 200, 200};
  const WindowPlacement p = PlaceWindow(3, 2000, 100, 1024, 768, &owner);
  EXPECT_EQ(p.width, 1024);
  EXPECT_EQ(p.x, 0);     // 100 + (200 - 1024) / 2 = -312, then 0
  EXPECT_EQ(p.y, 150);
}

}  // namespace
