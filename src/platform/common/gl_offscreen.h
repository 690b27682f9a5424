// OpenGL work both backends do the same way: the framebuffer pair of headless windows, pixel
// read-back in the platform's 0xAARRGGBB top-row-first order and the renderer's name.
//
// Headless windows draw into framebuffer objects instead of a window system surface: two
// colour buffers give real double buffering (the front one is what the window shows) and they
// follow the window's size.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/common/video/window_record.h"

struct glOffscreenBuffers {
  uint32_t framebuffers[2] = {0, 0};
  uint32_t colour[2] = {0, 0};
  uint32_t depth[2] = {0, 0};
  int32_t width = 0;
  int32_t height = 0;
  int32_t back = 0;
  bool viewportSet = false;
};

// Looks up the functions below through the backend's loader; call once a context is current
// (some systems hand out entry points only then). False when a basic function is missing.
bool GLOffscreenLoadFunctions(void* (*getProcAddress)(const char* name));
bool GLOffscreenFunctionsLoaded();

// The context is current. Creates the pair, cleared to black, and draws into the back one.
// False (with nothing created) when framebuffer objects are not available.
bool GLOffscreenCreate(glOffscreenBuffers& buffers, int32_t width, int32_t height);
// The context has just been made current on a window of this size: draw into the back buffer
// at that size. The first time, the viewport covers the window, as a new context's does.
void GLOffscreenBindBack(glOffscreenBuffers& buffers, int32_t width, int32_t height);
// Presents the back buffer. When the context is current the picture is finished first: a
// flush alone would let a software renderer queue frame after frame, each holding its own
// copy of the scene.
void GLOffscreenSwap(glOffscreenBuffers& buffers, bool current);
// The context is current: the last presented picture, then the back buffer bound again.
void GLOffscreenReadFront(const glOffscreenBuffers& buffers, std::vector<uint32_t>& pixels);
// The context is current.
void GLOffscreenDelete(glOffscreenBuffers& buffers);

// The window's context is current: what the window last presented, at the client size given
// in width and height. A headless window (`headless` its buffers) gives its front framebuffer; a
// real one the copy kept since its pixels were first read, or before that its back buffer, at
// the drawable size: swap-by-copy drivers leave the last frame there, the best guess there is.
void GLWindowReadPresented(windowRecord& record, const glOffscreenBuffers* headless,
                           int32_t drawableWidth, int32_t drawableHeight, int32_t& width,
                           int32_t& height, std::vector<uint32_t>& pixels);

// Reads the current read buffer (the back buffer of a window when `back`) as 0xAARRGGBB, top
// row first.
void GLReadPixelsTopDown(int32_t width, int32_t height, bool back, std::vector<uint32_t>& pixels);
void GLFinishDrawing();
// The current context's renderer; "" without one.
std::string GLRendererName();
// Whether the renderer is a software rasteriser (Mesa's, or the system's generic one).
bool GLRendererIsSoftware(const std::string& renderer);
