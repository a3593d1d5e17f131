// Tavolin's entry point: start-up, the one event loop with its dispatch
// table, and the teardown.
#include <windows.h>

#include "app/about_box.h"
#include "app/main_window.h"
#include "app/program.h"
#include "app/tray.h"
#include "autostart/autostart.h"
#include "dialogs/capture_dialog.h"
#include "dialogs/character_picker.h"
#include "dialogs/edit_dialog.h"
#include "keyboard/hooks.h"
#include "mapping/settings_file.h"
#include "toolkit/ui.h"

namespace {

constexpr int MainInnerWidth = 500;
constexpr int MainInnerHeight = 200;

int quitRequested = 0;
bool tableSaved = false;

// The table is written once: on the quit path, or when Windows ends the
// session while the program runs (it is ended without a close request then).
void SaveTableOnce() {
  if (tableSaved) return;
  tableSaved = true;
  SaveMappings(ProgramTitle, SettingsFileName);
}

bool MainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                         LRESULT* result) {
  if (message == WM_ENDSESSION) {
    if (wParam) SaveTableOnce();
    *result = 0;
    return true;
  }
  return MainWindowMessage(window, message, wParam, lParam, result);
}

// The main window cannot be made smaller than its first outer size.
void SetMainWindowMinimum() {
  HWND window = WindowHandle(MainWindow);
  RECT outer = {0, 0, MainInnerWidth, MainInnerHeight};
  (void)AdjustWindowRectEx(&outer, GetWindowLongA(window, GWL_STYLE), FALSE,
                           GetWindowLongA(window, GWL_EXSTYLE));
  SetMinimumTrackingSize(MainWindow, outer.right - outer.left, outer.bottom - outer.top);
}

void DispatchGadget(int number) {
  switch (number) {
    case MappingListControl: UpdateRestoreButton(); break;
    case CaptureCancel: captureActive = 0; CloseDialog(CaptureDialog, MainWindow); break;
    case EditRunFileOption:
    case EditOpenFolderOption:
    case EditOutputTextOption: UpdateFunctionFields(); break;
    case EditFileButton: ChooseFile(); break;
    case EditFolderButton: ChooseFolder(); break;
    case EditTextButton: OpenCharacterPicker(); break;
    case EditCancel: CloseDialog(EditDialog, MainWindow); break;
    case EditComplete: CompleteEditDialog(); break;
    case PickerList: UpdateAddButton(); break;
    case PickerCancel: CloseDialog(CharacterPicker, EditDialog); break;
    case PickerAdd: AddPickedCharacter(); CloseDialog(CharacterPicker, EditDialog); break;
    case StartModeNormal: ChooseStartMode(1); CloseDialog(StartModeDialog, MainWindow); break;
    case StartModeMinimized: ChooseStartMode(2); CloseDialog(StartModeDialog, MainWindow); break;
    case StartModeMaximized: ChooseStartMode(3); CloseDialog(StartModeDialog, MainWindow); break;
    case StartModeCancel: CloseDialog(StartModeDialog, MainWindow); break;
    default: break;
  }
}

// Returns the event kind the pass goes on with: the two "Beenden" items
// turn it into a close request.
EventKind DispatchMenu(int number) {
  switch (number) {
    case MenuQuit: return CloseEvent;
    case MenuAbout: ShowAboutBox(); break;
    case ToolbarCapture: captureActive = 1; OpenCaptureDialog(); break;
    case ToolbarRestore: RemoveSelectedMapping(); break;
    case MenuAutostart: ToggleStartupShortcut(); break;
    case TrayShow: ShowMainWindow(); break;
    case TrayHide: HideMainWindow(); break;
    case TrayQuit: return CloseEvent;
    default: break;
  }
  return MenuEvent;
}

void RunEventLoop() {
  while (quitRequested != 1) {
    const Event event = WaitEvent();
    EventKind current = event.kind;
    if (current == SizeEvent) LayOutMappingList();
    if (current == TrayEvent) {
      if (event.type == 1) ShowTrayPopup();
      else if (event.type == 0) ShowMainWindow();
    }
    if (IsIconic(WindowHandle(MainWindow))) HideMainWindow();
    if (current == GadgetEvent) DispatchGadget(event.number);
    if (current == MenuEvent) current = DispatchMenu(event.number);
    if (current == CloseEvent) {
      SaveTableOnce();
      quitRequested = 1;
    }
  }
}

bool StartUp() {
  InitUserInterface();
  EnsureDataFolder(ProgramTitle);
  EnsureSettingsFile(ProgramTitle, SettingsFileName);
  LoadImages();
  if (!OpenNumberedWindow(MainWindow, MainInnerWidth, MainInnerHeight, DisplayTitle().c_str(),
                          MainWindowFlags)) {
    return false;
  }
  SetMessageHandler(MainWindow, MainWindowProcedure);
  SetMainWindowMinimum();
  BuildMenuBar();
  BuildTrayPopupMenu();
  BuildToolbar();
  BuildStatusBar();
  BuildMappingList();
  UpdateAutostartMark();
  AddTrayIcon();
  LoadMappings(ProgramTitle, SettingsFileName);
  RefreshStatusText();
  InstallKeyboardHooks();
  return true;
}

void TearDown() {
  RemoveKeyboardHooks();
  RemoveTrayIcon();
  CloseAllWindows();
  ReleaseUserInterface();
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (StartUp()) RunEventLoop();
  TearDown();
  ExitProcess(0);
}
