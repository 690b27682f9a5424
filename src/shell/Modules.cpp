#include "shell/Modules.h"

#include "audio/apiOggVorbis.h"
#include "audio/apiOpenal.h"
#include "audio/fwkAudio.h"
#include "graphics/fwkFont.h"
#include "graphics/fwkGraphics.h"
#include "graphics/fwkMat.h"
#include "graphics/fwkModel.h"
#include "images/fwkImage.h"
#include "images/fwkImageGIF.h"
#include "images/fwkImageJPG.h"
#include "input/fwkInput.h"
#include "script/fwkScript.h"
#include "services/fwkDataFile.h"
#include "services/fwkIni.h"
#include "services/fwkLog.h"
#include "services/fwkMath.h"
#include "services/fwkState.h"
#include "services/fwkUtilities.h"

namespace {

struct moduleEntry {
  const char* name;  // for readers of the list
  void (*init)();
  void (*final)();
};

// Start-up order. The log's own state is ready before the first module registers its version,
// so the modules ahead of fwkLog may write to it.
const moduleEntry kModules[] = {
    {"fwkUtilities", UtilInit, UtilFinal},
    {"fwkDataFile", DataFileInit, DataFileCloseAll},
    {"fwkLog", LogInit, nullptr},
    {"fwkMath", MathInit, nullptr},
    {"fwkImageJPG", ImageJpgInit, nullptr},
    {"fwkImageGIF", ImageGifInit, nullptr},
    {"fwkImage", ImageInit, nullptr},
    {"fwkFont", FontInit, FontFinal},
    {"fwkModel", ModelInit, ModelFinal},
    {"fwkIni", IniInit, nullptr},
    {"fwkInput", InputInit, InputFinal},
    {"fwkGraphics", GraphicsInit, GraphicsFinal},
    {"fwkMat", MatInit, nullptr},
    // The audio module loads both libraries as it starts; the bindings give them back last.
    {"apiOpenal", nullptr, OpenalFree},
    {"apiOggVorbis", nullptr, OggVorbisFree},
    {"fwkAudio", AudioInit, AudioShutdown},
    {"fwkState", StateInit, StateFinal},
    {"fwkScript", ScriptInit, ScriptFinal},
};

size_t startedModules = 0;

platformWindow CurrentDisplayWindow() { return GraphicsDisplayWindow(GraphicsDisplayCurrent()); }

}  // namespace

void ModulesInit() {
  for (const moduleEntry& module : kModules) {
    if (module.init) module.init();
    ++startedModules;
  }
  // Input must know full-screen and the current window but may not depend on graphics;
  // the shell, which sees both, links them.
  InputSetDisplayQueries(GraphicsIsFullscreen, CurrentDisplayWindow);
  // Every display's window is one the pointers may travel over. Linked after start-up, so
  // the graphics module's short-lived probe display never becomes a pointer window.
  GraphicsSetPointerHooks(InputPointerWindowAdd, InputPointerWindowRemove);
}

void ModulesFinal() {
  while (startedModules > 0) {
    --startedModules;
    if (kModules[startedModules].final) kModules[startedModules].final();
  }
}
