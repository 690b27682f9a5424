// WGL through the platform contract: pixel formats, contexts, the back buffer and the frame
// last presented, read back as pixels; in a real window and in a headless one.
#include <float.h>

#include <cmath>

#include "win32/Win32VideoFixture.h"

namespace {

struct glDrawing {
  void(__stdcall* clearColour)(float, float, float, float) = nullptr;
  void(__stdcall* clear)(uint32_t) = nullptr;

  glDrawing() {
    clearColour = reinterpret_cast<decltype(clearColour)>(PlatformGLGetProcAddress("glClearColor"));
    clear = reinterpret_cast<decltype(clear)>(PlatformGLGetProcAddress("glClear"));
  }
  void Fill(float red, float green, float blue) const {
    clearColour(red, green, blue, 1.0f);
    clear(0x4000);
  }
};

// Sets the framework's pixel format on the window and makes a context current on it.
platformGLContext CurrentContext(platformWindow window, platformDC& dc) {
  dc = PlatformGetDC(window);
  EXPECT_NE(dc, 0u);
  platformPixelFormat wanted;
  wanted.flags = PLATFORM_PF_DOUBLEBUFFER | PLATFORM_PF_DRAW_TO_WINDOW | PLATFORM_PF_SUPPORT_OPENGL;
  wanted.colorBits = 32;
  wanted.depthBits = 16;
  wanted.stencilBits = 1;
  int32_t format = PlatformChoosePixelFormat(dc, wanted);
  EXPECT_GT(format, 0) << PlatformLastVideoError();
  platformPixelFormat chosen;
  EXPECT_GE(PlatformDescribePixelFormat(dc, format, &chosen), format);
  EXPECT_EQ(chosen.flags & wanted.flags, wanted.flags);
  EXPECT_GE(chosen.colorBits, 24);
  EXPECT_TRUE(PlatformSetPixelFormat(dc, format, wanted)) << PlatformLastVideoError();
  platformGLContext context = PlatformGLCreateContext(dc);
  EXPECT_NE(context, 0u) << PlatformLastVideoError();
  EXPECT_TRUE(PlatformGLMakeCurrent(dc, context));
  return context;
}

void ExpectFilled(const std::vector<uint32_t>& pixels, uint32_t colour, const char* what) {
  ASSERT_FALSE(pixels.empty()) << what;
  EXPECT_EQ(pixels.front(), colour) << what;
  EXPECT_EQ(pixels[pixels.size() / 2], colour) << what;
  EXPECT_EQ(pixels.back(), colour) << what;
}

TEST_F(Win32Windows, RealWindowsDrawAndPresentThroughWgl) {
  platformWindow window = Window(64, 48, PLATFORM_BORDER_NONE);
  PlatformWindowShow(window);
  Settle();
  platformDC dc = 0;
  platformGLContext context = CurrentContext(window, dc);
  ASSERT_NE(context, 0u);
  EXPECT_EQ(reinterpret_cast<platformGLContext>(wglGetCurrentContext()), context);
  EXPECT_NE(PlatformGLGetProcAddress("glGenFramebuffers"), nullptr)
      << "an extension, from the driver";
  glDrawing gl;
  ASSERT_NE(gl.clear, nullptr) << "an OpenGL 1.1 function, from the library";

  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> pixels;
  // From the first read on, presented frames are kept.
  ASSERT_TRUE(PlatformWindowReadPixels(window, width, height, pixels));
  gl.Fill(1, 0, 0);
  ASSERT_TRUE(PlatformGLSwapBuffers(dc));
  gl.Fill(0, 0, 1);
  ASSERT_TRUE(PlatformGLReadBackBuffer(width, height, pixels));
  EXPECT_EQ(width, 64);
  EXPECT_EQ(height, 48);
  ExpectFilled(pixels, 0xFF0000FFu, "the back buffer holds what was drawn since the swap");
  ASSERT_TRUE(PlatformWindowReadPixels(window, width, height, pixels));
  ExpectFilled(pixels, 0xFFFF0000u, "the window shows the frame presented last");

  EXPECT_TRUE(PlatformGLMakeCurrent(dc, 0));
  EXPECT_EQ(wglGetCurrentContext(), nullptr);
  EXPECT_TRUE(PlatformGLMakeCurrent(dc, 0)) << "releasing when nothing is current succeeds";
  EXPECT_FALSE(PlatformGLReadBackBuffer(width, height, pixels));
  EXPECT_TRUE(PlatformGLDeleteContext(context));
  EXPECT_FALSE(PlatformGLDeleteContext(context));
  EXPECT_EQ(PlatformReleaseDC(window, dc), 1);
  SetLastError(0);
  EXPECT_EQ(PlatformGetDC(0), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE))
      << "the framework logs the system's error";
  EXPECT_EQ(PlatformLastVideoError(), "Invalid window handle");
}

