// The real program as a separate process: a malformed replay stops the start, "-quit" ends a
// run normally, and two runs with the same seed, tick and replay take the same screenshots.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "ShellTestSupport.h"

namespace {

namespace fs = std::filesystem;

class ReplayProgram : public testing::Test {
 protected:
  void SetUp() override {
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    root = fs::absolute("replay-sandbox").string() + "/" + info->name() + "-" +
           std::to_string(getpid());
    fs::remove_all(root);
    fs::create_directories(root);
    std::ofstream(root + "/game.replay") << "# leave the briefing, walk right, bite, let go\n"
                                            "300 Space 100\n400 space 0\n"
                                            "600 D 100\n1400 D 0\n1500 E 100\n2200 E 0\n";
  }
  void TearDown() override { fs::remove_all(root); }
  // Runs the program headless with its user data in home; the exit code.
  int Run(const std::string& home, const std::string& switches,
          const std::string& program = SANGUOR_PROGRAM) {
    const std::string command = "cd '" + root + "' && XDG_DATA_HOME='" + home + "' '" + program +
                                "' -headless " + switches + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string Find(const std::string& home, const std::string& name) {
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(home))
      if (entry.path().filename() == name) return entry.path().string();
    return "";
  }
  std::vector<std::string> Shots(const std::string& home) {
    std::vector<std::string> shots;
    for (int i = 1;; ++i) {
      const std::string path = Find(home, "screenshot" + std::to_string(i) + ".bmp");
      if (path.empty()) return shots;
      shots.push_back(ReadWholeFile(path));
    }
  }
  std::string root;
};

TEST_F(ReplayProgram, MalformedReplayStopsBeforeTheGameWithExitCodeTwo) {
  std::ofstream(root + "/bad.replay") << "100 E 100\n200 E\n";
  const std::string home = root + "/home";
  EXPECT_EQ(Run(home, "-replay bad.replay"), 2);
  const std::string log = ReadWholeFile(Find(home, "results.log"));
  EXPECT_NE(log.find("Replay file \"bad.replay\" line 2: "), std::string::npos) << log;
  EXPECT_EQ(log.find("GameInit"), std::string::npos);
}

TEST_F(ReplayProgram, QuitEndsWithExitCodeZeroAfterCleanUp) {
  const std::string home = root + "/home";
  EXPECT_EQ(Run(home, "-quit 300"), 0);
  EXPECT_NE(ReadWholeFile(Find(home, "results.log")).find("GameCleanup - End"), std::string::npos);
}

// The game with its shipped content: the replay leaves the briefing and walks, so the same
// replay gives the same pictures and a replay without the walk gives other ones.
TEST_F(ReplayProgram, GameRunsRepeatScreenshotForScreenshotAndFollowTheReplay) {
  std::ofstream(root + "/stand.replay") << "300 Space 100\n400 Space 0\n";
  const std::string shots = " -seed 77 -tick 17 -shot 250,700,1300,2000 -quit 2100";
  ASSERT_EQ(Run(root + "/first", "-replay game.replay" + shots), 0);
  ASSERT_EQ(Run(root + "/second", "-replay game.replay" + shots), 0);
  ASSERT_EQ(Run(root + "/standing", "-replay stand.replay" + shots), 0);
  const std::vector<std::string> first = Shots(root + "/first");
  const std::vector<std::string> second = Shots(root + "/second");
  const std::vector<std::string> standing = Shots(root + "/standing");
  ASSERT_EQ(first.size(), 4u);
  ASSERT_EQ(second.size(), 4u);
  ASSERT_EQ(standing.size(), 4u);
  for (size_t i = 0; i < first.size(); ++i)
    EXPECT_TRUE(first[i] == second[i]) << "screenshot " << i + 1;
  // Briefing, then play: before the walk the pictures agree, after it they do not.
  EXPECT_TRUE(first[0] == standing[0]);
  EXPECT_FALSE(first[2] == standing[2]);
  EXPECT_FALSE(first[0] == first[1]) << "the briefing was left";
}

}  // namespace
