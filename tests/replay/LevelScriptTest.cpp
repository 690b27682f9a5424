// The shipped level scripts in the real program: the first night's hint panel shows and fades,
// Escape brings up the pause panel over a world that stands still, and Escape again takes it
// away. Checked by pixels of headless screenshots.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "ShellTestSupport.h"

namespace {

namespace fs = std::filesystem;

// A small window keeps the software renderer quick: the game's 1280 x 720 picture is drawn at
// half size, 60 rows down, so the picture's (x, y) is the window's (x / 2, y / 2 + 60).
constexpr int32_t kWidth = 640;
constexpr int32_t kHeight = 480;
// The panels' rim, as Common.vasm draws it, and the pause panel's buttons.
constexpr uint32_t kRim = 0x6A0010;
constexpr uint32_t kButton = 0x2A0C18;
constexpr uint32_t kButtonLit = 0x6A1424;
// The frame of a night's square, as the content's art draws it.
constexpr uint32_t kGold = 0xD0A020;

uint32_t ShotPixel(const std::string& shot, int32_t pictureX, int32_t pictureY) {
  const int32_t x = pictureX / 2;
  const int32_t y = pictureY / 2 + 60;
  const size_t at =
      54 + 3 * (static_cast<size_t>(kHeight - 1 - y) * kWidth + static_cast<size_t>(x));
  if (at + 2 >= shot.size()) return 0xFFFFFFFFu;
  const auto byte = [&](size_t i) {
    return static_cast<uint32_t>(static_cast<uint8_t>(shot[at + i]));
  };
  return byte(2) << 16 | byte(1) << 8 | byte(0);
}

bool SameRows(const std::string& a, const std::string& b, int32_t from, int32_t to) {
  for (int32_t y = from; y < to; ++y)
    for (int32_t x = 0; x < 1280; x += 4)
      if (ShotPixel(a, x, y) != ShotPixel(b, x, y)) return false;
  return true;
}

// Plays level 1 headless on a replay, takes screenshots at the given times and quits at the
// end; the screenshots' bytes in order, and the log.
class LevelScripts : public testing::Test {
 protected:
  void SetUp() override {
    root = fs::absolute("level-script-sandbox").string() + "-" + std::to_string(getpid());
    fs::remove_all(root);
    fs::create_directories(root + "/home/Nightshade Forge/Sanguor");
    std::ofstream(root + "/home/Nightshade Forge/Sanguor/settings.ini")
        << "[Video]\r\nWidth=640\r\nHeight=480\r\n";
  }
  void TearDown() override { fs::remove_all(root); }

  std::vector<std::string> Play(const std::string& replay, const std::vector<int32_t>& times,
                                int32_t quit, const std::string& level = "-level 1") {
    std::ofstream(root + "/pause.replay") << replay;
    fs::remove_all(root + "/home/Nightshade Forge/Sanguor/screenshots");
    std::string shotList;
    for (int32_t time : times) shotList += (shotList.empty() ? "" : ",") + std::to_string(time);
    const std::string command = "cd '" + root + "' && XDG_DATA_HOME='" + root +
                                "/home' '" SANGUOR_PROGRAM "' -headless -seed 1 " + level +
                                " -replay pause.replay -shot " + shotList + " -quit " +
                                std::to_string(quit) + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    std::vector<std::string> shots;
    for (size_t i = 1; i <= times.size(); ++i)
      shots.push_back(ReadWholeFile(root + "/home/Nightshade Forge/Sanguor/screenshots/screenshot" +
                                    std::to_string(i) + ".bmp"));
    return shots;
  }

  std::string Log() const {
    return ReadWholeFile(root + "/home/Nightshade Forge/Sanguor/results.log");
  }

