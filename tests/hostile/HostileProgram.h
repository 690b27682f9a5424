// Starting the real program headless on hostile content, as a separate process, in a sandbox of
// its own: the program folder (the program linked in, content written beside it) and a home for
// its per-user folder. A run gives the exit code, the peak resident size from wait4, the wall
// time and the log.
#pragma once

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace hostile {

namespace fs = std::filesystem;

struct runResult {
  int exitCode =
      -1;  // -1: the program did not exit by itself (a signal, or stopped at the time limit)
  long peakMb = 0;
  double seconds = 0;
  uintmax_t logBytes = 0;
  std::vector<std::string> log;  // the log's lines, read up to kLogReadLimit bytes
};

// A log larger than this is not read whole (a flood can be hundreds of megabytes).
constexpr size_t kLogReadLimit = 16 * 1024 * 1024;

inline std::string ReadBytes(const fs::path& path, size_t limit = SIZE_MAX) {
  std::ifstream file(path, std::ios::binary);
  std::string bytes;
  char block[65536];
  while (bytes.size() < limit && file.read(block, sizeof block).gcount() > 0)
    bytes.append(block, static_cast<size_t>(file.gcount()));
  if (bytes.size() > limit) bytes.resize(limit);
  return bytes;
}

inline std::string Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// Log lines equal to text, or beginning with it.
inline int32_t Count(const runResult& run, const std::string& text, bool prefix = false) {
  return static_cast<int32_t>(std::count_if(
      run.log.begin(), run.log.end(),
      [&](const std::string& line) { return prefix ? line.rfind(text, 0) == 0 : line == text; }));
}

inline int32_t Errors(const runResult& run) { return Count(run, "Error: ", true); }

class HostileContent : public testing::Test {
 protected:
  void SetUp() override {
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    root = fs::absolute("hostile-sandbox") /
           (std::string(info->name()) + "-" + std::to_string(getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "app");
    // A link, not a copy: the program's folder is where the program was started from.
    std::error_code error;
    fs::create_hard_link(SANGUOR_PROGRAM, root / "app/sanguor", error);
    if (error) fs::copy_file(SANGUOR_PROGRAM, root / "app/sanguor");
    fs::copy_file(SANGUOR_LAUNCHER_PICTURE, root / "app/Launcher.bmp");
  }
  void TearDown() override {
    if (!HasFailure()) {
      fs::remove_all(root);
      return;
    }
    // A failed run is kept for a look, without a log flood's bulk.
    const fs::path log = root / "home/Nightshade Forge/Sanguor/results.log";
    std::error_code error;
    if (fs::file_size(log, error) > kLogReadLimit) fs::resize_file(log, kLogReadLimit, error);
  }
  void UseShippedArchive() { fs::create_symlink(SANGUOR_ARCHIVE, root / "app/Sanguor.qza"); }
  // A file of the program folder, named as content names it.
  void Write(std::string name, const std::string& bytes) {
    std::replace(name.begin(), name.end(), '\\', '/');
    const fs::path path = root / "app" / name;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
  }
  // A program still running after wallLimit is stopped (and the run counts as no clean end).
  runResult Run(const std::vector<std::string>& switches,
                std::chrono::seconds wallLimit = std::chrono::seconds(600)) {
    const std::string home = (root / "home").string();
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
      const std::string output = (root / "output.txt").string();
      freopen(output.c_str(), "w", stdout);
      freopen(output.c_str(), "a", stderr);
      setenv("XDG_DATA_HOME", home.c_str(), 1);
      setenv("SDL_VIDEODRIVER", "offscreen", 1);
      if (addressSpaceCap > 0) {
        const rlimit cap{addressSpaceCap, addressSpaceCap};
        setrlimit(RLIMIT_AS, &cap);
      }
      const std::string program = (root / "app/sanguor").string();
      std::vector<std::string> arguments = {program, "-headless", "-seed", "1"};
      arguments.insert(arguments.end(), switches.begin(), switches.end());
      std::vector<char*> argv;
      for (std::string& argument : arguments) argv.push_back(argument.data());
      argv.push_back(nullptr);
      execv(program.c_str(), argv.data());
      _exit(127);
    }
    runResult result;
    if (child < 0) return result;
    int status = 0;
    rusage usage{};
    pid_t ended = 0;
    while ((ended = wait4(child, &status, WNOHANG, &usage)) == 0) {
      if (std::chrono::steady_clock::now() - start > wallLimit) {
        kill(child, SIGKILL);
        ended = wait4(child, &status, 0, &usage);
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (ended != child) return result;
    result.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.peakMb = usage.ru_maxrss / 1024;
    testing::Test::RecordProperty("peak_mb", std::to_string(result.peakMb));
    const fs::path log = fs::path(home) / "Nightshade Forge/Sanguor/results.log";
    std::error_code error;
    result.logBytes = fs::file_size(log, error);
    if (error) result.logBytes = 0;
    std::istringstream lines(ReadBytes(log, kLogReadLimit));
    for (std::string line; std::getline(lines, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      result.log.push_back(line);
    }
    return result;
  }
  // Exit code 0 after the normal clean-up, within the memory bound.
  static void ExpectCleanEnd(const runResult& run) {
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_LT(run.peakMb, SANGUOR_PEAK_MEMORY_MB);
    EXPECT_EQ(Count(run, "GameCleanup - End", true), 1);
  }
  fs::path root;
  rlim_t addressSpaceCap = 0;  // 0: the run's address space is not capped
};

}  // namespace hostile
