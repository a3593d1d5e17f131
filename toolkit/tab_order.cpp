#include "toolkit/tab_order.h"

int NextTabStop(const std::vector<bool>& eligible, int current, bool backward) {
  const int count = static_cast<int>(eligible.size());
  if (count == 0) return -1;
  // Without a current control, Tab starts at the first and Shift+Tab at the
  // last one: start one step outside the list.
  if (current < 0 || current >= count) current = backward ? count : -1;
  const int step = backward ? count - 1 : 1;
  int index = current;
  for (int tries = 0; tries < count; ++tries) {
    index = ((index + step) % count + count) % count;
    if (eligible[index]) return index;
  }
  return -1;
}
