#include "services/fwkDataFileArchive.h"

#include "platform/platform_system.h"

#include <array>
#include <cstdio>
#include <cstring>

namespace {

constexpr int32_t readerBufferSize = 4096;
constexpr int32_t readerRefillBelow = 2048;

// The read-ahead scheme of data-file handles, used only for archive directories: the valid
// bytes sit at buffer[head, head + buffered); a read refills when fewer than 2048 remain.
struct bufferedReader {
  std::FILE* file = nullptr;
  std::array<uint8_t, readerBufferSize> buffer{};
  int32_t head = 0;
  int32_t buffered = 0;
  bool atEnd = false;

  void refill() {
    if (atEnd || buffered >= readerRefillBelow) return;
    if (head > 0) {
      std::memmove(buffer.data(), buffer.data() + head, static_cast<size_t>(buffered));
      head = 0;
    }
    const size_t wanted = static_cast<size_t>(readerBufferSize - buffered);
    const size_t got = std::fread(buffer.data() + buffered, 1, wanted, file);
    buffered += static_cast<int32_t>(got);
    if (got < wanted) atEnd = true;
  }

  // True exactly when count bytes were delivered.
  bool read(void* destination, int32_t count) {
    auto* out = static_cast<uint8_t*>(destination);
    while (count > 0) {
      refill();
      if (buffered == 0) return false;
      const int32_t take = count < buffered ? count : buffered;
      if (out != nullptr) {
        std::memcpy(out, buffer.data() + head, static_cast<size_t>(take));
        out += take;
      }
      head += take;
      buffered -= take;
      count -= take;
    }
    return true;
  }

  bool skip(int32_t count) { return read(nullptr, count); }
};

uint16_t little16(const uint8_t* b) { return static_cast<uint16_t>(b[0] | (b[1] << 8)); }

int32_t little32(const uint8_t* b) {
  const uint32_t v = static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
                     (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24);
  return static_cast<int32_t>(v);
}

archiveFault readEntries(bufferedReader& reader, archiveDirectoryInfo& result) {
  for (int32_t i = 0; i < result.declaredCount; ++i) {
    uint8_t fixed[1 + archiveEntryFixedLength];
    if (!reader.read(fixed, sizeof fixed)) return archiveFault::truncated;
    const int32_t length = fixed[0];
    const int64_t offset = little32(fixed + 1);
    const int64_t size = little32(fixed + 5);
    const uint16_t nameLength = little16(fixed + 9);
    if (length > archiveEntryFixedLength && !reader.skip(length - archiveEntryFixedLength)) {
      return archiveFault::truncated;
    }
    std::string name(nameLength, '\0');
    if (!reader.read(name.data(), nameLength)) return archiveFault::truncated;
    const bool inside = offset >= 0 && size >= 0 && offset + size <= result.fileSize;
    result.entries.push_back({std::move(name), offset, size, inside});
  }
  return archiveFault::none;
}

archiveFault readHeaderAndEntries(bufferedReader& reader, archiveDirectoryInfo& result) {
  uint8_t field[5];
  if (!reader.read(field, 5)) return archiveFault::truncated;
  if (std::memcmp(field, archiveMagic, 5) != 0) return archiveFault::badMagic;
  if (!reader.read(field, 2)) return archiveFault::truncated;
  result.version = little16(field);
  // Accepted when the high byte is 0 or 1.
  if (result.version > 0x1FF) return archiveFault::badVersion;
  if (!reader.read(field, 4)) return archiveFault::truncated;
  result.declaredCount = little32(field);
  return readEntries(reader, result);
}

}  // namespace

archiveDirectoryInfo DataFileArchiveReadDirectory(const std::string& path) {
  archiveDirectoryInfo result;
  // Through the platform: a narrow path is in the system's code page, which the standard
  // library's path type would read as another encoding on Windows.
  const int64_t size = PlatformFileSize(path);
  if (size < 0) return result;
  result.fileSize = size;

  bufferedReader reader;
  reader.file = std::fopen(path.c_str(), "rb");
  if (reader.file == nullptr) return result;
  // Reads go into our own buffer; a second buffer in the C library would only copy twice.
  std::setvbuf(reader.file, nullptr, _IONBF, 0);

  result.fault = readHeaderAndEntries(reader, result);
  std::fclose(reader.file);
  return result;
}

std::string DataFileArchiveFaultText(archiveFault fault) {
  switch (fault) {
    case archiveFault::none: return "";
    case archiveFault::cannotOpen: return "cannot be opened";
    case archiveFault::badMagic: return "is not an archive (no \"QZARC\" signature)";
    case archiveFault::badVersion: return "has an unsupported version";
    case archiveFault::truncated: return "is truncated (the header or directory ends early)";
  }
  return "";
}
