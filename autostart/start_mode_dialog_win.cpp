// Window 4, "Autostart": chooses how Windows is to show the program's window
// when it starts it. Its buttons reach the event loop as GadgetEvents
// 404..407.
#include "autostart/autostart.h"

#include "toolkit/ui.h"

void OpenStartModeDialog() {
  if (!OpenNumberedWindow(StartModeDialog, 400, 120, "Autostart", DialogFlags,
                          MainWindow))
    return;
  // A control that cannot be created is simply missing.
  (void)CreateControl(GroupBox, StartModeGroup, 10, 10, 380, 70,
                      "Startmodus der Verknüpfung");
  (void)CreateImageControl(StartModeImage, 20, 30, 0, 0, ImageStartMode);
  (void)CreateControl(TextLabel, StartModePrompt, 60, 30, 200, 20,
                      "Wie soll das Programm gestartet werden?");
  (void)CreateControl(PushButton, StartModeNormal, 60, 50, 100, 20, "Normal");
  (void)CreateControl(PushButton, StartModeMinimized, 170, 50, 100, 20, "Minimiert");
  (void)CreateControl(PushButton, StartModeMaximized, 280, 50, 100, 20, "Maximiert");
  (void)CreateControl(PushButton, StartModeCancel, 290, 90, 100, 20, "Abbrechen");
  // Only once the dialog stands: a dialog that could not be opened must not
  // leave the main window disabled with nothing to enable it again.
  EnableNumberedWindow(MainWindow, false);
  FocusFirstControl(StartModeDialog);
}
