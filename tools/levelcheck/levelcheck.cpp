// levelcheck: reads level files with the game's own reader and reports what the game would ignore,
// empty cells the figures reach or look across, and pictures the game cannot open.
//   levelcheck [--data DATAFOLDER] DATAFOLDER-or-LEVEL-FILE ...
// A data folder is checked level by level, Bin\Maps\Map1.map on, through the game's own
// data-file layer (so levels and pictures may lie in archives). A level file is read from disk
// and its pictures are looked up in --data, or in the data folder it lies in (…\Bin\Maps\).
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "levelReach.h"
#include "levelRead.h"
#include "platform/platform_system.h"
#include "services/fwkDataFile.h"
#include "services/fwkUtilities.h"

namespace fs = std::filesystem;

namespace {

int Usage() {
  std::cerr << "usage: levelcheck [--data DATAFOLDER] DATAFOLDER-or-LEVEL-FILE ...\n";
  return 2;
}

// Points the data-file layer at a folder. The log sets itself up on first use in the user data
// folder; it is sent to the temporary folder so that checking never clears a real log.
void UseDataFolder(const fs::path& folder) {
  std::error_code error;
  PlatformSetArguments({"-userdatainapp"});
  PlatformSetExecutablePath((fs::temp_directory_path(error) / "levelcheck").string());
  UtilInit();
  PlatformSetExecutablePath((fs::absolute(folder, error) / "levelcheck").string());
  DataFileInit();
}

bool ContentExists(const std::string& path) {
  const int32_t handle = DataFileOpen(path);
  DataFileClose(handle);
  return handle != 0;
}

bool ReadContent(const std::string& path, std::string& bytes) {
  const int32_t handle = DataFileOpen(path);
  if (handle == 0) return false;
  bytes.assign(static_cast<size_t>(DataFileSize(handle)), '\0');
  const bool ok =
      bytes.empty() || DataFileRead(handle, bytes.data(), static_cast<int32_t>(bytes.size()));
  DataFileClose(handle);
  return ok;
}

// Prints the findings; the count of them.
size_t Check(const std::string& name, const std::string& bytes) {
  levelData level = LevelReadBytes(bytes, ContentExists);
  LevelCheckGrid(level);
  for (const levelFinding& f : level.findings) {
    if (f.line > 0)
      std::cout << name << ":" << f.line << ": " << f.message << "\n";
    else
      std::cout << name << ": " << f.message << "\n";
  }
  return level.findings.size();
}

size_t CheckFolder(const fs::path& folder) {
  UseDataFolder(folder);
  size_t found = 0;
  int32_t number = 1;
  for (;; ++number) {
    const std::string path = "Bin\\Maps\\Map" + std::to_string(number) + ".map";
    std::string bytes;
    if (!ReadContent(path, bytes)) break;
    found += Check((folder / ("Bin/Maps/Map" + std::to_string(number) + ".map")).string(), bytes);
  }
  if (number == 1) {
    std::cout << folder.string() << ": no level \"Bin\\Maps\\Map1.map\"\n";
    ++found;
  }
  DataFileCloseAll();
  return found;
}

size_t CheckFile(const fs::path& file, fs::path data) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  if (!in) {
    std::cout << file.string() << ": cannot be read\n";
    return 1;
  }
  const fs::path maps = fs::absolute(file).parent_path();
  if (data.empty() && maps.filename() == "Maps" && maps.parent_path().filename() == "Bin")
    data = maps.parent_path().parent_path();
  if (data.empty()) {
    std::cout << file.string() << ": no data folder to look for its pictures in: give --data\n";
    return 1;
  }
  UseDataFolder(data);
  const size_t found = Check(file.string(), bytes.str());
  DataFileCloseAll();
  return found;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  fs::path data;
  if (args.size() >= 2 && args[0] == "--data") {
    data = args[1];
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.empty()) return Usage();
  size_t found = 0;
  for (const std::string& arg : args) {
    std::error_code error;
    if (fs::is_directory(arg, error))
      found += CheckFolder(arg);
    else
      found += CheckFile(arg, data);
  }
  return found == 0 ? 0 : 1;
}
