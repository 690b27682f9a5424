// The main loop and the application lifecycle, driven through the headless platform: closing,
// minimising, deactivation, the keep-awake pulse, the start-up checks and the final report.
#include <gtest/gtest.h>

#include "ShellTestSupport.h"
#include "graphics/fwkGraphics.h"
#include "input/fwkInput.h"
#include "platform/platform.h"
#include "services/fwkState.h"
#include "shell/UntMain.h"

namespace {

platformWindow RenderWindow() { return GraphicsDisplayWindow(testGame.display); }

// Passes of the main loop seen by the pass hook, and what the tests record per pass.
int32_t loopPasses = 0;
std::function<void(int32_t)> onLoopPass;
void CountPass() {
  ++loopPasses;
  if (onLoopPass) onLoopPass(loopPasses);
}

class ShellLifecycle : public testing::Test {
 protected:
  void SetUp() override {
    box = ShellStart();
    loopPasses = 0;
    onLoopPass = nullptr;
    MainSetPassHook(CountPass);
  }
  void TearDown() override {
    MainSetPassHook(nullptr);
    ShellStop();
  }
  shellSandbox box;
};

TEST_F(ShellLifecycle, GameEndingInTheExitStateShowsNoBoxAndExitsWithZero) {
  testGame.onPass = [](int32_t pass) {
    if (pass == 3) StateSet(6);
  };
  EXPECT_EQ(MainApplicationRun(), kExitGameEnded);
  EXPECT_EQ(testGame.runCalls, 3);
  EXPECT_EQ(testGame.cleanupCalls, 1);
  EXPECT_TRUE(PlatformMessageBoxHistory().empty());
  EXPECT_EQ(mainForm, nullptr);
  EXPECT_FALSE(GraphicsDisplayExists(testGame.display));
}

TEST_F(ShellLifecycle, GameEndingInTheFatalStateNamesTheLogFile) {
  testGame.onPass = [](int32_t pass) {
    if (pass == 2) StateSet(3);
  };
  StateSetUpdateHandler(3, [] {});
  EXPECT_EQ(MainApplicationRun(), kExitFatalError);
  ASSERT_EQ(PlatformMessageBoxHistory().size(), 1u);
  const platformMessageBoxRecord& fatal = PlatformMessageBoxHistory()[0];
  EXPECT_EQ(fatal.text,
            "A fatal error has occurred.  Please consult the file results.log for details.");
  EXPECT_EQ(fatal.caption, "Sanguor");
  EXPECT_EQ(fatal.flags, 0x40u);
  EXPECT_EQ(testGame.cleanupCalls, 1);
}

TEST_F(ShellLifecycle, ClosingTheMainWindowWhileRunningOnlyRequestsTheEnd) {
  bool windowAliveAtCleanup = false;
  testGame.onPass = [](int32_t pass) {
    if (pass == 2) {
      // Two closes: the second must not destroy the window while the loop runs.
      PlatformHeadlessInjectWindowEvent(mainForm->Handle(), PLATFORM_EVENT_CLOSE);
      PlatformHeadlessInjectWindowEvent(mainForm->Handle(), PLATFORM_EVENT_CLOSE);
    }
  };
  testGame.onCleanup = [&windowAliveAtCleanup] {
    windowAliveAtCleanup = mainForm != nullptr && PlatformWindowExists(mainForm->Handle());
  };
  EXPECT_EQ(MainApplicationRun(), kExitGameEnded);
  EXPECT_EQ(testGame.runCalls, 2);
  EXPECT_EQ(testGame.cleanupCalls, 1);
  EXPECT_TRUE(windowAliveAtCleanup);
  EXPECT_EQ(mainForm, nullptr);
}

TEST_F(ShellLifecycle, ClosingTheRenderWindowWhileRunningEndsThroughCleanup) {
  bool renderAliveAtCleanup = false;
  platformWindow render = 0;
  testGame.onPass = [&render](int32_t pass) {
    if (pass == 4) {
      render = RenderWindow();
      PlatformHeadlessInjectWindowEvent(render, PLATFORM_EVENT_CLOSE);
    }
  };
  testGame.onCleanup = [&] { renderAliveAtCleanup = PlatformWindowExists(render); };
  EXPECT_EQ(MainApplicationRun(), kExitGameEnded);
  EXPECT_EQ(testGame.runCalls, 4);
  EXPECT_TRUE(renderAliveAtCleanup);
  EXPECT_FALSE(PlatformWindowExists(render));
}

TEST_F(ShellLifecycle, MinimisingPausesTheGameAndNoPassRunsUntilRestored) {
  uint32_t playTimeAtMinimise = 0;
  int32_t runsAtMinimise = 0;
  bool pausedWhileMinimised = true;
  bool hookOffWhileMinimised = true;
  bool cursorShownWhileMinimised = true;
  testGame.onPass = [&](int32_t pass) {
    if (pass == 5) PlatformHeadlessInjectWindowEvent(RenderWindow(), PLATFORM_EVENT_MINIMIZE);
    if (pass == 8) StateSet(6);
  };
  onLoopPass = [&](int32_t loopPass) {
    // Loop pass 6 is the first one that sees the window minimised; it stays so for ten passes.
    if (loopPass == 6) {
      playTimeAtMinimise = StateTime(4);
      runsAtMinimise = testGame.runCalls;
    }
    if (loopPass > 6 && loopPass <= 16) {
      pausedWhileMinimised = pausedWhileMinimised && mainForm->appPaused && StateIsPaused();
      hookOffWhileMinimised = hookOffWhileMinimised && !InputKeyboardHookInstalled();
      cursorShownWhileMinimised =
          cursorShownWhileMinimised && PlatformWindowCursorVisible(RenderWindow());
      EXPECT_EQ(StateTime(4), playTimeAtMinimise) << "loop pass " << loopPass;
      EXPECT_EQ(testGame.runCalls, runsAtMinimise) << "loop pass " << loopPass;
    }
    if (loopPass == 16) PlatformHeadlessInjectWindowEvent(RenderWindow(), PLATFORM_EVENT_RESTORE);
  };
  EXPECT_EQ(MainApplicationRun(), kExitGameEnded);
  EXPECT_TRUE(pausedWhileMinimised);
  EXPECT_TRUE(hookOffWhileMinimised);
  EXPECT_TRUE(cursorShownWhileMinimised);
  EXPECT_EQ(testGame.runCalls, 8);
  // Windowed, pausing does not ask the game to minimise.
  EXPECT_EQ(testGame.minimizeCalls, 0);
}

TEST_F(ShellLifecycle, ResumingRestoresTimerHookAndHiddenCursor) {
  uint32_t timeBeforeRestore = 0;
  testGame.onPass = [&](int32_t pass) {
    if (pass == 2) PlatformHeadlessInjectWindowEvent(RenderWindow(), PLATFORM_EVENT_MINIMIZE);
    if (pass == 3) {
      EXPECT_FALSE(mainForm->appPaused);
      EXPECT_FALSE(StateIsPaused());
      EXPECT_TRUE(InputKeyboardHookInstalled());
      EXPECT_FALSE(PlatformWindowCursorVisible(RenderWindow()));
      timeBeforeRestore = StateTime(4);
    }
    if (pass == 6) {
      EXPECT_GT(StateTime(4), timeBeforeRestore);
      StateSet(6);
    }
  };
  onLoopPass = [](int32_t loopPass) {
    if (loopPass == 5) PlatformHeadlessInjectWindowEvent(RenderWindow(), PLATFORM_EVENT_RESTORE);
  };
  EXPECT_EQ(MainApplicationRun(), kExitGameEnded);
  EXPECT_EQ(testGame.runCalls, 6);
}

TEST_F(ShellLifecycle, AStateAlreadyPausedStaysPausedAfterResume) {
  testGame.onPass = [](int32_t pass) {
    if (pass == 1) StateTimerPause();
    if (pass == 2) PlatformHeadlessInjectWindowEvent(RenderWindow(), PLATFORM_EVENT_DEACTIVATE);
    if (pass == 4) PlatformHeadlessInjectWindowEvent(RenderWindow(), PLATFORM_EVENT_ACTIVATE);
    if (pass == 6) {
      EXPECT_FALSE(mainForm->appPaused);
      EXPECT_TRUE(StateIsPaused());
      StateSet(6);
    }
  };
  EXPECT_EQ(MainApplicationRun(), kExitGameEnded);
}

TEST_F(ShellLifecycle, DeactivationPausesTheTimerButPassesGoOn) {
  uint32_t timeAtDeactivation = 0;
  testGame.onPass = [&](int32_t pass) {
    if (pass == 3) PlatformHeadlessInjectWindowEvent(RenderWindow(), PLATFORM_EVENT_DEACTIVATE);
    if (pass == 4) timeAtDeactivation = StateTime(4);
    if (pass > 4 && pass < 10) {
      EXPECT_TRUE(StateIsPaused());
      EXPECT_EQ(StateTime(4), timeAtDeactivation);
    }
    if (pass == 10) PlatformHeadlessInjectWindowEvent(RenderWindow(), PLATFORM_EVENT_ACTIVATE);
    if (pass == 12) {
      EXPECT_FALSE(StateIsPaused());
      EXPECT_GT(StateTime(4), timeAtDeactivation);
      StateSet(6);
    }
  };
  EXPECT_EQ(MainApplicationRun(), kExitGameEnded);
  EXPECT_EQ(testGame.runCalls, 12);
}

TEST_F(ShellLifecycle, PausingInFullscreenAsksTheGameToMinimiseAndResumeReappliesTheMode) {
  testGame.onPass = [](int32_t pass) {
    if (pass == 1) {
      GraphicsSetFullscreen(true);
      MainThreadDisplaySetFullscreen(true);
    }
    if (pass == 2) PlatformHeadlessInjectWindowEvent(RenderWindow(), PLATFORM_EVENT_DEACTIVATE);
    if (pass == 3) {
      EXPECT_EQ(testGame.minimizeCalls, 1);
    }
    if (pass == 4) PlatformHeadlessInjectWindowEvent(RenderWindow(), PLATFORM_EVENT_ACTIVATE);
    if (pass == 5) {
      EXPECT_TRUE(GraphicsDisplayLostTake());
      StateSet(6);
    }
  };
  onLoopPass = [](int32_t) {
    // The game's minimise restores the desktop and minimises; bring the window back.
    if (PlatformAppIsMinimized()) {
      PlatformHeadlessInjectWindowEvent(RenderWindow(), PLATFORM_EVENT_RESTORE);
    }
  };
  EXPECT_EQ(MainApplicationRun(), kExitGameEnded);
  EXPECT_EQ(testGame.minimizeCalls, 1);
}

TEST_F(ShellLifecycle, DisplayChangeWhileRunningMarksTheDisplayLost) {
  testGame.onPass = [](int32_t pass) {
    if (pass == 1) PlatformHeadlessInjectWindowEvent(RenderWindow(), PLATFORM_EVENT_DISPLAY_CHANGE);
    if (pass == 2) {
      EXPECT_TRUE(GraphicsDisplayLostTake());
      StateSet(6);
    }
  };
  EXPECT_EQ(MainApplicationRun(), kExitGameEnded);
}

TEST_F(ShellLifecycle, KeyboardAndMouseHooksAreOnWhileTheGameRuns) {
  testGame.onPass = [](int32_t) {
    EXPECT_TRUE(InputKeyboardHookInstalled());
    EXPECT_TRUE(InputMouseHookInstalled());
    StateSet(6);
  };
  EXPECT_EQ(MainApplicationRun(), kExitGameEnded);
}

class ShellKeepAwake : public testing::Test {
 protected:
  void Run(uint32_t clockStart, int32_t passes) {
    box = ShellStart({}, clockStart);
    PlatformSetTickPerPass(1000);
    pulseTicks.clear();
    onLoopPass = nullptr;
    loopPasses = 0;
    MainSetPassHook(CountPass);
    lastCount = 0;
    testGame.onPass = [this, passes](int32_t pass) {
      if (PlatformKeepAwakePulseCount() != lastCount) {
        lastCount = PlatformKeepAwakePulseCount();
        pulseTicks.push_back(PlatformTickCount());
      }
      if (pass == passes) StateSet(6);
    };
    EXPECT_EQ(MainApplicationRun(), kExitGameEnded);
    MainSetPassHook(nullptr);
    ShellStop();
  }
  shellSandbox box;
  std::vector<uint32_t> pulseTicks;
  uint32_t lastCount = 0;
};

TEST_F(ShellKeepAwake, PulseAtMostEveryTenSeconds) {
  Run(0, 45);
  // A pass is 1 s of virtual time; the first pulse comes once more than 10 s have passed.
  ASSERT_GE(pulseTicks.size(), 3u);
  EXPECT_GT(pulseTicks[0], 10000u);
  for (size_t i = 1; i < pulseTicks.size(); ++i)
    EXPECT_GT(pulseTicks[i] - pulseTicks[i - 1], 10000u);
  EXPECT_LE(pulseTicks.size(), 4u);
}

TEST_F(ShellKeepAwake, KeepsItsRhythmAcrossTheWrapOfTheTickCounter) {
  Run(0xFFFFFFFFu - 25000u, 50);
  ASSERT_GE(pulseTicks.size(), 3u);
  for (size_t i = 1; i < pulseTicks.size(); ++i)
    EXPECT_GT(static_cast<uint32_t>(pulseTicks[i] - pulseTicks[i - 1]), 10000u) << "pulse " << i;
  EXPECT_LE(pulseTicks.size(), 5u);
}

TEST_F(ShellKeepAwake, NoPulseWhileInactive) {
  box = ShellStart();
  PlatformSetTickPerPass(1000);
  testGame.onPass = [](int32_t pass) {
    if (pass == 1) PlatformHeadlessInjectWindowEvent(RenderWindow(), PLATFORM_EVENT_DEACTIVATE);
    if (pass == 40) StateSet(6);
  };
  EXPECT_EQ(MainApplicationRun(), kExitGameEnded);
  EXPECT_EQ(PlatformKeepAwakePulseCount(), 0u);
  ShellStop();
}

TEST_F(ShellKeepAwake, TheScreenSaverIsHeldOffOnlyWhileActive) {
  box = ShellStart();
  PlatformSetTickPerPass(1000);
  std::vector<bool> held;
  testGame.onPass = [&held](int32_t pass) {
    held.push_back(PlatformKeepAwakeHeld());
    if (pass == 15) PlatformHeadlessInjectWindowEvent(RenderWindow(), PLATFORM_EVENT_DEACTIVATE);
    if (pass == 40) StateSet(6);
  };
  EXPECT_EQ(MainApplicationRun(), kExitGameEnded);
  ASSERT_GE(held.size(), 40u);
  // Before the first pulse nothing holds it, neither SDL nor the game.
  EXPECT_FALSE(held[4]);
  EXPECT_TRUE(held[13]);
  // Inactive from pass 15 on: no pulse since about pass 11, and the hold lapses.
  EXPECT_FALSE(held[35]);
  EXPECT_FALSE(PlatformKeepAwakeHeld());
  ShellStop();
}

class ShellStartChecks : public testing::Test {
 protected:
  void TearDown() override { ShellStop(); }
};

TEST_F(ShellStartChecks, SoftwareOpenGLAsksAndNoDoesNotStartTheGame) {
  ShellStart({"-answerno"});
  PlatformHeadlessSetAccelerated(0);
  EXPECT_EQ(MainApplicationRun(), kExitNotStarted);
  EXPECT_EQ(testGame.initCalls, 0);
  ASSERT_EQ(PlatformMessageBoxHistory().size(), 1u);
  const platformMessageBoxRecord& box = PlatformMessageBoxHistory()[0];
  EXPECT_EQ(
      box.text,
      "Your system does not have hardware acceleration for OpenGL.  Sanguor can be run but at reduced "
      "performance levels.\r\n\r\nYou may be able to correct this by updating your video drivers from "
      "your vendor's website.\r\n\r\nWould you like to run Sanguor anyway?");
  EXPECT_EQ(box.caption, "Sanguor");
  EXPECT_EQ(box.flags, 0x24u);
  EXPECT_EQ(box.answer, kPlatformAnswerNo);
  EXPECT_EQ(mainForm, nullptr);
}

TEST_F(ShellStartChecks, SoftwareOpenGLAnsweredYesRunsTheGame) {
  ShellStart();
  PlatformHeadlessSetAccelerated(0);
  testGame.onPass = [](int32_t) { StateSet(6); };
  EXPECT_EQ(MainApplicationRun(), kExitGameEnded);
  ASSERT_EQ(PlatformMessageBoxHistory().size(), 1u);
  EXPECT_EQ(PlatformMessageBoxHistory()[0].answer, kPlatformAnswerYes);
  EXPECT_EQ(testGame.initCalls, 1);
}

TEST_F(ShellStartChecks, FailedGameInitShowsNothingAndTheHeadlessLauncherCloses) {
  ShellStart();
  testGame.initResult = false;
  EXPECT_EQ(MainApplicationRun(), kExitNotStarted);
  EXPECT_TRUE(PlatformMessageBoxHistory().empty());
  EXPECT_EQ(testGame.runCalls, 0);
  EXPECT_EQ(testGame.cleanupCalls, 0);
  EXPECT_EQ(mainForm, nullptr);
}

}  // namespace
