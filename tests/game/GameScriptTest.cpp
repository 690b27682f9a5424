// The level's script: loaded with the level when its file exists, told when play begins,
// advanced every play step (or resumed while its handler waits) and closed at clean-up.
#include <gtest/gtest.h>

#include "GameLevels.h"
#include "GameTestSupport.h"
#include "script/fwkScript.h"
#include "services/fwkIni.h"
#include "services/fwkState.h"
#include "vmcAsm.h"

namespace {

// Records the entry event's code in the play state's variable ENTERED and counts steps in STEPS; the handler
// of event 2 waits one step before it records WAITED.
const char* kLevelScript = R"(
.event handler
.thread counter
handler:
    jne [base-1], 1, other
    push [base-1]
    push "entered"
    push 4
    builtin 31
    pop
    pop
    pop
    return
other:
    yield
    push true
    push "waited"
    push 4
    builtin 30
    pop
    pop
    pop
    return
counter:
    push 0
loop:
    add 1, [0]
    push [0]
    push "steps"
    push 4
    builtin 31
    pop
    pop
    pop
    yield
    jump loop
)";

std::string Assembled(const std::string& text) {
  std::vector<uint8_t> bytes;
  std::vector<std::string> errors;
  EXPECT_TRUE(VmcAssemble(text, "level.vasm", bytes, errors));
  return std::string(bytes.begin(), bytes.end());
}

std::string Level() {
  return StandardTiles() + RoomMap(Room(20, 8)) +
         Lines({"#PC", "3,7", "#OBJECTIVE", "LOCATION=15,7"});
}

TEST(GameScript, ALevelWithAScriptRunsItEveryStep) {
  gameSandbox game;
  game.WriteStandardContent();
  game.Write("Bin\\Maps\\Map1.map", Level());
  game.Write("Bin\\Scripts\\Map1.vmc", Assembled(kLevelScript));
  ASSERT_TRUE(game.Start());
  game.EnterPlay();
  ASSERT_EQ(StateGet(), kStatePlay);
  const int32_t script = Game().scriptId;
  ASSERT_GT(script, 0);
  EXPECT_EQ(ScriptFileName(script), "Bin\\Scripts\\Map1.vmc");
  EXPECT_EQ(StateVariableGetInteger(kStatePlay, "ENTERED"), 1);
  game.LogicSteps(5);
  EXPECT_EQ(StateVariableGetInteger(kStatePlay, "STEPS"), 5);
  // While the handler waits, steps resume it instead of running the other threads.
  ScriptRoutineRun(script, 2, "wait");
  EXPECT_TRUE(ScriptIsWaiting(script));
  game.LogicSteps(1);
  EXPECT_TRUE(StateVariableGetBool(kStatePlay, "WAITED"));
  EXPECT_EQ(StateVariableGetInteger(kStatePlay, "STEPS"), 5);
  game.LogicSteps(1);
  EXPECT_EQ(StateVariableGetInteger(kStatePlay, "STEPS"), 6);
  EXPECT_EQ(game.Log().find("Error: "), std::string::npos) << game.Log();
  GameCleanup();
  EXPECT_EQ(Game().scriptId, 0);
  EXPECT_EQ(ScriptFind(script), -1);
  game.Stop();
}

TEST(GameScript, ALevelWithoutAScriptLeavesTheSlotEmpty) {
  gameSandbox game;
  game.WriteStandardContent();
  game.Write("Bin\\Maps\\Map1.map", Level());
  game.Write("Bin\\Maps\\Map2.map", Level());
  game.Write("Bin\\Scripts\\Map1.vmc", Assembled(".thread t\nt:\n yield\n jump t\n"));
  ASSERT_TRUE(game.Start());
  game.EnterPlay();
  const int32_t first = Game().scriptId;
  ASSERT_GT(first, 0);
  // The next level has no script: the first level's is closed and the slot stays empty.
  Game().mapNumber = 2;
  StateSet(kStateLoad);
  game.Run(1);
  EXPECT_EQ(StateGet(), kStatePlay);
  EXPECT_EQ(Game().scriptId, 0);
  EXPECT_EQ(ScriptFind(first), -1);
  game.LogicSteps(3);
  EXPECT_EQ(game.Log().find("Error: "), std::string::npos) << game.Log();
  game.Stop();
}

