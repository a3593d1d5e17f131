#pragma once
// The key table, held by the main window's list view (report view, three
// columns: "Bezeichnung", "Funktion", "Scancode"). The list's cells are the
// table: these operations are the only way the program reads or changes
// rows. Row indices are 0-based in display order; the list is never sorted.
#include <windows.h>

#include <cstdint>
#include <string>

// Makes `list` the table the operations below work on.
void BindMappingTable(HWND list);

// Adds one row after the last; the row text is split as SplitMappingRow
// does (label LF function text LF key-code text).
void AppendMapping(const std::string& rowText);

// Removes the row; -1 or an index outside the table removes nothing.
void RemoveMapping(int row);

int MappingCount();

// The whole text of a cell, however long; empty for a cell never set, a
// row outside the table or a column outside 0..2.
std::string MappingCell(int row, int column);

// The selected row, or -1.
int SelectedMapping();

// The first row from the top whose key-code cell parses to `keyCode`, or
// -1. Runs on every key event of the desktop, so it reads no cells: it
// answers from key codes kept by AppendMapping and RemoveMapping, and asks
// the list only for its row count. Rows that come or go by other means (or
// a list that is destroyed) are noticed by that count and learnt anew; a
// key-code cell rewritten in place by other means is not.
int FindMapping(int32_t keyCode);
