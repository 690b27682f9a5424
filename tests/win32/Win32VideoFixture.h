// Windows of the Win32 backend in either mode, destroyed after each test, with the events
// their handlers received.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <vector>

#include "platform/platform_system.h"
#include "platform/platform_video.h"

struct win32EventLog {
  std::vector<platformWindowEvent> events;
  std::vector<platformWindowEventKind> Kinds() const {
    std::vector<platformWindowEventKind> kinds;
    for (const platformWindowEvent& event : events) kinds.push_back(event.kind);
    return kinds;
  }
};

inline void LogWindowEvent(platformWindow, const platformWindowEvent& event, void* context) {
  static_cast<win32EventLog*>(context)->events.push_back(event);
}

inline HWND Hwnd(platformWindow window) { return reinterpret_cast<HWND>(window); }

class Win32VideoFixture : public ::testing::Test {
 protected:
  explicit Win32VideoFixture(bool headless) : headless_(headless) {}

  void SetUp() override {
    PlatformVideoShutdown();
    PlatformSetHeadless(headless_);
  }

  void TearDown() override {
    PlatformAppSetHandler(nullptr, nullptr);
    PlatformVideoShutdown();
    PlatformSetHeadless(false);
  }

  platformWindow Window(int32_t width, int32_t height,
                        platformBorderStyle border = PLATFORM_BORDER_DIALOG, int32_t x = 100,
                        int32_t y = 80) {
    platformWindowParams params;
    params.caption = "renderForm";
    params.x = x;
    params.y = y;
    params.width = width;
    params.height = height;
    params.border = border;
    platformWindow window = PlatformWindowCreate(params);
    EXPECT_NE(window, 0u) << PlatformLastVideoError();
    return window;
  }

  // Pumps until the window's handler has seen `count` events or a second has passed: the
  // window system answers some requests asynchronously.
  void PumpUntil(const win32EventLog& log, size_t count) {
    for (int pass = 0; pass < 100 && log.events.size() < count; ++pass) {
      PlatformPumpMessages();
      if (log.events.size() < count) Sleep(10);
    }
  }

  // Lets the window system finish what showing a window starts (activation, painting).
  void Settle() {
    for (int pass = 0; pass < 20; ++pass) {
      PlatformPumpMessages();
      Sleep(10);
    }
  }

 private:
  bool headless_;
};

class Win32Windows : public Win32VideoFixture {
 protected:
  Win32Windows() : Win32VideoFixture(false) {}
};

class Win32Headless : public Win32VideoFixture {
 protected:
  Win32Headless() : Win32VideoFixture(true) {}
};
