#pragma once
// Real windows opened by number for the toolkit's tests, and a way to see
// every event that the waiting messages produce.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/numbers.h"
#include "toolkit/toolkit_internal.h"
#include "toolkit/ui.h"

// A MenuEvent number that nothing else uses: marks the end of a batch.
constexpr int IdleMarker = 60123;

class ToolkitTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static bool initialised = false;
    if (!initialised) {
      InitUserInterface();
      LoadImages();
      initialised = true;
    }
  }

  void SetUp() override { (void)EventsUntilIdle(); }

  void TearDown() override {
    CloseAllWindows();
    (void)EventsUntilIdle();
  }

  // The events that arise until the thread has handled every message that
  // waits for it, input included: a timer message comes only after those,
  // and its procedure adds the marker.
  static std::vector<Event> EventsUntilIdle() {
    (void)SetTimer(nullptr, 0, 20, MarkIdle);
    std::vector<Event> events;
    for (;;) {
      const Event event = WaitEvent();
      if (event.kind == MenuEvent && event.number == IdleMarker) return events;
      events.push_back(event);
    }
  }

  static std::vector<Event> EventsOfKind(const std::vector<Event>& events, EventKind kind) {
    std::vector<Event> found;
    for (const Event& event : events) {
      if (event.kind == kind) found.push_back(event);
    }
    return found;
  }

  static SIZE ClientSize(HWND window) {
    RECT client;
    (void)GetClientRect(window, &client);
    return {client.right, client.bottom};
  }

  static DWORD Style(HWND window) { return static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)); }
  static DWORD ExStyle(HWND window) { return static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE)); }

 private:
  static void CALLBACK MarkIdle(HWND, UINT, UINT_PTR timer, DWORD) {
    (void)KillTimer(nullptr, timer);
    PushEvent(MenuEvent, IdleMarker, 0);
  }
};

inline bool operator==(const Event& a, const Event& b) {
  return a.kind == b.kind && a.number == b.number && a.type == b.type;
}

inline std::ostream& operator<<(std::ostream& out, const Event& e) {
  return out << "{kind " << e.kind << ", number " << e.number << ", type " << e.type << "}";
}
