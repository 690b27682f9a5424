// The run switches inside one process with the scripted game: recording and replaying control
// changes, screenshots by program time, the end of a run by program time, bad switches.
#include <gtest/gtest.h>

#include <filesystem>

#include "ShellTestSupport.h"
#include "graphics/GL.h"
#include "graphics/fwkGraphics.h"
#include "input/fwkInput.h"
#include "platform/platform.h"
#include "services/fwkLog.h"
#include "services/fwkState.h"
#include "shell/RunControl.h"
#include "shell/UntMain.h"

namespace {

namespace fs = std::filesystem;

constexpr ControlCode kE = 32;
constexpr ControlCode kLeftArrow = 15;

uint32_t seeded = 0;
void Seed(uint32_t seed) { seeded = seed; }

// What the game saw in each of its passes: program time and two control values.
struct seen {
  uint32_t time;
  int32_t e;
  int32_t left;
  bool operator==(const seen&) const = default;
};

class RunControl : public testing::Test {
 protected:
  void TearDown() override {
    RunControlFinish();
    ShellStop();
  }
  // Runs the scripted game with a control set of its own until pass `passes`; presses at
  // the passes given (through the platform, as a keyboard would) when `press` is true.
  std::vector<seen> Play(const std::vector<std::string>& switches, bool press, int32_t passes) {
    box = ShellStart(switches);
    EXPECT_TRUE(RunControlStart(Seed));
    std::vector<seen> trace;
    int32_t set = 0;
    testGame.onPass = [&](int32_t pass) {
      if (pass == 1) {
        set = InputControlSetNew("Game", false);
        InputControlSetActivate(set);
      }
      trace.push_back({RunControlProgramTime(), InputControlValue(set, kE),
                       InputControlValue(set, kLeftArrow)});
      if (press) {
        if (pass == 3) PlatformInputInjectKey('E', false, true);
        if (pass == 6) PlatformInputInjectKey('E', false, false);
        if (pass == 6) PlatformInputInjectKey(PLATFORM_VK_LEFT, true, true);
        if (pass == 9) PlatformInputInjectKey(PLATFORM_VK_LEFT, true, false);
      }
      if (pass == passes) StateSet(6);
    };
    EXPECT_EQ(MainApplicationRun(), kExitGameEnded);
    RunControlFinish();
    return trace;
  }
  shellSandbox box;
};

TEST_F(RunControl, ReplayingARecordingGivesTheGameTheSameChangesAtTheSameTimes) {
  const std::string recording =
      fs::absolute("replay-record-" + std::to_string(getpid()) + ".replay").string();
  const std::vector<seen> live = Play({"-record", recording, "-seed", "99"}, true, 14);
  EXPECT_EQ(seeded, 99u);
  ShellStop();
  // The presses reached the game, one pass after they were made.
  ASSERT_EQ(live.size(), 14u);
  EXPECT_EQ(live[2].e, 0);
  EXPECT_EQ(live[3].e, 100);
  EXPECT_EQ(live[6].e, 0);
  EXPECT_EQ(live[6].left, 100);
  EXPECT_EQ(live[9].left, 0);
  std::vector<replayEvent> recorded;
  ASSERT_TRUE(ReplayRead(recording, recorded));
  ASSERT_EQ(recorded.size(), 4u);
  EXPECT_EQ(recorded[0], (replayEvent{live[3].time, kE, 100}));
  EXPECT_EQ(recorded[3], (replayEvent{live[9].time, kLeftArrow, 0}));
  EXPECT_NE(ReadWholeFile(recording).find("\"Left Arrow\" 100"), std::string::npos);

  const std::string again = recording + ".again";
  const std::vector<seen> replayed = Play({"-replay", recording, "-record", again}, false, 14);
  EXPECT_EQ(replayed, live);
  std::vector<replayEvent> rerecorded;
  ASSERT_TRUE(ReplayRead(again, rerecorded));
  EXPECT_EQ(rerecorded, recorded);
  fs::remove(recording);
  fs::remove(again);
}

TEST_F(RunControl, ScreenshotsAreTakenAtTheFirstPassAtOrAfterEachTime) {
  box = ShellStart({"-shot", "100,40,41"});
  ASSERT_TRUE(RunControlStart(Seed));
  // Each pass paints its own pass number into the red channel.
  testGame.onPass = [](int32_t pass) {
    GraphicsRenderBegin(testGame.display);
    gl.ClearColor(static_cast<float>(pass) / 255.0f, 0.0f, 0.0f, 1.0f);
    gl.Clear(GL_COLOR_BUFFER_BIT);
    GraphicsRenderEnd(testGame.display);
    if (pass == 10) StateSet(6);
  };
  EXPECT_EQ(MainApplicationRun(), kExitGameEnded);
  // Passes run at 0, 17, 34, 51, ... ms: 40 and 41 are both due at 51, after three passes
  // have painted; 100 at 102, after six.
  const std::vector<uint32_t> expectedRed = {3, 3, 6};
  for (size_t i = 0; i < expectedRed.size(); ++i) {
    const std::string path =
        box.userData + "screenshots/screenshot" + std::to_string(i + 1) + ".bmp";
    const std::string bmp = ReadWholeFile(path);
    ASSERT_GT(bmp.size(), 60u) << path;
    const uint32_t offset = static_cast<uint8_t>(bmp[10]) | static_cast<uint8_t>(bmp[11]) << 8;
    EXPECT_EQ(static_cast<uint8_t>(bmp[offset + 2]), expectedRed[i]) << path;
  }
  EXPECT_FALSE(fs::exists(box.userData + "screenshots/screenshot4.bmp"));
}

// Fast-forward: the scripted game paints its pass number only when the picture can be seen.
// The screenshot is the same as when every pass paints, and most passes paint nothing.
TEST_F(RunControl, HeadlessRunsDrawOnlyThePicturesAScreenshotWillSee) {
  for (const bool drawAll : {false, true}) {
    std::vector<std::string> switches = {"-shot", "500", "-quit", "1000"};
    if (drawAll) switches.push_back("-drawall");
    box = ShellStart(switches);
    ASSERT_TRUE(RunControlStart(Seed));
    std::vector<uint32_t> drawnAt;
    testGame.onPass = [&](int32_t pass) {
      if (!RunControlPictureSeen()) return;
      drawnAt.push_back(RunControlProgramTime());
      GraphicsRenderBegin(testGame.display);
      gl.ClearColor(static_cast<float>(pass) / 255.0f, 0.0f, 0.0f, 1.0f);
      gl.Clear(GL_COLOR_BUFFER_BIT);
      GraphicsRenderEnd(testGame.display);
    };
    EXPECT_EQ(MainApplicationRun(), kExitGameEnded);
    RunControlFinish();
    // Passes run at 0, 17, 34, ... ms; the shot is due at 510, after 30 passes have run.
    const std::string bmp = ReadWholeFile(box.userData + "screenshots/screenshot1.bmp");
    ASSERT_GT(bmp.size(), 60u);
    const uint32_t offset = static_cast<uint8_t>(bmp[10]) | static_cast<uint8_t>(bmp[11]) << 8;
    EXPECT_EQ(static_cast<uint8_t>(bmp[offset + 2]), 30) << "drawall " << drawAll;
    if (drawAll) {
      EXPECT_EQ(drawnAt.size(), 59u);
    } else {
      // Only the pass right before the shot's pass, besides the first (its length unknown).
      EXPECT_EQ(drawnAt, (std::vector<uint32_t>{0, 493}));
    }
    ShellStop();
  }
}

// A game that draws only every third pass says so; the screenshot still keeps the picture of
// the last pass that drew before it, and fast-forward draws just that one.
TEST_F(RunControl, HeadlessRunsKeepThePictureOfAGameThatDrawsEveryFewPasses) {
  for (const bool drawAll : {false, true}) {
    std::vector<std::string> switches = {"-shot", "150,500", "-quit", "600"};
    if (drawAll) switches.push_back("-drawall");
    box = ShellStart(switches);
    ASSERT_TRUE(RunControlStart(Seed));
    std::vector<int32_t> drawn;
    testGame.onPass = [&](int32_t pass) {
      if (pass % 3 != 0 || !RunControlPictureSeen(RunControlPassesFor(3 * 17))) return;
      drawn.push_back(pass);
      GraphicsRenderBegin(testGame.display);
      gl.ClearColor(static_cast<float>(pass) / 255.0f, 0.0f, 0.0f, 1.0f);
      gl.Clear(GL_COLOR_BUFFER_BIT);
      GraphicsRenderEnd(testGame.display);
    };
    EXPECT_EQ(MainApplicationRun(), kExitGameEnded);
    RunControlFinish();
    // Pass N runs at (N - 1) * 17 ms. 150 is due at pass 10 (153 ms): pass 9 drew last.
    // 500 is due at pass 31 (510 ms): pass 30.
    const std::vector<uint8_t> expectedRed = {9, 30};
    for (size_t i = 0; i < expectedRed.size(); ++i) {
      const std::string bmp =
          ReadWholeFile(box.userData + "screenshots/screenshot" + std::to_string(i + 1) + ".bmp");
      ASSERT_GT(bmp.size(), 60u);
      const uint32_t offset = static_cast<uint8_t>(bmp[10]) | static_cast<uint8_t>(bmp[11]) << 8;
      EXPECT_EQ(static_cast<uint8_t>(bmp[offset + 2]), expectedRed[i]) << "drawall " << drawAll;
    }
    if (!drawAll) {
      EXPECT_EQ(drawn, (std::vector<int32_t>{9, 30}));
    }
    ShellStop();
  }
}

TEST_F(RunControl, QuitEndsTheRunThroughTheNormalCleanUp) {
  box = ShellStart({"-quit", "100"});
  ASSERT_TRUE(RunControlStart(Seed));
  uint32_t lastPass = 0;
  testGame.onPass = [&](int32_t) { lastPass = RunControlProgramTime(); };
  EXPECT_EQ(MainApplicationRun(), kExitGameEnded);
  EXPECT_EQ(testGame.cleanupCalls, 1);
  EXPECT_LT(lastPass, 100u);
  EXPECT_GE(lastPass, 100u - 17u);
}

TEST_F(RunControl, BadSwitchesStopTheStartWithOneLogLine) {
  box = ShellStart({"-shot", "10,x"});
  EXPECT_FALSE(RunControlStart(Seed));
  EXPECT_NE(ReadWholeFile(LogFolder() + LogFileName())
                .find("Error: RunControlStart - -shot needs milliseconds"),
            std::string::npos);
  runSettings settings;
  std::string problem;
  EXPECT_FALSE(RunControlParse({"-tick", "0"}, settings, problem));
  EXPECT_FALSE(RunControlParse({"-quit"}, settings, problem));
  EXPECT_FALSE(RunControlParse({"-SEED", "-3"}, settings, problem));
  for (const char* level : {"0", "1000", "-1", "x"}) {
    EXPECT_FALSE(RunControlParse({"-level", level}, settings, problem)) << level;
    EXPECT_NE(problem.find("-level needs a level number"), std::string::npos) << problem;
  }
  ASSERT_TRUE(RunControlParse(
      {"-Seed", "4294967295", "-SHOT", "9,3,3", "-quit", "0", "-sleep", "2", "-LEVEL", "6"},
      settings, problem));
  EXPECT_EQ(settings.level, 6);
  EXPECT_EQ(settings.seed, 4294967295u);
  EXPECT_EQ(settings.shots, (std::vector<uint32_t>{3, 3, 9}));
  EXPECT_TRUE(settings.quitGiven);
}

}  // namespace
