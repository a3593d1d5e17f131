// Hook benchmark: what the program's keyboard hooks cost every key event of
// the desktop. Run under Wine through scripts/bench-hooks.sh.
//
//   hook_bench.exe [PRESSES [ROUNDS]]
//                               the driver: for each configuration starts a
//                               host (this program again), sends key events
//                               to it with SendInput and times every call,
//                               then prints medians and ratios
//   hook_bench.exe host ROWS    installs the program's hooks over a table of
//                               ROWS rows in a hidden window
//   hook_bench.exe host empty   installs a hook that only calls the next one
//   hook_bench.exe host none    installs no hook at all
//   hook_bench.exe host inline  254 rows under an apply hook that performs
//                               the function inside the hook call, for
//                               comparison
//
// Under Wine a SendInput call returns only after the low-level hooks of the
// desktop have run, so its duration is the cost of the hooks plus a fixed
// cost of the input path. The host also measures each hook call itself
// (QueryPerformanceCounter around the rest of the chain) and reports the
// longest; the mapped key's row launches a file that does not exist, so the
// slow action (a failed start, the shell's failure and its message box)
// happens while keys keep coming.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "keyboard/hooks.h"
#include "keyboard/key_actions.h"
#include "mapping/mapping_table.h"

namespace {

constexpr char SharedName[] = "TavolinHookBenchShared";
constexpr WORD UnmappedKey = VK_F24;   // 135: no row ever has it
constexpr WORD MappedKey = VK_F23;     // 134: the last row of every table
constexpr char SlowFunction[] = "C:\\fehlt\\nicht da.exe|-x";
constexpr ULONG_PTR BenchMark = 0x42454E43;   // injected by "another program"

// Written by the host, read by the driver. The driver names the phase
// (0 unmapped key, 1 mapped key); the host stores each hook call's duration
// under it.
constexpr int MaxSamples = 8192;
struct Shared {
  volatile LONG hostReady;
  volatile LONG phase;
  volatile LONG count[2];
  float micros[2][MaxSamples];
};

Shared* OpenShared(bool create) {
  HANDLE mapping = create
      ? CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(Shared),
                           SharedName)
      : OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, SharedName);
  if (!mapping) return nullptr;
  // The mapping stays open for the life of the process.
  return static_cast<Shared*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(Shared)));
}

double ticksPerMicro = 0;

double NowMicros() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / ticksPerMicro;
}

// ---- host ----

Shared* shared = nullptr;

// Installed last, so called first: times everything below it in the chain.
LRESULT CALLBACK TimingHook(int nCode, WPARAM wParam, LPARAM lParam) {
  double start = NowMicros();
  LRESULT result = CallNextHookEx(nullptr, nCode, wParam, lParam);
  double spent = NowMicros() - start;
  LONG phase = shared->phase;
  LONG index = InterlockedIncrement(&shared->count[phase]) - 1;
  if (index < MaxSamples) shared->micros[phase][index] = static_cast<float>(spent);
  return result;
}