TEST(GameScript, AScriptThatNeverYieldsCannotStopTheGame) {
  gameSandbox game;
  game.WriteStandardContent();
  game.Write("Bin\\Maps\\Map1.map", Level());
  game.Write("Bin\\Scripts\\Map1.vmc", Assembled(".event h\nh:\n jump h\n"));
  ASSERT_TRUE(game.Start());
  game.EnterPlay();
  game.Run(3);
  EXPECT_EQ(StateGet(), kStatePlay);
  EXPECT_NE(
      game.Log().find(
          "Error: ScriptExecute - Instruction limit reached in script \"Bin\\Scripts\\Map1.vmc\""),
      std::string::npos)
      << game.Log();
  game.Stop();
}

// Every step: GameWalked into WALKED and built-in 1 (milliseconds in the state) into CLOCK.
const char* kWatchScript = R"(
.thread watch
watch:
    push false
    callapp GameWalked
    push "walked"
    push 4
    builtin 30
    pop
    pop
    pop
    push 0
    builtin 1
    push "clock"
    push 4
    builtin 31
    pop
    pop
    pop
    yield
    jump watch
)";

TEST(GameScript, WalkedWaitsForTheFirstStepsAndTheClockStandsStillWhilePaused) {
  gameSandbox game;
  game.WriteStandardContent();
  game.Write("Bin\\Maps\\Map1.map", Level());
  game.Write("Bin\\Scripts\\Map1.vmc", Assembled(kWatchScript));
  ASSERT_TRUE(game.Start());
  game.EnterPlay();
  // Standing where the night put him, far from the world's left edge: not walked, step after step.
  for (int32_t step = 0; step < 5; ++step) {
    game.LogicSteps(1);
    EXPECT_FALSE(StateVariableGetBool(kStatePlay, "WALKED")) << "step " << step;
  }
  const int32_t before = StateVariableGetInteger(kStatePlay, "CLOCK");
  EXPECT_GT(before, 0);
  // Paused: the script's event side runs on, its threads and its clock wait with the night.
  GamePauseSet(true);
  game.Run(60);
  GamePauseSet(false);
  game.LogicSteps(1);
  const int32_t after = StateVariableGetInteger(kStatePlay, "CLOCK");
  EXPECT_GT(after, before);
  EXPECT_LT(after - before, 100) << "a second of pause counted";
  // A push (as a blow gives) is not a walk; a few steps to the right are not yet one either;
  // a tile's width is.
  AgentStep(0, 70, false, false);
  game.LogicSteps(1);
  EXPECT_FALSE(StateVariableGetBool(kStatePlay, "WALKED"));
  game.Press(kKeyRight);
  game.LogicSteps(3);
  EXPECT_FALSE(StateVariableGetBool(kStatePlay, "WALKED"));
  game.LogicSteps(10);
  game.Release(kKeyRight);
  game.LogicSteps(1);
  EXPECT_TRUE(StateVariableGetBool(kStatePlay, "WALKED"));
  EXPECT_EQ(game.Log().find("Error: "), std::string::npos) << game.Log();
  game.Stop();
}

TEST(GameNights, TheNightsReachedFollowTheSettingsAndTheContent) {
  gameSandbox game;
  game.WriteStandardContent();
  for (const char* map : {"Bin\\Maps\\Map1.map", "Bin\\Maps\\Map2.map", "Bin\\Maps\\Map3.map"})
    game.Write(map, Level());
  ASSERT_TRUE(game.Start());
  const auto reachedWith = [](const std::string& value) {
    IniWriteString("Progress", "Highest Night Won", value);
    NightsLoad();
    return NightsReached();
  };
  EXPECT_EQ(reachedWith("0"), 1);
  EXPECT_EQ(reachedWith("1"), 2);
  // All three won: the last night is the one reached; edited values stay within the nights.
  EXPECT_EQ(reachedWith("3"), 3);
  EXPECT_EQ(reachedWith("5000"), 3);
  EXPECT_EQ(reachedWith("-4"), 1);
  EXPECT_EQ(reachedWith("two"), 1);
  // A night won is kept at once; an earlier one does not lower it.
  NightsWon(2);
  NightsWon(1);
  EXPECT_EQ(IniReadInteger("Progress", "Highest Night Won", 0), 2);
  EXPECT_EQ(NightsReached(), 3);
  // The first briefing says how to get there; the night reached says nothing of it.
  EXPECT_EQ(NightsBriefingLine(), "You have reached night 3: Escape, then Enter, takes you there.");
  Game().mapNumber = 3;
  EXPECT_EQ(NightsBriefingLine(), "");
  game.Stop();
}

}  // namespace
