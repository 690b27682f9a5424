#include "datafile_fixture.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <fstream>

#include "platform/platform_system.h"
#include "services/fwkDataFile.h"
#include "services/fwkUtilities.h"

namespace fs = std::filesystem;

void DataFileTest::SetUp() {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  folder = fs::temp_directory_path() / ("sanguor-datafile-" + std::to_string(getpid()) + "-" +
                                        test->test_suite_name() + "-" + test->name());
  fs::remove_all(folder);
  fs::create_directories(folder);
}

void DataFileTest::TearDown() {
  DataFileCloseAll();
  fs::remove_all(folder);
}

void DataFileTest::Start(const std::vector<std::string>& arguments) {
  // The user data folder is the test's folder: the log never touches the real one.
  std::vector<std::string> all = arguments;
  all.push_back("-userdatainapp");
  PlatformSetArguments(all);
  PlatformSetExecutablePath((folder / "sanguor").string());
  UtilInit();
  DataFileInit();
}

std::string DataFileTest::Path(const std::string& relative) const {
  return (folder / relative).string();
}

void DataFileTest::Write(const std::string& relative, const std::string& bytes) {
  const fs::path path = folder / relative;
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void DataFileTest::Remove(const std::string& relative) { fs::remove(folder / relative); }

std::string DataFileTest::ReadRest(int32_t handle) {
  std::string result;
  char block[1000];
  int32_t got;
  while ((got = DataFileReadPartial(handle, block, sizeof block)) > 0)
    result.append(block, static_cast<size_t>(got));
  return result;
}

std::string DataFileTest::ReadFile(const std::string& name) {
  const int32_t handle = DataFileOpen(name);
  if (handle == 0) return "<not found>";
  std::string result = ReadRest(handle);
  DataFileClose(handle);
  return result;
}

std::string Pattern(size_t size, uint32_t seed) {
  std::string bytes(size, '\0');
  uint32_t state = seed * 2654435761u + 1;
  for (char& c : bytes) {
    state = state * 1664525u + 1013904223u;
    c = static_cast<char>(state >> 24);
  }
  return bytes;
}

#if defined(_WIN32)
// Windows keeps no list of a process's open files to read: a file some handle holds open refuses
// an exclusive open, which tells 1 from 0.
int OpenDescriptors(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    CloseHandle(file);
    return 0;
  }
  return GetLastError() == ERROR_SHARING_VIOLATION ? 1 : 0;
}
#else
int OpenDescriptors(const std::string& path) {
  const fs::path target = fs::canonical(path);
  int count = 0;
  for (const auto& entry : fs::directory_iterator("/proc/self/fd")) {
    std::error_code error;
    if (fs::read_symlink(entry.path(), error) == target) ++count;
  }
  return count;
}
#endif
