#pragma once
// Reading the directory of an ICO file held in memory, and rewriting it in
// the layout that the system's icon functions expect of an icon group
// resource.
#include <cstddef>
#include <cstdint>
#include <vector>

struct IconFileEntry {
  int width = 0;        // pixels; 0 in the file stands for 256
  int height = 0;
  int colorCount = 0;   // palette size, 0 for 8 bits per pixel and more
  int bitCount = 0;
  size_t offset = 0;    // where the image's bytes start in the file
  size_t size = 0;      // how many bytes they take
};

// The images an ICO file lists. Empty when the bytes are no ICO file or
// an entry points outside them.
std::vector<IconFileEntry> ReadIconDirectory(const uint8_t* data, size_t size);

// The entries as a group icon directory: the ICO header followed by
// 14-byte entries whose last field is an identifier, entry i getting i + 1.
std::vector<uint8_t> GroupIconDirectory(const std::vector<IconFileEntry>& entries);
