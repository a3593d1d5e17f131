#pragma once
// What the two keyboard hooks do with one key event, decided without any
// window: the hook procedures only translate the system's event into
// KeyEventFacts, ask here, and carry out the verdict.
#include <cstdint>

// Extra information that the program puts on every key event it
// synthesizes itself (the Ctrl+V of a text output). Both hooks pass exactly
// these events on, so the program's own keys never trigger a row and are
// never taken as the captured key.
constexpr std::uint64_t OwnInputMark = 0x54564B31;   // "TVK1"

// The four key messages of a low-level keyboard event, told apart by the
// message value alone.
constexpr std::uint64_t KeyDownMessage = 0x100;      // WM_KEYDOWN
constexpr std::uint64_t KeyUpMessage = 0x101;        // WM_KEYUP
constexpr std::uint64_t SysKeyDownMessage = 0x104;   // WM_SYSKEYDOWN
constexpr std::uint64_t SysKeyUpMessage = 0x105;     // WM_SYSKEYUP

enum class KeyMessageKind { Down, Up, Other };
KeyMessageKind ClassifyKeyMessage(std::uint64_t message);

struct KeyEventFacts {
  std::uint64_t message = 0;   // the hook's wParam
  std::int32_t keyCode = 0;    // vkCode
  bool ownMark = false;        // dwExtraInfo equals OwnInputMark
};

enum class ApplyVerdict {
  PassOn,          // hand the event to the next hook
  Swallow,         // return 1: nobody else sees it
  SwallowAndAct    // return 1 and have the found row's function performed
};

// While no capture waits, CaptureHook hands every event on as well: a hook
// that returned without calling the next one would hide every key from the
// hooks that other programs installed before ours.
enum class CaptureVerdict {
  PassOn,          // hand the event to the next hook
  PassOnAndCapture // take the key code, end the capture, hand the event on
};

// foundRow: what FindMapping answered for the event's key code (-1: none).
ApplyVerdict DecideApplyHook(const KeyEventFacts& event, int foundRow);
// captureActive: the global flag; the hook acts only while it equals 1.
CaptureVerdict DecideCaptureHook(const KeyEventFacts& event, std::int32_t captureActive);
