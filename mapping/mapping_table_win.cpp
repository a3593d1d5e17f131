#include "mapping/mapping_table.h"

#include <commctrl.h>

#include <cstring>
#include <memory>
#include <vector>

#include "mapping/key_mapping.h"

namespace {

constexpr int ColumnCount = 3;

HWND mappingList = nullptr;

// The longest cell text ever stored in the list: MappingCell reads with a
// buffer one longer, so no cell is ever cut short.
size_t longestCell = 0;

// ParseKeyCode of every row's key-code cell, in row order. FindMapping runs
// inside the low-level keyboard hook for every key event of the desktop, so
// it must not read and parse every cell there (one cell may be megabytes
// long, and MappingCell reads with a buffer as long as the longest cell).
// AppendMapping and RemoveMapping, the only operations that change rows,
// keep this in step with the list; FindMapping checks the row count.
std::vector<int64_t> parsedKeyCodes;

// The cell's text read with a buffer of `capacity` bytes: at most
// capacity - 1 of them, so a text of that length may have been cut short.
std::string ReadCell(int row, int column, size_t capacity) {
  // Not cleared first: after a cell of megabytes the buffer stays that
  // large, and the keyboard hook reads a cell on every release of a mapped
  // key.
  std::unique_ptr<char[]> buffer(new char[capacity]);
  buffer[0] = '\0';
  LVITEMA item = {};
  item.mask = LVIF_TEXT;
  item.iItem = row;
  item.iSubItem = column;
  item.pszText = buffer.get();
  item.cchTextMax = static_cast<int>(capacity);
  if (!SendMessageA(mappingList, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) {
    return std::string();
  }
  // The list may hand back a text of its own instead of filling the buffer.
  std::string cell;
  if (item.pszText == buffer.get()) cell.assign(buffer.get(), strnlen(buffer.get(), capacity));
  else if (item.pszText) cell = item.pszText;
  return cell;
}

void SetCellText(int row, int column, const std::string& text) {
  LVITEMA item = {};
  item.iSubItem = column;
  item.pszText = const_cast<char*>(text.c_str());
  (void)SendMessageA(mappingList, LVM_SETITEMTEXTA, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&item));  // fails only for a lost row
}

void NoteCellLength(size_t length) {
  if (length > longestCell) longestCell = length;
}

// Learns the lengths and key codes of the rows the list holds now, growing
// the buffer until a cell fits with room to spare.
void LearnRows() {
  parsedKeyCodes.clear();
  const int count = MappingCount();
  for (int row = 0; row < count; ++row) {
    for (int column = 0; column < ColumnCount; ++column) {
      size_t capacity = 4096;
      std::string cell = ReadCell(row, column, capacity);
      while (cell.size() + 1 >= capacity) {
        capacity *= 2;
        cell = ReadCell(row, column, capacity);
      }
      NoteCellLength(cell.size());
      if (column == 2) parsedKeyCodes.push_back(ParseKeyCode(cell));
    }
  }
}

}  // namespace

void BindMappingTable(HWND list) {
  mappingList = list;
  longestCell = 0;
  LearnRows();  // a list may come with rows of its own
}

void AppendMapping(const std::string& rowText) {
  if (!mappingList) return;
  const KeyMapping row = SplitMappingRow(rowText);
  LVITEMA item = {};
  item.mask = LVIF_TEXT;
  item.iItem = MappingCount();
  item.pszText = const_cast<char*>(row.label.c_str());
  const int index = static_cast<int>(
      SendMessageA(mappingList, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  if (index < 0) return;  // the list took no row, so the table is unchanged
  SetCellText(index, 1, row.functionText);
  SetCellText(index, 2, row.keyCodeText);
  NoteCellLength(row.label.size());
  NoteCellLength(row.functionText.size());
  NoteCellLength(row.keyCodeText.size());
  const size_t at = static_cast<size_t>(index) < parsedKeyCodes.size()
                        ? static_cast<size_t>(index) : parsedKeyCodes.size();
  parsedKeyCodes.insert(parsedKeyCodes.begin() + static_cast<std::ptrdiff_t>(at),
                        ParseKeyCode(row.keyCodeText));
}

void RemoveMapping(int row) {
  if (!mappingList || row < 0 || row >= MappingCount()) return;
  if (!SendMessageA(mappingList, LVM_DELETEITEM, static_cast<WPARAM>(row), 0)) return;
  if (static_cast<size_t>(row) < parsedKeyCodes.size()) {
    parsedKeyCodes.erase(parsedKeyCodes.begin() + row);
  }
}

int MappingCount() {
  if (!mappingList) return 0;
  return static_cast<int>(SendMessageA(mappingList, LVM_GETITEMCOUNT, 0, 0));
}

std::string MappingCell(int row, int column) {
  if (!mappingList || column < 0 || column >= ColumnCount) return std::string();
  return ReadCell(row, column, longestCell + 1);
}

int SelectedMapping() {
  if (!mappingList) return -1;
  return static_cast<int>(SendMessageA(mappingList, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                       MAKELPARAM(LVNI_SELECTED, 0)));
}

int FindMapping(int32_t keyCode) {
  // One cheap question to the list per key event. A row count other than
  // the index's means rows came or went past AppendMapping and RemoveMapping
  // (or the list is gone, and counts none): answering from the old index
  // would take over keys that have no row, so it is learnt anew.
  if (parsedKeyCodes.size() != static_cast<size_t>(MappingCount())) LearnRows();
  return FindParsedKeyCode(
      static_cast<int>(parsedKeyCodes.size()),
      [](int row) { return parsedKeyCodes[static_cast<size_t>(row)]; }, keyCode);
}