TEST_F(Win32Windows, TheAccelerationOverrideRewritesTheGenericFlag) {
  platformWindow window = Window(16, 16);
  platformDC dc = PlatformGetDC(window);
  platformPixelFormat format;
  ASSERT_GT(PlatformDescribePixelFormat(dc, 1, &format), 0);
  PlatformHeadlessSetAccelerated(0);
  ASSERT_GT(PlatformDescribePixelFormat(dc, 1, &format), 0);
  EXPECT_NE(format.flags & PLATFORM_PF_GENERIC_FORMAT, 0u);
  PlatformHeadlessSetAccelerated(1);
  ASSERT_GT(PlatformDescribePixelFormat(dc, 1, &format), 0);
  EXPECT_EQ(format.flags & PLATFORM_PF_GENERIC_FORMAT, 0u);
  PlatformHeadlessSetAccelerated(-1);
  EXPECT_EQ(PlatformDescribePixelFormat(0, 1, &format), 0);
}

TEST_F(Win32Headless, HeadlessWindowsStayOffTheDesktopAndAreDoubleBuffered) {
  platformWindow window = Window(40, 30);
  PlatformWindowShow(window);
  EXPECT_TRUE(PlatformWindowIsVisible(window));
  EXPECT_FALSE(IsWindowVisible(Hwnd(window)));
  platformDC dc = 0;
  platformGLContext context = CurrentContext(window, dc);
  ASSERT_NE(context, 0u);
  glDrawing gl;
  gl.Fill(1, 0, 0);
  ASSERT_TRUE(PlatformGLSwapBuffers(dc));
  gl.Fill(0, 1, 0);
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> pixels;
  ASSERT_TRUE(PlatformGLReadBackBuffer(width, height, pixels));
  EXPECT_EQ(width, 40);
  EXPECT_EQ(height, 30);
  ExpectFilled(pixels, 0xFF00FF00u, "the back buffer");
  ASSERT_TRUE(PlatformWindowReadPixels(window, width, height, pixels));
  ExpectFilled(pixels, 0xFFFF0000u, "the frame presented last");

  PlatformWindowSetClientSize(window, 64, 48);
  ASSERT_TRUE(PlatformGLMakeCurrent(dc, context));
  ASSERT_TRUE(PlatformGLReadBackBuffer(width, height, pixels));
  EXPECT_EQ(width, 64);
  EXPECT_EQ(height, 48);
  PlatformWindowDestroy(window);
  EXPECT_EQ(wglGetCurrentContext(), nullptr) << "the window took its context with it";
}

TEST(Win32FloatingPoint, MaskingKeepsDivisionByZeroQuiet) {
  _controlfp(0, _MCW_EM);
  PlatformMaskFloatingPointExceptions();
  EXPECT_EQ(_controlfp(0, 0) & _MCW_EM, static_cast<unsigned>(_MCW_EM));
  EXPECT_EQ(_controlfp(0, 0) & _MCW_RC, static_cast<unsigned>(_RC_NEAR));
  volatile double zero = 0.0;
  EXPECT_TRUE(std::isinf(1.0 / zero));
}

}  // namespace
