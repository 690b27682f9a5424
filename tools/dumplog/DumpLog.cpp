#include "DumpLog.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/platform_system.h"
#include "services/fwkDataFile.h"
#include "services/fwkLog.h"
#include "services/fwkUtilities.h"

namespace {

std::string logHome;

}  // namespace

std::string DumpStart(const std::string& path, const std::string& tool) {
  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
  // The log lives in the user data folder; pointing that at a fresh folder keeps the real one
  // (which the log would start afresh) untouched.
  std::string pattern = (std::filesystem::temp_directory_path() / (tool + "-XXXXXX")).string();
  if (mkdtemp(pattern.data()) == nullptr) {
    std::fprintf(stderr, "%s: cannot make a temporary folder for the log\n", tool.c_str());
    std::exit(1);
  }
  logHome = pattern;
  setenv("XDG_DATA_HOME", logHome.c_str(), 1);
  PlatformSetArguments({});
  PlatformSetExecutablePath(folder + "/" + tool);
  UtilInit();
  DataFileInit();
  LogInit();
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

int DumpReportErrors() {
  std::ifstream log(LogFolder() + LogFileName(), std::ios::binary);
  const std::string prefix = "Error: ";
  int count = 0;
  for (std::string line; std::getline(log, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind(prefix, 0) == 0) {
      std::fprintf(stderr, "%s\n", line.substr(prefix.size()).c_str());
      ++count;
    }
  }
  return count;
}

void DumpStop() {
  DataFileCloseAll();
  std::error_code ignored;
  std::filesystem::remove_all(logHome, ignored);
}
