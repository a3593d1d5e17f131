#pragma once
// The edit dialog (window 2, "Taste ändern"): the user names the captured
// key and chooses its function; "Fertig stellen" turns the fields into a
// new row of the key table.

// Builds window 2 over the main window with every field empty and
// "Datei ausführen" selected, then disables the main window. Called by the
// capture hook right after it closed the capture dialog.
void OpenEditDialog();

// Options 206, 207, 208: enables the fields of the selected option's group
// and disables the other two groups; no field's text changes.
void UpdateFunctionFields();

// Button 211: the file chooser; a chosen file replaces the text of field
// 210, a cancelled one leaves it.
void ChooseFile();

// Button 214: the folder chooser; a chosen folder (ending in a backslash)
// replaces the text of field 213, a cancelled one leaves it.
void ChooseFolder();

// Button 221 "Fertig stellen": appends the row made from the selected
// option's fields and capturedKeyCode, closes the dialog, refreshes the
// status text.
void CompleteEditDialog();
