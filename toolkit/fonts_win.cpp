// Fonts held by number, released when replaced and at the end.
#include <map>

#include "toolkit/toolkit_internal.h"

namespace {
std::map<int, HFONT> fonts;
}

void SetNumberedFont(int number, HFONT font) {
  HFONT& held = fonts[number];
  if (held != nullptr && held != font) (void)DeleteObject(held);
  held = font;
}

HFONT NumberedFont(int number) {
  auto found = fonts.find(number);
  return found == fonts.end() ? nullptr : found->second;
}

void ReleaseFonts() {
  for (auto& entry : fonts) {
    if (entry.second != nullptr) (void)DeleteObject(entry.second);
  }
  fonts.clear();
}
