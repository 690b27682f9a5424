// The pictures windows without OpenGL keep, so that a backend can draw them again whenever
// the window needs painting.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/platform_shell.h"

struct windowPicture {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> pixels;  // top row first, 0x00RRGGBB
};

// Keeps the picture for the window and returns it; an empty or short picture forgets the
// window's picture and gives nullptr.
const windowPicture* WindowPictureKeep(platformWindow window, int32_t width, int32_t height,
                                       const std::vector<uint32_t>& pixels);
const windowPicture* WindowPictureFind(platformWindow window);
