// Writes the input as the only archive of a data folder, starts the data-file module on it
// and reads every entry in several ways.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/platform_system.h"
#include "services/fwkDataFile.h"
#include "services/fwkDataFileArchive.h"

namespace {

// A data folder of its own for each input, so that nothing is left behind between inputs.
std::string NewDataFolder() {
  std::string pattern =
      (std::filesystem::temp_directory_path() / "sanguor-fuzz-datafile-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) std::abort();
  return pattern;
}

void ReadEntry(const std::string& name, uint32_t salt) {
  const int32_t handle = DataFileOpen(name);
  if (handle == 0) return;
  const int32_t size = DataFileSize(handle);
  std::vector<uint8_t> block(9000);
  // Chunk sizes cross the buffer's refill mark and its size.
  const int32_t chunk = static_cast<int32_t>(1 + salt % 8999);
  int32_t total = 0;
  while (!DataFileEof(handle)) {
    const int32_t got = DataFileReadPartial(handle, block.data(), chunk);
    if (got == 0) break;
    total += got;
  }
  if (total > size) std::abort();
  DataFileSeek(handle, size / 2);
  DataFileReadLine(handle);
  DataFileSeek(handle, size + 7);
  if (DataFileReadPartial(handle, block.data(), 1) != 0) std::abort();
  DataFileClose(handle);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string folder = NewDataFolder();
  const std::string archive = folder + "/fuzz.qza";
  std::FILE* file = std::fopen(archive.c_str(), "wb");
  if (file == nullptr) std::abort();
  std::fwrite(data, 1, size, file);
  std::fclose(file);

  // The user data folder, where the log lives, is the input's own folder.
  PlatformSetArguments({"-userdatainapp"});
  PlatformSetExecutablePath(folder + "/sanguor");
  DataFileInit();
  // Only names the archive holds are opened, so a hostile name never reaches the disk
  // outside the data folder.
  const archiveDirectoryInfo info = DataFileArchiveReadDirectory(archive);
  uint32_t salt = static_cast<uint32_t>(size);
  for (const archiveEntryInfo& entry : info.entries) {
    if (entry.inside) ReadEntry(entry.name, salt++ * 2654435761u);
  }
  if (!info.entries.empty() && info.entries.front().inside) {
    const std::string& name = info.entries.front().name;
    if (DataFileMemoryLoad(name)) ReadEntry(name, salt);
    DataFileMemoryFree(name);
  }
  DataFileCloseAll();
  std::filesystem::remove_all(folder);
  return 0;
}
