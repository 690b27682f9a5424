// The game's states on a headless run: briefing, play, the result screens, level loading and
// the end of the game, with keys posted into the active control set.
#include <gtest/gtest.h>

#include "GameLevels.h"
#include "GameTestSupport.h"
#include "services/fwkState.h"

namespace {

// A level of 20 x 8 cells; the player starts in column 3 on the floor of row 7.
std::string SimpleLevel(const std::string& extra) {
    return StandardTiles() + RoomMap(Room(20, 8)) + Lines({"#PC", "3,7"}) + extra;
}

TEST(GameFlow, BriefingThenPlayThenWinThenTheGameEnds) {
    gameSandbox game;
    game.WriteStandardContent();
    game.Write("Bin\\Maps\\Map1.map", SimpleLevel(Lines({"#BRIEFING", "Find the crypt.", "#OBJECTIVE", "LOCATION=5,7"})));
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

}  // namespace

