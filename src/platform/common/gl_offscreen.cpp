#include "platform/common/gl_offscreen.h"

#include "platform/platform_calling.h"

#include <cstring>
#include <type_traits>

namespace {

constexpr uint32_t kFramebuffer = 0x8D40;
constexpr uint32_t kRenderbuffer = 0x8D41;
constexpr uint32_t kColourAttachment0 = 0x8CE0;
constexpr uint32_t kDepthStencilAttachment = 0x821A;
constexpr uint32_t kRgba8 = 0x8058;
constexpr uint32_t kDepth24Stencil8 = 0x88F0;
constexpr uint32_t kColourBufferBit = 0x4000;
constexpr uint32_t kDepthBufferBit = 0x0100;
constexpr uint32_t kStencilBufferBit = 0x0400;
constexpr uint32_t kPackAlignment = 0x0D05;
constexpr uint32_t kBgra = 0x80E1;
constexpr uint32_t kUnsigned8888Rev = 0x8367;
constexpr uint32_t kBack = 0x0405;
constexpr uint32_t kRenderer = 0x1F01;
constexpr uint32_t kColourClearValue = 0x0C22;

struct glFunctions {
  void(SANGUOR_GLAPI* GenFramebuffers)(int32_t, uint32_t*) = nullptr;
  void(SANGUOR_GLAPI* DeleteFramebuffers)(int32_t, const uint32_t*) = nullptr;
  void(SANGUOR_GLAPI* BindFramebuffer)(uint32_t, uint32_t) = nullptr;
  void(SANGUOR_GLAPI* GenRenderbuffers)(int32_t, uint32_t*) = nullptr;
  void(SANGUOR_GLAPI* DeleteRenderbuffers)(int32_t, const uint32_t*) = nullptr;
  void(SANGUOR_GLAPI* BindRenderbuffer)(uint32_t, uint32_t) = nullptr;
  void(SANGUOR_GLAPI* RenderbufferStorage)(uint32_t, uint32_t, int32_t, int32_t) = nullptr;
  void(SANGUOR_GLAPI* FramebufferRenderbuffer)(uint32_t, uint32_t, uint32_t, uint32_t) = nullptr;
  void(SANGUOR_GLAPI* ReadPixels)(int32_t, int32_t, int32_t, int32_t, uint32_t, uint32_t,
                                  void*) = nullptr;
  void(SANGUOR_GLAPI* ReadBuffer)(uint32_t) = nullptr;
  void(SANGUOR_GLAPI* PixelStorei)(uint32_t, int32_t) = nullptr;
  void(SANGUOR_GLAPI* Viewport)(int32_t, int32_t, int32_t, int32_t) = nullptr;
  void(SANGUOR_GLAPI* Finish)() = nullptr;
  void(SANGUOR_GLAPI* Clear)(uint32_t) = nullptr;
  void(SANGUOR_GLAPI* ClearColor)(float, float, float, float) = nullptr;
  void(SANGUOR_GLAPI* GetFloatv)(uint32_t, float*) = nullptr;
  void(SANGUOR_GLAPI* GetIntegerv)(uint32_t, int32_t*) = nullptr;
  const unsigned char*(SANGUOR_GLAPI* GetString)(uint32_t) = nullptr;
};

glFunctions gl;
bool loaded = false;

bool HasFramebuffers() { return gl.GenFramebuffers != nullptr && gl.GenRenderbuffers != nullptr; }

void SizeBuffers(glOffscreenBuffers& buffers, int32_t width, int32_t height) {
  for (int i = 0; i < 2; ++i) {
    gl.BindRenderbuffer(kRenderbuffer, buffers.colour[i]);
    gl.RenderbufferStorage(kRenderbuffer, kRgba8, width, height);
    gl.BindRenderbuffer(kRenderbuffer, buffers.depth[i]);
    gl.RenderbufferStorage(kRenderbuffer, kDepth24Stencil8, width, height);
  }
  gl.BindRenderbuffer(kRenderbuffer, 0);
  buffers.width = width;
  buffers.height = height;
}

}  // namespace

bool GLOffscreenLoadFunctions(void* (*getProcAddress)(const char* name)) {
  auto load = [getProcAddress](auto& entry, const char* name) {
    entry = reinterpret_cast<std::remove_reference_t<decltype(entry)>>(getProcAddress(name));
  };
  load(gl.GenFramebuffers, "glGenFramebuffers");
  load(gl.DeleteFramebuffers, "glDeleteFramebuffers");
  load(gl.BindFramebuffer, "glBindFramebuffer");
  load(gl.GenRenderbuffers, "glGenRenderbuffers");
  load(gl.DeleteRenderbuffers, "glDeleteRenderbuffers");
  load(gl.BindRenderbuffer, "glBindRenderbuffer");
  load(gl.RenderbufferStorage, "glRenderbufferStorage");
  load(gl.FramebufferRenderbuffer, "glFramebufferRenderbuffer");
  load(gl.ReadPixels, "glReadPixels");
  load(gl.ReadBuffer, "glReadBuffer");
  load(gl.PixelStorei, "glPixelStorei");
  load(gl.Viewport, "glViewport");
  load(gl.Finish, "glFinish");
  load(gl.Clear, "glClear");
  load(gl.ClearColor, "glClearColor");
  load(gl.GetFloatv, "glGetFloatv");
  load(gl.GetIntegerv, "glGetIntegerv");
  load(gl.GetString, "glGetString");
  loaded = gl.ReadPixels != nullptr && gl.ReadBuffer != nullptr && gl.PixelStorei != nullptr &&
           gl.Viewport != nullptr && gl.Finish != nullptr && gl.Clear != nullptr &&
           gl.ClearColor != nullptr && gl.GetFloatv != nullptr && gl.GetIntegerv != nullptr &&
           gl.GetString != nullptr;
  return loaded;
}

