// Writes mat files from the format's table, independently of the reader.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct matTestEntry {
  uint32_t colour = 0;
  std::string name;
};

struct matTestFile {
  std::string magic = "MAT";
  uint8_t major = 1;
  uint8_t minor = 0;
  int32_t width = 0;
  int32_t height = 0;
  std::vector<matTestEntry> entries;
  std::vector<std::pair<uint16_t, uint8_t>> runs;  // length, entry index

  std::string Bytes() const {
    std::string out = magic;
    out += static_cast<char>(major);
    out += static_cast<char>(minor);
    Int32(out, width);
    Int32(out, height);
    out += static_cast<char>(entries.size());
    for (const matTestEntry& entry : entries) {
      Int32(out, static_cast<int32_t>(entry.colour));
      out += static_cast<char>(entry.name.size());
      out += entry.name;
    }
    for (const auto& [length, index] : runs) {
      out += static_cast<char>(length & 0xFF);
      out += static_cast<char>(length >> 8);
      out += static_cast<char>(index);
    }
    return out;
  }

  static void Int32(std::string& out, int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((bits >> shift) & 0xFF);
  }
};

// The 3 x 2 mat of entries A and B whose runs (4, 0), (2, 1) give the rows 0 0 0 and 0 1 1.
inline matTestFile MatTestSmall() {
  matTestFile file;
  file.width = 3;
  file.height = 2;
  file.entries = {{0xFF102030u, "A"}, {0x80405060u, "B"}};
  file.runs = {{4, 0}, {2, 1}};
  return file;
}
