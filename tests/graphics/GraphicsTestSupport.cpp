#include "GraphicsTestSupport.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "graphics/fwkGraphics.h"
#include "graphics/fwkModel.h"
#include "platform/platform_system.h"
#include "services/fwkLog.h"

namespace {

std::string LogPath() { return LogFolder() + LogFileName(); }

// ctest runs test cases of one program side by side: each process keeps its own log.
std::string LogName() {
  return std::string(program_invocation_short_name) + "-" + std::to_string(getpid()) + ".log";
}

}  // namespace

void GraphicsTestStart(const std::vector<std::string>& arguments) {
  PlatformSetHeadless(true);
  PlatformSetArguments(arguments);
  // The log starts in the user data folder: keep it inside the build tree.
  PlatformCreateDirectory("graphics-test-home");
  setenv("XDG_DATA_HOME", "graphics-test-home", 1);
  LogInit();
  LogSetFolder("");
  LogSetFileName(LogName());
  // The start-up block goes out with the first line; write it now so tests see only theirs.
  LogStartInfoWrite();
  GraphicsTestLogClear();
  ModelInit();
  GraphicsInit();
}

void GraphicsTestStop() {
  GraphicsFinal();
  ModelFinal();
  GraphicsTestLogClear();
}

std::string GraphicsTestLog() {
  std::ifstream file(LogPath(), std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

void GraphicsTestLogClear() { std::remove(LogPath().c_str()); }

int32_t GraphicsTestOpenDisplay(int32_t width, int32_t height) {
  platformWindowParams params;
  params.caption = "test";
  params.x = 0;
  params.y = 0;
  params.width = width;
  params.height = height;
  platformWindow window = PlatformWindowCreate(params);
  PlatformWindowShow(window);
  int32_t id = GraphicsDisplayAdd(window, "Test", 0);
  GraphicsDisplayCreateRC(id);
  GraphicsDisplaySetMode(id, {width, height, 32, 0});
  return id;
}

testFrame GraphicsTestBackBuffer() {
  testFrame frame;
  PlatformGLReadBackBuffer(frame.width, frame.height, frame.pixels);
  return frame;
}
