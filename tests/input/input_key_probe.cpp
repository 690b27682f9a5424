// A small program for checking real keyboard and mouse input in a real window: it prints every
// control event and action event of a game-like set, and stops when Escape is released or
// after the number of seconds given as its argument.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "input/fwkInput.h"
#include "platform/platform.h"
#include "services/fwkIni.h"
#include "services/fwkLog.h"
#include "services/fwkUtilities.h"

namespace {

bool escapeReleased = false;

void ShellMessageHook(platformWindow window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  // Escape is read from the window messages, which arrive with or without the keyboard hook.
  if (message == PLATFORM_WM_KEYUP && wParam == PLATFORM_VK_ESCAPE) escapeReleased = true;
  if (message == PLATFORM_WM_KEYDOWN && (static_cast<uint32_t>(lParam) & PLATFORM_KF_REPEAT) != 0) {
    std::printf("repeat %u\n", static_cast<unsigned>(wParam));
  }
  InputMessage(window, message, wParam, lParam);
}

void PrintEvents(int32_t set) {
  inputBuffer buffer;
  InputControlEventsTake(set, buffer);
  for (const inputEvent& event : buffer.events) {
    std::printf("control %d %d %s\n", event.identifier, event.value,
                InputControlName(event.identifier).c_str());
  }
  InputActionEventsTake(set, buffer);
  for (const inputEvent& event : buffer.events) {
    std::printf("action %s %d\n", InputActionName(event.identifier).c_str(), event.value);
  }
}

}  // namespace

int main(int argc, char** argv) {
  PlatformInit(argc, argv);
  const uint32_t seconds = argc > 1 ? static_cast<uint32_t>(std::atoi(argv[1])) : 20;
  UtilInit();
  LogInit();
  IniInit();
  InputInit();

  platformWindowParams params;
  params.caption = "Input Probe";
  params.width = 320;
  params.height = 240;
  const platformWindow window = PlatformWindowCreate(params);
  if (window == 0) {
    std::printf("no window: %s\n", PlatformLastVideoError().c_str());
    return 1;
  }
  PlatformWindowShow(window);
  InputPointerWindowAdd(1, window);
  PlatformInputSetMessageHandler(ShellMessageHook);
  const int32_t game = InputControlSetNew("Game", false);
  const std::pair<const char*, ControlCode> actions[] = {{"Bite", 32}, {"Left", 11}, {"Right", 29}};
  for (const auto& [name, code] : actions) InputActionBind(InputActionNew(game, name), code, 100);
  InputControlSetActivate(game);
  InputKeyboardHookOn();
  InputMouseHookOn();
  std::printf("ready\n");
  std::fflush(stdout);

  bool hooked = true;
  const uint32_t start = PlatformTickCount();
  while (!escapeReleased && PlatformTickCount() - start < seconds * 1000) {
    PlatformPumpMessages();
    PrintEvents(game);
    if (hooked != InputKeyboardHookInstalled()) {
      hooked = InputKeyboardHookInstalled();
      std::printf("keyboard hook %s\n", hooked ? "on" : "off");
    }
    std::fflush(stdout);
    PlatformSleep(5);
  }
  std::printf("done\n");
  InputFinal();
  PlatformWindowDestroy(window);
  PlatformShutdown();
  return 0;
}
