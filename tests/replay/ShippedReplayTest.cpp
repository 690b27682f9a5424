// The shipped replays played by the real program on their levels: a winning replay ends in
// "You Win" and the next level's briefing (after the last level the program ends by itself with
// code 0), a dying one ends in "You Are Dead" and the same level's briefing again.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "ShellTestSupport.h"
#include "resultScreen.h"

namespace {

namespace fs = std::filesystem;

constexpr int32_t kWidth = 1280;
constexpr int32_t kHeight = 720;

std::vector<std::string> ReplayNames() {
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(SANGUOR_REPLAYS))
    if (entry.path().extension() == ".replay") names.push_back(entry.path().stem().string());
  std::sort(names.begin(), names.end());
  return names;
}

int32_t LastLevel() {
  int32_t last = 0;
  while (fs::exists(std::string(SANGUOR_LEVELS) + "/Map" + std::to_string(last + 1) + ".map"))
    ++last;
  return last;
}

// The pixel (x, y) of a screenshot (bottom-up 24-bit BMP with 54 bytes of headers) as 0xRRGGBB.
uint32_t ShotPixel(const std::string& shot, int32_t x, int32_t y) {
  const size_t at =
      54 + 3 * (static_cast<size_t>(kHeight - 1 - y) * kWidth + static_cast<size_t>(x));
  if (at + 2 >= shot.size()) return 0xFFFFFFFFu;
  const auto byte = [&](size_t i) {
    return static_cast<uint32_t>(static_cast<uint8_t>(shot[at + i]));
  };
  return byte(2) << 16 | byte(1) << 8 | byte(0);
}

class ShippedReplay : public testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    root = fs::absolute("shipped-replay-sandbox").string() + "/" + GetParam() + "-" +
           std::to_string(getpid());
    fs::remove_all(root);
    fs::create_directories(root);
  }
  void TearDown() override { fs::remove_all(root); }
  int Run(const std::string& switches) {
    const std::string command = "cd '" + root + "' && XDG_DATA_HOME='" + root +
                                "/home' '" SANGUOR_PROGRAM "' -headless " + switches +
                                " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::vector<std::string> Shots() {
    std::vector<std::string> shots;
    for (int i = 1;; ++i) {
      const fs::path path = fs::path(root) / "home/Nightshade Forge/Sanguor/screenshots" /
                            ("screenshot" + std::to_string(i) + ".bmp");
      if (!fs::exists(path)) return shots;
      shots.push_back(ReadWholeFile(path.string()));
    }
  }
  std::string root;
};

TEST_P(ShippedReplay, EndsAsItsHeaderSaysAndTheRightLevelFollows) {
  const std::string name = GetParam();
  const std::string path = std::string(SANGUOR_REPLAYS) + "/" + name + ".replay";
  std::smatch match;
  ASSERT_TRUE(std::regex_match(name, match, std::regex("Map([0-9]+)-(win|die)"))) << name;
  const int32_t level = std::stoi(match[1]);
  const bool win = match[2] == "win";
  // The header says when the level ends: "# Ends: TIME won" or "# Ends: TIME died".
  const std::string text = ReadWholeFile(path);
  ASSERT_TRUE(std::regex_search(text, match, std::regex("# Ends: ([0-9]+) (won|died)\n"))) << path;
  ASSERT_EQ(match[2] == "won", win) << path;
  const uint32_t end = static_cast<uint32_t>(std::stoul(match[1]));

  // The briefing, the result screen, and the briefing that follows its five seconds.
  const std::string switches = "-seed 1 -level " + std::to_string(level) + " -replay '" + path +
                               "' -shot 250," + std::to_string(end + 2500) + "," +
                               std::to_string(end + 6500) + " -quit " + std::to_string(end + 7000);
  ASSERT_EQ(Run(switches), 0);
  const std::vector<std::string> shots = Shots();
  const std::string won = std::string(SANGUOR_CONTENT_STAGE) + "/Bin/Sprites/You Win.tga";
  const std::string dead = std::string(SANGUOR_CONTENT_STAGE) + "/Bin/Sprites/You Are Dead.tga";
  ASSERT_GE(shots.size(), 2u);
  EXPECT_EQ(ResultScreenOf(shots[1], SANGUOR_CONTENT_STAGE), win ? "won" : "died") << name;
  // The other picture is not merely hidden under a tolerance: far fewer of its pixels agree.
  EXPECT_LT(ResultPictureShown(shots[1], win ? dead : won), 0.5) << name;
  EXPECT_EQ(ResultScreenOf(shots[0], SANGUOR_CONTENT_STAGE), "")
      << "the briefing is no result screen";

  const std::string log = ReadWholeFile(root + "/home/Nightshade Forge/Sanguor/results.log");
  EXPECT_EQ(log.find("Error"), std::string::npos) << log;
  if (win && level == LastLevel()) {
    // No level follows: the game ends on its own before the third screenshot is due.
    EXPECT_EQ(shots.size(), 2u) << "the game went on after the last level";
    return;
  }
  ASSERT_EQ(shots.size(), 3u);
  if (win) {
    EXPECT_FALSE(shots[2] == shots[0]) << "the same level's briefing came back";
    // Both are briefings: the parchment beside the text is the same in both.
    for (const auto& [x, y] : {std::pair{700, 600}, std::pair{1000, 650}, std::pair{400, 620}})
      EXPECT_EQ(ShotPixel(shots[0], x, y), ShotPixel(shots[2], x, y)) << x << "," << y;
  } else {
    EXPECT_TRUE(shots[2] == shots[0]) << "a death must bring the same level's briefing back";
  }
}

INSTANTIATE_TEST_SUITE_P(Content, ShippedReplay, testing::ValuesIn(ReplayNames()),
                         [](const testing::TestParamInfo<std::string>& param) {
                           std::string name = param.param;
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

// Every level has a replay that wins it and one that dies on it.
TEST(ShippedReplays, EveryLevelHasAWinningAndADyingReplay) {
  const std::vector<std::string> names = ReplayNames();
  ASSERT_GE(LastLevel(), 6);
  for (int32_t level = 1; level <= LastLevel(); ++level)
    for (const char* end : {"-win", "-die"}) {
      const std::string name = "Map" + std::to_string(level) + end;
      EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
    }
}

}  // namespace
