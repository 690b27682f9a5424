#include "archive_writer.h"

std::string Le16(uint16_t value) {
  return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
}

std::string Le32(uint32_t value) {
  return Le16(static_cast<uint16_t>(value & 0xFFFF)) + Le16(static_cast<uint16_t>(value >> 16));
}

std::string ArchiveBytes(const std::vector<testEntry>& entries, uint16_t version,
                         std::optional<int32_t> count) {
  size_t directorySize = 0;
  for (const testEntry& entry : entries) directorySize += 1u + entry.length + entry.name.size();
  uint32_t offset = static_cast<uint32_t>(11 + directorySize);

  std::string bytes =
      "QZARC" + Le16(version) +
      Le32(static_cast<uint32_t>(count.value_or(static_cast<int32_t>(entries.size()))));
  std::string data;
  for (const testEntry& entry : entries) {
    bytes += static_cast<char>(entry.length);
    bytes += Le32(static_cast<uint32_t>(entry.offset.value_or(static_cast<int32_t>(offset))));
    bytes +=
        Le32(static_cast<uint32_t>(entry.size.value_or(static_cast<int32_t>(entry.data.size()))));
    bytes += Le16(static_cast<uint16_t>(entry.name.size()));
    if (entry.length > 10) bytes += std::string(entry.length - 10u, '\xEE');
    bytes += entry.name;
    data += entry.data;
    offset += static_cast<uint32_t>(entry.data.size());
  }
  return bytes + data;
}
