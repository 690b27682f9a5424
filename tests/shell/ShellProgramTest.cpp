// The real program, started as a separate process: its exit codes and the log it leaves.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "ShellTestSupport.h"

namespace {

namespace fs = std::filesystem;

class ShellProgram : public testing::Test {
 protected:
  void SetUp() override {
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    home = fs::absolute("shell-sandbox").string() + "/" + info->name() + "-" +
           std::to_string(getpid());
    fs::remove_all(home);
    fs::create_directories(home);
  }
  // Runs the program headless with its user data under the test's folder; the exit code.
  int Run(const std::string& switches) {
    const std::string command = "XDG_DATA_HOME='" + home + "' SDL_VIDEODRIVER=offscreen '" +
                                SANGUOR_PROGRAM + "' -headless " + switches + " 2>'" + home +
                                "/stderr.txt'";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string LogPath() {
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(home))
      if (entry.path().filename() == "results.log") return entry.path().string();
    return "";
  }
  std::string home;
};

TEST_F(ShellProgram, GameAskedToCloseExitsWithZeroAfterCleanUp) {
  EXPECT_EQ(Run("-quit 500"), 0);
  const std::string log = ReadWholeFile(LogPath());
  EXPECT_NE(log.find("GameCleanup - End"), std::string::npos);
}

TEST_F(ShellProgram, GameThatDoesNotStartExitsWithTwoWithoutWaiting) {
  // Headless OpenGL is a software renderer: the question comes, and is answered No.
  EXPECT_EQ(Run("-answerno"), 2);
  EXPECT_NE(ReadWholeFile(home + "/stderr.txt").find("Would you like to run Sanguor anyway?"),
            std::string::npos);
  EXPECT_EQ(ReadWholeFile(LogPath()).find("GameInit"), std::string::npos);
}

TEST_F(ShellProgram, LogHoldsTheStartupBlockAndModuleVersionsInStartOrder) {
  ASSERT_EQ(Run("-startinfo -ver -quit 100"), 0);
  const std::vector<std::string> lines = ReadLogLines(LogPath());
  ASSERT_GE(lines.size(), 8u);
  EXPECT_EQ(lines[0].rfind(
                "Application \"" + fs::canonical(SANGUOR_PROGRAM).string() + "\" started on ", 0),
            0u)
      << lines[0];
  EXPECT_EQ(lines[1], "Parameters:");
  EXPECT_EQ(lines[2], "    -headless");
  EXPECT_EQ(lines[3], "    -startinfo");
  EXPECT_EQ(lines[4], "    -ver");
  EXPECT_EQ(lines[5], "    -quit");
  EXPECT_EQ(lines[6], "    100");
  EXPECT_EQ(lines[7], "Framework Versions:");
  // Every module present, in the start-up order; modules not built yet are simply absent.
  const std::vector<std::string> order = {
      "fwkUtilities - Version 1.0",    "fwkDataFile - Version 1.0",
      "fwkLog - Version 1.0",          "fwkMath - Version Alpha.0",
      "fwkImageJPG - Version Alpha.0", "fwkImageGIF - Version Alpha.0",
      "fwkImage - Version Alpha.0",    "fwkFont - Version 1.0",
      "fwkModel - Version Alpha.0",    "fwkIni - Version 1.0",
      "fwkInput - Version 1.0",        "fwkGraphics - Version Alpha.0",
      "fwkMat - Version 1.0",          "fwkAudio - Version 1.0",
      "fwkState - Version Alpha.0",    "fwkScript - Version Alpha.0"};
  std::vector<std::string> logged;
  for (size_t i = 8; i < lines.size() && lines[i].rfind("    ", 0) == 0; ++i)
    logged.push_back(lines[i].substr(4));
  size_t next = 0;
  for (const std::string& version : logged) {
    while (next < order.size() && order[next] != version) ++next;
    ASSERT_LT(next, order.size()) << "out of order or unknown: " << version;
    ++next;
  }
  for (const char* always :
       {"fwkUtilities - Version 1.0", "fwkLog - Version 1.0", "fwkGraphics - Version Alpha.0",
        "fwkMat - Version 1.0", "fwkAudio - Version 1.0", "fwkState - Version Alpha.0"})
    EXPECT_NE(std::find(logged.begin(), logged.end(), always), logged.end()) << always;
}

}  // namespace
