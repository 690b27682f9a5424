// Screenshot files: the client areas of the render windows side by side in one 24-bit BMP,
// saved as "screenshot" + N + ".bmp" in the user data folder's "screenshots" folder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One window's client area: pixels top row first, red in bits 16..23, green 8..15, blue 0..7.
struct screenshotPart {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> pixels;
};

// Writes the parts left to right in order, as wide as all of them and as high as the highest
// (uncovered space is black). Takes the lowest free number and never replaces an existing file
// of any kind. Returns the path written, or "" when nothing was written (the reason is logged).
std::string ScreenshotSave(const std::vector<screenshotPart>& parts);
