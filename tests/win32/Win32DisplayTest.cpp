// Monitors and display settings: the system's in a window session, virtual ones headless.
#include "win32/Win32VideoFixture.h"

#include "platform/win32/video/win32_video_state.h"

namespace {

BOOL CALLBACK CountMonitor(HMONITOR, HDC, LPRECT, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

// The listed mode of the monitor with the given size and the desktop's colour depth.
int32_t FindMode(int32_t monitor, int32_t width, int32_t height, int32_t bits,
                 platformDisplayMode& mode) {
  for (int32_t number = 0; PlatformMonitorEnumMode(monitor, number, mode); ++number) {
    if (mode.width == width && mode.height == height && mode.bitsPerPixel == bits) return number;
  }
  return -1;
}

TEST_F(Win32Windows, MonitorsAndModesAreTheSystems) {
  int monitors = 0;
  EnumDisplayMonitors(nullptr, nullptr, CountMonitor, reinterpret_cast<LPARAM>(&monitors));
  ASSERT_EQ(PlatformMonitorCount(), monitors);
  ASSERT_TRUE(PlatformMonitorIsPrimary(0));
  platformRect rect = PlatformMonitorRect(0);
  EXPECT_EQ(rect.width, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(rect.height, GetSystemMetrics(SM_CYSCREEN));
  EXPECT_EQ(PlatformMonitorRect(monitors).width, 0);
  std::string device;
  ASSERT_TRUE(PlatformMonitorDeviceName(0, device));
  DEVMODEA listed{};
  listed.dmSize = sizeof(listed);
  ASSERT_TRUE(EnumDisplaySettingsA(device.c_str(), 0, &listed));
  platformDisplayMode mode;
  ASSERT_TRUE(PlatformMonitorEnumMode(0, 0, mode));
  EXPECT_EQ(mode.width, static_cast<int32_t>(listed.dmPelsWidth));
  EXPECT_EQ(mode.bitsPerPixel, static_cast<int32_t>(listed.dmBitsPerPel));
  EXPECT_FALSE(PlatformMonitorEnumMode(0, -1, mode));
}

// Monitors are counted at start; one unplugged since (its device gone) is the primary one's
// stand-in, so a fullscreen window on it is never sized 0 x 0.
TEST_F(Win32Windows, AVanishedMonitorFallsBackToThePrimary) {
  const platformRect primary = PlatformMonitorRect(0);
  ASSERT_GT(primary.width, 0);
  std::string& device = Win32Video().monitors[0].device;
  const std::string kept = device;
  device = "\\\\.\\DISPLAY99";
  const platformRect vanished = PlatformMonitorRect(0);
  platformWindow window = Window(64, 64, PLATFORM_BORDER_FULLSCREEN, 0, 0);
  const platformRect client = PlatformWindowClientRect(window);
  device = kept;
  EXPECT_EQ(vanished.left, primary.left);
  EXPECT_EQ(vanished.top, primary.top);
  EXPECT_EQ(vanished.width, primary.width);
  EXPECT_EQ(vanished.height, primary.height);
  EXPECT_EQ(client.width, primary.width);
  EXPECT_EQ(client.height, primary.height);
}

TEST_F(Win32Windows, ModeChangesSwitchTheDisplayAndNotifyBeforeReturning) {
  int32_t desktopWidth = GetSystemMetrics(SM_CXSCREEN);
  int32_t desktopHeight = GetSystemMetrics(SM_CYSCREEN);
  DEVMODEA desktop{};
  desktop.dmSize = sizeof(desktop);
  ASSERT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &desktop));
  platformDisplayMode mode;
  int32_t number = FindMode(0, 800, 600, static_cast<int32_t>(desktop.dmBitsPerPel), mode);
  if (number < 0 || desktopWidth == 800)
    GTEST_SKIP() << "the display offers no other mode to switch to";

  win32EventLog log;
  platformWindow window = Window(64, 64, PLATFORM_BORDER_FULLSCREEN, 0, 0);
  PlatformWindowSetHandler(window, &LogWindowEvent, &log);
  PlatformHeadlessClearModeChanges();
  ASSERT_EQ(PlatformMonitorApplyMode(0, number, mode), PLATFORM_DISP_CHANGE_SUCCESSFUL);
  EXPECT_EQ(log.Kinds(), (std::vector<platformWindowEventKind>{PLATFORM_EVENT_DISPLAY_CHANGE}));
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 800);
  EXPECT_EQ(PlatformMonitorRect(0).width, 800);
  EXPECT_EQ(PlatformWindowClientRect(window).width, 800)
      << "a fullscreen window follows its monitor";
  EXPECT_EQ(PlatformMonitorApplyMode(0, number, {801, 600, mode.bitsPerPixel, 60}),
            PLATFORM_DISP_CHANGE_BADMODE);

