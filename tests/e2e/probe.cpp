// probe.exe: looks at another program's windows from outside, for the
// end-to-end tests and the start-up benchmark. Every command prints one JSON
// object per line on standard output (texts converted from the ANSI code
// page, so "geändert" arrives as such), and exits with 0 on success, 2 on a
// usage error and 1 when the window or process asked for does not exist.
//
//   windows [--pid N] [--class C] [--caption T]   top-level windows
//   children HWND                                 descendants of a window
//   list HWND        list view (HWND or first one below it): cells, selection
//   status HWND      status bar (HWND or first one below it): parts, texts
//   toolbar HWND ID...  toolbar buttons: state, enabled, screen rect
//   captionbuttons HWND  screen points of the caption's buttons (hit test)
//   close HWND       post WM_CLOSE
//   send HWND MSG [WPARAM [LPARAM]]  send a message with number arguments
//   clipboard        CF_TEXT of the clipboard
//   metrics          screen size and the system metrics the layout uses
//   memory PID       private bytes and working set
//   kill PID         TerminateProcess
//   serve            runs commands read from standard input (see CommandServe)
//   launch [--env NAME=VALUE]... [--cwd DIR] [--ready-caption T]
//          [--ready-status] [--memory-after MS] [--close-after MS]
//          -- PROGRAM [ARGS...]
//       starts PROGRAM with the extra variables (Unix variables do not reach
//       Wine programs), prints {"pid"}, optionally {"ready_ms"} once a
//       visible, answering top-level window (with that caption, and with
//       status text when asked) exists, then {"exit"} when it ends; exits
//       with the child's exit code.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// ---- JSON output --------------------------------------------------------

std::string JsonText(const std::string& ansi) {
  std::string out = "\"";
  if (ansi.empty()) return out + "\"";
  int wideLength = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::vector<wchar_t> wide(static_cast<size_t>(wideLength));
  (void)MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), wideLength);
  char escaped[16];
  for (wchar_t c : wide) {
    if (c == L'"' || c == L'\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c >= 0x20 && c < 0x7f) {
      out += static_cast<char>(c);
    } else {
      snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
      out += escaped;
    }
  }
  return out + "\"";
}

std::string JsonRect(const RECT& r) {
  char text[96];
  snprintf(text, sizeof text, "[%ld,%ld,%ld,%ld]", r.left, r.top, r.right, r.bottom);
  return text;
}

std::string JsonBool(bool value) { return value ? "true" : "false"; }

std::string JsonNumber(long long value) { return std::to_string(value); }

std::string HandleText(HWND window) {
  return std::to_string(static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)));
}

void PrintLine(const std::string& json) {
  fputs(json.c_str(), stdout);
  fputc('\n', stdout);
  fflush(stdout);
}

HWND ParseHandle(const char* text) {
  return reinterpret_cast<HWND>(static_cast<uintptr_t>(strtoull(text, nullptr, 0)));
}

// ---- window facts -------------------------------------------------------

std::string ClassOf(HWND window) {
  char name[256] = "";
  (void)GetClassNameA(window, name, sizeof name);
  return name;
}

// WM_GETTEXT with a timeout, so a hung program does not hang the probe.
std::string TextOf(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) return "";
  std::vector<char> text(length + 2, '\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                           SMTO_ABORTIFHUNG, 2000, &copied)) {
    return "";
  }
  return std::string(text.data(), copied);
}

RECT ClientRectOnScreen(HWND window) {
  RECT client{};
  (void)GetClientRect(window, &client);
  (void)MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  return client;
}

