// What each hook does with a key event: a table of events against the
// verdicts of both hooks.
#include <gtest/gtest.h>
#include <cstdint>
#include "keyboard/key_decision.h"

namespace {

struct Case {
  const char* name;
  std::uint64_t message;
  bool ownMark;
  int foundRow;
  std::int32_t captureActive;
  ApplyVerdict apply;
  CaptureVerdict capture;
};

constexpr std::uint64_t CharMessage = 0x102;   // WM_CHAR: no key event kind of ours
constexpr std::uint64_t MouseMessage = 0x200;

const Case cases[] = {
  // A mapped key: swallowed on every down, acted on at the release, for key
  // and system-key messages alike.
  {"mapped down", KeyDownMessage, false, 0, 0, ApplyVerdict::Swallow, CaptureVerdict::PassOn},
  {"mapped sysdown", SysKeyDownMessage, false, 3, 0, ApplyVerdict::Swallow, CaptureVerdict::PassOn},
  {"mapped up", KeyUpMessage, false, 0, 0, ApplyVerdict::SwallowAndAct, CaptureVerdict::PassOn},
  {"mapped sysup", SysKeyUpMessage, false, 7, 0, ApplyVerdict::SwallowAndAct, CaptureVerdict::PassOn},
  // Unmapped keys and other messages go on.
  {"unmapped down", KeyDownMessage, false, -1, 0, ApplyVerdict::PassOn, CaptureVerdict::PassOn},
  {"unmapped up", KeyUpMessage, false, -1, 0, ApplyVerdict::PassOn, CaptureVerdict::PassOn},
  {"unmapped sysup", SysKeyUpMessage, false, -1, 0, ApplyVerdict::PassOn, CaptureVerdict::PassOn},
  {"other message on a mapped code", CharMessage, false, 0, 0, ApplyVerdict::PassOn, CaptureVerdict::PassOn},
  // The program's own synthesized keys pass both hooks even when their code
  // is mapped (a row on V or Ctrl) and are never captured.
  {"own V down on a V row", KeyDownMessage, true, 0, 0, ApplyVerdict::PassOn, CaptureVerdict::PassOn},
  {"own V up on a V row", KeyUpMessage, true, 0, 0, ApplyVerdict::PassOn, CaptureVerdict::PassOn},
  {"own Ctrl down while capturing", KeyDownMessage, true, -1, 1, ApplyVerdict::PassOn, CaptureVerdict::PassOn},
  {"own Ctrl up while capturing", KeyUpMessage, true, -1, 1, ApplyVerdict::PassOn, CaptureVerdict::PassOn},
  // Capture takes the first event of any of the four kinds and passes it on.
  {"capture down", KeyDownMessage, false, -1, 1, ApplyVerdict::PassOn, CaptureVerdict::PassOnAndCapture},
  {"capture sysdown", SysKeyDownMessage, false, -1, 1, ApplyVerdict::PassOn, CaptureVerdict::PassOnAndCapture},
  {"capture up", KeyUpMessage, false, -1, 1, ApplyVerdict::PassOn, CaptureVerdict::PassOnAndCapture},
  {"capture sysup", SysKeyUpMessage, false, -1, 1, ApplyVerdict::PassOn, CaptureVerdict::PassOnAndCapture},
  {"capture ignores other messages", MouseMessage, false, -1, 1, ApplyVerdict::PassOn, CaptureVerdict::PassOn},
  // The flag must be exactly 1.
  {"capture flag 2", KeyDownMessage, false, -1, 2, ApplyVerdict::PassOn, CaptureVerdict::PassOn},
  {"capture flag -1", KeyUpMessage, false, -1, -1, ApplyVerdict::PassOn, CaptureVerdict::PassOn},
  // A mapped key while capturing: ApplyHook swallows it, so CaptureHook never
  // sees it and the capture goes on (its verdict would only matter if the
  // event were passed on).
  {"mapped key while capturing", KeyDownMessage, false, 2, 1, ApplyVerdict::Swallow, CaptureVerdict::PassOnAndCapture},
  {"mapped release while capturing", KeyUpMessage, false, 2, 1, ApplyVerdict::SwallowAndAct, CaptureVerdict::PassOnAndCapture},
};

TEST(KeyDecision, VerdictsOfBothHooks) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    KeyEventFacts event;
    event.message = c.message;
    event.keyCode = 120;
    event.ownMark = c.ownMark;
    EXPECT_EQ(DecideApplyHook(event, c.foundRow), c.apply);
    EXPECT_EQ(DecideCaptureHook(event, c.captureActive), c.capture);
  }
}

TEST(KeyDecision, OnlyTheFourKeyMessagesAreKeyEvents) {
  EXPECT_EQ(ClassifyKeyMessage(256), KeyMessageKind::Down);
  EXPECT_EQ(ClassifyKeyMessage(260), KeyMessageKind::Down);
  EXPECT_EQ(ClassifyKeyMessage(257), KeyMessageKind::Up);
  EXPECT_EQ(ClassifyKeyMessage(261), KeyMessageKind::Up);
  for (std::uint64_t other : {0ull, 255ull, 258ull, 259ull, 262ull, 0x10000000100ull})
    EXPECT_EQ(ClassifyKeyMessage(other), KeyMessageKind::Other) << other;
}

}  // namespace
