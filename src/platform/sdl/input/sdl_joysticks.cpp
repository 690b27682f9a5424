// Joysticks through SDL's joystick interface, in the shape of the multimedia joystick calls:
// device ids are SDL's device indices, axes 0..5 are X, Y, Z, R, U and V. Devices are kept
// open by their instance, so that their events reach the program and a device pulled out can
// be told apart from the others.
#include <SDL.h>

#include <algorithm>
#include <array>
#include <map>

#include "platform/common/joystick_controls.h"
#include "platform/platform_input.h"
#include "platform/platform_system.h"
#include "platform/sdl/input/sdl_joystick_events.h"

namespace {

constexpr int kMaxButtons = 32;
constexpr int kMaxAxes = 6;

bool subsystemTried = false;
bool subsystemReady = false;

struct openDevice {
  SDL_Joystick* joystick = nullptr;
  SDL_GameController* pad = nullptr;
};
std::map<int32_t, openDevice> opened;  // by instance

bool EnsureSubsystem() {
  if (!subsystemTried) {
    subsystemTried = true;
    // SDL drops controller events while none of its windows has the focus; a headless run has
    // no focus to give, and is active all the same.
    if (PlatformHeadless()) SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    subsystemReady = SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER) == 0;
  }
  return subsystemReady;
}

SDL_Joystick* Open(int32_t device) {
  if (!EnsureSubsystem() || device < 0 || device >= SDL_NumJoysticks()) return nullptr;
  const SDL_JoystickID instance = SDL_JoystickGetDeviceInstanceID(device);
  auto found = opened.find(instance);
  if (found != opened.end() && SDL_JoystickGetAttached(found->second.joystick))
    return found->second.joystick;
  openDevice entry;
  // A game controller opens its joystick too, and knows which button sits where.
  if (SDL_IsGameController(device)) entry.pad = SDL_GameControllerOpen(device);
  entry.joystick =
      entry.pad != nullptr ? SDL_GameControllerGetJoystick(entry.pad) : SDL_JoystickOpen(device);
  if (entry.joystick == nullptr) return nullptr;
  opened[SDL_JoystickInstanceID(entry.joystick)] = entry;
  return entry.joystick;
}

uint32_t AxisPosition(SDL_Joystick* joystick, int axis) {
  if (axis >= SDL_JoystickNumAxes(joystick)) return 32767;
  return static_cast<uint32_t>(SDL_JoystickGetAxis(joystick, axis) + 32768);
}

int32_t HatControl(uint8_t mask) {
  switch (mask) {
    case SDL_HAT_LEFT: return 40;
    case SDL_HAT_RIGHT: return 41;
    case SDL_HAT_DOWN: return 42;
    case SDL_HAT_UP: return 43;
    default: return 0;
  }
}

}  // namespace

int32_t PlatformJoystickDeviceCount() {
  if (!EnsureSubsystem()) return 0;
  return std::max(0, SDL_NumJoysticks());
}

bool PlatformJoystickPosition(int32_t device, platformJoystickPosition& position) {
  SDL_Joystick* joystick = Open(device);
  if (joystick == nullptr) return false;
  SDL_JoystickUpdate();
  position.x = AxisPosition(joystick, 0);
  position.y = AxisPosition(joystick, 1);
  position.z = AxisPosition(joystick, 2);
  position.buttons = 0;
  const int buttons = std::min(SDL_JoystickNumButtons(joystick), kMaxButtons);
  for (int b = 0; b < buttons; ++b) {
    if (SDL_JoystickGetButton(joystick, b) != 0) position.buttons |= 1u << b;
  }
  return true;
}

bool PlatformJoystickCapabilities(int32_t device, platformJoystickCaps& caps) {
  SDL_Joystick* joystick = Open(device);
  if (joystick == nullptr) return false;
  caps = platformJoystickCaps{};
  caps.manufacturerId = SDL_JoystickGetVendor(joystick);
  caps.productId = SDL_JoystickGetProduct(joystick);
  const char* name = SDL_JoystickName(joystick);
  caps.deviceName = name != nullptr ? name : "";
  caps.productName = caps.deviceName.substr(0, 31);
  caps.numButtons =
      static_cast<uint32_t>(std::clamp(SDL_JoystickNumButtons(joystick), 0, kMaxButtons));
  const int axes = std::clamp(SDL_JoystickNumAxes(joystick), 0, kMaxAxes);
  caps.numAxes = static_cast<uint32_t>(axes);
  if (axes > 2) caps.caps |= PLATFORM_JOYCAPS_HASZ;
  if (axes > 3) caps.caps |= PLATFORM_JOYCAPS_HASR;
  if (axes > 4) caps.caps |= PLATFORM_JOYCAPS_HASU;
  if (axes > 5) caps.caps |= PLATFORM_JOYCAPS_HASV;
  if (SDL_JoystickNumHats(joystick) > 0) caps.caps |= PLATFORM_JOYCAPS_HASPOV;
  return true;
}

int32_t PlatformJoystickInstance(int32_t device) {
  if (!EnsureSubsystem() || device < 0 || device >= SDL_NumJoysticks()) return -1;
  return SDL_JoystickGetDeviceInstanceID(device);
}

int32_t PlatformJoystickPadControl(int32_t instance, platformPadButton button) {
  auto found = opened.find(instance);
  if (found == opened.end()) return 0;
  if (found->second.pad == nullptr) {
    const int buttons = SDL_JoystickNumButtons(found->second.joystick);
    return JoystickPlainPadControl(static_cast<uint32_t>(std::max(buttons, 0)), button);
  }
  static constexpr std::array<SDL_GameControllerButton, 7> kButtons = {
      SDL_CONTROLLER_BUTTON_A,          SDL_CONTROLLER_BUTTON_B,
      SDL_CONTROLLER_BUTTON_START,      SDL_CONTROLLER_BUTTON_DPAD_LEFT,
      SDL_CONTROLLER_BUTTON_DPAD_RIGHT, SDL_CONTROLLER_BUTTON_DPAD_DOWN,
      SDL_CONTROLLER_BUTTON_BACK};
  const SDL_GameControllerButtonBind bind =
      SDL_GameControllerGetBindForButton(found->second.pad, kButtons[static_cast<size_t>(button)]);
  if (bind.bindType == SDL_CONTROLLER_BINDTYPE_BUTTON && bind.value.button < kMaxButtons)
    return bind.value.button + 1;
  if (bind.bindType == SDL_CONTROLLER_BINDTYPE_HAT && bind.value.hat.hat == 0)
    return HatControl(static_cast<uint8_t>(bind.value.hat.hat_mask));
  return 0;
}

void SdlJoystickClose(int32_t instance) {
  auto found = opened.find(instance);
  if (found == opened.end()) return;
  if (found->second.pad != nullptr) {
    SDL_GameControllerClose(found->second.pad);
  } else {
    SDL_JoystickClose(found->second.joystick);
  }
  opened.erase(found);
}