std::string DescribeTopLevel(HWND window) {
  DWORD pid = 0;
  (void)GetWindowThreadProcessId(window, &pid);
  RECT outer{};
  (void)GetWindowRect(window, &outer);
  LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
  return "{\"hwnd\":" + HandleText(window) + ",\"pid\":" + JsonNumber(pid) +
         ",\"class\":" + JsonText(ClassOf(window)) + ",\"caption\":" + JsonText(TextOf(window)) +
         ",\"rect\":" + JsonRect(outer) + ",\"client\":" + JsonRect(ClientRectOnScreen(window)) +
         ",\"visible\":" + JsonBool(IsWindowVisible(window)) + ",\"enabled\":" + JsonBool(IsWindowEnabled(window)) +
         ",\"minimized\":" + JsonBool(IsIconic(window)) + ",\"maximized\":" + JsonBool(IsZoomed(window)) +
         ",\"style\":" + JsonNumber(static_cast<long long>(style & 0xffffffff)) +
         ",\"owner\":" + HandleText(GetWindow(window, GW_OWNER)) + ",\"menu\":" + JsonBool(GetMenu(window) != nullptr) +
         "}";
}

struct WindowFilter {
  DWORD pid = 0;
  const char* className = nullptr;
  const char* caption = nullptr;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM data) {
  auto* filter = reinterpret_cast<WindowFilter*>(data);
  DWORD pid = 0;
  (void)GetWindowThreadProcessId(window, &pid);
  if (filter->pid != 0 && pid != filter->pid) return TRUE;
  if (filter->className && ClassOf(window) != filter->className) return TRUE;
  if (filter->caption && TextOf(window) != filter->caption) return TRUE;
  filter->found.push_back(window);
  return TRUE;
}

std::vector<HWND> TopLevelWindows(DWORD pid, const char* className, const char* caption) {
  WindowFilter filter;
  filter.pid = pid;
  filter.className = className;
  filter.caption = caption;
  (void)EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&filter));
  return filter.found;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM data) {
  reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
  return TRUE;
}

std::vector<HWND> Descendants(HWND window) {
  std::vector<HWND> found;
  (void)EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&found));
  return found;
}

// The window itself when it has the class, else its first descendant of it.
HWND FindOfClass(HWND window, const char* className) {
  if (ClassOf(window) == className) return window;
  for (HWND child : Descendants(window)) {
    if (ClassOf(child) == className) return child;
  }
  return nullptr;
}

// ---- memory of the other process ----------------------------------------

// A block of memory inside the process that owns a window, for messages
// whose arguments are pointers.
struct RemoteBlock {
  HANDLE process = nullptr;
  char* address = nullptr;
  size_t size = 0;

  RemoteBlock(HWND window, size_t bytes) : size(bytes) {
    DWORD pid = 0;
    (void)GetWindowThreadProcessId(window, &pid);
    process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process) {
      address = static_cast<char*>(VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    }
  }
  ~RemoteBlock() {
    if (address) (void)VirtualFreeEx(process, address, 0, MEM_RELEASE);
    if (process) (void)CloseHandle(process);
  }
  RemoteBlock(const RemoteBlock&) = delete;
  RemoteBlock& operator=(const RemoteBlock&) = delete;

  bool ok() const { return address != nullptr; }
  bool Write(size_t offset, const void* data, size_t bytes) {
    return WriteProcessMemory(process, address + offset, data, bytes, nullptr) != 0;
  }
  bool Read(size_t offset, void* data, size_t bytes) {
    return ReadProcessMemory(process, address + offset, data, bytes, nullptr) != 0;
  }
};

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result)) return -1;
  return static_cast<LRESULT>(result);
}

constexpr size_t TextRoom = 4096;

std::string ListCell(HWND list, RemoteBlock& block, int row, int column) {
  LVITEMA item{};
  item.mask = LVIF_TEXT;
  item.iItem = row;
  item.iSubItem = column;
  item.pszText = block.address + sizeof(LVITEMA);
  item.cchTextMax = static_cast<int>(TextRoom);
  const char empty = '\0';
  (void)block.Write(sizeof(LVITEMA), &empty, 1);
  if (!block.Write(0, &item, sizeof item)) return "";
  LRESULT length = Send(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(block.address));
  if (length <= 0) return "";
  std::vector<char> text(TextRoom + 1, '\0');
  (void)block.Read(sizeof(LVITEMA), text.data(), TextRoom);
  return std::string(text.data(), strnlen(text.data(), TextRoom));
}

