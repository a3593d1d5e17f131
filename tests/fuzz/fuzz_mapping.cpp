// Arbitrary bytes as a settings file, a function text and a key-code text.
// Besides staying free of crashes and sanitizer findings, the reader must
// not depend on how the bytes arrive in blocks, no cell it reads may hold a
// line end, and writing what it read and reading that back must give the
// same table and the same bytes again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "mapping/key_mapping.h"
#include "mapping/settings_format.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

ByteSource SourceOf(const std::string& bytes, size_t step) {
  auto position = std::make_shared<size_t>(0);
  return [&bytes, step, position](char* buffer, size_t capacity) {
    size_t count = bytes.size() - *position;
    if (count > capacity) count = capacity;
    if (count > step) count = step;
    std::memcpy(buffer, bytes.data() + *position, count);
    *position += count;
    return count;
  };
}

bool SameTable(const std::vector<KeyMapping>& a, const std::vector<KeyMapping>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i].label != b[i].label || a[i].functionText != b[i].functionText ||
        a[i].keyCodeText != b[i].keyCodeText) {
      return false;
    }
  }
  return true;
}

bool HoldsLineEnd(const std::string& cell) {
  return cell.find_first_of(std::string("\r\n\0", 3)) != std::string::npos;
}

void CheckDecoding(const std::string& functionText) {
  const KeyAction action = DecodeFunctionText(functionText);
  if (action.kind == ActionKind::OutputText) {
    Require(functionText == OutputTextKeyword + action.text);
    return;
  }
  Require(functionText.compare(0, 8, OutputTextKeyword) != 0);
  Require(action.target.find('|') == std::string::npos);
  Require(action.parameters.find('|') == std::string::npos);
  const bool hasBar = functionText.find('|') != std::string::npos;
  const std::string prefix = hasBar ? action.target + "|" + action.parameters : action.target;
  Require(functionText.compare(0, prefix.size(), prefix) == 0);
  if (!hasBar) Require(action.target == functionText && action.parameters.empty());
}

void CheckKeyCodes(const std::string& text, const uint8_t* data, size_t size) {
  (void)ParseKeyCode(text);
  // Whatever ComposeMappingRow writes as a key code parses back to it.
  if (size >= 4) {
    uint32_t raw = 0;
    std::memcpy(&raw, data, 4);
    int32_t keyCode;
    std::memcpy(&keyCode, &raw, 4);
    const KeyMapping row = SplitMappingRow(ComposeMappingRow("l", "f", keyCode));
    Require(ParseKeyCode(row.keyCodeText) == keyCode);
    Require(FindMappingIn(1, [&](int) { return row.keyCodeText; }, keyCode) == 0);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  const std::vector<KeyMapping> table = ReadMappingTable(SourceOf(bytes, SettingsBlockSize));
  const size_t smallStep = 1 + (size > 0 ? data[0] % 7 : 0);
  Require(SameTable(ReadMappingTable(SourceOf(bytes, smallStep)), table));

  for (const KeyMapping& row : table) {
    Require(!HoldsLineEnd(row.label) && !HoldsLineEnd(row.functionText) &&
            !HoldsLineEnd(row.keyCodeText));
    CheckDecoding(row.functionText);
    (void)ParseKeyCode(row.keyCodeText);
  }

  const std::string written = SettingsFileBytes(table);
  const std::vector<KeyMapping> readBack = ReadMappingTable(SourceOf(written, SettingsBlockSize));
  Require(SameTable(readBack, table));
  Require(SettingsFileBytes(readBack) == written);

  // The whole input as one function text and one key-code text too.
  CheckDecoding(bytes);
  CheckKeyCodes(bytes, data, size);
  return 0;
}
