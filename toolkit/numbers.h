#pragma once
// The program's numbering: every window, control, menu item, image and icon
// is addressed by one of these numbers. Control numbers are the controls'
// Win32 identifiers and form one space across all windows; menu items (which
// toolbar buttons share) form another, so menu item 100 and control 100 never
// meet.

// Windows.
enum WindowNumber {
  MainWindow = 0,
  CaptureDialog = 1,
  EditDialog = 2,
  CharacterPicker = 3,
  StartModeDialog = 4,
  WindowCount = 5
};

// Images: five embedded 32 x 32 icons.
enum ImageNumber {
  ImageCaptureButton = 1,   // toolbar button 3
  ImageRestoreButton = 2,   // toolbar button 4
  ImageKey = 3,             // tray icon, first group of capture and edit dialogs
  ImageFunction = 4,        // edit dialog's function group
  ImageStartMode = 5,       // start-mode dialog
  ImageCount = 5
};

// Menu items and toolbar buttons (MenuEvent numbers).
enum MenuItemNumber {
  MenuQuit = 1,
  MenuAbout = 2,
  ToolbarCapture = 3,
  ToolbarRestore = 4,
  MenuAutostart = 5,
  TrayShow = 100,
  TrayHide = 101,
  TrayQuit = 102
};

// The toolbar's own control identifier; its WM_COMMAND is a MenuEvent.
constexpr int ToolbarControlId = -10000;

// Notification-area icon.
constexpr int TrayIconNumber = 1;

// Font of the character picker.
constexpr int PickerFont = 1;

// Controls.
enum ControlNumber {
  MappingListControl = 1,

  CaptureGroup = 100,
  CaptureImage = 101,
  CapturePrompt = 102,
  CaptureProgress = 103,
  CaptureCancel = 104,

  EditLabelGroup = 200,
  EditLabelImage = 201,
  EditLabelCaption = 202,
  EditLabelField = 203,
  EditFunctionGroup = 204,
  EditFunctionImage = 205,
  EditRunFileOption = 206,
  EditOpenFolderOption = 207,
  EditOutputTextOption = 208,
  EditFileCaption = 209,
  EditFileField = 210,
  EditFileButton = 211,
  EditFolderCaption = 212,
  EditFolderField = 213,
  EditFolderButton = 214,
  EditTextCaption = 215,
  EditTextField = 216,
  EditTextButton = 217,
  EditCancel = 218,
  EditParametersCaption = 219,
  EditParametersField = 220,
  EditComplete = 221,

  PickerPrompt = 301,
  PickerList = 302,
  PickerCancel = 303,
  PickerAdd = 304,

  StartModeGroup = 401,
  StartModeImage = 402,
  StartModePrompt = 403,
  StartModeNormal = 404,
  StartModeMinimized = 405,
  StartModeMaximized = 406,
  StartModeCancel = 407
};
