// Exposure sheets: the reader's acceptance rules and log lines, attributes and anchors, and
// one-shot playback in steps of 100 ms of play time.
#include <gtest/gtest.h>

#include "GameLevels.h"
#include "GameTestSupport.h"
#include "graphics/fwkModel.h"
#include "platform/platform.h"

namespace {

class GameAnimation : public testing::Test {
 protected:
  void SetUp() override {
    game.WriteStandardContent();
    game.Write("Bin\\Maps\\Map1.map",
               StandardTiles() + RoomMap(Room(20, 8)) + Lines({"#PC", "3,7"}));
    ASSERT_TRUE(game.Start());
    game.EnterPlay();
  }
  bool Open(const std::string& text, cycle& c) {
    game.Write("Bin\\Test\\Sheet.exp", text);
    return AnimationOpen(c, "Bin\\Test\\Sheet.exp", false);
  }
  gameSandbox game;
};

std::string Repeated(const std::string& text, int32_t times) {
  std::string all;
  for (int32_t i = 0; i < times; ++i) all += text;
  return all;
}

TEST_F(GameAnimation, VersionAndFrameCountLines) {
  struct sample {
    std::string text;
    bool accepted;
    std::string logged;
  };
  const std::string frame = "A.tga\r\n0\r\n";
  const std::vector<sample> samples = {
      {"10\r\n1\r\n" + frame, false,
       "Error: AnimationOpen - No major/minor version separator in exposure sheet \"Bin\\Test\\Sheet.exp\"."},
      {"2.0\r\n1\r\n" + frame, false,
       "Error: AnimationOpen - Unsupported major version \"2\" in exposure sheet \"Bin\\Test\\Sheet.exp\"."},
      {"x.0\r\n1\r\n" + frame, false, "Unsupported major version \"x\""},
      {"1.1\r\n1\r\n" + frame, false,
       "Error: AnimationOpen - Unsupported minor version \"1\" in exposure sheet \"Bin\\Test\\Sheet.exp\"."},
      {"1.0\r\n0\r\n" + frame, false,
       "Error: AnimationOpen - Invalid frame count \"0\" in exposure sheet \"Bin\\Test\\Sheet.exp\"."},
      {"1.0\r\nmany\r\n" + frame, false, "Invalid frame count \"many\""},
      {"1.0\r\n-2\r\n" + frame, false, "Invalid frame count \"-2\""},
      {"1.0\r\n1024\r\n" + Repeated(frame, 1024), true, ""},
      {"1.0\r\n1025\r\n" + Repeated(frame, 1025), false, "Invalid frame count \"1025\""},
      {"0.0\r\n1\r\n" + frame, true, ""},
      {"-1.-3\r\n1\r\n" + frame, true, ""},
      {"1.0\r\n3\r\n" + frame + frame, false, "Unexpected end of exposure sheet"},
      {"1.0\r\n1\r\nA.tga\r\nfew\r\n", false, "Invalid attribute count \"few\""},
      {"1.0\r\n1\r\nA.tga\r\n3\r\nrepeat=1\r\n", false, "Unexpected end of exposure sheet"},
      {"1.0\n1\nA.tga\n0\n", false, "Unsupported minor version \"01A.tga0\""},
  };
  for (const sample& s : samples) {
    cycle c;
    EXPECT_EQ(Open(s.text, c), s.accepted) << s.text;
    EXPECT_EQ(c.loaded, s.accepted) << s.text;
    if (!s.accepted) {
      EXPECT_TRUE(c.frames.empty()) << s.text;
      EXPECT_NE(game.Log().find(s.logged), std::string::npos) << s.logged;
    }
  }
  cycle missing;
  EXPECT_FALSE(AnimationOpen(missing, "Bin\\Test\\None.exp", true));
  EXPECT_NE(
      game.Log().find(
          "Error: AnimationOpen - Unable to open animation exposure sheet \"Bin\\Test\\None.exp\"."),
      std::string::npos);
}

TEST_F(GameAnimation, AttributesAnchorsAndFramePaths) {
  cycle c;
  ASSERT_TRUE(Open(Lines({"1.0", "4", "One.tga", "4", "sprite=3,7", "prev=1,2", "next=-4,5",
                          "repeat=2", "Two.tga", "3", "Sprite=9,9", "sprite=8", "junk line",
                          "Three.tga", "1", "sprite=11,12", "Four.tga", "1", "repeat=-1"}),
                   c));
  ASSERT_EQ(c.frames.size(), 4u);
  EXPECT_EQ(c.frames[0].imagePath, "Bin\\Test\\One.tga");
  EXPECT_EQ(c.frames[0].spriteX, 3);
  EXPECT_EQ(c.frames[0].spriteY, 7);
  EXPECT_EQ(c.frames[0].prevX, 1);
  EXPECT_EQ(c.frames[0].nextX, -4);
  EXPECT_EQ(c.frames[0].nextY, 5);
  EXPECT_EQ(c.frames[0].repeat, 2);
  // "Sprite" is another key, "sprite=8" has no comma: the anchor of frame one is inherited.
  EXPECT_EQ(c.frames[1].spriteX, 3);
  EXPECT_EQ(c.frames[1].spriteY, 7);
  EXPECT_EQ(c.frames[1].repeat, 0);
  EXPECT_EQ(c.frames[2].spriteX, 11);
  EXPECT_EQ(c.frames[3].spriteY, 12);
  EXPECT_EQ(c.frames[3].repeat, -1);
  EXPECT_EQ(c.frames[3].prevX, 0);
  AnimationFree(c);
}

TEST_F(GameAnimation, HeldSheetIsNotReadAgain) {
  cycle c;
  game.Write("Bin\\Test\\Held.exp", Lines({"1.0", "1", "A.tga", "0"}));
  ASSERT_TRUE(AnimationOpen(c, "Bin\\Test\\Held.exp", true));
  game.Write("Bin\\Test\\Held.exp", "broken");
  EXPECT_TRUE(AnimationOpen(c, "Bin\\Test\\Held.exp", true));
  EXPECT_EQ(c.frames.size(), 1u);
  // The hold flag of the open before decides: held, then not held, then read again.
  EXPECT_TRUE(AnimationOpen(c, "Bin\\Test\\Held.exp", false));
  EXPECT_FALSE(AnimationOpen(c, "Bin\\Test\\Held.exp", true));
  EXPECT_TRUE(c.frames.empty());
}

TEST_F(GameAnimation, OneShotRepeatCountsAndTheHundredMillisecondRule) {
  game.WriteSheet(
      "Bin\\Test\\Once.exp",
      {{8, 8, 0xFF0000FFu, "repeat=3"}, {8, 8, 0xFF00FF00u, ""}, {8, 8, 0xFFFF0000u, "repeat=1"}});
  agent& player = Game().agents[0];
  const int32_t base = player.baseAnimation;
  ASSERT_TRUE(AgentPlayOnce(player, "Bin\\Test\\Once.exp", false));
  EXPECT_EQ(player.currentAnimation, kSlotOneShot);
  EXPECT_EQ(player.currentFrame, 0);
  EXPECT_NE(player.cycles[kSlotOneShot].frames[0].image, nullptr);
  EXPECT_EQ(player.cycles[kSlotOneShot].frames[1].image, nullptr);  // loaded when reached
  EXPECT_FALSE(AgentPlayOnceStep(player));  // less than 100 ms later: nothing
  EXPECT_EQ(player.cycles[kSlotOneShot].frames[0].repeatCounter, 0);
  std::vector<int32_t> shown;
  bool ended = false;
  for (int32_t i = 0; i < 10 && !ended; ++i) {
    PlatformClockAdvance(100);
    ended = AgentPlayOnceStep(player);
    shown.push_back(ended ? -1 : player.currentFrame);
  }
  EXPECT_EQ(shown, (std::vector<int32_t>{0, 0, 1, 2, -1}));
  EXPECT_EQ(player.currentAnimation, base);
  EXPECT_EQ(player.currentFrame, 0);
  EXPECT_TRUE(player.cycles[kSlotOneShot].frames.empty());
}

TEST_F(GameAnimation, RepeatMinusOneStopsTheSequenceForGood) {
  game.WriteSheet(
      "Bin\\Test\\Stop.exp",
      {{8, 8, 0xFF0000FFu, ""}, {8, 8, 0xFF00FF00u, "repeat=-1"}, {8, 8, 0xFFFF0000u, ""}});
  agent& player = Game().agents[0];
  ASSERT_TRUE(AgentPlayOnce(player, "Bin\\Test\\Stop.exp", true));
  for (int32_t i = 0; i < 20; ++i) {
    PlatformClockAdvance(100);
    EXPECT_FALSE(AgentPlayOnceStep(player));
  }
  EXPECT_EQ(player.currentFrame, 1);
  EXPECT_EQ(player.cycles[kSlotOneShot].frames[1].repeatCounter, 1);
  // Held: the first frame kept its picture after it was shown.
  EXPECT_NE(player.cycles[kSlotOneShot].frames[0].image, nullptr);
}

TEST_F(GameAnimation, FramePicturesAreAnchoredAtTheAgent) {
  const agent& player = Game().agents[0];
  const frame& still = player.cycles[4].frames[0];
  ASSERT_NE(still.image, nullptr);
  EXPECT_EQ(still.width, 8);
  EXPECT_EQ(still.height, 16);
  EXPECT_FLOAT_EQ(ModelGetPosition(still.image).x, static_cast<float>(player.x));
  float left = 1e9f;
  float top = 1e9f;
  for (const modelVertex& vertex : still.image->vertices) {
    left = std::min(left, vertex.x);
    top = std::min(top, vertex.y);
  }
  // The anchor pixel (4, 15) lies on the agent's point.
  EXPECT_FLOAT_EQ(left + ModelGetPosition(still.image).x, player.x - 4.0f);
  EXPECT_FLOAT_EQ(top + ModelGetPosition(still.image).y, player.y - 15.0f);
}

}  // namespace