LRESULT CALLBACK EmptyHook(int nCode, WPARAM wParam, LPARAM lParam) {
  return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

// For comparison only: an apply hook that performs the row's function inside
// the hook call, as a naive one would, instead of right after it.
LRESULT CALLBACK InlineApplyHook(int nCode, WPARAM wParam, LPARAM lParam) {
  const KBDLLHOOKSTRUCT* record = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
  int row = FindMapping(static_cast<int32_t>(record->vkCode));
  if (row < 0) return CallNextHookEx(nullptr, nCode, wParam, lParam);
  if (wParam == WM_KEYUP || wParam == WM_SYSKEYUP) PerformKeyAction(MappingCell(row, 1));
  return 1;
}

// The shell reports the missing file in a message box; close such boxes so
// the host does not pile them up.
void CALLBACK CloseMessageBoxes(HWND, UINT, UINT_PTR, DWORD) {
  EnumThreadWindows(GetCurrentThreadId(), [](HWND window, LPARAM) -> BOOL {
    char className[32] = "";
    GetClassNameA(window, className, sizeof className);
    if (std::string(className) == "#32770") PostMessageA(window, WM_CLOSE, 0, 0);
    return TRUE;
  }, 0);
}

void BuildTable(int rows) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  HWND window = CreateWindowExA(0, "STATIC", "hook bench", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | LVS_REPORT, 0, 0, 300, 200, window,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
  for (int column = 0; column < 3; ++column) {
    LVCOLUMNA header = {};
    header.mask = LVCF_WIDTH;
    header.cx = 90;
    SendMessageA(list, LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&header));
  }
  BindMappingTable(list);
  // Every key code but the two of the benchmark, over and over; the mapped
  // key's row comes last, where a scan from the top finds it latest.
  int code = 1;
  for (int row = 0; row + 1 < rows; ++row) {
    AppendMapping("Zeile " + std::to_string(row) + "\nC:\\Werkzeuge\\Nummer " +
                  std::to_string(row) + "\\run.exe|-q\n" + std::to_string(code));
    do code = code % 254 + 1; while (code == UnmappedKey || code == MappedKey);
  }
  AppendMapping(std::string("Langsam\n") + SlowFunction + "\n" + std::to_string(MappedKey));
}

int RunHost(const std::string& kind) {
  shared = OpenShared(false);
  if (!shared) return 2;
  if (kind == "empty") {
    (void)SetWindowsHookExA(WH_KEYBOARD_LL, EmptyHook, GetModuleHandleA(nullptr), 0);
  } else if (kind == "inline") {
    BuildTable(254);
    (void)SetWindowsHookExA(WH_KEYBOARD_LL, CaptureHook, GetModuleHandleA(nullptr), 0);
    (void)SetWindowsHookExA(WH_KEYBOARD_LL, InlineApplyHook, GetModuleHandleA(nullptr), 0);
  } else if (kind != "none") {
    BuildTable(std::atoi(kind.c_str()));
    InstallKeyboardHooks();
  }
  if (kind != "none")
    (void)SetWindowsHookExA(WH_KEYBOARD_LL, TimingHook, GetModuleHandleA(nullptr), 0);
  (void)SetTimer(nullptr, 0, 20, CloseMessageBoxes);
  InterlockedExchange(&shared->hostReady, 1);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}

// ---- driver ----

double TimedSend(WORD key, bool up) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  input.ki.dwExtraInfo = BenchMark;
  double start = NowMicros();
  (void)SendInput(1, &input, sizeof input);   // counted below through the host's calls
  return NowMicros() - start;
}

double Percentile(std::vector<double> values, double fraction) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  size_t index = static_cast<size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
  return values[index];
}

double Median(const std::vector<double>& values) { return Percentile(values, 0.5); }

// Samples of one configuration, gathered over every round.
struct Samples {
  std::string kind;
  std::vector<double> sendUnmapped, sendMapped, hookUnmapped, hookMapped;
};

void TakeHookSamples(const Shared* data, int phase, std::vector<double>* into) {
  LONG recorded = data->count[phase];
  LONG count = std::min<LONG>(recorded, MaxSamples);
  for (LONG i = 0; i < count; ++i) into->push_back(data->micros[phase][i]);
}

