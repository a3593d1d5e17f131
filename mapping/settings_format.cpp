#include "mapping/settings_format.h"

#include <utility>

LineReader MakeLineReader(ByteSource source) {
  LineReader reader;
  reader.source = std::move(source);
  reader.block.resize(SettingsBlockSize);
  return reader;
}

bool BytesRemain(LineReader& reader) {
  if (reader.position < reader.filled) return true;
  if (reader.sourceEnded) return false;
  reader.position = 0;
  reader.filled = reader.source(reader.block.data(), reader.block.size());
  if (reader.filled > reader.block.size()) reader.filled = reader.block.size();
  if (reader.filled == 0) reader.sourceEnded = true;
  return reader.filled > 0;
}

namespace {

bool EndsLine(char c) { return c == '\r' || c == '\n' || c == '\0'; }

}  // namespace

std::string ReadSettingsLine(LineReader& reader) {
  std::string line;
  while (BytesRemain(reader)) {
    // Take the run of ordinary bytes in one piece: lines may be megabytes long.
    const char* data = reader.block.data();
    size_t end = reader.position;
    while (end < reader.filled && !EndsLine(data[end])) ++end;
    line.append(data + reader.position, end - reader.position);
    reader.position = end;
    if (end == reader.filled) continue;  // the line goes on in the next block

    const char ending = data[reader.position++];
    // CR LF is one line end, even when the LF starts the next block.
    if (ending == '\r' && BytesRemain(reader) &&
        reader.block[reader.position] == '\n') {
      ++reader.position;
    }
    break;
  }
  return line;
}

std::string ReadMappingRowText(LineReader& reader) {
  std::string rowText = ReadSettingsLine(reader);
  rowText += '\n';
  rowText += ReadSettingsLine(reader);
  rowText += '\n';
  rowText += ReadSettingsLine(reader);
  return rowText;
}

std::vector<KeyMapping> ReadMappingTable(ByteSource source) {
  LineReader reader = MakeLineReader(std::move(source));
  std::vector<KeyMapping> table;
  while (BytesRemain(reader)) {
    table.push_back(SplitMappingRow(ReadMappingRowText(reader)));
  }
  return table;
}

SettingsWriter MakeSettingsWriter(ByteSink sink) {
  SettingsWriter writer;
  writer.sink = std::move(sink);
  writer.block.reserve(SettingsBlockSize);
  return writer;
}

namespace {

void FlushBlock(SettingsWriter& writer) {
  if (writer.block.empty()) return;
  if (!writer.failed && !writer.sink(writer.block.data(), writer.block.size())) {
    writer.failed = true;
  }
  writer.block.clear();
}

void WriteBytes(SettingsWriter& writer, const char* bytes, size_t count) {
  while (count > 0) {
    const size_t room = SettingsBlockSize - writer.block.size();
    const size_t part = count < room ? count : room;
    writer.block.insert(writer.block.end(), bytes, bytes + part);
    bytes += part;
    count -= part;
    if (writer.block.size() == SettingsBlockSize) FlushBlock(writer);
  }
}

}  // namespace

void WriteSettingsCell(SettingsWriter& writer, const std::string& cell) {
  WriteBytes(writer, cell.data(), cell.size());
  WriteBytes(writer, "\r\n", 2);
}

void WriteSettingsRow(SettingsWriter& writer, const KeyMapping& row) {
  WriteSettingsCell(writer, row.label);
  WriteSettingsCell(writer, row.functionText);
  WriteSettingsCell(writer, row.keyCodeText);
}

bool FinishSettingsWriter(SettingsWriter& writer) {
  FlushBlock(writer);
  return !writer.failed;
}

std::string SettingsFileBytes(const std::vector<KeyMapping>& table) {
  std::string bytes;
  SettingsWriter writer = MakeSettingsWriter([&](const char* data, size_t count) {
    bytes.append(data, count);
    return true;
  });
  for (const KeyMapping& row : table) WriteSettingsRow(writer, row);
  (void)FinishSettingsWriter(writer);  // appending to a string cannot fail
  return bytes;
}