  std::string root;
};

TEST_F(LevelScripts, HintFadesAndThePausePanelStopsTheNight) {
  // Leave the briefing, walk right for a second, then Escape, and Escape again.
  const std::vector<std::string> shots = Play(
      "300 Space 100\n400 Space 0\n600 D 100\n1600 D 0\n"
      "1800 Escape 100\n1900 Escape 0\n3400 Escape 100\n3500 Escape 0\n",
      {1000, 1700, 2300, 3000, 4000}, 4100);
  ASSERT_EQ(shots.size(), 5u);
  // The walking hint is up from the start of play, and fading once the vampire has walked.
  EXPECT_EQ(ShotPixel(shots[0], 380, 50), kRim);
  EXPECT_NE(ShotPixel(shots[1], 380, 50), kRim);
  // No pause panel before Escape; after it the rim and the buttons are there, Resume lit
  // under the pointer.
  EXPECT_NE(ShotPixel(shots[1], 451, 300), kRim);
  EXPECT_EQ(ShotPixel(shots[2], 451, 300), kRim);
  EXPECT_EQ(ShotPixel(shots[2], 510, 230), kButtonLit);
  EXPECT_EQ(ShotPixel(shots[2], 510, 350), kButton);
  // Most of a second later nothing in the street has moved, and the veil darkens it.
  EXPECT_TRUE(SameRows(shots[2], shots[3], 560, 720));
  EXPECT_LT(ShotPixel(shots[2], 100, 650) & 0xFF, ShotPixel(shots[1], 100, 650) & 0xFF);
  // Escape again: the panel is gone and the night goes on.
  EXPECT_NE(ShotPixel(shots[4], 451, 300), kRim);
  EXPECT_EQ(Log().find("Error: Script"), std::string::npos) << Log();
}

TEST_F(LevelScripts, EnterResumesAndTheHintWaitsOutThePause) {
  // Paused before walking, for longer than the walking hint stays up unanswered (600 steps);
  // then Enter alone, the pointer having been put on Resume.
  const std::vector<std::string> shots = Play(
      "300 Space 100\n400 Space 0\n800 Escape 100\n900 Escape 0\n12800 Enter 100\n12900 Enter 0\n",
      {1200, 12600, 13200}, 13300);
  ASSERT_EQ(shots.size(), 3u);
  EXPECT_EQ(ShotPixel(shots[0], 451, 300), kRim);
  EXPECT_EQ(ShotPixel(shots[1], 451, 300), kRim);
  // The pointer lies on Resume: it is lit.
  EXPECT_EQ(ShotPixel(shots[1], 510, 230), kButtonLit);
  // Enter clicked Resume: the panel is gone, and the hint is still up at full strength.
  EXPECT_NE(ShotPixel(shots[2], 451, 300), kRim);
  EXPECT_EQ(ShotPixel(shots[2], 380, 50), kRim);
  EXPECT_EQ(Log().find("Error: Script"), std::string::npos) << Log();
}

TEST_F(LevelScripts, TheWalkingHintWaitsForTheFirstSteps) {
  // Five seconds of play without a key: the hint is still up (a villager's blows have pushed
  // the vampire about by then, which is no walk).
  const std::vector<std::string> idle = Play("300 Space 100\n400 Space 0\n", {5000}, 5100);
  ASSERT_EQ(idle.size(), 1u);
  EXPECT_EQ(ShotPixel(idle[0], 380, 50), kRim);
  // Walking from 600 ms: up while he walks, gone a second after he began.
  const std::vector<std::string> walk =
      Play("300 Space 100\n400 Space 0\n600 D 100\n1100 D 0\n", {1000, 1650}, 1700);
  ASSERT_EQ(walk.size(), 2u);
  EXPECT_EQ(ShotPixel(walk[0], 380, 50), kRim);
  EXPECT_NE(ShotPixel(walk[1], 380, 50), kRim);
  EXPECT_EQ(Log().find("Error: Script"), std::string::npos) << Log();
}

TEST_F(LevelScripts, ANightWonIsReachedAgainThroughTheNightsList) {
  // Night two won (its shipped replay, which ends at 2924 ms), then the program quits: the
  // last picture is night three's briefing.
  const std::string won = ReadWholeFile(SANGUOR_REPLAYS "/Map2-win.replay");
  const std::vector<std::string> first = Play(won, {9500}, 9600, "-level 2");
  ASSERT_EQ(first.size(), 1u);
  const std::string settings = ReadWholeFile(root + "/home/Nightshade Forge/Sanguor/settings.ini");
  EXPECT_NE(settings.find("[Progress]\r\nHighest Night Won=2\r\n"), std::string::npos) << settings;

  // A new start at night one: its briefing (which now says how to go on), Escape there brings
  // the panel up with the pointer on night three, and Enter plays it from its briefing.
  const std::vector<std::string> again = Play(
      "300 Escape 100\n400 Escape 0\n800 Enter 100\n900 Enter 0\n", {200, 600, 1500}, 1600, "");
  ASSERT_EQ(again.size(), 3u);
  EXPECT_NE(ShotPixel(again[0], 451, 300), kRim);
  EXPECT_EQ(ShotPixel(again[1], 451, 300), kRim);
  // The three nights' squares: the first framed in gold as this night, the third under the pointer.
  EXPECT_EQ(ShotPixel(again[1], 580, 520 + 20), kGold);
  EXPECT_EQ(ShotPixel(again[1], 580 + 2 * 44, 520 + 20), kGold);
  EXPECT_NE(ShotPixel(again[1], 580 + 44, 520 + 20), kGold);
  EXPECT_TRUE(again[2] == first[0]) << "night three's briefing did not follow";
  EXPECT_EQ(Log().find("Error: Script"), std::string::npos) << Log();
}

// Escape, then the arrow keys to Controls and Enter, to the "Right" row and Enter, then L: walking
// right gets L as well. Escape twice goes back to the night, where the given key walks for a second.
std::string BindLThenWalkWith(const std::string& key) {
  std::string replay = "300 Space 100\n400 Space 0\n600 Escape 100\n700 Escape 0\n";
  int32_t at = 900;
  const auto tap = [&](const std::string& name) {
    replay +=
        std::to_string(at) + " " + name + " 100\n" + std::to_string(at + 50) + " " + name + " 0\n";
    at += 200;
  };
  for (int32_t i = 0; i < 4; ++i) tap("\"Down Arrow\"");
  tap("Enter");
  for (int32_t i = 0; i < 4; ++i) tap("\"Down Arrow\"");
  tap("Enter");
  tap("L");
  tap("Escape");
  tap("Escape");
  replay += std::to_string(at + 200) + " " + key + " 100\n" + std::to_string(at + 1200) + " " +
            key + " 0\n";
  return replay;
}

TEST_F(LevelScripts, TheControlsPanelBindsAKeyThatWalksAndIsReadBackAfterARestart) {
  // The key bound walks as D does: the same run with D in its place gives the same picture.
  const std::vector<std::string> bound =
      Play(BindLThenWalkWith("L"), {1700, 2800, 3050, 5400}, 5500);
  ASSERT_EQ(bound.size(), 4u);
  const std::string settings = ReadWholeFile(root + "/home/Nightshade Forge/Sanguor/settings.ini");
  EXPECT_NE(settings.find("Action 5=Right\r\nAction 5 Controls=2\r\nAction 5 Control 1=D 100\r\n"
                          "Action 5 Control 2=L 100\r\n"),
            std::string::npos)
      << settings;
  // The Controls panel took the pause panel's place; the "Right" row (picture rows 375 to 415)
  // changed with the binding, the "Bite" row (215 to 255) did not.
  EXPECT_NE(ShotPixel(bound[0], 451, 300), ShotPixel(bound[1], 451, 300));
  EXPECT_FALSE(SameRows(bound[1], bound[2], 380, 410));
  EXPECT_TRUE(SameRows(bound[1], bound[2], 220, 250));

  std::ofstream(root + "/home/Nightshade Forge/Sanguor/settings.ini")
      << "[Video]\r\nWidth=640\r\nHeight=480\r\n";
  const std::vector<std::string> withD = Play(BindLThenWalkWith("D"), {5400}, 5500);
  ASSERT_EQ(withD.size(), 1u);
  EXPECT_TRUE(withD[0] == bound[3]) << "L did not walk right";

  // A new start reads the binding back: L walks as D walks in a game that never saw the panel.
  std::ofstream(root + "/home/Nightshade Forge/Sanguor/settings.ini") << settings;
  const std::vector<std::string> again =
      Play("300 Space 100\n400 Space 0\n600 L 100\n1600 L 0\n", {1700}, 1800);
  std::ofstream(root + "/home/Nightshade Forge/Sanguor/settings.ini")
      << "[Video]\r\nWidth=640\r\nHeight=480\r\n";
  const std::vector<std::string> fresh =
      Play("300 Space 100\n400 Space 0\n600 D 100\n1600 D 0\n", {1700}, 1800);
  ASSERT_EQ(again.size(), 1u);
  ASSERT_EQ(fresh.size(), 1u);
  EXPECT_TRUE(again[0] == fresh[0]) << "L read back does not walk right";
  EXPECT_EQ(Log().find("Error: Script"), std::string::npos) << Log();
}

}  // namespace
