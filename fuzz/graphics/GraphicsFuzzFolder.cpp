#include "GraphicsFuzzFolder.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "graphics/fwkModel.h"
#include "platform/platform_system.h"
#include "services/fwkDataFile.h"
#include "services/fwkLog.h"
#include "services/fwkUtilities.h"

namespace {

std::string folder;
constexpr int32_t display = 1;

}  // namespace

int32_t GraphicsFuzzStart() {
  if (!folder.empty()) return display;
  std::string pattern =
      (std::filesystem::temp_directory_path() / "sanguor-fuzz-graphics-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) std::abort();
  folder = pattern + "/";
  PlatformSetArguments({"-userdatainapp"});
  PlatformSetExecutablePath(folder + "sanguor");
  UtilInit();
  DataFileInit();
  LogInit();
  ModelInit();
  ModelDisplayAdd(display);
  return display;
}

void GraphicsFuzzWrite(const std::string& name, const uint8_t* data, size_t size) {
  GraphicsFuzzStart();
  std::FILE* file = std::fopen((folder + name).c_str(), "wb");
  if (file == nullptr) std::abort();
  if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
  std::fclose(file);
  // One line per failing input would grow the log for as long as the run lasts.
  std::remove((LogFolder() + LogFileName()).c_str());
}
