// The headless video platform: windows, the pump with injected events, window outlines,
// virtual monitors and the double-buffered offscreen read-back, with real SDL and Mesa.
#include <gtest/gtest.h>

#include "platform/common/app_window_source.h"
#include "platform/platform_system.h"
#include "platform/platform_video.h"

namespace {

struct recorder {
  std::vector<platformWindowEventKind> kinds;
  std::vector<platformAppEventKind> appKinds;
};

void Record(platformWindow, const platformWindowEvent& event, void* context) {
  static_cast<recorder*>(context)->kinds.push_back(event.kind);
}

void RecordApp(platformAppEventKind kind, void* context) {
  static_cast<recorder*>(context)->appKinds.push_back(kind);
}

// A double-buffered OpenGL context on the window's device context.
platformGLContext ContextOn(platformWindow window) {
  platformDC dc = PlatformGetDC(window);
  platformPixelFormat wanted;
  wanted.flags = PLATFORM_PF_DOUBLEBUFFER | PLATFORM_PF_DRAW_TO_WINDOW | PLATFORM_PF_SUPPORT_OPENGL;
  PlatformSetPixelFormat(dc, PlatformChoosePixelFormat(dc, wanted), wanted);
  return PlatformGLCreateContext(dc);
}

class PlatformVideo : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    PlatformSetHeadless(true);
    PlatformHeadlessSetMonitors(PlatformHeadlessDefaultMonitors());
  }
  static void TearDownTestSuite() { PlatformVideoShutdown(); }

  platformWindow Window(int32_t width, int32_t height) {
    platformWindowParams params;
    params.caption = "renderForm";
    params.width = width;
    params.height = height;
    platformWindow window = PlatformWindowCreate(params);
    windows.push_back(window);
    return window;
  }

  void TearDown() override {
    PlatformAppSetHandler(nullptr, nullptr);
    for (platformWindow window : windows) {
      PlatformWindowDestroy(window);
    }
    PlatformPumpMessages();
  }

  std::vector<platformWindow> windows;
};

TEST_F(PlatformVideo, WindowsKeepTheirGeometryCaptionAndStyle) {
  platformWindow window = Window(512, 408);
  ASSERT_NE(window, 0u);
  EXPECT_FALSE(PlatformWindowIsVisible(window));
  platformPoint centred = PlatformWindowPosition(window);
  EXPECT_EQ(centred.x, (1920 - 512) / 2);
  EXPECT_EQ(centred.y, (1080 - 408) / 2);
  PlatformWindowShow(window);
  EXPECT_TRUE(PlatformWindowIsVisible(window));
  PlatformWindowSetCaption(window, "Sanguor");
  EXPECT_EQ(PlatformWindowCaption(window), "Sanguor");
  PlatformWindowSetClientSize(window, 1280, 720);
  PlatformWindowSetPosition(window, 320, 180);
  EXPECT_EQ(PlatformWindowClientRect(window).width, 1280);
  EXPECT_EQ(PlatformWindowClientRect(window).height, 720);
  EXPECT_EQ(PlatformWindowPosition(window).x, 320);
  PlatformWindowSetBorder(window, PLATFORM_BORDER_FULLSCREEN);
  EXPECT_EQ(PlatformWindowBorder(window), PLATFORM_BORDER_FULLSCREEN);
  PlatformWindowSetCursorVisible(window, false);
  EXPECT_FALSE(PlatformWindowCursorVisible(window));
  PlatformWindowDestroy(window);
  EXPECT_FALSE(PlatformWindowExists(window));
  EXPECT_EQ(PlatformWindowClientRect(window).width, 0);
}

