// Reads fuzzed bytes as the user's settings file through the typed reads, then writes one
// key and checks that it reads back: a write must land where the first-match read finds it.
#include "platform/platform_system.h"
#include "services/fwkIni.h"
#include "services/fwkLog.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string folder;

void CleanUp() {
  for (const char* name : {"settings.ini", "settings.ini.tmp", "results.log"}) {
    std::remove((folder + name).c_str());
  }
  rmdir(folder.c_str());
}

void Start() {
  char pattern[] = "/tmp/sanguor-ini-fuzz-XXXXXX";
  if (mkdtemp(pattern) == nullptr) std::abort();
  folder = std::string(pattern) + "/";
  std::atexit(CleanUp);
  PlatformSetExecutablePath(folder + "sanguor");
  PlatformSetArguments({"-userdatainapp"});
  LogInit();
  IniInit();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (folder.empty()) Start();
  const std::string path = folder + "settings.ini";
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);

  // A section and key taken from the input too, so matching itself is exercised.
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string name = text.substr(0, text.find_first_of("\r\n=[]"));
  IniReadString(name, name, "default");
  IniReadInteger("Video", "Width", 1280);
  IniReadBool("Video", "Fullscreen", false);
  IniReadString("Input Control Set Menu Controls", "Action Count", "");

  IniWriteInteger("Video", "Width", 4321);
  if (IniReadInteger("Video", "Width", 0) != 4321) std::abort();
  return 0;
}
