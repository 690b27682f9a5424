// Joysticks through SDL's joystick interface, in the shape of the multimedia joystick calls:
// device ids are SDL's device indices, axes 0..5 are X, Y, Z, R, U and V.
#include <SDL.h>

#include <algorithm>
#include <map>

#include "platform/platform_input.h"

namespace {

constexpr int kMaxButtons = 32;
constexpr int kMaxAxes = 6;

bool subsystemTried = false;
bool subsystemReady = false;
std::map<int32_t, SDL_Joystick*> opened;

bool EnsureSubsystem() {
  if (!subsystemTried) {
    subsystemTried = true;
    subsystemReady = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
  }
  return subsystemReady;
}

SDL_Joystick* Open(int32_t device) {
  if (!EnsureSubsystem() || device < 0 || device >= SDL_NumJoysticks()) return nullptr;
  auto found = opened.find(device);
  if (found != opened.end() && SDL_JoystickGetAttached(found->second)) return found->second;
  SDL_Joystick* joystick = SDL_JoystickOpen(device);
  if (joystick != nullptr) opened[device] = joystick;
  return joystick;
}

uint32_t AxisPosition(SDL_Joystick* joystick, int axis) {
  if (axis >= SDL_JoystickNumAxes(joystick)) return 32767;
  return static_cast<uint32_t>(SDL_JoystickGetAxis(joystick, axis) + 32768);
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
  caps.numButtons = static_cast<uint32_t>(std::clamp(SDL_JoystickNumButtons(joystick), 0, kMaxButtons));
  const int axes = std::clamp(SDL_JoystickNumAxes(joystick), 0, kMaxAxes);
  caps.numAxes = static_cast<uint32_t>(axes);
  if (axes > 2) caps.caps |= PLATFORM_JOYCAPS_HASZ;
  if (axes > 3) caps.caps |= PLATFORM_JOYCAPS_HASR;
  if (axes > 4) caps.caps |= PLATFORM_JOYCAPS_HASU;
  if (axes > 5) caps.caps |= PLATFORM_JOYCAPS_HASV;
  if (SDL_JoystickNumHats(joystick) > 0) caps.caps |= PLATFORM_JOYCAPS_HASPOV;
  return true;
}