TEST_F(PlatformVideo, InjectedEventsArriveThroughThePumpWithTheirStateChanges) {
  recorder seen;
  platformWindow window = Window(64, 64);
  PlatformWindowShow(window);
  PlatformWindowSetHandler(window, &Record, &seen);
  PlatformAppSetHandler(&RecordApp, &seen);
  PlatformPumpMessages();
  ASSERT_TRUE(PlatformAppIsActive());
  seen.appKinds.clear();

  PlatformHeadlessInjectWindowEvent(window, PLATFORM_EVENT_CLOSE);
  PlatformHeadlessInjectWindowEvent(window, PLATFORM_EVENT_DEACTIVATE);
  EXPECT_TRUE(seen.kinds.empty()) << "nothing is delivered outside the pump";
  PlatformPumpMessages();
  EXPECT_EQ(seen.kinds, (std::vector<platformWindowEventKind>{PLATFORM_EVENT_CLOSE,
                                                              PLATFORM_EVENT_DEACTIVATE}));
  EXPECT_TRUE(PlatformWindowExists(window)) << "a close request closes nothing";
  EXPECT_FALSE(PlatformAppIsActive());

  PlatformHeadlessInjectWindowEvent(window, PLATFORM_EVENT_MINIMIZE);
  PlatformPumpMessages();
  EXPECT_TRUE(PlatformWindowIsMinimized(window));
  EXPECT_TRUE(PlatformAppIsMinimized());
  PlatformAppRestore();
  PlatformHeadlessInjectWindowEvent(window, PLATFORM_EVENT_ACTIVATE);
  PlatformPumpMessages();
  EXPECT_FALSE(PlatformAppIsMinimized());
  EXPECT_TRUE(PlatformAppIsActive());
  EXPECT_EQ(seen.appKinds,
            (std::vector<platformAppEventKind>{PLATFORM_APP_DEACTIVATE, PLATFORM_APP_RESTORE,
                                               PLATFORM_APP_ACTIVATE}));
}

TEST_F(PlatformVideo, MinimisingTheApplicationMinimisesEveryShownWindow) {
  platformWindow first = Window(32, 32);
  platformWindow second = Window(32, 32);
  platformWindow hidden = Window(32, 32);
  PlatformWindowShow(first);
  PlatformWindowShow(second);
  PlatformAppMinimize();
  EXPECT_TRUE(PlatformWindowIsMinimized(first));
  EXPECT_TRUE(PlatformWindowIsMinimized(second));
  EXPECT_FALSE(PlatformWindowIsMinimized(hidden));
  EXPECT_TRUE(PlatformAppIsMinimized());
  PlatformWindowRestore(second);
  EXPECT_FALSE(PlatformAppIsMinimized());
}

TEST_F(PlatformVideo, OutlineDecidesWhichPointsBelongToTheWindow) {
  platformWindow window = Window(100, 100);
  EXPECT_TRUE(PlatformWindowShapeContains(window, 0, 0));
  // A square with a triangular notch cut from its top edge, listed clockwise on screen.
  PlatformWindowSetShape(window, {{0, 20}, {50, 0}, {100, 20}, {100, 100}, {0, 100}});
  EXPECT_FALSE(PlatformWindowShapeContains(window, 2, 2));
  EXPECT_FALSE(PlatformWindowShapeContains(window, 97, 2));
  EXPECT_TRUE(PlatformWindowShapeContains(window, 50, 2));
  EXPECT_TRUE(PlatformWindowShapeContains(window, 2, 50));
  EXPECT_FALSE(PlatformWindowShapeContains(window, 2, 100));
  PlatformWindowSetShape(window, {});
  EXPECT_TRUE(PlatformWindowShapeContains(window, 2, 2));
}

TEST_F(PlatformVideo, VirtualMonitorsEnumerateAndSwitchModes) {
  ASSERT_EQ(PlatformMonitorCount(), 1);
  EXPECT_TRUE(PlatformMonitorIsPrimary(0));
  EXPECT_FALSE(PlatformMonitorIsPrimary(1));
  std::string device;
  EXPECT_TRUE(PlatformMonitorDeviceName(0, device));
  EXPECT_FALSE(PlatformMonitorDeviceName(1, device));
  platformDisplayMode mode;
  int32_t count = 0;
  while (PlatformMonitorEnumMode(0, count, mode)) {
    ++count;
  }
  EXPECT_EQ(count, 24);
  ASSERT_TRUE(PlatformMonitorEnumMode(0, 9, mode));
  EXPECT_EQ(mode.width, 1024);
  EXPECT_EQ(mode.refreshRate, 75);

  recorder seen;
  platformWindow window = Window(32, 32);
  PlatformWindowSetHandler(window, &Record, &seen);
  PlatformHeadlessClearModeChanges();
  EXPECT_EQ(PlatformMonitorApplyMode(0, 9, mode), PLATFORM_DISP_CHANGE_SUCCESSFUL);
  EXPECT_EQ(seen.kinds, (std::vector<platformWindowEventKind>{PLATFORM_EVENT_DISPLAY_CHANGE}));
  EXPECT_EQ(PlatformMonitorRect(0).width, 1024);
  EXPECT_EQ(PlatformMonitorApplyMode(0, 9, {800, 600, 32, 60}), PLATFORM_DISP_CHANGE_BADMODE);
  EXPECT_EQ(PlatformMonitorApplyMode(2, 9, mode), PLATFORM_DISP_CHANGE_BADPARAM);
  EXPECT_EQ(PlatformMonitorsRestoreDesktop(), PLATFORM_DISP_CHANGE_SUCCESSFUL);
  EXPECT_EQ(PlatformMonitorRect(0).width, 1920);
  EXPECT_EQ(PlatformHeadlessModeChanges().size(), 4u);
  EXPECT_EQ(seen.kinds.size(), 2u);
}

