// Program entry: the platform, then every module in start-up order, then the switches that
// drive a run (replays, screenshots, the seed), then the main window, which runs the game;
// the modules stop in reverse order once it is gone.
#include "platform/platform.h"
#include "shell/GameEntry.h"
#include "shell/Modules.h"
#include "shell/RunControl.h"
#include "shell/UntMain.h"

int main(int argc, char** argv) {
  PlatformInit(argc, argv);
  ModulesInit();
  const int exitCode =
      RunControlStart(GameSeed, GameStartLevel) ? MainApplicationRun() : kExitNotStarted;
  RunControlFinish();
  ModulesFinal();
  // The video part first: it gives back the GL library it loaded, with what SDL kept for it.
  PlatformVideoShutdown();
  PlatformShutdown();
  return exitCode;
}
