// Controller changes: buttons, axes and hats as sub-controls with values in percent, and devices
// coming and going.
#include "platform/common/joystick_controls.h"

#include <array>
#include <cstdlib>
#include <map>

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
  uint32_t hat = 0;
  uint32_t buttons = 0;
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

void Device(platformJoystickEventKind kind, int32_t device, int32_t instance) {
  if (handler == nullptr) return;
  platformJoystickEvent event;
  event.kind = kind;
  event.device = device;
  event.instance = instance;
  handler(event);
}

}  // namespace

void JoystickControlsButton(int32_t instance, int32_t button, bool down) {
  if (button < 0 || button >= kMaxButtons) return;
  uint32_t& buttons = devices[instance].buttons;
  const uint32_t bit = 1u << button;
  if (((buttons & bit) != 0) == down) return;
  buttons ^= bit;
  Post(instance, button + 1, down ? 100 : 0);
}

void JoystickControlsAxis(int32_t instance, int32_t axis, int32_t value) {
  if (axis < 0 || axis >= kMaxAxes) return;
  int32_t percent = std::abs(value) * 100 / 32767;
  if (percent > 100) percent = 100;
  if (percent < kDeadZonePercent) percent = 0;
  std::array<int32_t, 2> values{};
  values[value < 0 ? 0 : 1] = percent;
  std::array<int32_t, 2>& last = devices[instance].axes[static_cast<size_t>(axis)];
  for (size_t side = 0; side < 2; ++side) {
    if (values[side] == last[side]) continue;
    last[side] = values[side];
    Post(instance, kAxisControls[static_cast<size_t>(axis)][side], values[side]);
  }
}

void JoystickControlsHat(int32_t instance, uint32_t directions) {
  uint32_t& last = devices[instance].hat;
  const std::array<std::pair<uint32_t, int32_t>, 4> controls = {{{JOYSTICK_HAT_LEFT, 40},
                                                                 {JOYSTICK_HAT_RIGHT, 41},
                                                                 {JOYSTICK_HAT_DOWN, 42},
                                                                 {JOYSTICK_HAT_UP, 43}}};
  for (const auto& [mask, subControl] : controls) {
    const bool now = (directions & mask) != 0;
    if (now != ((last & mask) != 0)) Post(instance, subControl, now ? 100 : 0);
  }
  last = directions;
}

void JoystickControlsAdded(int32_t device, int32_t instance) {
  Device(PLATFORM_JOY_ADDED, device, instance);
}

void JoystickControlsRemoved(int32_t instance) {
  devices.erase(instance);
  Device(PLATFORM_JOY_REMOVED, -1, instance);
}

int32_t JoystickPlainPadControl(uint32_t numButtons, platformPadButton button) {
  switch (button) {
    case PLATFORM_PAD_SOUTH: return numButtons >= 1 ? 1 : 0;
    case PLATFORM_PAD_EAST: return numButtons >= 2 ? 2 : 0;
    case PLATFORM_PAD_LEFT: return 40;
    case PLATFORM_PAD_RIGHT: return 41;
    case PLATFORM_PAD_DOWN: return 42;
    default: return 0;
  }
}

void PlatformJoystickSetHandler(platformJoystickHandler proc) { handler = proc; }
