// The game's states on a headless run: briefing, play, the result screens, level loading and
// the end of the game, with keys posted into the active control set.
#include <gtest/gtest.h>

#include "GameLevels.h"
#include "GameTestSupport.h"
#include "graphics/fwkGraphics.h"
#include "platform/platform.h"
#include "services/fwkIni.h"
#include "services/fwkState.h"

namespace {

// A level of 20 x 8 cells; the player starts in column 3 on the floor of row 7.
std::string SimpleLevel(const std::string& extra) {
  return StandardTiles() + RoomMap(Room(20, 8)) + Lines({"#PC", "3,7"}) + extra;
}

TEST(GameFlow, BriefingThenPlayThenWinThenTheGameEnds) {
  gameSandbox game;
  game.WriteStandardContent();
  game.Write("Bin\\Maps\\Map1.map",
             SimpleLevel(Lines({"#BRIEFING", "Find the crypt.", "#OBJECTIVE", "LOCATION=5,7"})));
  ASSERT_TRUE(game.Start());
  EXPECT_EQ(StateGet(), kStateLoad);
  game.Run(1);
  EXPECT_EQ(StateGet(), kStateBriefing);
  EXPECT_EQ(Game().briefing, "Find the crypt.\r\n\r\nPress SPACE to begin.");
  game.Run(20);
  EXPECT_EQ(StateGet(), kStateBriefing);
  game.Tap(kKeySpace);
  game.Run(1);
  EXPECT_EQ(StateGet(), kStatePlay);
  EXPECT_EQ(Game().agents[0].x, 2 * 64 + 31);
  EXPECT_EQ(Game().agents[0].y, 7 * 64 - 1);
  game.Press(kKeyRight);
  ASSERT_TRUE(game.RunUntilState(kStateWin, 200));
  EXPECT_EQ(MapCellOf(Game().agents[0].x), 5);
  EXPECT_EQ(Game().mapNumber, 2);
  game.Release(kKeyRight);
  ASSERT_TRUE(game.RunUntilState(kStateExit, 400));
  EXPECT_FALSE(GameRun());
  EXPECT_EQ(game.Log().find("Error: "), std::string::npos) << game.Log();
}

TEST(GameFlow, DyingReloadsTheLevelAndWinningLoadsTheNext) {
  gameSandbox game;
  game.WriteStandardContent();
  game.Write(
      "Bin\\Maps\\Map1.map",
      SimpleLevel(Lines({"#NPC", "TYPE=Guard", "LOCATION=10,7", "#OBJECTIVE", "VAMPS=100"})));
  game.Write("Bin\\Maps\\Map2.map", SimpleLevel(Lines({"#BRIEFING", "Two"})));
  ASSERT_TRUE(game.Start());
  game.Run(1);
  ASSERT_EQ(StateGet(), kStatePlay);
  Game().agents[0].health = -1;
  AgentPlayOnce(Game().agents[0], "Bin\\Sprites\\Dracula\\Vampire Collapse\\Vampire Collapse.exp",
                false);
  ASSERT_TRUE(game.RunUntilState(kStateDead, 40));
  game.Run(3);
  EXPECT_EQ(StateGet(), kStateDead);
  // The five seconds of the result screen end the wait by themselves.
  PlatformClockAdvance(5000);
  game.Run(1);
  EXPECT_EQ(StateGet(), kStateLoad);
  game.Run(1);
  EXPECT_EQ(StateGet(), kStatePlay);
  EXPECT_EQ(Game().mapNumber, 1);
  EXPECT_EQ(Game().agents.size(), 2u);
  EXPECT_EQ(Game().agents[0].health, 100);
  EXPECT_TRUE(Game().agents[0].active);
  // Turning the only human wins the level; Space skips the result screen's wait.
  Game().agents[1].vampire = true;
  game.Run(1);
  EXPECT_EQ(StateGet(), kStateWin);
  EXPECT_EQ(Game().mapNumber, 2);
  game.Tap(kKeySpace);
  game.Run(2);
  EXPECT_EQ(StateGet(), kStateBriefing);
  EXPECT_EQ(Game().agents.size(), 1u);
}

TEST(GameFlow, KeysHeldOverAScreenChangeAreDropped) {
  gameSandbox game;
  game.WriteStandardContent();
  game.Write("Bin\\Maps\\Map1.map",
             SimpleLevel(Lines({"#BRIEFING", "Go", "#NPC", "TYPE=Guard", "LOCATION=3,7",
                                "#OBJECTIVE", "VAMPS=100"})));
  ASSERT_TRUE(game.Start());
  game.Run(1);
  ASSERT_EQ(StateGet(), kStateBriefing);
  game.Press(kKeyBite);
  game.Release(kKeySpace);
  game.Run(1);
  ASSERT_EQ(StateGet(), kStatePlay);
  game.Run(2);
  EXPECT_EQ(Game().agents[0].victim, -1);
  // A Space pressed during play does not act on the screen that follows.
  Game().agents[1].vampire = true;
  game.Press(kKeySpace);
  game.Release(kKeySpace);
  game.Run(1);
  EXPECT_EQ(StateGet(), kStateWin);
  game.Run(3);
  EXPECT_EQ(StateGet(), kStateWin);
}

TEST(GameFlow, ThePlayStateStandsStillWhilePaused) {
  gameSandbox game;
  game.WriteStandardContent();
  game.Write("Bin\\Maps\\Map1.map", SimpleLevel(Lines({"#OBJECTIVE", "LOCATION=15,7"})));
  ASSERT_TRUE(game.Start());
  game.Run(2);
  ASSERT_EQ(StateGet(), kStatePlay);
  game.Press(kKeyRight);
  StateTimerPause();
  game.Run(1);  // time gone by before the pause may still make one step
  const int32_t x = Game().agents[0].x;
  const uint32_t step = Game().lastStep;
  game.Run(5);
  EXPECT_EQ(Game().agents[0].x, x);
  EXPECT_EQ(Game().lastStep, step);
  StateTimerResume();
  game.Run(3);
  EXPECT_EQ(Game().agents[0].x, x + 20);
}

TEST(GameFlow, ThePictureIsLetterboxedAndShowsTheLevel) {
  gameSandbox game;
  game.WriteStandardContent();
  game.Write("Bin\\Maps\\Map1.map",
             StandardTiles() + RoomMap(Room(20, 12)) +
                 Lines({"#PC", "3,11", "#OBJECTIVE", "VAMPS=100", "LOCATION=19,7"}));
  ASSERT_TRUE(game.Start());
  game.Run(3);
  int32_t width = 0;
  int32_t height = 0;
  game.Picture(width, height);
  ASSERT_EQ(width, 640);
  ASSERT_EQ(height, 480);
  // 640 x 360 picture between bars of 60 rows; the camera shows world rows from y = 48.
  EXPECT_EQ(game.PixelAt(320, 30), 0u);
  EXPECT_EQ(game.PixelAt(320, 450), 0u);
  EXPECT_EQ(game.PixelAt(320, 62), 0x808080u);   // the top wall, world y 52
  EXPECT_EQ(game.PixelAt(320, 120), 0x000040u);  // open space
  // The player's dark red figure covers world (155..162, 688..703): screen (77..81, 380..387).
  EXPECT_EQ(game.PixelAt(79, 384), 0x7F0000u);
  EXPECT_EQ(game.PixelAt(79, 376), 0x000040u);
  // The health bar fills its square under a clear icon: screen (3..27, 63..87).
  EXPECT_EQ(game.PixelAt(15, 75), 0xC00000u);
}

TEST(GameFlow, FullscreenFromTheSettingsIsWrittenBack) {
  gameSandbox game;
  game.WriteStandardContent();
  game.videoWidth = 800;
  game.videoHeight = 600;
  PlatformSetArguments({});
  ASSERT_TRUE(game.Start({"-sleep", "0"}));
  EXPECT_FALSE(GraphicsIsFullscreen());
  GameSetFullscreen(true);
  EXPECT_TRUE(GraphicsIsFullscreen());
  game.Run(1);
  EXPECT_EQ(StateGet(), kStateExit);
  GameCleanup();
  EXPECT_TRUE(IniReadBool("Video", "Fullscreen", false));
  EXPECT_EQ(IniReadInteger("Video", "Width", 0), 800);
  EXPECT_EQ(IniReadInteger("Video", "Height", 0), 600);
}

}  // namespace
