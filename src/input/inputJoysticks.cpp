// The game controllers found at start-up or plugged in later, their names, the control codes
// they own and the changes of their controls.
#include "input/inputTables.h"

namespace {

std::string RegistryName(int32_t deviceId, const std::string& registryKey) {
  const std::string key = registryKey.substr(0, 32);
  const std::string oemKey =
      UtilRegistryRead("SYSTEM\\CurrentControlSet\\control\\MediaResources\\Joystick\\" + key +
                           "\\CurrentJoystickSettings",
                       "JOYSTICK" + std::to_string(deviceId + 1) + "OEMNAME");
  if (oemKey.empty()) return "";
  return UtilRegistryRead(
      "SYSTEM\\CurrentControlSet\\control\\MediaProperties\\PrivateProperties\\Joystick\\OEM\\" +
          oemKey,
      "OEMNAME");
}

std::string JoystickDisplayName(int32_t deviceId, const platformJoystickCaps& caps) {
  std::string name = RegistryName(deviceId, caps.registryKey);
  if (name.empty()) name = caps.deviceName;
  if (name.empty()) {
    name = std::to_string(caps.numAxes) + "-axis, " + std::to_string(caps.numButtons) +
           "-button joystick";
  }
  return name;
}

bool HasSubControl(const platformJoystickCaps& caps, int32_t subControl) {
  if (subControl >= 1 && subControl <= kJoyButtonLast)
    return static_cast<uint32_t>(subControl) <= caps.numButtons;
  switch (subControl) {
    case kJoyPovHat: return (caps.caps & PLATFORM_JOYCAPS_HASPOV) != 0;
    case kJoyRAxisDown:
    case kJoyRAxisUp: return (caps.caps & PLATFORM_JOYCAPS_HASR) != 0;
    case kJoyUAxisDown:
    case kJoyUAxisUp: return (caps.caps & PLATFORM_JOYCAPS_HASU) != 0;
    case kJoyVAxisDown:
    case kJoyVAxisUp: return (caps.caps & PLATFORM_JOYCAPS_HASV) != 0;
    case kJoyXAxisLeft:
    case kJoyXAxisRight:
    case kJoyYAxisDown:
    case kJoyYAxisUp: return true;
    case kJoyZAxisDown:
    case kJoyZAxisUp: return (caps.caps & PLATFORM_JOYCAPS_HASZ) != 0;
    default: return false;
  }
}

}  // namespace

void InputJoystickEnumerate() {
  std::vector<joystick>& list = InputState().joysticks;
  list.clear();
  const int32_t devices = PlatformJoystickDeviceCount();
  for (int32_t id = 0; id < devices; ++id) {
    platformJoystickPosition position;
    if (!PlatformJoystickPosition(id, position)) continue;
    platformJoystickCaps caps;
    if (!PlatformJoystickCapabilities(id, caps)) continue;
    list.push_back({JoystickDisplayName(id, caps), id, caps, PlatformJoystickInstance(id), true});
  }
}

void InputJoystickEvent(const platformJoystickEvent& event) {
  std::vector<joystick>& list = InputState().joysticks;
  auto byInstance = [&list](int32_t instance) -> int32_t {
    for (size_t j = 0; j < list.size(); ++j)
      if (list[j].present && list[j].instance == instance) return static_cast<int32_t>(j);
    return -1;
  };
  if (event.kind == PLATFORM_JOY_ADDED) {
    if (byInstance(event.instance) >= 0) return;
    platformJoystickCaps caps;
    if (!PlatformJoystickCapabilities(event.device, caps)) return;
    for (joystick& entry : list) {
      // The same kind of device back in a place that was left free takes that place again.
      if (entry.present || entry.caps.manufacturerId != caps.manufacturerId ||
          entry.caps.productId != caps.productId || entry.caps.deviceName != caps.deviceName)
        continue;
      entry = {JoystickDisplayName(event.device, caps), event.device, caps, event.instance, true};
      return;
    }
    list.push_back(
        {JoystickDisplayName(event.device, caps), event.device, caps, event.instance, true});
    return;
  }
  const int32_t index = byInstance(event.instance);
  if (index < 0) return;
  const ControlCode first = index * kControlsPerJoystick + 127;
  if (event.kind == PLATFORM_JOY_REMOVED) {
    // Nothing stays held by a controller that is gone.
    for (controlSet& set : InputState().sets) {
      for (ControlCode code = first; code < first + kControlsPerJoystick; ++code)
        if (InputControlValue(set.id, code) != 0) InputControlPost(set.id, code, 0);
    }
    list[static_cast<size_t>(index)].present = false;
    return;
  }
  if (event.subControl < 1 || event.subControl > kControlsPerJoystick) return;
  const int32_t active = InputControlSetActive();
  if (active > 0) InputControlPost(active, first + event.subControl - 1, event.value);
}

ControlCode InputJoystickPadControl(int32_t index, platformPadButton button) {
  const joystick* entry = InputJoystickAt(index);
  if (entry == nullptr || !entry->present) return -1;
  const int32_t subControl = PlatformJoystickPadControl(entry->instance, button);
  return subControl > 0 ? InputJoystickControl(index, subControl) : -1;
}

int32_t InputJoystickCount() { return static_cast<int32_t>(InputState().joysticks.size()); }

const joystick* InputJoystickAt(int32_t index) {
  const std::vector<joystick>& list = InputState().joysticks;
  if (index < 0 || index >= static_cast<int32_t>(list.size())) return nullptr;
  return &list[index];
}

ControlCode InputJoystickControl(int32_t index, int32_t subControl) {
  const joystick* entry = InputJoystickAt(index);
  if (entry == nullptr || !entry->present || !HasSubControl(entry->caps, subControl)) return -1;
  return index * kControlsPerJoystick + subControl + 126;
}

std::string InputJoystickName(int32_t index) {
  const joystick* entry = InputJoystickAt(index);
  return entry == nullptr ? "" : entry->name;
}
