#include "input_fixture.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/platform.h"
#include "services/fwkIni.h"
#include "services/fwkLog.h"
#include "services/fwkUtilities.h"

namespace {

std::string ReadWhole(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream content;
  content << file.rdbuf();
  return content.str();
}

std::vector<std::pair<int32_t, int32_t>> Pairs(const inputBuffer& buffer) {
  std::vector<std::pair<int32_t, int32_t>> pairs;
  for (const inputEvent& event : buffer.events) pairs.emplace_back(event.identifier, event.value);
  return pairs;
}

}  // namespace

void InputTest::SetUp() {
  const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
  const std::filesystem::path root = std::filesystem::current_path() / "input-sandbox" /
                                     (std::string(info->test_suite_name()) + "." + info->name());
  std::filesystem::remove_all(root);
  std::filesystem::create_directories(root / "app");
  setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
  PlatformSetArguments({"-userdatainapp"});
  PlatformSetExecutablePath((root / "app" / "sanguor").string());
  PlatformSetHeadless(true);
  PlatformClockSetVirtual(true, 50000);
  PlatformSetMouseMetrics(false, true, true);
  UtilInit();
  LogInit();
  IniInit();
  userData = UtilUserDataFolder();
  logFile = LogFolder() + LogFileName();
  InputInit();
}

void InputTest::TearDown() {
  InputFinal();
  PlatformInputSetMessageHandler(nullptr);
  PlatformHookSetRefused(PLATFORM_HOOK_KEYBOARD_LL, false);
  PlatformHookSetRefused(PLATFORM_HOOK_KEYBOARD, false);
  PlatformHookSetRefused(PLATFORM_HOOK_MOUSE_LL, false);
  for (int i = SDL_NumJoysticks() - 1; i >= 0; --i) {
    if (SDL_JoystickIsVirtual(i)) SDL_JoystickDetachVirtual(i);
  }
}

void InputTest::RestartWithJoysticks(const std::vector<virtualJoystick>& joysticks) {
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
  for (const virtualJoystick& joystick : joysticks) {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = static_cast<Uint16>(joystick.axes);
    desc.nbuttons = static_cast<Uint16>(joystick.buttons);
    desc.nhats = static_cast<Uint16>(joystick.hats);
    desc.vendor_id = joystick.vendor;
    desc.product_id = joystick.product;
    desc.name = joystick.name;
    ASSERT_GE(SDL_JoystickAttachVirtualEx(&desc), 0) << SDL_GetError();
  }
  InputInit();
}

std::string InputTest::SettingsText() const { return ReadWhole(userData + "settings.ini"); }

std::string InputTest::LogText() const { return ReadWhole(logFile); }

SDL_Event KeyEvent(SDL_Scancode scancode, bool down, Uint16 mod, bool repeat) {
  SDL_Event event{};
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.key.repeat = repeat ? 1 : 0;
  event.key.keysym.scancode = scancode;
  event.key.keysym.sym = SDL_GetKeyFromScancode(scancode);
  event.key.keysym.mod = mod;
  return event;
}

SDL_Event MotionEvent(Uint32 window, int x, int y) {
  SDL_Event event{};
  event.type = SDL_MOUSEMOTION;
  event.motion.windowID = window;
  event.motion.x = x;
  event.motion.y = y;
  return event;
}

SDL_Event ButtonEvent(Uint32 window, Uint8 button, bool down, int x, int y) {
  SDL_Event event{};
  event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  event.button.windowID = window;
  event.button.button = button;
  event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.button.clicks = 1;
  event.button.x = x;
  event.button.y = y;
  return event;
}

SDL_Event WheelEvent(Uint32 window, int x, int y) {
  SDL_Event event{};
  event.type = SDL_MOUSEWHEEL;
  event.wheel.windowID = window;
  event.wheel.x = x;
  event.wheel.y = y;
  event.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
  return event;
}

std::vector<std::pair<int32_t, int32_t>> TakeControls(int32_t set) {
  inputBuffer buffer;
  InputControlEventsTake(set, buffer);
  return Pairs(buffer);
}

std::vector<std::pair<int32_t, int32_t>> TakeActions(int32_t set) {
  inputBuffer buffer;
  InputActionEventsTake(set, buffer);
  return Pairs(buffer);
}

// Mesa's offscreen EGL driver, loaded by SDL for the test windows, keeps allocations that it
// never frees and is unloaded before the leak check. Its code has no frame pointers, so only
// the slow unwinder reaches the SDL frames the suppression names.
extern "C" const char* __asan_default_options() { return "fast_unwind_on_malloc=0"; }
extern "C" const char* __lsan_default_suppressions() { return "leak:libSDL2-2.0.so\n"; }