TEST_F(PlatformVideo, OffscreenWindowsAreDoubleBufferedAndFollowTheirSize) {
  platformWindow window = Window(40, 30);
  platformDC dc = PlatformGetDC(window);
  platformPixelFormat wanted;
  wanted.flags = PLATFORM_PF_DOUBLEBUFFER | PLATFORM_PF_DRAW_TO_WINDOW | PLATFORM_PF_SUPPORT_OPENGL;
  int32_t format = PlatformChoosePixelFormat(dc, wanted);
  ASSERT_GT(format, 0) << "the number of the closest format the device context offers";
  ASSERT_TRUE(PlatformSetPixelFormat(dc, format, wanted));
  platformGLContext context = PlatformGLCreateContext(dc);
  ASSERT_NE(context, 0u);
  ASSERT_TRUE(PlatformGLMakeCurrent(dc, context));
  auto clearColour = reinterpret_cast<void (*)(float, float, float, float)>(
      PlatformGLGetProcAddress("glClearColor"));
  auto clear = reinterpret_cast<void (*)(uint32_t)>(PlatformGLGetProcAddress("glClear"));
  ASSERT_NE(clearColour, nullptr);
  auto fill = [&](float red, float green, float blue) {
    clearColour(red, green, blue, 1.0f);
    clear(0x4000);
  };

  fill(1, 0, 0);
  ASSERT_TRUE(PlatformGLSwapBuffers(dc));
  fill(0, 1, 0);
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> pixels;
  ASSERT_TRUE(PlatformGLReadBackBuffer(width, height, pixels));
  EXPECT_EQ(width, 40);
  EXPECT_EQ(height, 30);
  EXPECT_EQ(pixels[0], 0xFF00FF00u);
  ASSERT_TRUE(PlatformWindowReadPixels(window, width, height, pixels));
  EXPECT_EQ(pixels[0], 0xFFFF0000u) << "the window shows the frame presented last";
  EXPECT_EQ(pixels.back(), 0xFFFF0000u);

  PlatformWindowSetClientSize(window, 64, 48);
  ASSERT_TRUE(PlatformGLMakeCurrent(dc, context));
  ASSERT_TRUE(PlatformGLReadBackBuffer(width, height, pixels));
  EXPECT_EQ(width, 64);
  EXPECT_EQ(height, 48);

  EXPECT_TRUE(PlatformGLMakeCurrent(dc, 0));
  EXPECT_FALSE(PlatformGLReadBackBuffer(width, height, pixels));
  EXPECT_TRUE(PlatformGLDeleteContext(context));
  EXPECT_FALSE(PlatformGLDeleteContext(context));
  EXPECT_EQ(PlatformReleaseDC(window, dc), 1);
  EXPECT_EQ(PlatformGetDC(0), 0u);
}

