#include "toolkit/icon_file.h"

namespace {

constexpr size_t HeaderSize = 6;
constexpr size_t FileEntrySize = 16;

unsigned ReadWord(const uint8_t* at) { return at[0] | (at[1] << 8); }

uint32_t ReadDoubleWord(const uint8_t* at) {
  return static_cast<uint32_t>(ReadWord(at)) |
         (static_cast<uint32_t>(ReadWord(at + 2)) << 16);
}

void AppendWord(std::vector<uint8_t>& out, unsigned value) {
  out.push_back(static_cast<uint8_t>(value & 0xFF));
  out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

void AppendDoubleWord(std::vector<uint8_t>& out, uint32_t value) {
  AppendWord(out, value & 0xFFFF);
  AppendWord(out, value >> 16);
}

int Dimension(uint8_t stored) { return stored == 0 ? 256 : stored; }

}  // namespace

std::vector<IconFileEntry> ReadIconDirectory(const uint8_t* data, size_t size) {
  if (data == nullptr || size < HeaderSize) return {};
  const unsigned reserved = ReadWord(data);
  const unsigned type = ReadWord(data + 2);
  const size_t count = ReadWord(data + 4);
  if (reserved != 0 || type != 1 || count == 0) return {};
  if (size < HeaderSize + count * FileEntrySize) return {};

  std::vector<IconFileEntry> entries;
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* at = data + HeaderSize + i * FileEntrySize;
    IconFileEntry entry;
    entry.width = Dimension(at[0]);
    entry.height = Dimension(at[1]);
    entry.colorCount = at[2];
    entry.bitCount = static_cast<int>(ReadWord(at + 6));
    entry.size = ReadDoubleWord(at + 8);
    entry.offset = ReadDoubleWord(at + 12);
    // Written so that no sum can wrap around.
    if (entry.size == 0 || entry.offset > size || entry.size > size - entry.offset) return {};
    entries.push_back(entry);
  }
  return entries;
}

std::vector<uint8_t> GroupIconDirectory(const std::vector<IconFileEntry>& entries) {
  std::vector<uint8_t> out;
  AppendWord(out, 0);
  AppendWord(out, 1);
  AppendWord(out, static_cast<unsigned>(entries.size()));
  unsigned id = 1;
  for (const IconFileEntry& entry : entries) {
    out.push_back(static_cast<uint8_t>(entry.width >= 256 ? 0 : entry.width));
    out.push_back(static_cast<uint8_t>(entry.height >= 256 ? 0 : entry.height));
    out.push_back(static_cast<uint8_t>(entry.colorCount));
    out.push_back(0);   // reserved
    AppendWord(out, 1);  // planes
    AppendWord(out, static_cast<unsigned>(entry.bitCount));
    AppendDoubleWord(out, static_cast<uint32_t>(entry.size));
    AppendWord(out, id++);
  }
  return out;
}
