// The game controllers found at start-up, their names and the control codes they own.
#include "input/inputTables.h"

namespace {

std::string RegistryName(int32_t deviceId, const std::string& registryKey) {
  const std::string key = registryKey.substr(0, 32);
  const std::string oemKey = UtilRegistryRead(
      "SYSTEM\\CurrentControlSet\\control\\MediaResources\\Joystick\\" + key + "\\CurrentJoystickSettings",
      "JOYSTICK" + std::to_string(deviceId + 1) + "OEMNAME");
  if (oemKey.empty()) return "";
  return UtilRegistryRead("SYSTEM\\CurrentControlSet\\control\\MediaProperties\\PrivateProperties\\Joystick\\OEM\\" +
                              oemKey,
                          "OEMNAME");
}

std::string JoystickDisplayName(int32_t deviceId, const platformJoystickCaps& caps) {
  std::string name = RegistryName(deviceId, caps.registryKey);
  if (name.empty()) name = caps.deviceName;
  if (name.empty()) {
    name = std::to_string(caps.numAxes) + "-axis, " + std::to_string(caps.numButtons) + "-button joystick";
  }
  return name;
}

bool HasSubControl(const platformJoystickCaps& caps, int32_t subControl) {
  if (subControl >= 1 && subControl <= kJoyButtonLast) return static_cast<uint32_t>(subControl) <= caps.numButtons;
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
    list.push_back({JoystickDisplayName(id, caps), id, caps});
  }
}

int32_t InputJoystickCount() { return static_cast<int32_t>(InputState().joysticks.size()); }

const joystick* InputJoystickAt(int32_t index) {
  const std::vector<joystick>& list = InputState().joysticks;
  if (index < 0 || index >= static_cast<int32_t>(list.size())) return nullptr;
  return &list[index];
}

ControlCode InputJoystickControl(int32_t index, int32_t subControl) {
  const joystick* entry = InputJoystickAt(index);
  if (entry == nullptr || !HasSubControl(entry->caps, subControl)) return -1;
  return index * kControlsPerJoystick + subControl + 126;
}

std::string InputJoystickName(int32_t index) {
  const joystick* entry = InputJoystickAt(index);
  return entry == nullptr ? "" : entry->name;
}
