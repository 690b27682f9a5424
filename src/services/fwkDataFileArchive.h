// The archive format reader shared by the data-file module, the qza tool and the fuzz target.
// docs/archive-format.md describes the format.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

inline constexpr char archiveMagic[5] = {'Q', 'Z', 'A', 'R', 'C'};
inline constexpr int32_t archiveHeaderSize = 11;
// Length of an entry's fixed fields (offset, size, name length) without extra bytes.
inline constexpr int32_t archiveEntryFixedLength = 10;

// Why reading a directory stopped. Every fault keeps the entries read before it.
enum class archiveFault {
  none,
  cannotOpen,
  badMagic,
  badVersion,
  truncated,  // a header field, entry field or name ended early
};

struct archiveEntryInfo {
  std::string name;  // as stored (case kept)
  int64_t offset;    // absolute offset of the data in the archive file
  int64_t size;
  // False when the data does not lie wholly within the archive file (negative offset or size,
  // or offset + size past the end); such an entry is unusable.
  bool inside;
};

struct archiveDirectoryInfo {
  archiveFault fault = archiveFault::cannotOpen;
  uint16_t version = 0;
  int32_t declaredCount = 0;
  int64_t fileSize = 0;
  std::vector<archiveEntryInfo> entries;
};

// Reads the header and directory of the archive at path (an existing file path) through a
// buffered reader. Allocation is bounded by the bytes actually present in the file.
archiveDirectoryInfo DataFileArchiveReadDirectory(const std::string& path);

// One line describing a fault, for tools ("" for archiveFault::none).
std::string DataFileArchiveFaultText(archiveFault fault);
