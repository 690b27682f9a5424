// Writes archives for tests, independently of the qza tool, including deliberately damaged
// ones.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct testEntry {
  std::string name;
  std::string data;
  // Length of the fixed fields plus extra bytes; the extra bytes are filled with 0xEE.
  uint8_t length = 10;
  // Stored instead of the real offset or size when set.
  std::optional<int32_t> offset = std::nullopt;
  std::optional<int32_t> size = std::nullopt;
};

// Header, the directory, then the entries' data in directory order.
std::string ArchiveBytes(const std::vector<testEntry>& entries, uint16_t version = 1,
                         std::optional<int32_t> count = std::nullopt);

// Little-endian fields, for building damaged archives by hand.
std::string Le16(uint16_t value);
std::string Le32(uint32_t value);
