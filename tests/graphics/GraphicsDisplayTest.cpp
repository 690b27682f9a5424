// Displays, monitors and their modes, resolution changes and the context life cycle, on the
// headless platform's virtual monitors with real OpenGL contexts.
#include <gtest/gtest.h>

#include <cfenv>

#include "GraphicsTestSupport.h"
#include "graphics/GL.h"
#include "graphics/fwkGraphics.h"
#include "graphics/fwkModel.h"
#include "platform/platform_system.h"

namespace {

bool Equal(const graphicsMode& mode, int32_t width, int32_t height, int32_t bits, int32_t number) {
  return mode.width == width && mode.height == height && mode.bitsPerPixel == bits &&
         mode.modeNumber == number;
}

bool LogHas(const std::string& text) { return GraphicsTestLog().find(text) != std::string::npos; }

class GraphicsDisplays : public ::testing::Test {
 protected:
  void SetUp() override { PlatformHeadlessSetMonitors(PlatformHeadlessDefaultMonitors()); }
  void TearDown() override {
    GraphicsTestStop();
    PlatformHeadlessSetModeChangeResult(PLATFORM_DISP_CHANGE_SUCCESSFUL);
    PlatformHeadlessSetAccelerated(-1);
  }
};

TEST_F(GraphicsDisplays, DefaultMonitorListsItsModesOrderedAndDistinct) {
  GraphicsTestStart();
  ASSERT_EQ(GraphicsMonitorCount(), 1);
  const graphicsMonitor& lists = GraphicsMonitorLists(0);
  EXPECT_EQ(lists.allModes.size(), 24u);
  ASSERT_EQ(lists.distinctModes.size(), 12u);
  // Of two refresh rates the one enumerated last stays: mode numbers 1, 3, 5, ...
  EXPECT_TRUE(Equal(GraphicsMonitorMode(0, 0), 640, 480, 16, 1));
  EXPECT_TRUE(Equal(GraphicsMonitorMode(0, 1), 640, 480, 32, 3));
  EXPECT_TRUE(Equal(GraphicsMonitorMode(0, 6), 1280, 720, 16, 13));
  EXPECT_TRUE(Equal(GraphicsMonitorMode(0, 11), 1920, 1080, 32, 23));
  EXPECT_EQ(GraphicsMonitorModeText(0, 7), "1280x720 32-bit color");
  EXPECT_EQ(GraphicsMonitorModeText(0, 12), "");
  EXPECT_EQ(GraphicsMonitorModeIndex(0, 1024, 768, 32), 5);
  EXPECT_TRUE(Equal(GraphicsMonitorFindMode(0, 800, 600, 16), 800, 600, 16, 5));
  EXPECT_TRUE(Equal(GraphicsMonitorFindMode(0, 800, 600, 24), 0, 0, 0, 0));
}

TEST_F(GraphicsDisplays, ModeListFollowsTheInsertionRuleAndSkipsSmallModes) {
  platformVirtualMonitor monitor;
  monitor.rect = {0, 0, 1024, 768};
  monitor.primary = true;
  monitor.deviceName = "virtual";
  monitor.modes = {
      {1024, 768, 32, 60},  // 0
      {800, 600, 32, 60},   // 1
      {600, 480, 32, 60},   // 2: too narrow
      {640, 480, 8, 60},    // 3: too few colours
      {1024, 768, 32, 85},  // 4: same as 0, goes in front of it
      {1024, 600, 16, 60},  // 5
      {800, 600, 16, 60},   // 6
      {640, 400, 32, 60},   // 7: too low
  };
  PlatformHeadlessSetMonitors({monitor});
  GraphicsTestStart();
  const graphicsMonitor& lists = GraphicsMonitorLists(0);
  ASSERT_EQ(lists.allModes.size(), 5u);
  EXPECT_TRUE(Equal(lists.allModes[0], 800, 600, 16, 6));
  EXPECT_TRUE(Equal(lists.allModes[1], 800, 600, 32, 1));
  EXPECT_TRUE(Equal(lists.allModes[2], 1024, 600, 16, 5));
  EXPECT_TRUE(Equal(lists.allModes[3], 1024, 768, 32, 4));
  EXPECT_TRUE(Equal(lists.allModes[4], 1024, 768, 32, 0));
  ASSERT_EQ(lists.distinctModes.size(), 4u);
  EXPECT_TRUE(Equal(lists.distinctModes[3], 1024, 768, 32, 4));
}

TEST_F(GraphicsDisplays, InsertionScansWidthThenHeightThenDepthFromWhereTheLastStopped) {
  std::vector<graphicsMode> modes;
  GraphicsModeInsert(modes, {800, 600, 32, 0});
  GraphicsModeInsert(modes, {1024, 480, 16, 1});
  GraphicsModeInsert(modes, {800, 768, 16, 2});
  // The height scan goes on from where the width scan stopped and passes the wider
  // 1024x480 too, since its height is smaller: 800x700 lands between two wider modes.
  GraphicsModeInsert(modes, {800, 700, 16, 3});
  std::vector<int32_t> numbers;
  for (const graphicsMode& mode : modes) {
    numbers.push_back(mode.modeNumber);
  }
  EXPECT_EQ(numbers, (std::vector<int32_t>{0, 1, 3, 2}));
}

TEST_F(GraphicsDisplays, MonitorIndexOutOfRangeFindsNothing) {
  GraphicsTestStart();
  EXPECT_TRUE(Equal(GraphicsMonitorFindMode(1, 640, 480, 32), 0, 0, 0, 0));
  EXPECT_EQ(GraphicsMonitorModeIndex(-1, 640, 480, 32), -1);
  EXPECT_TRUE(Equal(GraphicsMonitorMode(5, 0), 0, 0, 0, 0));
  EXPECT_EQ(GraphicsMonitorModeText(1, 0), "");
  int32_t id = GraphicsDisplayAdd(PlatformAppWindow(), "Elsewhere", 3);
  GraphicsDisplaySetMode(id, {640, 480, 32, 3});
  EXPECT_EQ(GraphicsDisplayModeIndex(id), -1);
  EXPECT_EQ(GraphicsDisplayWidth(id), 1);
}

TEST_F(GraphicsDisplays, FirstDisplayAfterStartGetsIdOneAndDisplayQueriesAnswerNeutrally) {
  GraphicsTestStart();
  EXPECT_EQ(GraphicsDisplayCount(), 0);
  EXPECT_EQ(GraphicsDisplayCurrent(), -1);
  platformWindow window = PlatformAppWindow();
  int32_t first = GraphicsDisplayAdd(window, "Primary", 0);
  EXPECT_EQ(first, 1);
  EXPECT_NE(ModelDisplayRecord(first), nullptr);
  EXPECT_EQ(GraphicsDisplayAdd(window, "Second", 0), 2);
  EXPECT_EQ(GraphicsDisplayGet(2), 1);
  EXPECT_EQ(GraphicsDisplayWindow(first), window);
  EXPECT_EQ(GraphicsDisplayWindow(99), 0u);
  EXPECT_TRUE(Equal(GraphicsDisplayMode(99, 0), 0, 0, 0, -1));
  EXPECT_EQ(GraphicsDisplayWidth(first), 1);
  EXPECT_EQ(GraphicsDisplayHeight(first), 1);
  GraphicsDisplaySetMode(first, {0, 600, 32, 5});
  EXPECT_EQ(GraphicsDisplayModeIndex(first), -1) << "a zero-width mode changes nothing";
  GraphicsDisplaySetMode(first, {1280, 720, 32, 15});
  EXPECT_EQ(GraphicsDisplayModeIndex(first), 7);
  EXPECT_EQ(GraphicsDisplayWidth(first), 1280);
  EXPECT_EQ(GraphicsDisplayHeight(first), 720);

  GraphicsDisplayClose(first);
  EXPECT_FALSE(GraphicsDisplayExists(first));
  EXPECT_EQ(ModelDisplayRecord(first), nullptr);
  EXPECT_EQ(GraphicsDisplayGet(2), 0);
  EXPECT_EQ(GraphicsDisplayAdd(window, "Third", 0), 3) << "ids are not reused";
}

TEST_F(GraphicsDisplays, FreeingContextsReportsBadIndexesAndAcceptsDisplaysWithoutContexts) {
  GraphicsTestStart();
  int32_t id = GraphicsDisplayAdd(PlatformAppWindow(), "Primary", 0);
  GraphicsTestLogClear();
  EXPECT_TRUE(GraphicsDisplayFreeRC(0));
  EXPECT_EQ(GraphicsTestLog(), "");
  EXPECT_FALSE(GraphicsDisplayFreeRC(1));
  EXPECT_TRUE(LogHas("Error: GraphicsDisplayFreeRC - Invalid display Index \"1.\r\n"));
  EXPECT_FALSE(GraphicsDisplayCreateRC(id + 1));
  EXPECT_TRUE(LogHas("Error: GraphicsDisplayCreateRC - Can't get display 2.\r\n"));

  GraphicsTestLogClear();
  GraphicsRenderBegin(id);
  std::string log = GraphicsTestLog();
  EXPECT_TRUE(
      LogHas("Error: GraphicsRenderBegin - Unable to make RC current on display \"Primary\": "));
  EXPECT_TRUE(LogHas("\r\n  Handle = " + std::to_string(PlatformAppWindow()) +
                     "\r\n  DC = 0\r\n  RC = 0\r\n"));
}

TEST_F(GraphicsDisplays, ContextGetsTheFixedInitialState) {
  GraphicsTestStart();
  int32_t id = GraphicsTestOpenDisplay(32, 32);
  ASSERT_EQ(GraphicsDisplayCurrent(), id);
  EXPECT_EQ(gl.IsEnabled(GL_BLEND), GL_TRUE);
  EXPECT_EQ(gl.IsEnabled(GL_TEXTURE_2D), GL_TRUE);
  EXPECT_EQ(gl.IsEnabled(GL_DEPTH_TEST), GL_TRUE);
  EXPECT_EQ(gl.IsEnabled(GL_CULL_FACE), GL_FALSE);
  GLint value = 0;
  gl.GetIntegerv(GL_DEPTH_FUNC, &value);
  EXPECT_EQ(value, static_cast<GLint>(GL_LEQUAL));
  gl.GetIntegerv(GL_BLEND_DST, &value);
  EXPECT_EQ(value, static_cast<GLint>(GL_ONE_MINUS_SRC_ALPHA));
  GLint depthBits = 0;
  gl.GetIntegerv(GL_DEPTH_BITS, &depthBits);
  EXPECT_GE(depthBits, 16);
  GraphicsRenderBegin(id);
  testFrame frame = GraphicsTestBackBuffer();
  EXPECT_EQ(frame.At(0, 0), testBlack);

  GraphicsSetCullMode(4);
  gl.GetIntegerv(GL_FRONT_FACE, &value);
  EXPECT_EQ(value, static_cast<GLint>(GL_CW));
  gl.GetIntegerv(GL_CULL_FACE_MODE, &value);
  EXPECT_EQ(value, static_cast<GLint>(GL_FRONT));
  EXPECT_EQ(gl.IsEnabled(GL_CULL_FACE), GL_TRUE);
  GraphicsSetCullMode(1);
  gl.GetIntegerv(GL_FRONT_FACE, &value);
  EXPECT_EQ(value, static_cast<GLint>(GL_CCW));
  PlatformSetArguments({"-NoCull"});
  GraphicsSetCullMode(1);
  EXPECT_EQ(gl.IsEnabled(GL_CULL_FACE), GL_FALSE);
}

// Each display keeps its own context: what is drawn between GraphicsRenderBegin and
// GraphicsRenderEnd of one display shows in that display's window only.
TEST_F(GraphicsDisplays, EachDisplayPresentsItsOwnFrame) {
  GraphicsTestStart({"-flush", "-finish"});
  int32_t left = GraphicsTestOpenDisplay(16, 8);
  int32_t right = GraphicsTestOpenDisplay(24, 8);
  GraphicsRenderBegin(left);
  EXPECT_EQ(GraphicsDisplayCurrent(), left);
  gl.ClearColor(1, 0, 0, 1);
  gl.Clear(GL_COLOR_BUFFER_BIT);
  GraphicsRenderBegin(right);
  EXPECT_EQ(GraphicsDisplayCurrent(), right);
  GraphicsRenderEnd(right);
  GraphicsRenderBegin(left);
  GraphicsRenderEnd(left);

  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> pixels;
  ASSERT_TRUE(PlatformWindowReadPixels(GraphicsDisplayWindow(left), width, height, pixels));
  EXPECT_EQ(width, 16);
  EXPECT_EQ(pixels[0], testRed) << "the clear colour belongs to the left display's context";
  ASSERT_TRUE(PlatformWindowReadPixels(GraphicsDisplayWindow(right), width, height, pixels));
  EXPECT_EQ(width, 24);
  EXPECT_EQ(pixels[0], testBlack);
  GraphicsTestLogClear();
  GraphicsDisplayClose(left);
  GraphicsDisplayClose(right);
  EXPECT_EQ(GraphicsTestLog(), "") << "closing displays with contexts releases them cleanly";
  EXPECT_EQ(GraphicsDisplayCurrent(), -1);
}

TEST_F(GraphicsDisplays, HardwareAccelerationFollowsThePixelFormats) {
  GraphicsTestStart();
  platformWindow window = PlatformAppWindow();
  PlatformHeadlessSetAccelerated(1);
  EXPECT_TRUE(GraphicsHardwareAccelerated(window));
  PlatformHeadlessSetAccelerated(0);
  EXPECT_FALSE(GraphicsHardwareAccelerated(window));
  EXPECT_FALSE(GraphicsHardwareAccelerated(0));
}

TEST_F(GraphicsDisplays, ResolutionChangesAreAppliedAndEveryFailureIsReported) {
  GraphicsTestStart();
  PlatformHeadlessClearModeChanges();
  graphicsMode mode = GraphicsMonitorFindMode(0, 1280, 720, 32);
  EXPECT_TRUE(GraphicsMonitorSetResolution(0, mode.modeNumber));
  ASSERT_EQ(PlatformHeadlessModeChanges().size(), 1u);
  EXPECT_EQ(PlatformHeadlessModeChanges()[0].mode.width, 1280);
  EXPECT_EQ(PlatformMonitorRect(0).width, 1280);
  EXPECT_EQ(PlatformMonitorRect(0).height, 720);
  EXPECT_TRUE(GraphicsMonitorsRestoreDesktop());
  EXPECT_EQ(PlatformMonitorRect(0).width, 1920);

  GraphicsTestLogClear();
  EXPECT_FALSE(GraphicsMonitorSetResolution(1, 0));
  EXPECT_TRUE(LogHas(
      "Error: GraphicsMonitorSetResolution - Unable to enumerate device name for monitor 1.\r\n"));
  EXPECT_FALSE(GraphicsMonitorSetResolution(0, 24));
  EXPECT_TRUE(LogHas(
      "Error: GraphicsMonitorSetResolution - Unable to enumerate display settings for monitor 0.\r\n"));

  const std::pair<int32_t, const char*> results[] = {
      {PLATFORM_DISP_CHANGE_RESTART, "Restart needed to set resolution on monitor 0."},
      {PLATFORM_DISP_CHANGE_FAILED, "Resolution change failed on monitor 0."},
      {PLATFORM_DISP_CHANGE_BADMODE, "Invalid resolution specified for monitor 0."},
      {PLATFORM_DISP_CHANGE_BADFLAGS, "Bad flags encountered setting resolution on monitor 0."},
      {PLATFORM_DISP_CHANGE_BADPARAM, "Bad parameter encountered setting resolution on monitor 0."},
  };
  for (const auto& [code, text] : results) {
    PlatformHeadlessSetModeChangeResult(code);
    GraphicsTestLogClear();
    EXPECT_FALSE(GraphicsMonitorSetResolution(0, mode.modeNumber)) << code;
    EXPECT_EQ(GraphicsTestLog(),
              std::string("Error: GraphicsMonitorSetResolution - ") + text + "\r\n")
        << code;
  }
  PlatformHeadlessSetModeChangeResult(PLATFORM_DISP_CHANGE_NOTUPDATED);
  GraphicsTestLogClear();
  EXPECT_FALSE(GraphicsMonitorSetResolution(0, mode.modeNumber));
  EXPECT_EQ(GraphicsTestLog(), "");
}

TEST_F(GraphicsDisplays, DesktopRestoreReportsEachFailure) {
  GraphicsTestStart();
  const std::pair<int32_t, const char*> results[] = {
      {PLATFORM_DISP_CHANGE_RESTART,
       "Error: GraphicsMonitorsRestoreDesktop - Restart needed to set resolution.\r\n"},
      {PLATFORM_DISP_CHANGE_FAILED,
       "Error: GraphicsMonitorsRestoreDesktop - Resolution change failed.\r\n"},
      {PLATFORM_DISP_CHANGE_BADMODE,
       "Error: GraphicsMonitorsRestoreDesktop - Invalid resolution specified.\r\n"},
      {PLATFORM_DISP_CHANGE_BADFLAGS,
       "Error: GraphicsMonitorsRestoreDesktop - Bad flags encountered setting resolution.\r\n"},
      {PLATFORM_DISP_CHANGE_BADPARAM, ""},
  };
  for (const auto& [code, text] : results) {
    PlatformHeadlessSetModeChangeResult(code);
    GraphicsTestLogClear();
    EXPECT_FALSE(GraphicsMonitorsRestoreDesktop()) << code;
    EXPECT_EQ(GraphicsTestLog(), text) << code;
  }
}

TEST_F(GraphicsDisplays, FullscreenSwitchAppliesEachDisplaysModeAndKeepsTheFlagOnFailure) {
  GraphicsTestStart();
  int32_t id = GraphicsDisplayAdd(PlatformAppWindow(), "Primary", 0);
  GraphicsDisplaySetMode(id, GraphicsMonitorFindMode(0, 800, 600, 32));
  PlatformHeadlessClearModeChanges();
  GraphicsSetFullscreen(true);
  EXPECT_TRUE(GraphicsIsFullscreen());
  ASSERT_EQ(PlatformHeadlessModeChanges().size(), 1u);
  EXPECT_EQ(PlatformHeadlessModeChanges()[0].modeNumber, 7);
  GraphicsSetFullscreen(false);
  EXPECT_FALSE(GraphicsIsFullscreen());
  EXPECT_EQ(PlatformHeadlessModeChanges().back().monitor, -1);

  PlatformHeadlessSetModeChangeResult(PLATFORM_DISP_CHANGE_FAILED);
  GraphicsSetFullscreen(true);
  EXPECT_TRUE(GraphicsIsFullscreen());
  PlatformHeadlessSetModeChangeResult(PLATFORM_DISP_CHANGE_SUCCESSFUL);
  PlatformHeadlessClearModeChanges();
  GraphicsFinal();
  ASSERT_EQ(PlatformHeadlessModeChanges().size(), 1u)
      << "shut-down in fullscreen restores the desktop";
  EXPECT_EQ(PlatformHeadlessModeChanges()[0].monitor, -1);
}

TEST_F(GraphicsDisplays, DisplayLostIsIgnoredWhileChanging) {
  GraphicsTestStart();
  GraphicsSetChanging(true);
  GraphicsDisplayLost();
  EXPECT_FALSE(GraphicsDisplayLostTake());
  GraphicsSetChanging(false);
  GraphicsDisplayLost();
  EXPECT_TRUE(GraphicsDisplayLostTake());
  EXPECT_FALSE(GraphicsDisplayLostTake());
}

// The display-change notice of a mode switch arrives while the switch is under way, so a
// rebuild that sets the changing flag does not report itself as a lost display.
TEST_F(GraphicsDisplays, ModeSwitchNoticeArrivesDuringTheSwitch) {
  GraphicsTestStart();
  platformWindow window = PlatformAppWindow();
  PlatformWindowSetHandler(
      window,
      [](platformWindow, const platformWindowEvent& event, void*) {
        if (event.kind == PLATFORM_EVENT_DISPLAY_CHANGE) {
          GraphicsDisplayLost();
        }
      },
      nullptr);
  int32_t id = GraphicsDisplayAdd(window, "Primary", 0);
  GraphicsDisplaySetMode(id, GraphicsMonitorFindMode(0, 1024, 768, 16));
  GraphicsSetChanging(true);
  GraphicsSetFullscreen(true);
  GraphicsSetChanging(false);
  PlatformPumpMessages();
  EXPECT_FALSE(GraphicsDisplayLostTake());
  GraphicsSetFullscreen(false);
  EXPECT_TRUE(GraphicsDisplayLostTake());
  PlatformWindowSetHandler(window, nullptr, nullptr);
}

TEST_F(GraphicsDisplays, ErrorTextsNameTheOpenGLError) {
  EXPECT_EQ(GraphicsErrorText(1280),
            "Invalid enumerated value passed to OpenGL function.  Error = 1280");
  EXPECT_EQ(GraphicsErrorText(1281), "Invalid value passed to OpenGL function.  Error = 1281");
  EXPECT_EQ(GraphicsErrorText(1282), "Invalid operation for current OpenGL state.  Error = 1282");
  EXPECT_EQ(GraphicsErrorText(1285), "Insufficient memory for OpenGL operation.  Error = 1285");
  EXPECT_EQ(GraphicsErrorText(1283), "Unrecgoznied OpenGL error 1283.");
}

TEST(GLTable, EveryOpenGL11EntryResolvesByNameWithFloatingPointExceptionsMasked) {
  PlatformSetHeadless(true);
  feenableexcept(FE_DIVBYZERO | FE_INVALID);
  GLInit();
  EXPECT_EQ(fegetexcept(), 0);
  EXPECT_EQ(GLResolvedCount(), glEntryCount);
  EXPECT_STREQ(GLEntryName(0), "glAccum");
  EXPECT_STREQ(GLEntryName(glEntryCount - 1), "glViewport");
  EXPECT_STREQ(GLEntryName(glEntryCount), "");
  GLUnload();
  EXPECT_EQ(GLResolvedCount(), 0);
  EXPECT_EQ(gl.GetError(), 0u) << "an empty entry does nothing and answers zero";
  GLInit();
}

}  // namespace
