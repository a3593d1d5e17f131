#include "keyboard/key_actions.h"

#include <shellapi.h>

#include <cstring>
#include "keyboard/key_decision.h"
#include "mapping/key_mapping.h"

namespace {

constexpr BYTE ControlKey = VK_CONTROL;   // 0x11
constexpr BYTE VKey = 0x56;

void SynthesizeKey(BYTE key, DWORD flags) {
  keybd_event(key, 0, flags, static_cast<ULONG_PTR>(OwnInputMark));
}

// nullptr for an empty text: the started program keeps our current directory.
const char* FolderOrNone(const std::string& folder) {
  return folder.empty() ? nullptr : folder.c_str();
}

bool StartDirectly(const std::string& target, const std::string& parameters,
                   const std::string& folder) {
  std::string commandLine = LaunchCommandLine(target, parameters);
  STARTUPINFOA startup;
  std::memset(&startup, 0, sizeof startup);
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process;
  std::memset(&process, 0, sizeof process);
  // CreateProcessA may write into the command line, so it gets its own copy.
  if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE,
                      NORMAL_PRIORITY_CLASS, nullptr, FolderOrNone(folder),
                      &startup, &process))
    return false;
  // The program neither waits for the started one nor keeps it.
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

bool OpenThroughShell(const std::string& target, const std::string& parameters,
                      const std::string& folder) {
  SHELLEXECUTEINFOA request;
  std::memset(&request, 0, sizeof request);
  request.cbSize = sizeof request;
  request.fMask = SEE_MASK_NOCLOSEPROCESS;
  request.hwnd = nullptr;
  request.lpVerb = "";   // the default action of the target's type
  request.lpFile = target.c_str();
  request.lpParameters = parameters.c_str();
  request.lpDirectory = FolderOrNone(folder);
  request.nShow = SW_SHOWNORMAL;
  if (!ShellExecuteExA(&request)) return false;
  // Not every request starts a process (a running program may take it over).
  if (request.hProcess) CloseHandle(request.hProcess);
  return true;
}

}  // namespace

std::string LaunchCommandLine(const std::string& target, const std::string& parameters) {
  std::string line = (!target.empty() && target[0] == '"') ? target : "\"" + target + "\"";
  if (!parameters.empty()) line += " " + parameters;
  return line;
}

int LaunchTarget(const std::string& target, const std::string& parameters,
                 const std::string& folder) {
  if (StartDirectly(target, parameters, folder)) return 1;
  // A document, a folder, a file that is no program, or nothing at all:
  // the shell opens it by its type, or shows its own message.
  return OpenThroughShell(target, parameters, folder) ? 1 : 0;
}

HANDLE PutClipboardText(const std::string& text) {
  if (!OpenClipboard(nullptr)) return nullptr;   // another program holds it
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, text.size() + 1);
  if (!block) {
    (void)CloseClipboard();   // the clipboard keeps its content
    return nullptr;
  }
  (void)EmptyClipboard();
  void* bytes = GlobalLock(block);
  if (!bytes) {
    // The clipboard stays empty; the block was never handed over.
    (void)GlobalFree(block);
    (void)CloseClipboard();
    return nullptr;
  }
  std::memcpy(bytes, text.c_str(), text.size() + 1);
  (void)GlobalUnlock(block);
  HANDLE placed = SetClipboardData(CF_TEXT, block);
  // Once SetClipboardData has taken the block it belongs to the system;
  // when it refused, the block is still ours.
  if (!placed) (void)GlobalFree(block);
  (void)CloseClipboard();
  return placed;
}

void SynthesizePaste() {
  SynthesizeKey(ControlKey, 0);
  SynthesizeKey(VKey, 0);
  SynthesizeKey(VKey, KEYEVENTF_KEYUP);
  SynthesizeKey(ControlKey, KEYEVENTF_KEYUP);
}

void PerformKeyAction(const std::string& functionText) {
  KeyAction action = DecodeFunctionText(functionText);
  if (action.kind == ActionKind::OutputText) {
    (void)PutClipboardText(action.text);   // whatever happens, Ctrl+V follows
    SynthesizePaste();
    return;
  }
  (void)LaunchTarget(action.target, action.parameters, FolderPart(action.target));
}