RECT RectInParent(HWND window) {
  RECT r{};
  (void)GetWindowRect(window, &r);
  HWND parent = GetParent(window);
  if (parent) (void)MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// ---- commands ------------------------------------------------------------

int CommandWindows(int argc, char** argv) {
  DWORD pid = 0;
  const char* className = nullptr;
  const char* caption = nullptr;
  for (int i = 0; i + 1 < argc; i += 2) {
    if (!strcmp(argv[i], "--pid")) pid = static_cast<DWORD>(strtoul(argv[i + 1], nullptr, 0));
    else if (!strcmp(argv[i], "--class")) className = argv[i + 1];
    else if (!strcmp(argv[i], "--caption")) caption = argv[i + 1];
    else return 2;
  }
  for (HWND window : TopLevelWindows(pid, className, caption)) PrintLine(DescribeTopLevel(window));
  return 0;
}

int CommandChildren(HWND window) {
  if (!IsWindow(window)) return 1;
  for (HWND child : Descendants(window)) {
    RECT screen{};
    (void)GetWindowRect(child, &screen);
    PrintLine("{\"hwnd\":" + HandleText(child) + ",\"parent\":" + HandleText(GetParent(child)) +
              ",\"id\":" + JsonNumber(static_cast<int>(GetDlgCtrlID(child))) + ",\"class\":" + JsonText(ClassOf(child)) +
              ",\"text\":" + JsonText(TextOf(child)) + ",\"enabled\":" + JsonBool(IsWindowEnabled(child)) +
              ",\"visible\":" + JsonBool(IsWindowVisible(child)) + ",\"rect\":" + JsonRect(RectInParent(child)) +
              ",\"screen\":" + JsonRect(screen) +
              ",\"style\":" + JsonNumber(static_cast<long long>(GetWindowLongPtrA(child, GWL_STYLE) & 0xffffffff)) + "}");
  }
  return 0;
}

int CommandList(HWND window) {
  HWND list = IsWindow(window) ? FindOfClass(window, WC_LISTVIEWA) : nullptr;
  if (!list) return 1;
  RemoteBlock block(list, sizeof(LVITEMA) + TextRoom + 1);
  if (!block.ok()) return 1;
  LRESULT count = Send(list, LVM_GETITEMCOUNT, 0, 0);
  HWND header = reinterpret_cast<HWND>(Send(list, LVM_GETHEADER, 0, 0));
  LRESULT columns = header ? Send(header, HDM_GETITEMCOUNT, 0, 0) : 0;
  std::string widths;
  for (int c = 0; c < columns; ++c) {
    widths += (c ? "," : "") + JsonNumber(Send(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(c), 0));
  }
  std::string rows;
  for (int r = 0; r < count; ++r) {
    std::string cells;
    for (int c = 0; c < columns; ++c) cells += (c ? "," : "") + JsonText(ListCell(list, block, r, c));
    rows += (r ? ",[" : "[") + cells + "]";
  }
  // Screen rectangle of each row (for clicks), from LVM_GETITEMRECT.
  std::string rowRects;
  for (int r = 0; r < count; ++r) {
    RECT rect{};
    rect.left = LVIR_BOUNDS;
    (void)block.Write(0, &rect, sizeof rect);
    if (Send(list, LVM_GETITEMRECT, static_cast<WPARAM>(r), reinterpret_cast<LPARAM>(block.address)) > 0) {
      (void)block.Read(0, &rect, sizeof rect);
      (void)MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    }
    rowRects += (r ? "," : "") + JsonRect(rect);
  }
  RECT screen{};
  (void)GetWindowRect(list, &screen);
  PrintLine("{\"hwnd\":" + HandleText(list) + ",\"count\":" + JsonNumber(count) +
            ",\"selected\":" + JsonNumber(Send(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)) +
            ",\"columns\":" + JsonNumber(columns) + ",\"widths\":[" + widths + "],\"rows\":[" + rows +
            "],\"row_rects\":[" + rowRects + "],\"rect\":" + JsonRect(RectInParent(list)) +
            ",\"screen\":" + JsonRect(screen) + ",\"client\":" + JsonRect(ClientRectOnScreen(list)) +
            ",\"header_enabled\":" + JsonBool(header && IsWindowEnabled(header)) + "}");
  return 0;
}

int CommandStatus(HWND window) {
  HWND status = IsWindow(window) ? FindOfClass(window, STATUSCLASSNAMEA) : nullptr;
  if (!status) return 1;
  RemoteBlock block(status, 256 * sizeof(int) + TextRoom + 1);
  if (!block.ok()) return 1;
  LRESULT partCount = Send(status, SB_GETPARTS, 256, reinterpret_cast<LPARAM>(block.address));
  std::vector<int> edges(256, 0);
  if (partCount > 0) (void)block.Read(0, edges.data(), sizeof(int) * static_cast<size_t>(partCount));
  std::string parts;
  std::string texts;
  for (int p = 0; p < partCount; ++p) {
    parts += (p ? "," : "") + JsonNumber(edges[static_cast<size_t>(p)]);
    const char empty = '\0';
    (void)block.Write(256 * sizeof(int), &empty, 1);
    (void)Send(status, SB_GETTEXTA, static_cast<WPARAM>(p), reinterpret_cast<LPARAM>(block.address + 256 * sizeof(int)));
    std::vector<char> text(TextRoom + 1, '\0');
    (void)block.Read(256 * sizeof(int), text.data(), TextRoom);
    texts += (p ? "," : "") + JsonText(std::string(text.data(), strnlen(text.data(), TextRoom)));
  }
  RECT screen{};
  (void)GetWindowRect(status, &screen);
  PrintLine("{\"hwnd\":" + HandleText(status) + ",\"parts\":[" + parts + "],\"texts\":[" + texts +
            "],\"rect\":" + JsonRect(RectInParent(status)) + ",\"screen\":" + JsonRect(screen) + "}");
  return 0;
}

int CommandToolbar(HWND window, int argc, char** argv) {
  HWND toolbar = IsWindow(window) ? FindOfClass(window, TOOLBARCLASSNAMEA) : nullptr;
  if (!toolbar) return 1;
  RemoteBlock block(toolbar, sizeof(RECT));
  std::string buttons;
  for (int i = 0; i < argc; ++i) {
    int id = atoi(argv[i]);
    LRESULT state = Send(toolbar, TB_GETSTATE, static_cast<WPARAM>(id), 0);
    RECT rect{};
    if (block.ok() && Send(toolbar, TB_GETRECT, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(block.address))) {
      (void)block.Read(0, &rect, sizeof rect);
      (void)MapWindowPoints(toolbar, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    }
    buttons += std::string(i ? "," : "") + "\"" + std::to_string(id) + "\":{\"state\":" + JsonNumber(state) +
               ",\"exists\":" + JsonBool(state != -1) + ",\"enabled\":" + JsonBool(state != -1 && (state & TBSTATE_ENABLED)) +
               ",\"rect\":" + JsonRect(rect) + "}";
  }
  RECT screen{};
  (void)GetWindowRect(toolbar, &screen);
  PrintLine("{\"hwnd\":" + HandleText(toolbar) + ",\"id\":" + JsonNumber(static_cast<int>(GetDlgCtrlID(toolbar))) +
            ",\"count\":" + JsonNumber(Send(toolbar, TB_BUTTONCOUNT, 0, 0)) + ",\"rect\":" + JsonRect(RectInParent(toolbar)) +
            ",\"screen\":" + JsonRect(screen) + ",\"buttons\":{" + buttons + "}}");
  return 0;
}

// Walks the caption row from right to left and reports where the hit test
// answers close, maximise, minimise and system menu: points to click.
int CommandCaptionButtons(HWND window) {
  if (!IsWindow(window)) return 1;
  RECT outer{};
  (void)GetWindowRect(window, &outer);
  const int frame = GetSystemMetrics(SM_CYSIZEFRAME) + GetSystemMetrics(SM_CXPADDEDBORDER);
  const int y = outer.top + frame + GetSystemMetrics(SM_CYCAPTION) / 2;
  struct Run { LRESULT code; int first; int last; };
  std::vector<Run> runs;
  for (int x = outer.right - 1; x >= outer.left; --x) {
    LRESULT code = Send(window, WM_NCHITTEST, 0, MAKELPARAM(x, y));
    if (!runs.empty() && runs.back().code == code && runs.back().last == x + 1) runs.back().last = x;
    else runs.push_back({code, x, x});
  }
  std::string found;
  auto add = [&](const char* name, LRESULT code) {
    for (const Run& run : runs) {
      if (run.code != code) continue;
      found += std::string(found.empty() ? "" : ",") + "\"" + name + "\":[" + JsonNumber((run.first + run.last) / 2) + "," +
               JsonNumber(y) + "]";
      return;
    }
  };
  add("close", HTCLOSE);
  add("maximize", HTMAXBUTTON);
  add("minimize", HTMINBUTTON);
  add("sysmenu", HTSYSMENU);
  add("caption", HTCAPTION);
  PrintLine("{" + found + "}");
  return 0;
}

int CommandMetrics() {
  PrintLine("{\"cxscreen\":" + JsonNumber(GetSystemMetrics(SM_CXSCREEN)) +
            ",\"cyscreen\":" + JsonNumber(GetSystemMetrics(SM_CYSCREEN)) +
            ",\"cymenu\":" + JsonNumber(GetSystemMetrics(SM_CYMENU)) +
            ",\"cycaption\":" + JsonNumber(GetSystemMetrics(SM_CYCAPTION)) +
            ",\"cxsizeframe\":" + JsonNumber(GetSystemMetrics(SM_CXSIZEFRAME)) + "}");
  return 0;
}

// Sends a message with number arguments (no pointers) and prints the result.
int CommandSend(HWND window, int argc, char** argv) {
  if (!IsWindow(window) || argc < 1) return 1;
  const UINT message = static_cast<UINT>(strtoul(argv[0], nullptr, 0));
  const WPARAM wParam = argc > 1 ? static_cast<WPARAM>(strtoull(argv[1], nullptr, 0)) : 0;
  const LPARAM lParam = argc > 2 ? static_cast<LPARAM>(strtoll(argv[2], nullptr, 0)) : 0;
  DWORD_PTR result = 0;
  bool answered = SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result) != 0;
  PrintLine("{\"answered\":" + JsonBool(answered) + ",\"result\":" + JsonNumber(static_cast<long long>(result)) + "}");
  return answered ? 0 : 1;
}

int CommandClose(HWND window) {
  if (!IsWindow(window)) return 1;
  bool posted = PostMessageA(window, WM_CLOSE, 0, 0) != 0;
  PrintLine("{\"posted\":" + JsonBool(posted) + "}");
  return posted ? 0 : 1;
}

int CommandClipboard() {
  std::string text;
  bool present = false;
  if (OpenClipboard(nullptr)) {
    HANDLE data = GetClipboardData(CF_TEXT);
    if (data) {
      const char* locked = static_cast<const char*>(GlobalLock(data));
      if (locked) {
        present = true;
        text = locked;
        (void)GlobalUnlock(data);
      }
    }
    (void)CloseClipboard();
  }
  PrintLine("{\"present\":" + JsonBool(present) + ",\"text\":" + JsonText(text) + "}");
  return 0;
}

std::string MemoryJson(HANDLE process) {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters)) {
    return "{\"error\":" + JsonNumber(GetLastError()) + "}";
  }
  // Wine leaves PrivateUsage at 0 and reports the committed private memory
  // as PagefileUsage, which Windows fills with the same figure.
  SIZE_T privateBytes = counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
  return "{\"private\":" + JsonNumber(static_cast<long long>(privateBytes)) +
         ",\"pagefile\":" + JsonNumber(static_cast<long long>(counters.PagefileUsage)) +
         ",\"workingset\":" + JsonNumber(static_cast<long long>(counters.WorkingSetSize)) +
         ",\"peak_workingset\":" + JsonNumber(static_cast<long long>(counters.PeakWorkingSetSize)) + "}";
}

