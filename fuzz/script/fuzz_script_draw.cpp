// Arbitrary bytes as a level's ".vmc" file, played as the game plays it: loaded beside the shipped
// archive when the build has made it (bin/Sanguor.qza beside the target, so fonts, pictures and
// mats the script names are there), given the entry event, then
// 300 steps, each drawn on a headless display through Mesa's software renderer. libFuzzer's
// -rss_limit_mb and -timeout (the options file) make a pack that takes a gigabyte, or ten seconds
// for its 300 steps (33 ms a step in the sanitizer build), a finding.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "graphics/fwkFont.h"
#include "graphics/fwkGraphics.h"
#include "graphics/fwkMat.h"
#include "graphics/fwkModel.h"
#include "images/fwkImage.h"
#include "input/fwkInput.h"
#include "platform/platform_system.h"
#include "platform/platform_video.h"
#include "script/fwkScript.h"
#include "services/fwkDataFile.h"
#include "services/fwkLog.h"
#include "services/fwkState.h"
#include "services/fwkUtilities.h"

namespace {

constexpr int kSteps = 300;
// The game's own screen size, drawn into a small window: the picture is not what is checked.
constexpr int32_t kViewWidth = 1280;
constexpr int32_t kViewHeight = 720;
constexpr int32_t kWindowWidth = 160;
constexpr int32_t kWindowHeight = 90;
// A tenth of the game's budget per step, as the other script targets: 300 steps of spent budget
// stay well inside -timeout even under the sanitizers, so a timeout points at work the budget does
// not count.
constexpr int32_t kStepLimit = 20000;

int32_t display = 0;
std::string folder;
int32_t runs = 0;

void CleanUp() { std::filesystem::remove_all(folder); }

// The modules stop at exit as the program stops them, so what they hold (fonts, models, the
// display) is given back before the leak check looks.
void Stop() {
  ScriptFinal();
  StateFinal();
  GraphicsFinal();
  InputFinal();
  ModelFinal();
  FontFinal();
  DataFileCloseAll();
  UtilFinal();
}

int32_t Sink(int32_t, int32_t) { return 1; }

void Start() {
  std::string pattern =
      (std::filesystem::temp_directory_path() / "sanguor-script-draw-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) std::abort();
  folder = pattern + "/";
  std::atexit(CleanUp);
  std::error_code error;
  const std::filesystem::path archive =
      std::filesystem::read_symlink("/proc/self/exe", error).parent_path() / "Sanguor.qza";
  if (std::filesystem::exists(archive, error))
    std::filesystem::create_symlink(archive, folder + "Sanguor.qza", error);
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  PlatformSetHeadless(true);
  PlatformSetExecutablePath(folder + "sanguor");
  PlatformSetArguments({"-userdatainapp"});
  UtilInit();
  DataFileInit();
  LogInit();
  ImageInit();
  FontInit();
  ModelInit();
  InputInit();
  GraphicsInit();
  MatInit();
  StateInit();
  ScriptInit();
  std::atexit(Stop);
  ScriptSetStepLimit(kStepLimit);
  for (const char* name : {"GamePause", "GamePointerPlace", "GameRestart", "GameQuit", "GameHumans",
                           "GameWalked", "GameHumanNear", "GameFogReady"})
    ScriptAppRoutineRegister(name, Sink);
  platformWindowParams params;
  params.caption = "fuzz";
  params.width = kWindowWidth;
  params.height = kWindowHeight;
  const platformWindow window = PlatformWindowCreate(params);
  PlatformWindowShow(window);
  display = GraphicsDisplayAdd(window, "Primary", 0);
  if (display <= 0 || !GraphicsDisplayCreateRC(display)) std::abort();
  GraphicsDisplaySetMode(display, {kWindowWidth, kWindowHeight, 32, 0});
}

}  // namespace

// The modules and the display start before the first input: loading the GL driver under the
// sanitizers takes longer than an input may.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  Start();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Every refused or faulting input may log; the log is emptied now and then.
  if (++runs % 200 == 0) std::remove((LogFolder() + LogFileName()).c_str());
  const int32_t id =
      ScriptOpenBytes("Bin\\Scripts\\Map1.vmc", std::vector<uint8_t>(data, data + size));
  if (id <= 0) return 0;
  ScriptRoutineRun(id, 1, "AppScriptEnter");
  for (int step = 0; step < kSteps && ScriptFind(id) >= 0; ++step) {
    if (ScriptIsWaiting(id)) {
      ScriptThreadResume(id, -1);
    } else {
      ScriptStep(id);
    }
    GraphicsRenderBegin(display);
    GraphicsSet2D(kViewWidth, kViewHeight);
    ScriptDraw(id);
    GraphicsRenderEnd(display);
  }
  ScriptClose(id);
  if (ScriptFind(id) != -1) std::abort();
  return 0;
}
