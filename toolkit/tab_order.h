#pragma once
// Which control Tab and Shift+Tab move the keyboard focus to.
#include <vector>

// `eligible` lists a window's controls in creation order, true for those
// that may take the focus (enabled, visible, tab stop); `current` is the
// index of the control holding the focus, or -1 when none of them does.
// Returns the index of the next (or, backward, the previous) eligible
// control, wrapping around at either end, or -1 when none is eligible.
int NextTabStop(const std::vector<bool>& eligible, int current, bool backward);
