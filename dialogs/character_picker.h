#pragma once
// The character picker (window 3, "Zeichenauswahl"): a list of the
// characters 32 to 255 over the edit dialog; "Hinzufügen" appends the
// chosen one to the end of the edit dialog's characters field (216).

// Builds window 3 over the edit dialog with a fresh list, nothing selected
// and "Hinzufügen" disabled, then disables the edit dialog.
void OpenCharacterPicker();

// List 302: "Hinzufügen" is enabled exactly while an item is selected.
void UpdateAddButton();

// Appends the selected item's character to the end of field 216; with no
// item selected the field keeps its text.
void AddPickedCharacter();
