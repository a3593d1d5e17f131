#include "keyboard/key_decision.h"

KeyMessageKind ClassifyKeyMessage(std::uint64_t message) {
  if (message == KeyDownMessage || message == SysKeyDownMessage) return KeyMessageKind::Down;
  if (message == KeyUpMessage || message == SysKeyUpMessage) return KeyMessageKind::Up;
  return KeyMessageKind::Other;
}

ApplyVerdict DecideApplyHook(const KeyEventFacts& event, int foundRow) {
  // The program's own Ctrl+V must reach the focused window untouched,
  // whatever the table says about Ctrl or V.
  if (event.ownMark || foundRow < 0) return ApplyVerdict::PassOn;
  switch (ClassifyKeyMessage(event.message)) {
    case KeyMessageKind::Down: return ApplyVerdict::Swallow;   // every repeat too
    case KeyMessageKind::Up: return ApplyVerdict::SwallowAndAct;
    case KeyMessageKind::Other: break;
  }
  return ApplyVerdict::PassOn;
}

CaptureVerdict DecideCaptureHook(const KeyEventFacts& event, std::int32_t captureActive) {
  if (captureActive != 1 || event.ownMark) return CaptureVerdict::PassOn;
  if (ClassifyKeyMessage(event.message) == KeyMessageKind::Other) return CaptureVerdict::PassOn;
  return CaptureVerdict::PassOnAndCapture;
}
