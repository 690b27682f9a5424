// qza pack: every regular file below a folder becomes one entry, named by its path relative
// to the folder with `\` between names. Entries are stored in byte order of their names, so
// the same folder always gives the same archive.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "qza.h"
#include "services/fwkDataFileArchive.h"
#include "services/fwkText.h"

namespace fs = std::filesystem;

namespace {

struct packEntry {
  std::string name;
  fs::path path;
  int64_t size;
};

void put16(std::string& out, uint32_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>((v >> 8) & 0xFF));
}

void put32(std::string& out, uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

// Appends the file's bytes to out; false when the file cannot be read whole.
bool copyInto(std::ofstream& out, const packEntry& entry) {
  std::ifstream in(entry.path, std::ios::binary);
  std::vector<char> block(1 << 16);
  int64_t copied = 0;
  while (in) {
    in.read(block.data(), static_cast<std::streamsize>(block.size()));
    const std::streamsize got = in.gcount();
    out.write(block.data(), got);
    copied += got;
  }
  return copied == entry.size && !in.bad();
}

}  // namespace

int QzaPack(const std::string& folder, const std::string& archivePath) {
  std::error_code error;
  if (!fs::is_directory(folder, error)) return QzaFail(folder + " is not a folder");
  const fs::path output = fs::absolute(archivePath, error);

  std::vector<packEntry> entries;
  for (auto it = fs::recursive_directory_iterator(folder, error);
       !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
    std::error_code ignored;
    if (!it->is_regular_file(ignored)) continue;
    // Packing a folder into an archive inside it leaves the archive itself out.
    if (fs::equivalent(it->path(), output, ignored)) continue;
    const std::string relative = it->path().lexically_relative(folder).generic_string();
    if (relative.find('\\') != std::string::npos) {
      return QzaFail("file name holds a backslash, which separates folders in archives: " +
                     relative);
    }
    std::string name = relative;
    std::replace(name.begin(), name.end(), '/', '\\');
    if (name.size() > 0xFFFF) return QzaFail("path too long for an archive: " + relative);
    entries.push_back({name, it->path(), static_cast<int64_t>(it->file_size())});
  }
  if (error) return QzaFail("cannot read folder " + folder + ": " + error.message());

  std::sort(entries.begin(), entries.end(),
            [](const packEntry& a, const packEntry& b) { return a.name < b.name; });
  for (size_t i = 1; i < entries.size(); ++i) {
    if (TextUpper(entries[i].name) == TextUpper(entries[i - 1].name)) {
      std::fprintf(stderr,
                   "qza: warning: %s differs from %s only in case; the program reads the first\n",
                   entries[i].name.c_str(), entries[i - 1].name.c_str());
    }
  }

  std::string head(archiveMagic, sizeof archiveMagic);
  put16(head, 1);
  put32(head, static_cast<uint32_t>(entries.size()));
  int64_t offset = archiveHeaderSize;
  for (const packEntry& entry : entries)
    offset += 1 + archiveEntryFixedLength + static_cast<int64_t>(entry.name.size());
  for (const packEntry& entry : entries) {
    if (offset + entry.size > INT32_MAX)
      return QzaFail("the files do not fit in one archive (2 GiB)");
    head.push_back(static_cast<char>(archiveEntryFixedLength));
    put32(head, static_cast<uint32_t>(offset));
    put32(head, static_cast<uint32_t>(entry.size));
    put16(head, static_cast<uint32_t>(entry.name.size()));
    head += entry.name;
    offset += entry.size;
  }

  std::ofstream out(archivePath, std::ios::binary | std::ios::trunc);
  if (!out) return QzaFail("cannot create " + archivePath);
  out.write(head.data(), static_cast<std::streamsize>(head.size()));
  for (const packEntry& entry : entries) {
    if (!copyInto(out, entry)) {
      out.close();
      fs::remove(archivePath, error);
      return QzaFail("cannot read " + entry.path.string() + " whole");
    }
  }
  out.close();
  if (!out) return QzaFail("cannot write " + archivePath);
  return 0;
}