int CommandMemory(DWORD pid) {
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  if (!process) return 1;
  PrintLine(MemoryJson(process));
  (void)CloseHandle(process);
  return 0;
}

int CommandKill(DWORD pid) {
  HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, pid);
  if (!process) return 1;
  bool ended = TerminateProcess(process, 1) != 0;
  (void)CloseHandle(process);
  PrintLine("{\"terminated\":" + JsonBool(ended) + "}");
  return ended ? 0 : 1;
}

// A top-level window of the process that is visible (with the caption, when
// one is asked for) and whose thread answers messages; with needStatus also
// a status bar whose first field holds text.
HWND ReadyWindow(DWORD pid, const char* caption, bool needStatus) {
  for (HWND window : TopLevelWindows(pid, nullptr, caption)) {
    if (!IsWindowVisible(window)) continue;
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &ignored)) continue;
    if (needStatus) {
      HWND status = FindOfClass(window, STATUSCLASSNAMEA);
      if (!status || LOWORD(Send(status, SB_GETTEXTLENGTHA, 0, 0)) == 0) continue;
    }
    return window;
  }
  return nullptr;
}

std::string QuoteArgument(const std::string& argument) {
  if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos) return argument;
  std::string quoted = "\"";
  size_t backslashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    if (c == '"') quoted.append(backslashes * 2 + 1, '\\');
    else quoted.append(backslashes, '\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, '\\');
  return quoted + "\"";
}

