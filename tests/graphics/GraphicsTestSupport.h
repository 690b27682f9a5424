// Shared set-up of the graphics test programs: a headless start with a chosen command line,
// the log in a folder of the build tree, and pixels read back from real OpenGL.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform_video.h"

// Headless platform, the given command line, the log under the build folder; then the model
// store and the display module start (monitors as configured beforehand).
void GraphicsTestStart(const std::vector<std::string>& arguments = {});
void GraphicsTestStop();
std::string GraphicsTestLog();
void GraphicsTestLogClear();

// A shown render window of the given client size with a display on monitor 0, its context
// created and its mode set to width x height (so the viewport covers it). Returns the id.
int32_t GraphicsTestOpenDisplay(int32_t width, int32_t height);

struct testFrame {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> pixels;  // 0xAARRGGBB, top row first

  uint32_t At(int32_t x, int32_t y) const {
    return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
  }
};

testFrame GraphicsTestBackBuffer();

constexpr uint32_t testBlack = 0xFF000000u;
constexpr uint32_t testRed = 0xFFFF0000u;
constexpr uint32_t testGreen = 0xFF00FF00u;
constexpr uint32_t testBlue = 0xFF0000FFu;