bool GLOffscreenFunctionsLoaded() { return loaded; }

bool GLOffscreenCreate(glOffscreenBuffers& buffers, int32_t width, int32_t height) {
  if (!loaded || !HasFramebuffers()) {
    return false;
  }
  gl.GenFramebuffers(2, buffers.framebuffers);
  gl.GenRenderbuffers(2, buffers.colour);
  gl.GenRenderbuffers(2, buffers.depth);
  SizeBuffers(buffers, width, height);
  // New buffers start transparent black, as a new context's clear colour leaves them, also when
  // the context was kept from a display that set another clear colour.
  float clearColour[4] = {};
  gl.GetFloatv(kColourClearValue, clearColour);
  gl.ClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  for (int i = 0; i < 2; ++i) {
    gl.BindFramebuffer(kFramebuffer, buffers.framebuffers[i]);
    gl.FramebufferRenderbuffer(kFramebuffer, kColourAttachment0, kRenderbuffer, buffers.colour[i]);
    gl.FramebufferRenderbuffer(kFramebuffer, kDepthStencilAttachment, kRenderbuffer,
                               buffers.depth[i]);
    gl.Clear(kColourBufferBit | kDepthBufferBit | kStencilBufferBit);
  }
  gl.ClearColor(clearColour[0], clearColour[1], clearColour[2], clearColour[3]);
  buffers.back = 0;
  gl.BindFramebuffer(kFramebuffer, buffers.framebuffers[buffers.back]);
  return true;
}

void GLOffscreenBindBack(glOffscreenBuffers& buffers, int32_t width, int32_t height) {
  if (buffers.framebuffers[0] == 0) {
    return;
  }
  if (buffers.width != width || buffers.height != height) {
    SizeBuffers(buffers, width, height);
  }
  gl.BindFramebuffer(kFramebuffer, buffers.framebuffers[buffers.back]);
  if (!buffers.viewportSet) {
    gl.Viewport(0, 0, width, height);
    buffers.viewportSet = true;
  }
}

void GLOffscreenSwap(glOffscreenBuffers& buffers, bool current) {
  if (current) {
    gl.Finish();
  }
  buffers.back = 1 - buffers.back;
  if (current) {
    gl.BindFramebuffer(kFramebuffer, buffers.framebuffers[buffers.back]);
  }
}

void GLOffscreenReadFront(const glOffscreenBuffers& buffers, std::vector<uint32_t>& pixels) {
  gl.BindFramebuffer(kFramebuffer, buffers.framebuffers[1 - buffers.back]);
  GLReadPixelsTopDown(buffers.width, buffers.height, false, pixels);
  gl.BindFramebuffer(kFramebuffer, buffers.framebuffers[buffers.back]);
}

void GLOffscreenDelete(glOffscreenBuffers& buffers) {
  if (buffers.framebuffers[0] == 0) {
    return;
  }
  gl.BindFramebuffer(kFramebuffer, 0);
  gl.DeleteFramebuffers(2, buffers.framebuffers);
  gl.DeleteRenderbuffers(2, buffers.colour);
  gl.DeleteRenderbuffers(2, buffers.depth);
  buffers = glOffscreenBuffers{};
}

void GLReadPixelsTopDown(int32_t width, int32_t height, bool back, std::vector<uint32_t>& pixels) {
  pixels.assign(
      width > 0 && height > 0 ? static_cast<size_t>(width) * static_cast<size_t>(height) : 0, 0);
  if (pixels.empty() || !loaded) {
    return;
  }
  if (back) {
    gl.ReadBuffer(kBack);
  }
  int32_t alignment = 4;
  gl.GetIntegerv(kPackAlignment, &alignment);
  gl.PixelStorei(kPackAlignment, 4);
  std::vector<uint32_t> rows(pixels.size());
  gl.ReadPixels(0, 0, width, height, kBgra, kUnsigned8888Rev, rows.data());
  gl.PixelStorei(kPackAlignment, alignment);
  for (int32_t y = 0; y < height; ++y) {
    std::memcpy(&pixels[static_cast<size_t>(y) * width],
                &rows[static_cast<size_t>(height - 1 - y) * width],
                static_cast<size_t>(width) * sizeof(uint32_t));
  }
}

void GLFinishDrawing() {
  if (loaded) {
    gl.Finish();
  }
}

std::string GLRendererName() {
  const unsigned char* name = loaded ? gl.GetString(kRenderer) : nullptr;
  return name != nullptr ? std::string(reinterpret_cast<const char*>(name)) : std::string();
}

bool GLRendererIsSoftware(const std::string& renderer) {
  for (const char* software : {"llvmpipe", "softpipe", "Software", "swrast", "GDI Generic"}) {
    if (renderer.find(software) != std::string::npos) {
      return true;
    }
  }
  return false;
}

void GLWindowReadPresented(windowRecord& record, const glOffscreenBuffers* headless,
                           int32_t drawableWidth, int32_t drawableHeight, int32_t& width,
                           int32_t& height, std::vector<uint32_t>& pixels) {
  if (headless != nullptr) {
    width = headless->width;
    height = headless->height;
    GLOffscreenReadFront(*headless, pixels);
    return;
  }
  if (record.keepPresented && record.presentedWidth == width && record.presentedHeight == height) {
    pixels = record.presented;
    return;
  }
  record.keepPresented = true;
  width = drawableWidth;
  height = drawableHeight;
  GLReadPixelsTopDown(width, height, true, pixels);
}
