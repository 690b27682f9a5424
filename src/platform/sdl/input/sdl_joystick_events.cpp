// Controller events: buttons, axes and hats as sub-controls with values in percent, and devices
// coming and going.
#include "platform/sdl/input/sdl_joystick_events.h"

#include <array>
#include <cstdlib>
#include <map>

#include "platform/platform_input.h"

namespace {

constexpr int kMaxButtons = 32;
constexpr int kMaxAxes = 6;
// A stick at rest is seldom exactly centred; below a quarter of its way it counts as centred.
constexpr int32_t kDeadZonePercent = 25;

// The direction sub-controls of axes X, Y, Z, R, U, V: [toward negative, toward positive].
constexpr std::array<std::array<int32_t, 2>, kMaxAxes> kAxisControls = {
    {{40, 41}, {43, 42}, {45, 44}, {35, 34}, {37, 36}, {39, 38}}};

struct deviceState {
  std::array<std::array<int32_t, 2>, kMaxAxes> axes{};  // the last values posted
  uint8_t hat = SDL_HAT_CENTERED;
};

platformJoystickHandler handler = nullptr;
std::map<int32_t, deviceState> devices;

void Post(int32_t instance, int32_t subControl, int32_t value) {
  if (handler == nullptr) return;
  platformJoystickEvent event;
  event.kind = PLATFORM_JOY_CONTROL;
  event.instance = instance;
  event.subControl = subControl;
  event.value = value;
  handler(event);
}

void Axis(const SDL_JoyAxisEvent& motion) {
  if (motion.axis >= kMaxAxes) return;
  int32_t percent = std::abs(static_cast<int32_t>(motion.value)) * 100 / 32767;
  if (percent > 100) percent = 100;
  if (percent < kDeadZonePercent) percent = 0;
  std::array<int32_t, 2> values{};
  values[motion.value < 0 ? 0 : 1] = percent;
  std::array<int32_t, 2>& last = devices[motion.which].axes[motion.axis];
  for (size_t side = 0; side < 2; ++side) {
    if (values[side] == last[side]) continue;
    last[side] = values[side];
    Post(motion.which, kAxisControls[motion.axis][side], values[side]);
  }
}

void Hat(const SDL_JoyHatEvent& motion) {
  if (motion.hat != 0) return;
  uint8_t& last = devices[motion.which].hat;
  const std::array<std::pair<uint8_t, int32_t>, 4> directions = {
      {{SDL_HAT_LEFT, 40}, {SDL_HAT_RIGHT, 41}, {SDL_HAT_DOWN, 42}, {SDL_HAT_UP, 43}}};
  for (const auto& [mask, subControl] : directions) {
    const bool now = (motion.value & mask) != 0;
    if (now != ((last & mask) != 0)) Post(motion.which, subControl, now ? 100 : 0);
  }
  last = motion.value;
}

void Device(platformJoystickEventKind kind, int32_t device, int32_t instance) {
  if (handler == nullptr) return;
  platformJoystickEvent event;
  event.kind = kind;
  event.device = device;
  event.instance = instance;
  handler(event);
}

}  // namespace

bool SdlJoystickHandleEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
      if (event.jbutton.button < kMaxButtons)
        Post(event.jbutton.which, event.jbutton.button + 1, event.type == SDL_JOYBUTTONDOWN ? 100 : 0);
      return true;
    case SDL_JOYAXISMOTION: Axis(event.jaxis); return true;
    case SDL_JOYHATMOTION: Hat(event.jhat); return true;
    case SDL_JOYDEVICEADDED: {
      // Opening the device makes its events flow; the capabilities call opens it.
      platformJoystickCaps caps;
      if (!PlatformJoystickCapabilities(event.jdevice.which, caps)) return true;
      Device(PLATFORM_JOY_ADDED, event.jdevice.which, PlatformJoystickInstance(event.jdevice.which));
      return true;
    }
    case SDL_JOYDEVICEREMOVED:
      devices.erase(event.jdevice.which);
      SdlJoystickClose(event.jdevice.which);
      Device(PLATFORM_JOY_REMOVED, -1, event.jdevice.which);
      return true;
    case SDL_JOYBALLMOTION:
    case SDL_CONTROLLERAXISMOTION:
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
    case SDL_CONTROLLERDEVICEADDED:
    case SDL_CONTROLLERDEVICEREMOVED:
    case SDL_CONTROLLERDEVICEREMAPPED: return true;
    default: return false;
  }
}

void PlatformJoystickSetHandler(platformJoystickHandler proc) { handler = proc; }
