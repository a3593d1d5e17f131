#pragma once
// The capture dialog (window 1, "Taste sperren"): it asks for the key to be
// changed and waits with a running marquee bar. It never reads the keyboard
// itself; the capture hook takes the key, closes it and opens the edit
// dialog.

// Builds and shows window 1 over the main window, then disables the main
// window. Does nothing more when the window cannot be made.
void OpenCaptureDialog();
