// Which control Tab and Shift+Tab move the focus to.
#include <gtest/gtest.h>

#include "toolkit/tab_order.h"

namespace {

struct TabCase {
  const char* what;
  std::vector<bool> eligible;
  int current;
  bool backward;
  int next;
};

TEST(NextTabStop, MovesInCreationOrderAndWraps) {
  const std::vector<bool> fourOfFive = {true, false, true, true, true};
  const TabCase cases[] = {
      {"forward", fourOfFive, 0, false, 2},
      {"forward skips the ineligible", {true, false, false, true}, 0, false, 3},
      {"forward wraps at the end", fourOfFive, 4, false, 0},
      {"backward", fourOfFive, 3, true, 2},
      {"backward skips the ineligible", fourOfFive, 2, true, 0},
      {"backward wraps at the start", fourOfFive, 0, true, 4},
      {"wrap skips ineligible at the start", {false, true, true}, 2, false, 1},
      {"no focus: Tab takes the first", {false, true, true}, -1, false, 1},
      {"no focus: Shift+Tab takes the last", {true, true, false}, -1, true, 1},
      {"focus on an ineligible control", {true, false, true}, 1, false, 2},
      {"the only eligible keeps the focus", {false, true, false}, 1, false, 1},
      {"the only eligible, backward", {false, true, false}, 1, true, 1},
      {"none eligible", {false, false}, 0, false, -1},
      {"no controls", {}, -1, false, -1},
      {"current out of range counts as none", {true, true}, 7, false, 0},
  };
  for (const TabCase& c : cases) {
    EXPECT_EQ(NextTabStop(c.eligible, c.current, c.backward), c.next) << c.what;
  }
}

TEST(NextTabStop, FullCycleVisitsEveryEligibleOnce) {
  const std::vector<bool> eligible = {true, false, true, true, false, true};
  for (bool backward : {false, true}) {
    std::vector<int> visited;
    int current = 0;
    for (int i = 0; i < 4; ++i) {
      current = NextTabStop(eligible, current, backward);
      visited.push_back(current);
    }
    const std::vector<int> expected =
        backward ? std::vector<int>{5, 3, 2, 0} : std::vector<int>{2, 3, 5, 0};
    EXPECT_EQ(visited, expected) << (backward ? "backward" : "forward");
  }
}

}  // namespace