// The context kept from a deleted one serves the next window as a new one would: not current
// until made so, drawing into offscreen buffers of that window's size. Only the next one.
TEST_F(PlatformVideo, AKeptContextServesTheNextWindowOnce) {
  auto clearColour = reinterpret_cast<void (*)(float, float, float, float)>(
      PlatformGLGetProcAddress("glClearColor"));
  auto clear = reinterpret_cast<void (*)(uint32_t)>(PlatformGLGetProcAddress("glClear"));
  platformWindow first = Window(16, 8);
  platformGLContext probe = ContextOn(first);
  ASSERT_NE(probe, 0u);
  ASSERT_TRUE(PlatformGLMakeCurrent(PlatformGetDC(first), probe));
  clearColour(1, 0, 0, 1);
  ASSERT_TRUE(PlatformGLMakeCurrent(PlatformGetDC(first), 0));
  PlatformGLKeepNextDeletedContext();
  ASSERT_TRUE(PlatformGLDeleteContext(probe));
  EXPECT_FALSE(PlatformGLDeleteContext(probe)) << "kept, but no longer a context of the program";

  platformWindow second = Window(40, 30);
  platformGLContext taken = ContextOn(second);
  ASSERT_NE(taken, 0u);
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> pixels;
  EXPECT_FALSE(PlatformGLReadBackBuffer(width, height, pixels)) << "creating made nothing current";
  ASSERT_TRUE(PlatformGLMakeCurrent(PlatformGetDC(second), taken));
  ASSERT_TRUE(PlatformGLReadBackBuffer(width, height, pixels));
  EXPECT_EQ(pixels.front(), 0u) << "new buffers start transparent black, whatever the clear colour";
  clearColour(0, 0, 1, 1);
  clear(0x4000);
  ASSERT_TRUE(PlatformGLReadBackBuffer(width, height, pixels));
  EXPECT_EQ(width, 40);
  EXPECT_EQ(height, 30);
  EXPECT_EQ(pixels.back(), 0xFF0000FFu);
  EXPECT_TRUE(PlatformGLMakeCurrent(PlatformGetDC(second), 0));

  // Not asked again: this deletion deletes, and the next window gets a context made anew.
  ASSERT_TRUE(PlatformGLDeleteContext(taken));
  platformGLContext fresh = ContextOn(first);
  ASSERT_NE(fresh, 0u);
  EXPECT_TRUE(PlatformGLDeleteContext(fresh));
}

TEST_F(PlatformVideo, WindowWithoutContextShowsBlack) {
  platformWindow window = Window(8, 4);
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> pixels;
  ASSERT_TRUE(PlatformWindowReadPixels(window, width, height, pixels));
  EXPECT_EQ(pixels.size(), 32u);
  EXPECT_EQ(pixels[5], 0xFF000000u);
  EXPECT_FALSE(PlatformWindowReadPixels(0, width, height, pixels));
}

// The records the shared part keeps for the backend: a window's contexts go with it, the other
// window's stay; shutting down forgets every window, context and failure; the next start begins
// afresh and names the application window for the parts below the video part.
TEST_F(PlatformVideo, ContextsGoWithTheirWindowAndShutdownForgetsEveryRecord) {
  platformWindow first = Window(8, 8);
  platformWindow second = Window(8, 8);
  platformGLContext firstContext = ContextOn(first);
  platformGLContext firstSpare = ContextOn(first);
  platformGLContext secondContext = ContextOn(second);
  ASSERT_NE(firstContext, 0u);
  ASSERT_NE(firstSpare, 0u);
  ASSERT_NE(secondContext, 0u);
  EXPECT_EQ(AppWindowFromSource(), PlatformAppWindow());
  EXPECT_NE(AppWindowFromSource(), 0u);

  PlatformWindowDestroy(first);
  EXPECT_FALSE(PlatformWindowExists(first));
  EXPECT_FALSE(PlatformGLDeleteContext(firstContext));
  EXPECT_EQ(PlatformLastVideoError(), "Invalid rendering context");
  EXPECT_FALSE(PlatformGLDeleteContext(firstSpare));
  EXPECT_TRUE(PlatformWindowExists(second));
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> pixels;
  EXPECT_TRUE(PlatformWindowReadPixels(second, width, height, pixels))
      << "its context is still there";

  PlatformVideoShutdown();
  EXPECT_FALSE(PlatformWindowExists(second));
  EXPECT_FALSE(PlatformGLDeleteContext(secondContext));
  EXPECT_EQ(PlatformGetDC(second), 0u);
  EXPECT_FALSE(PlatformAppIsActive());
  platformWindow again = Window(8, 8);
  ASSERT_NE(again, 0u) << PlatformLastVideoError();
  EXPECT_TRUE(PlatformWindowExists(again));
  EXPECT_EQ(AppWindowFromSource(), PlatformAppWindow());
}

}  // namespace