int CommandLaunch(int argc, char** argv) {
  const char* cwd = nullptr;
  const char* readyCaption = nullptr;
  bool readyStatus = false;
  bool waitReady = false;
  int memoryAfter = -1;
  int closeAfter = -1;
  int i = 0;
  for (; i < argc && strcmp(argv[i], "--") != 0; ++i) {
    if (!strcmp(argv[i], "--ready-status")) {
      readyStatus = waitReady = true;
      continue;
    }
    if (!strcmp(argv[i], "--ready")) {
      waitReady = true;
      continue;
    }
    if (i + 1 >= argc) return 2;
    const char* value = argv[++i];
    if (!strcmp(argv[i - 1], "--env")) {
      std::string assignment = value;
      size_t equals = assignment.find('=');
      if (equals == std::string::npos || equals == 0) return 2;
      (void)SetEnvironmentVariableA(assignment.substr(0, equals).c_str(), assignment.substr(equals + 1).c_str());
    } else if (!strcmp(argv[i - 1], "--cwd")) {
      cwd = value;
    } else if (!strcmp(argv[i - 1], "--ready-caption")) {
      readyCaption = value;
      waitReady = true;
    } else if (!strcmp(argv[i - 1], "--memory-after")) {
      memoryAfter = atoi(value);
      waitReady = true;
    } else if (!strcmp(argv[i - 1], "--close-after")) {
      closeAfter = atoi(value);
      waitReady = true;
    } else {
      return 2;
    }
  }
  if (i + 1 >= argc) return 2;
  std::string commandLine;
  for (int a = i + 1; a < argc; ++a) commandLine += (a > i + 1 ? " " : "") + QuoteArgument(argv[a]);

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION child{};
  LARGE_INTEGER frequency, started, now;
  (void)QueryPerformanceFrequency(&frequency);
  (void)QueryPerformanceCounter(&started);
  if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, cwd, &startup, &child)) {
    PrintLine("{\"error\":" + JsonNumber(GetLastError()) + "}");
    return 1;
  }
  PrintLine("{\"pid\":" + JsonNumber(child.dwProcessId) + "}");

  if (waitReady) {
    HWND ready = nullptr;
    while (!ready && WaitForSingleObject(child.hProcess, 0) == WAIT_TIMEOUT) {
      ready = ReadyWindow(child.dwProcessId, readyCaption, readyStatus);
      if (!ready) Sleep(1);
    }
    (void)QueryPerformanceCounter(&now);
    if (ready) {
      double ms = 1000.0 * static_cast<double>(now.QuadPart - started.QuadPart) / static_cast<double>(frequency.QuadPart);
      char text[64];
      snprintf(text, sizeof text, "%.2f", ms);
      PrintLine("{\"ready_ms\":" + std::string(text) + ",\"hwnd\":" + HandleText(ready) + "}");
      if (memoryAfter >= 0) {
        Sleep(static_cast<DWORD>(memoryAfter));
        PrintLine(MemoryJson(child.hProcess));
      }
      if (closeAfter >= 0) {
        Sleep(static_cast<DWORD>(closeAfter));
        (void)PostMessageA(ready, WM_CLOSE, 0, 0);
      }
    }
  }
  (void)WaitForSingleObject(child.hProcess, INFINITE);
  DWORD exitCode = 0;
  (void)GetExitCodeProcess(child.hProcess, &exitCode);
  PrintLine("{\"exit\":" + JsonNumber(exitCode) + "}");
  (void)CloseHandle(child.hThread);
  (void)CloseHandle(child.hProcess);
  return static_cast<int>(exitCode);
}

