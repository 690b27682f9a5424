// Render windows and the display operations of the main window, on virtual monitors, with real
// OpenGL behind the displays.
#include <gtest/gtest.h>

#include "ShellTestSupport.h"
#include "graphics/GL.h"
#include "graphics/fwkGraphics.h"
#include "platform/platform.h"
#include "services/fwkLog.h"
#include "shell/UntMain.h"

namespace {

platformVirtualMonitor Monitor(int32_t left, int32_t top, int32_t width, int32_t height,
                               bool primary) {
  platformVirtualMonitor monitor = PlatformHeadlessDefaultMonitors()[0];
  monitor.rect = {left, top, width, height};
  monitor.primary = primary;
  return monitor;
}

class ShellDisplays : public testing::Test {
 protected:
  void Start(
      const std::vector<platformVirtualMonitor>& monitors = PlatformHeadlessDefaultMonitors()) {
    box = ShellStart();
    // The monitors are read when the display module starts: start it again on these.
    PlatformHeadlessSetMonitors(monitors);
    GraphicsInit();
    mainForm = new TmainForm();
  }
  void TearDown() override {
    delete mainForm;
    mainForm = nullptr;
    ShellStop();
  }
  std::string Log() { return ReadWholeFile(LogFolder() + LogFileName()); }
  TrenderForm* Form(int32_t id) {
    for (const mainDisplayEntry& entry : mainForm->displays)
      if (entry.displayId == id) return entry.form;
    return nullptr;
  }
  shellSandbox box;
};

TEST_F(ShellDisplays, WindowedRenderWindowIsCentredOnItsMonitor) {
  Start();
  const int32_t id = MainThreadDisplayAdd(0, "Primary", true);
  ASSERT_EQ(id, 1);
  MainThreadDisplayResize(id, 1280, 720);
  const platformWindow window = GraphicsDisplayWindow(id);
  EXPECT_EQ(PlatformWindowPosition(window).x, 320);
  EXPECT_EQ(PlatformWindowPosition(window).y, 180);
  EXPECT_EQ(PlatformWindowClientRect(window).width, 1280);
  EXPECT_EQ(PlatformWindowClientRect(window).height, 720);
  EXPECT_EQ(PlatformWindowBorder(window), PLATFORM_BORDER_DIALOG);
  EXPECT_EQ(PlatformWindowCaption(window), "Sanguor");
  EXPECT_FALSE(PlatformWindowCursorVisible(window));
  EXPECT_EQ(Form(id)->windowedWidth, 1280);
}

TEST_F(ShellDisplays, CentringUsesTheMonitorsOwnOrigin) {
  Start({Monitor(0, 0, 1920, 1080, true), Monitor(1920, 0, 1280, 1024, false)});
  const int32_t id = MainThreadDisplayAdd(1, "Primary", false);
  MainThreadDisplayResize(id, 640, 480);
  const platformPoint at = PlatformWindowPosition(GraphicsDisplayWindow(id));
  EXPECT_EQ(at.x, 1920 + 320);
  EXPECT_EQ(at.y, 272);
}

TEST_F(ShellDisplays, InvalidMonitorIndexFallsBackToThePrimaryMonitor) {
  Start({Monitor(-1280, 0, 1280, 1024, false), Monitor(0, 0, 1920, 1080, true)});
  EXPECT_EQ(MainGetPrimaryMonitorId(), 1);
  const int32_t id = MainThreadDisplayAdd(2, "Primary", false);
  EXPECT_EQ(Form(id)->monitor, 1);
  EXPECT_NE(
      Log().find(
          "Error: renderForm.SetMonitor - Invalid monitor ID \"2\".  Defaulting to primary monitor."),
      std::string::npos);
  const int32_t negative = MainThreadDisplayAdd(-1, "Second", false);
  EXPECT_EQ(Form(negative)->monitor, 1);
  EXPECT_NE(Log().find("Invalid monitor ID \"-1\"."), std::string::npos);
}

TEST_F(ShellDisplays, SettingTheMonitorMovesByTheOffsetBetweenMonitorOrigins) {
  Start({Monitor(0, 0, 1920, 1080, true), Monitor(1920, 100, 1280, 1024, false)});
  const int32_t id = MainThreadDisplayAdd(0, "Primary", false);
  TrenderForm* form = Form(id);
  const platformPoint before = PlatformWindowPosition(form->Handle());
  form->RenderFormSetMonitor(1);
  const platformPoint after = PlatformWindowPosition(form->Handle());
  EXPECT_EQ(after.x - before.x, 1920);
  EXPECT_EQ(after.y - before.y, 100);
}

TEST_F(ShellDisplays, PrimaryMonitorIsTheFirstMarkedOneElseZero) {
  Start({Monitor(0, 0, 800, 600, false), Monitor(800, 0, 800, 600, false)});
  EXPECT_EQ(MainGetPrimaryMonitorId(), 0);
}

TEST_F(ShellDisplays, FullscreenCoversTheMonitorAndWindowedComesBackCentred) {
  Start();
  const int32_t id = MainThreadDisplayAdd(0, "Primary", true);
  MainThreadDisplayResize(id, 800, 600);
  MainThreadDisplaySetFullscreen(true);
  const platformWindow window = GraphicsDisplayWindow(id);
  EXPECT_EQ(PlatformWindowBorder(window), PLATFORM_BORDER_FULLSCREEN);
  EXPECT_EQ(PlatformWindowPosition(window).x, 0);
  EXPECT_EQ(PlatformWindowPosition(window).y, 0);
  EXPECT_EQ(PlatformWindowClientRect(window).width, 1920);
  EXPECT_EQ(PlatformWindowClientRect(window).height, 1080);
  // Back in a window it has the size it had before, centred: the monitor's size is the
  // desktop's here, not the display's mode, and a window switched back during play must not
  // keep it.
  MainThreadDisplaySetFullscreen(false);
  EXPECT_EQ(PlatformWindowBorder(window), PLATFORM_BORDER_DIALOG);
  EXPECT_EQ(PlatformWindowClientRect(window).width, 800);
  EXPECT_EQ(PlatformWindowClientRect(window).height, 600);
  EXPECT_EQ(PlatformWindowPosition(window).x, (1920 - 800) / 2);
}

TEST_F(ShellDisplays, NewDisplaysOpenFullscreenWhileTheProgramIsFullscreen) {
  Start();
  GraphicsSetFullscreen(true);
  const int32_t id = MainThreadDisplayAdd(0, "Primary", false);
  EXPECT_EQ(PlatformWindowBorder(GraphicsDisplayWindow(id)), PLATFORM_BORDER_FULLSCREEN);
}

TEST_F(ShellDisplays, ClosingADisplayClosesItsWindowAndDropsTheEntry) {
  Start();
  const int32_t first = MainThreadDisplayAdd(0, "Primary", true);
  const int32_t second = MainThreadDisplayAdd(0, "Second", false);
  const platformWindow firstWindow = GraphicsDisplayWindow(first);
  MainThreadDisplayClose(first);
  EXPECT_FALSE(GraphicsDisplayExists(first));
  EXPECT_FALSE(PlatformWindowExists(firstWindow));
  ASSERT_EQ(mainForm->displays.size(), 1u);
  EXPECT_EQ(mainForm->displays[0].displayId, second);
}

TEST_F(ShellDisplays, RenderWindowOfALiveDisplayRefusesToCloseAndAsksTheGameToEnd) {
  Start();
  const int32_t id = MainThreadDisplayAdd(0, "Primary", false);
  EXPECT_FALSE(Form(id)->Close());
  EXPECT_TRUE(mainForm->closeRequested);
  EXPECT_TRUE(PlatformWindowExists(GraphicsDisplayWindow(id)));
}

TEST_F(ShellDisplays, ShowMouseSwitchesTheCursorOfEveryRenderWindow) {
  Start();
  const platformWindow a = GraphicsDisplayWindow(MainThreadDisplayAdd(0, "A", false));
  const platformWindow b = GraphicsDisplayWindow(MainThreadDisplayAdd(0, "B", false));
  MainDisplayShowMouse(true);
  EXPECT_TRUE(PlatformWindowCursorVisible(a));
  EXPECT_TRUE(PlatformWindowCursorVisible(b));
  MainDisplayShowMouse(false);
  EXPECT_FALSE(PlatformWindowCursorVisible(a));
  EXPECT_FALSE(PlatformWindowCursorVisible(b));
}

TEST_F(ShellDisplays, ShowingARenderWindowHidesTheLauncher) {
  Start();
  PlatformWindowShow(mainForm->Handle());
  MainThreadDisplayAdd(0, "Primary", false);
  EXPECT_FALSE(PlatformWindowIsVisible(mainForm->Handle()));
}

}  // namespace