bool MeasureRound(int presses, Samples* samples) {
  Shared* data = OpenShared(true);
  if (!data) return false;
  ZeroMemory(const_cast<Shared*>(data), sizeof(Shared));

  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, sizeof self);
  std::string commandLine = "\"" + std::string(self) + "\" host " + samples->kind;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION host = {};
  if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &host))
    return false;
  for (int wait = 0; wait < 400 && !data->hostReady; ++wait) Sleep(25);
  Sleep(300);   // let the host settle in its loop

  data->phase = 0;
  for (int press = 0; press < presses; ++press) {
    samples->sendUnmapped.push_back(TimedSend(UnmappedKey, false));
    samples->sendUnmapped.push_back(TimedSend(UnmappedKey, true));
  }
  // The mapped key's slow action runs in the host after each release; give
  // it time, as a user's typing would, so the calls time the hooks and not a
  // host that is still busy with the action.
  Sleep(100);
  data->phase = 1;
  for (int press = 0; press < presses / 5; ++press) {
    samples->sendMapped.push_back(TimedSend(MappedKey, false));
    samples->sendMapped.push_back(TimedSend(MappedKey, true));
    Sleep(100);
  }
  Sleep(300);
  TakeHookSamples(data, 0, &samples->hookUnmapped);
  TakeHookSamples(data, 1, &samples->hookMapped);

  PostThreadMessageA(host.dwThreadId, WM_QUIT, 0, 0);
  if (WaitForSingleObject(host.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(host.hProcess, 0);
  CloseHandle(host.hThread);
  CloseHandle(host.hProcess);
  return true;
}

int RunDriver(int presses, int rounds) {
  const char* kinds[] = {"none", "empty", "1", "10", "100", "254", "1000", "inline"};
  std::vector<Samples> all;
  for (const char* kind : kinds) {
    all.emplace_back();
    all.back().kind = kind;
  }
  // Round by round through every configuration, so that a change in the
  // machine's load falls on all of them alike.
  for (int round = 0; round < rounds; ++round) {
    for (Samples& samples : all) {
      if (!MeasureRound(presses, &samples)) {
        std::printf("host %s could not be started\n", samples.kind.c_str());
        return 1;
      }
    }
  }
  const Samples& empty = all[1];
  double emptySendUnmapped = Median(empty.sendUnmapped), emptySendMapped = Median(empty.sendMapped);
  double emptyHookUnmapped = Median(empty.hookUnmapped), emptyHookMapped = Median(empty.hookMapped);
  std::printf("Key events sent with SendInput from a second process, %d rounds; times in us.\n"
              "send: median duration of one SendInput call (hooks of the host included)\n"
              "hook: one call of the host's hook chain, timed inside the host\n"
              "inline: 254 rows, the function performed inside the hook call (comparison)\n\n",
              rounds);
  std::printf("%-6s | %-27s | %-27s | %-33s\n", "", "unmapped key", "mapped key (slow action)",
              "every hook call");
  std::printf("%-6s | %7s %5s %7s %5s | %7s %5s %7s %5s | %7s %7s %8s %8s\n", "table", "send",
              "x", "hook", "x", "send", "x", "hook", "x", "calls", "p99", "max", "max map");
  for (const Samples& s : all) {
    std::vector<double> hooks = s.hookUnmapped;
    hooks.insert(hooks.end(), s.hookMapped.begin(), s.hookMapped.end());
    bool hooked = s.kind != "none";
    double sendU = Median(s.sendUnmapped), sendM = Median(s.sendMapped);
    double hookU = Median(s.hookUnmapped), hookM = Median(s.hookMapped);
    std::printf("%-6s | %7.0f %5.2f %7.1f %5.2f | %7.0f %5.2f %7.1f %5.2f | %7zu %7.1f %8.1f %8.1f\n",
                s.kind.c_str(), sendU, sendU / emptySendUnmapped, hookU,
                hooked ? hookU / emptyHookUnmapped : 0.0, sendM, sendM / emptySendMapped, hookM,
                hooked ? hookM / emptyHookMapped : 0.0, hooks.size(), Percentile(hooks, 0.99),
                Percentile(hooks, 1.0), Percentile(s.hookMapped, 1.0));
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  ticksPerMicro = static_cast<double>(frequency.QuadPart) / 1e6;
  if (argc >= 3 && std::string(argv[1]) == "host") return RunHost(argv[2]);
  int presses = argc >= 2 ? std::atoi(argv[1]) : 200;
  int rounds = argc >= 3 ? std::atoi(argv[2]) : 3;
  return RunDriver(presses > 0 ? presses : 200, rounds > 0 ? rounds : 3);
}
