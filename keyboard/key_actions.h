#pragma once
// The function of a released mapped key: start a file, open a folder or a
// document through the shell, or type a text by pasting it from the
// clipboard. Nothing is waited for and no outcome is reported.
#include <windows.h>
#include <string>

// Performs the function text of a row (its "Funktion" cell).
void PerformKeyAction(const std::string& functionText);

// Starts `target` directly, or hands it to the shell when that fails.
// An empty folder means none. Returns 1 when a program was started or the
// shell accepted the request, 0 otherwise.
int LaunchTarget(const std::string& target, const std::string& parameters,
                 const std::string& folder);

// The command line of the direct start: the target in double quotes
// (unchanged when it already begins with one), then a blank and the
// parameters when there are any.
std::string LaunchCommandLine(const std::string& target, const std::string& parameters);

// Replaces the clipboard by `text` as CF_TEXT. Returns what SetClipboardData
// returned, or nullptr when the text was not placed.
HANDLE PutClipboardText(const std::string& text);

// Ctrl down, V down, V up, Ctrl up, each carrying the program's own mark.
void SynthesizePaste();
