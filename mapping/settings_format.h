#pragma once
// The byte format of the settings file, without any file system: three
// lines per row (label, function text, key-code text), each written as the
// cell's bytes followed by CR LF. The reader is more lenient than the
// writer: CR LF, a lone LF, a lone CR or a NUL ends a line; lines have no
// length limit; bytes pass unchanged (no byte-order mark is recognised).
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "mapping/key_mapping.h"

// Both directions go through blocks of this size.
constexpr size_t SettingsBlockSize = 4096;

// Fills `buffer` with up to `capacity` bytes and returns how many it gave;
// 0 means that no byte is left (or that reading failed: the source's owner
// keeps track of that).
using ByteSource = std::function<size_t(char* buffer, size_t capacity)>;

struct LineReader {
  ByteSource source;
  std::vector<char> block;   // the block read last
  size_t position = 0;       // next unread byte in block
  size_t filled = 0;         // bytes of block that hold data
  bool sourceEnded = false;  // the source gave 0 once: ask no more
};

LineReader MakeLineReader(ByteSource source);

// True while at least one byte is left to read.
bool BytesRemain(LineReader& reader);

// The next line without its end; empty when no byte is left.
std::string ReadSettingsLine(LineReader& reader);

// Three lines joined by LF: the row text of one row (see SplitMappingRow).
std::string ReadMappingRowText(LineReader& reader);

// Every row of the source: one row for each group of three lines while at
// least one byte remains.
std::vector<KeyMapping> ReadMappingTable(ByteSource source);

// Takes `count` bytes; false when they could not all be written.
using ByteSink = std::function<bool(const char* bytes, size_t count)>;

struct SettingsWriter {
  ByteSink sink;
  std::vector<char> block;  // bytes not yet handed to the sink
  bool failed = false;      // a write to the sink failed: later ones are skipped
};

SettingsWriter MakeSettingsWriter(ByteSink sink);

// The cell's bytes, then CR LF.
void WriteSettingsCell(SettingsWriter& writer, const std::string& cell);

// The three cells of a row.
void WriteSettingsRow(SettingsWriter& writer, const KeyMapping& row);

// Hands the rest of the block to the sink. True when every byte written
// since the writer was made reached the sink.
bool FinishSettingsWriter(SettingsWriter& writer);

// The whole file content of a table.
std::string SettingsFileBytes(const std::vector<KeyMapping>& table);
