#pragma once
// Where a window opens and which styles its flags word gives it. Pure
// arithmetic, so that it can be checked without a screen.
#include <cstdint>

// The three low bits of a window's flags word place the window; the rest
// are window styles.
constexpr uint32_t PlacementBits = 7;
constexpr uint32_t ScreenCentreBit = 1;
constexpr uint32_t OwnerCentreBit = 2;
constexpr uint32_t CaptionStyle = 0x00C00000;   // WS_CAPTION

// The window styles for a flags word: the placement bits removed, and a
// caption added when the word holds nothing but the two centring bits.
uint32_t WindowStyleFromFlags(uint32_t flags);

struct ScreenArea {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// Position and outer size of a window about to open.
struct WindowPlacement {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// Places a window of the given outer size. With the screen-centre bit the
// size is first limited to the screen and the window centred on it. With
// the owner-centre bit it is centred on `reference` (the owner's outer
// rectangle, or the active window's), when there is one; a negative
// coordinate then becomes 0, but nothing keeps the window from reaching past
// the right or bottom edge. Without either bit, or without a reference, the
// window stays at (0, 0). Halves are truncated toward zero.
WindowPlacement PlaceWindow(uint32_t flags, int outerWidth, int outerHeight,
                            int screenWidth, int screenHeight,
                            const ScreenArea* reference);