  ASSERT_EQ(PlatformMonitorsRestoreDesktop(), PLATFORM_DISP_CHANGE_SUCCESSFUL);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), desktopWidth);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), desktopHeight);
  PlatformPumpMessages();
  std::vector<platformWindowEventKind> kinds = log.Kinds();
  EXPECT_EQ(std::count(kinds.begin(), kinds.end(), PLATFORM_EVENT_DISPLAY_CHANGE), 2)
      << "the system's own notices are not passed on twice";
  ASSERT_EQ(PlatformHeadlessModeChanges().size(), 3u);
  EXPECT_EQ(PlatformHeadlessModeChanges()[1].result, PLATFORM_DISP_CHANGE_BADMODE);
  EXPECT_EQ(PlatformHeadlessModeChanges()[2].monitor, -1);
}

TEST_F(Win32Headless, VirtualMonitorsLeaveTheRealDisplayAlone) {
  platformVirtualMonitor left;
  left.rect = {-1024, 0, 1024, 768};
  left.deviceName = "\\\\.\\DISPLAY2";
  left.modes = {{1024, 768, 32, 60}, {640, 480, 32, 60}};
  std::vector<platformVirtualMonitor> monitors = PlatformHeadlessDefaultMonitors();
  monitors.push_back(left);
  PlatformHeadlessSetMonitors(monitors);
  int32_t desktopWidth = GetSystemMetrics(SM_CXSCREEN);

  ASSERT_EQ(PlatformMonitorCount(), 2);
  EXPECT_FALSE(PlatformMonitorIsPrimary(1));
  std::string device;
  ASSERT_TRUE(PlatformMonitorDeviceName(1, device));
  EXPECT_EQ(device, "\\\\.\\DISPLAY2");
  platformWindow window = Window(100, 100, PLATFORM_BORDER_DIALOG, PLATFORM_POSITION_CENTRED,
                                 PLATFORM_POSITION_CENTRED);
  EXPECT_EQ(PlatformWindowPosition(window).x, (1920 - 100) / 2) << "centred on the primary monitor";

  win32EventLog log;
  PlatformWindowSetHandler(window, &LogWindowEvent, &log);
  EXPECT_EQ(PlatformMonitorApplyMode(1, 1, {640, 480, 32, 60}), PLATFORM_DISP_CHANGE_SUCCESSFUL);
  EXPECT_EQ(log.Kinds(), (std::vector<platformWindowEventKind>{PLATFORM_EVENT_DISPLAY_CHANGE}));
  EXPECT_EQ(PlatformMonitorRect(1).width, 640);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), desktopWidth);
  PlatformHeadlessSetModeChangeResult(PLATFORM_DISP_CHANGE_FAILED);
  EXPECT_EQ(PlatformMonitorsRestoreDesktop(), PLATFORM_DISP_CHANGE_FAILED);
  EXPECT_EQ(PlatformMonitorRect(1).width, 640) << "a failed restore changes nothing";
  PlatformHeadlessSetModeChangeResult(PLATFORM_DISP_CHANGE_SUCCESSFUL);
  EXPECT_EQ(PlatformMonitorsRestoreDesktop(), PLATFORM_DISP_CHANGE_SUCCESSFUL);
  EXPECT_EQ(PlatformMonitorRect(1).width, 1024);
  EXPECT_EQ(PlatformHeadlessModeChanges().size(), 3u);
  PlatformHeadlessSetMonitors(PlatformHeadlessDefaultMonitors());
}

TEST_F(Win32Headless, InjectedEventsCarryTheirStateChanges) {
  std::vector<platformAppEventKind> appKinds;
  PlatformAppSetHandler(
      [](platformAppEventKind kind, void* context) {
        static_cast<std::vector<platformAppEventKind>*>(context)->push_back(kind);
      },
      &appKinds);
  win32EventLog log;
  platformWindow window = Window(64, 64);
  PlatformWindowShow(window);
  PlatformWindowSetHandler(window, &LogWindowEvent, &log);
  PlatformPumpMessages();
  ASSERT_TRUE(PlatformAppIsActive());

  PlatformHeadlessInjectWindowEvent(window, PLATFORM_EVENT_DEACTIVATE);
  PlatformHeadlessInjectWindowEvent(window, PLATFORM_EVENT_MINIMIZE);
  EXPECT_TRUE(log.events.empty());
  PlatformPumpMessages();
  EXPECT_EQ(log.Kinds(), (std::vector<platformWindowEventKind>{PLATFORM_EVENT_DEACTIVATE,
                                                               PLATFORM_EVENT_MINIMIZE}));
  EXPECT_FALSE(PlatformAppIsActive());
  EXPECT_TRUE(PlatformAppIsMinimized());
  EXPECT_FALSE(IsIconic(Hwnd(window))) << "headless windows stay off the desktop";
  PlatformAppRestore();
  PlatformHeadlessInjectWindowEvent(window, PLATFORM_EVENT_ACTIVATE);
  PlatformPumpMessages();
  EXPECT_EQ(appKinds, (std::vector<platformAppEventKind>{
                          PLATFORM_APP_DEACTIVATE, PLATFORM_APP_RESTORE, PLATFORM_APP_ACTIVATE}));
}

}  // namespace