int Usage() {
  fputs("usage: probe serve|windows|children|metrics|list|status|toolbar|captionbuttons|close|send|clipboard|memory|kill|launch ...\n", stderr);
  return 2;
}

int Dispatch(int argc, char** argv);

// Runs commands read from standard input, one a line with its arguments
// separated by tabs, each answered by its lines and then {"done":code}:
// one Wine process serves a whole test instead of one per look.
int CommandServe() {
  std::string line;
  int c;
  while (true) {
    line.clear();
    while ((c = fgetc(stdin)) != EOF && c != '\n') line += static_cast<char>(c);
    if (c == EOF && line.empty()) return 0;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    std::vector<std::string> words;
    size_t start = 0;
    while (true) {
      size_t tab = line.find('\t', start);
      words.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
      if (tab == std::string::npos) break;
      start = tab + 1;
    }
    std::vector<char*> args{const_cast<char*>("probe")};
    for (std::string& word : words) args.push_back(&word[0]);
    args.push_back(nullptr);
    int code = words[0] == "serve" || words[0] == "launch" ? 2 : Dispatch(static_cast<int>(args.size() - 1), args.data());
    PrintLine("{\"done\":" + JsonNumber(code) + "}");
  }
}

int Dispatch(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string command = argv[1];
  if (command == "windows") return CommandWindows(argc - 2, argv + 2);
  if (command == "clipboard") return CommandClipboard();
  if (command == "metrics") return CommandMetrics();
  if (command == "launch") return CommandLaunch(argc - 2, argv + 2);
  if (command == "serve") return CommandServe();
  if (argc < 3) return Usage();
  if (command == "children") return CommandChildren(ParseHandle(argv[2]));
  if (command == "list") return CommandList(ParseHandle(argv[2]));
  if (command == "status") return CommandStatus(ParseHandle(argv[2]));
  if (command == "toolbar") return CommandToolbar(ParseHandle(argv[2]), argc - 3, argv + 3);
  if (command == "captionbuttons") return CommandCaptionButtons(ParseHandle(argv[2]));
  if (command == "close") return CommandClose(ParseHandle(argv[2]));
  if (command == "send") return CommandSend(ParseHandle(argv[2]), argc - 3, argv + 3);
  if (command == "memory") return CommandMemory(static_cast<DWORD>(strtoul(argv[2], nullptr, 0)));
  if (command == "kill") return CommandKill(static_cast<DWORD>(strtoul(argv[2], nullptr, 0)));
  return Usage();
}

}  // namespace

int main(int argc, char** argv) { return Dispatch(argc, argv); }
