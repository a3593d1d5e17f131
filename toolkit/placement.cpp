#include "toolkit/placement.h"

#include <algorithm>

uint32_t WindowStyleFromFlags(uint32_t flags) {
  uint32_t style = flags & ~PlacementBits;
  if ((flags & ~(ScreenCentreBit | OwnerCentreBit)) == 0) style |= CaptionStyle;
  return style;
}

WindowPlacement PlaceWindow(uint32_t flags, int outerWidth, int outerHeight,
                            int screenWidth, int screenHeight,
                            const ScreenArea* reference) {
  WindowPlacement placement;
  placement.width = outerWidth;
  placement.height = outerHeight;
  if (flags & ScreenCentreBit) {
    placement.width = std::min(placement.width, screenWidth);
    placement.height = std::min(placement.height, screenHeight);
    // C++ division truncates toward zero, as the placement rule wants.
    placement.x = (screenWidth - placement.width) / 2;
    placement.y = (screenHeight - placement.height) / 2;
  }
  if ((flags & OwnerCentreBit) && reference != nullptr) {
    placement.x = reference->left + (reference->width - placement.width) / 2;
    placement.y = reference->top + (reference->height - placement.height) / 2;
    placement.x = std::max(placement.x, 0);
    placement.y = std::max(placement.y, 0);
  }
  return placement;
}
