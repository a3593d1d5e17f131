#include "mapping/key_mapping.h"

#include <cstring>

std::string ComposeFunctionText(FunctionKind kind, const std::string& file,
                                const std::string& parameters,
                                const std::string& folder,
                                const std::string& text) {
  switch (kind) {
    case FunctionKind::RunFile:
      // The bar is always written, so that even an empty path decodes as a
      // launch with empty parameters.
      return file + "|" + parameters;
    case FunctionKind::OpenFolder:
      return folder;
    case FunctionKind::OutputText:
      return OutputTextKeyword + text;
  }
  return std::string();
}

std::string ComposeMappingRow(const std::string& label,
                              const std::string& functionText,
                              int32_t keyCode) {
  return label + "\n" + functionText + "\n" + std::to_string(keyCode);
}

KeyMapping SplitMappingRow(const std::string& rowText) {
  KeyMapping row;
  std::string* cells[] = {&row.label, &row.functionText, &row.keyCodeText};
  size_t start = 0;
  for (std::string* cell : cells) {
    if (start > rowText.size()) break;  // no more parts
    size_t end = rowText.find('\n', start);
    if (end == std::string::npos) end = rowText.size();
    cell->assign(rowText, start, end - start);
    start = end + 1;
  }
  return row;
}

KeyAction DecodeFunctionText(const std::string& functionText) {
  KeyAction action;
  const size_t keywordLength = std::strlen(OutputTextKeyword);
  if (functionText.compare(0, keywordLength, OutputTextKeyword) == 0) {
    action.kind = ActionKind::OutputText;
    action.text = functionText.substr(keywordLength);
    return action;
  }
  action.kind = ActionKind::Launch;
  const size_t firstBar = functionText.find('|');
  action.target = functionText.substr(0, firstBar);
  if (firstBar != std::string::npos) {
    const size_t secondBar = functionText.find('|', firstBar + 1);
    const size_t end = secondBar == std::string::npos ? functionText.size() : secondBar;
    action.parameters = functionText.substr(firstBar + 1, end - firstBar - 1);
  }
  return action;
}

namespace {

// Value of a digit in the given base, or -1 when the character is none.
int DigitValue(char c, int base) {
  int value = -1;
  if (c >= '0' && c <= '9') value = c - '0';
  else if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
  else if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
  return value < base ? value : -1;
}

}  // namespace

int64_t ParseKeyCode(const std::string& text) {
  size_t at = 0;
  while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
  bool negative = false;
  if (at < text.size() && text[at] == '-') {
    negative = true;
    ++at;
  } else if (at < text.size() && text[at] == '+') {
    ++at;
  }
  int base = 10;
  if (at < text.size() && text[at] == '$') {
    base = 16;
    ++at;
  } else if (at < text.size() && text[at] == '%') {
    base = 2;
    ++at;
  }
  // Unsigned arithmetic wraps by definition; the result is the same
  // two's-complement value that wrapping signed arithmetic would give.
  uint64_t value = 0;
  for (; at < text.size(); ++at) {
    const int digit = DigitValue(text[at], base);
    if (digit < 0) break;
    value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
  }
  if (negative) value = 0 - value;
  return static_cast<int64_t>(value);
}

std::string FolderPart(const std::string& path) {
  const size_t start = (!path.empty() && path[0] == '"') ? 1 : 0;
  const size_t lastSeparator = path.find_last_of("\\/");
  if (lastSeparator == std::string::npos || lastSeparator < start) return std::string();
  return path.substr(start, lastSeparator + 1 - start);
}
