#include "GameFuzzFolder.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "platform/platform_system.h"
#include "services/fwkDataFile.h"
#include "services/fwkLog.h"
#include "services/fwkState.h"
#include "services/fwkUtilities.h"

const std::string& GameFuzzFolder() {
  static std::string folder;
  if (!folder.empty()) return folder;
  std::string pattern =
      (std::filesystem::temp_directory_path() / "sanguor-fuzz-game-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) std::abort();
  folder = pattern + "/";
  // The test suite replays the corpora on every run; nothing may pile up in the temporary folder.
  std::atexit([] { std::filesystem::remove_all(folder); });
  std::filesystem::create_directories(folder + "Bin/Maps");
  PlatformSetArguments({"-userdatainapp"});
  PlatformSetExecutablePath(folder + "sanguor");
  UtilInit();
  DataFileInit();
  LogInit();
  StateInit();
  return folder;
}

void GameFuzzWrite(const std::string& name, const uint8_t* data, size_t size) {
  std::string path = GameFuzzFolder() + name;
  for (char& c : path)
    if (c == '\\') c = '/';
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) std::abort();
  std::fwrite(data, 1, size, file);
  std::fclose(file);
}
