// Start and end of the user-interface layer.
#include "toolkit/toolkit_internal.h"

#include <commctrl.h>
#include <objbase.h>

namespace {
bool comInitialised = false;
}

void InitUserInterface() {
  InitCommonControls();
  INITCOMMONCONTROLSEX classes = {};
  classes.dwSize = sizeof(classes);
  classes.dwICC = ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES |
                  ICC_PROGRESS_CLASS;
  (void)InitCommonControlsEx(&classes);   // the classes exist or the controls are missing
  // S_FALSE (already initialised on this thread) needs a matching uninitialise too.
  comInitialised = SUCCEEDED(CoInitialize(nullptr));
}

void ReleaseUserInterface() {
  ReleaseImages();
  ReleaseFonts();
  if (comInitialised) CoUninitialize();
  comInitialised = false;
}
