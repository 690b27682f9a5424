#include "ShellTestSupport.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "graphics/GL.h"
#include "graphics/fwkGraphics.h"
#include "platform/platform.h"
#include "services/fwkState.h"
#include "shell/GameEntry.h"
#include "shell/Modules.h"
#include "shell/UntMain.h"

scriptedGame testGame;

namespace {

void PlayUpdate() {}
void ExitUpdate() {}

}  // namespace

void ScriptedGameReset() { testGame = scriptedGame{}; }

bool GameInit() {
  ++testGame.initCalls;
  if (!testGame.initResult) return false;
  testGame.display = MainThreadDisplayAdd(MainGetPrimaryMonitorId(), "Primary", true);
  if (testGame.display == -1) return false;
  MainThreadDisplayResize(testGame.display, 640, 480);
  GraphicsDisplaySetMode(testGame.display, GraphicsMonitorFindMode(0, 640, 480, 32));
  StateSetUpdateHandler(4, PlayUpdate);
  StateSetUpdateHandler(6, ExitUpdate);
  StateSet(4);
  return true;
}

bool GameRun() {
  const int32_t state = StateGet();
  if (state == 6 || state == 3) return false;
  ++testGame.runCalls;
  if (testGame.onPass) testGame.onPass(testGame.runCalls);
  StateRun();
  return true;
}

void GameCleanup() {
  ++testGame.cleanupCalls;
  if (testGame.onCleanup) testGame.onCleanup();
  MainThreadDisplayClose(testGame.display);
}

void GameMinimize() {
  ++testGame.minimizeCalls;
  if (!GraphicsIsFullscreen()) return;
  GraphicsMonitorsRestoreDesktop();
  MainThreadMinimize();
}

void GameFullscreenKey() { ++testGame.fullscreenKeys; }

shellSandbox ShellStart(const std::vector<std::string>& arguments, uint32_t clockStart) {
  const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
  shellSandbox box;
  box.root = std::filesystem::absolute("shell-sandbox").string() + "/" + info->test_suite_name() +
             "." + info->name() + "-" + std::to_string(getpid()) + "/";
  box.app = box.root + "app/";
  box.userData = box.app;
  std::filesystem::remove_all(box.root);
  std::filesystem::create_directories(box.app);
  std::filesystem::copy_file(SANGUOR_LAUNCHER_PICTURE, box.app + "Launcher.bmp");
  std::vector<std::string> all = arguments;
  all.push_back("-userdatainapp");
  PlatformSetHeadless(true);
  PlatformClockSetVirtual(true, clockStart);
  PlatformSetTickPerPass(17);
  PlatformSetArguments(all);
  PlatformSetExecutablePath(box.app + "sanguor");
  PlatformHeadlessSetMonitors(PlatformHeadlessDefaultMonitors());
  PlatformHeadlessSetAccelerated(1);
  PlatformMessageBoxHistoryClear();
  PlatformKeepAwakePulseCountReset();
  MainSetPassHook(nullptr);
  ScriptedGameReset();
  ModulesInit();
  return box;
}

void ShellStop() {
  ModulesFinal();
  // A fresh video part for the next test (activation, windows); the OpenGL library goes with
  // it, so the entry points must be resolved again.
  PlatformVideoShutdown();
  GLUnload();
  PlatformHeadlessSetAccelerated(-1);
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

std::vector<std::string> ReadLogLines(const std::string& path) {
  std::vector<std::string> lines;
  std::string text = ReadWholeFile(path);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}
