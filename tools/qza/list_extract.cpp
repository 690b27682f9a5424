// qza list, extract and cat. An archive is accepted only when it is whole: a damaged one is
// named with its fault and nothing is listed or written.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "platform/platform_system.h"
#include "qza.h"
#include "services/fwkDataFile.h"
#include "services/fwkDataFileArchive.h"
#include "services/fwkUtilities.h"
#include "services/fwkText.h"

namespace fs = std::filesystem;

namespace {

// The archive's directory, or a message naming why the archive cannot be used.
bool readWhole(const std::string& archivePath, archiveDirectoryInfo& info, std::string& message) {
  info = DataFileArchiveReadDirectory(archivePath);
  if (info.fault != archiveFault::none) {
    message = archivePath + " " + DataFileArchiveFaultText(info.fault);
    return false;
  }
  for (const archiveEntryInfo& entry : info.entries) {
    if (!entry.inside) {
      message = archivePath + ": the data of entry \"" + entry.name + "\" lies outside the archive";
      return false;
    }
  }
  return true;
}

// Names come from the archive, which may be hostile: only plain relative paths are written.
bool safeName(const std::string& name) {
  if (name.empty() || name.find('\0') != std::string::npos) return false;
  if (name.size() >= 2 && name[1] == ':') return false;
  size_t begin = 0;
  while (begin <= name.size()) {
    size_t end = name.find_first_of("\\/", begin);
    if (end == std::string::npos) end = name.size();
    const std::string part = name.substr(begin, end - begin);
    if (part.empty() || part == "." || part == "..") return false;
    begin = end + 1;
  }
  return true;
}

bool copyOut(std::FILE* archive, const archiveEntryInfo& entry, const fs::path& target) {
  std::FILE* out = std::fopen(target.string().c_str(), "wb");
  if (out == nullptr) return false;
  bool ok = std::fseek(archive, static_cast<long>(entry.offset), SEEK_SET) == 0;
  std::vector<char> block(1 << 16);
  int64_t left = entry.size;
  while (ok && left > 0) {
    const size_t want =
        static_cast<size_t>(std::min<int64_t>(left, static_cast<int64_t>(block.size())));
    ok = std::fread(block.data(), 1, want, archive) == want &&
         std::fwrite(block.data(), 1, want, out) == want;
    left -= static_cast<int64_t>(want);
  }
  return std::fclose(out) == 0 && ok;
}

}  // namespace

int QzaList(const std::string& archivePath) {
  archiveDirectoryInfo info;
  std::string message;
  if (!readWhole(archivePath, info, message)) return QzaFail(message);
  for (const archiveEntryInfo& entry : info.entries) {
    std::printf("%lld\t%s\n", static_cast<long long>(entry.size), entry.name.c_str());
  }
  return 0;
}

int QzaExtract(const std::string& archivePath, const std::string& folder) {
  archiveDirectoryInfo info;
  std::string message;
  if (!readWhole(archivePath, info, message)) return QzaFail(message);
  for (const archiveEntryInfo& entry : info.entries) {
    if (!safeName(entry.name)) {
      return QzaFail(archivePath + ": refusing entry \"" + entry.name +
                     "\" (not a plain relative path)");
    }
  }

  std::FILE* archive = std::fopen(archivePath.c_str(), "rb");
  if (archive == nullptr) return QzaFail("cannot open " + archivePath);
  std::set<std::string> written;
  int result = 0;
  for (const archiveEntryInfo& entry : info.entries) {
    // The program reads the first of entries whose names differ only in case.
    if (!written.insert(TextUpper(entry.name)).second) {
      std::fprintf(stderr, "qza: skipping \"%s\": an earlier entry has the same name\n",
                   entry.name.c_str());
      continue;
    }
    std::string relative = entry.name;
    std::replace(relative.begin(), relative.end(), '\\', '/');
    const fs::path target = fs::path(folder) / relative;
    std::error_code error;
    fs::create_directories(target.parent_path(), error);
    if (error || !copyOut(archive, entry, target)) {
      result = QzaFail("cannot write " + target.string());
      break;
    }
  }
  std::fclose(archive);
  return result;
}

int QzaCat(const std::string& dataFolder, const std::string& name) {
  std::error_code error;
  if (!fs::is_directory(dataFolder, error)) return QzaFail(dataFolder + " is not a folder");
  // The log sets itself up (and clears its file) on first use, in the user data folder. Point
  // that at the temporary folder so that reading content never clears a real log.
  PlatformSetArguments({"-userdatainapp"});
  PlatformSetExecutablePath((fs::temp_directory_path(error) / "qza").string());
  UtilInit();
  PlatformSetExecutablePath((fs::absolute(dataFolder, error) / "qza").string());
  DataFileInit();
  const int32_t handle = DataFileOpen(name);
  if (handle == 0) return QzaFail("\"" + name + "\" is not found in " + dataFolder);
  std::vector<char> block(1 << 16);
  int32_t got;
  while ((got = DataFileReadPartial(handle, block.data(), static_cast<int32_t>(block.size()))) >
         0) {
    if (std::fwrite(block.data(), 1, static_cast<size_t>(got), stdout) !=
        static_cast<size_t>(got)) {
      DataFileCloseAll();
      return QzaFail("cannot write to the standard output");
    }
  }
  DataFileCloseAll();
  return 0;
}
