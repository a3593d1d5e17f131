#include "dialogs/capture_dialog.h"

#include <windows.h>
#include <commctrl.h>

#include "toolkit/numbers.h"
#include "toolkit/ui.h"

void OpenCaptureDialog() {
  if (!OpenNumberedWindow(CaptureDialog, 400, 120, "Taste sperren", DialogFlags,
                          MainWindow)) {
    return;
  }
  CreateControl(GroupBox, CaptureGroup, 10, 10, 380, 70, "Taste ermitteln");
  CreateImageControl(CaptureImage, 20, 30, 0, 0, ImageKey);
  CreateControl(TextLabel, CapturePrompt, 60, 30, 300, 20,
                "Drücken Sie eine beliebige Taste, die Sie ändern möchten...");
  // The toolkit sets the range 0..100 right after creating the bar.
  CreateControl(ProgressBar, CaptureProgress, 60, 50, 320, 20, "", MarqueeProgress);
  CreateControl(PushButton, CaptureCancel, 290, 90, 100, 20, "Abbrechen");

  // Animation on, one millisecond between steps.
  HWND progress = ControlHandle(CaptureProgress);
  if (progress != nullptr) {
    (void)SendMessageA(progress, PBM_SETMARQUEE, 1, 1);
  }
  // Last: nothing of the main window takes input while the key is awaited.
  EnableNumberedWindow(MainWindow, false);
  FocusFirstControl(CaptureDialog);
}
