#include "ScriptFuzzSetup.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/platform_system.h"
#include "script/fwkScript.h"
#include "services/fwkLog.h"
#include "services/fwkState.h"

namespace {

std::string folder;
int32_t runs = 0;

void CleanUp() {
  std::remove((folder + "results.log").c_str());
  rmdir(folder.c_str());
}

int32_t Sink(int32_t, int32_t) { return 1; }

}  // namespace

void ScriptFuzzStart() {
  if (folder.empty()) {
    char pattern[] = "/tmp/sanguor-script-fuzz-XXXXXX";
    if (mkdtemp(pattern) == nullptr) std::abort();
    folder = std::string(pattern) + "/";
    std::atexit(CleanUp);
    PlatformSetExecutablePath(folder + "sanguor");
    PlatformSetArguments({"-userdatainapp"});
    LogInit();
    StateInit();
    ScriptInit();
    ScriptSetStepLimit(20000);
    ScriptAppRoutineRegister("Report", Sink);
  }
  if (++runs % 1000 == 0) std::remove((folder + "results.log").c_str());
}

void ScriptFuzzDrive(int32_t scriptId) {
  ScriptRoutineRun(scriptId, 1, "AppScriptEnter");
  for (int frame = 0; frame < 4; ++frame) {
    if (ScriptIsWaiting(scriptId)) {
      ScriptThreadResume(scriptId, -1);
    } else {
      ScriptStep(scriptId);
    }
  }
  ScriptClose(scriptId);
  if (ScriptFind(scriptId) != -1) std::abort();
}
