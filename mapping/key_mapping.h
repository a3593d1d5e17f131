#pragma once
// The rows of the key table and the text forms a key's function is stored
// in. Everything here is plain text work without windows, so it is built
// and tested on any platform; the list view that holds the rows binds to it
// in mapping_table.h.
#include <cstdint>
#include <string>

// One row of the key table: three text cells, none of which holds LF, CR
// or NUL.
struct KeyMapping {
  std::string label;         // "Bezeichnung": the user's name for the key
  std::string functionText;  // "Funktion": one of the forms of FunctionKind
  std::string keyCodeText;   // "Scancode": the virtual-key code as decimal text
};

// What a function text asks for.
enum class ActionKind { Launch, OutputText };

struct KeyAction {
  ActionKind kind = ActionKind::Launch;
  std::string target;      // Launch: the file or folder to open
  std::string parameters;  // Launch: handed to the file; may be empty
  std::string text;        // OutputText: the characters to type; may be empty
};

// The three functions the edit dialog offers.
enum class FunctionKind { RunFile, OpenFolder, OutputText };

// The keyword that starts the function text of FunctionKind::OutputText.
constexpr char OutputTextKeyword[] = "Ausgabe:";

// RunFile: file "|" parameters; OpenFolder: the folder; OutputText: the
// keyword and the text. Only the inputs of the given kind are used.
std::string ComposeFunctionText(FunctionKind kind, const std::string& file,
                                const std::string& parameters,
                                const std::string& folder,
                                const std::string& text);

// label LF functionText LF keyCode (decimal).
std::string ComposeMappingRow(const std::string& label,
                              const std::string& functionText,
                              int32_t keyCode);

// The row that a row text makes: split at LF into label, function text and
// key-code text; missing parts stay empty, parts after the third are dropped.
KeyMapping SplitMappingRow(const std::string& rowText);

KeyAction DecodeFunctionText(const std::string& functionText);

// Blanks and tabs, an optional sign, then decimal digits, "$" and hex digits
// or "%" and binary digits, up to the first other character. 64-bit
// two's-complement arithmetic that wraps on overflow; no digits give 0.
int64_t ParseKeyCode(const std::string& text);

// The text up to and including its last backslash or slash, after skipping
// one leading double quote; empty when there is neither.
std::string FolderPart(const std::string& path);

// The lookup rule of a key event: the first row from the top whose parsed
// key code equals the event's code widened with its sign; -1 when none.
// parsedKeyCodeAt(row) gives ParseKeyCode of the row's key-code cell.
template <typename ParsedKeyCodeAt>
int FindParsedKeyCode(int rowCount, ParsedKeyCodeAt parsedKeyCodeAt,
                      int32_t keyCode) {
  const int64_t wanted = keyCode;
  for (int row = 0; row < rowCount; ++row) {
    if (parsedKeyCodeAt(row) == wanted) return row;
  }
  return -1;
}

// The same rule over any ordered table; keyCodeTextAt(row) gives the text
// of the row's key-code cell.
template <typename KeyCodeTextAt>
int FindMappingIn(int rowCount, KeyCodeTextAt keyCodeTextAt, int32_t keyCode) {
  return FindParsedKeyCode(
      rowCount, [&](int row) { return ParseKeyCode(keyCodeTextAt(row)); },
      keyCode);
}
