// Joysticks through the multimedia joystick interface (winmm). Device ids are winmm's; a device
// gets an instance when it is first found readable and keeps it until it stops answering.
// Every pump pass reads the devices that are present and announces their changes; ids without
// a device are tried again once a second, since asking an empty id can be slow.
#include <windows.h>

#include <mmsystem.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "platform/common/joystick_controls.h"
#include "platform/platform_input.h"
#include "platform/win32/input/win32_input_parts.h"
#include "platform/win32/input/win32_joystick_reading.h"

namespace {

constexpr DWORD kRescanMilliseconds = 1000;
constexpr uint32_t kMaxButtons = 32;

struct device {
  bool present = false;
  bool announced = false;
  int32_t instance = -1;
  JOYCAPSA caps{};
};

std::vector<device> devices;  // by device id
int32_t nextInstance = 0;
DWORD lastRescan = 0;
bool scanned = false;

// Windows says JOYERR_UNPLUGGED for a device that is not there; Wine says JOYERR_PARMS.
bool ReadPosition(int32_t id, JOYINFOEX& info) {
  info = JOYINFOEX{};
  info.dwSize = sizeof info;
  info.dwFlags = JOY_RETURNALL;
  return joyGetPosEx(static_cast<UINT>(id), &info) == JOYERR_NOERROR;
}

device* Entry(int32_t id) {
  if (id < 0 || id >= PlatformJoystickDeviceCount()) return nullptr;
  if (devices.size() <= static_cast<size_t>(id)) devices.resize(static_cast<size_t>(id) + 1);
  return &devices[static_cast<size_t>(id)];
}

void Forget(device& entry) {
  if (entry.announced) JoystickControlsRemoved(entry.instance);
  entry = device{};
}

// The device answers: it keeps its instance, or gets a new one if it was absent.
bool Track(int32_t id, device& entry) {
  if (entry.present) return true;
  JOYCAPSA caps{};
  if (joyGetDevCapsA(static_cast<UINT>(id), &caps, sizeof caps) != JOYERR_NOERROR) return false;
  entry.present = true;
  entry.instance = nextInstance++;
  entry.caps = caps;
  return true;
}

device* Present(int32_t id) {
  device* entry = Entry(id);
  if (entry == nullptr) return nullptr;
  JOYINFOEX info;
  if (!ReadPosition(id, info)) {
    Forget(*entry);
    return nullptr;
  }
  return Track(id, *entry) ? entry : nullptr;
}

void Announce(const device& entry, const JOYINFOEX& info) {
  const JOYCAPSA& caps = entry.caps;
  const uint32_t buttons = std::min<uint32_t>(caps.wNumButtons, kMaxButtons);
  for (uint32_t b = 0; b < buttons; ++b) {
    JoystickControlsButton(entry.instance, static_cast<int32_t>(b),
                           (info.dwButtons & (1u << b)) != 0);
  }
  const std::array<std::array<DWORD, 3>, 6> axes = {{{info.dwXpos, caps.wXmin, caps.wXmax},
                                                     {info.dwYpos, caps.wYmin, caps.wYmax},
                                                     {info.dwZpos, caps.wZmin, caps.wZmax},
                                                     {info.dwRpos, caps.wRmin, caps.wRmax},
                                                     {info.dwUpos, caps.wUmin, caps.wUmax},
                                                     {info.dwVpos, caps.wVmin, caps.wVmax}}};
  const std::array<UINT, 6> present = {1,           1, JOYCAPS_HASZ, JOYCAPS_HASR, JOYCAPS_HASU,
                                       JOYCAPS_HASV};
  for (size_t axis = 0; axis < axes.size(); ++axis) {
    if (axis >= 2 && (caps.wCaps & present[axis]) == 0) continue;
    JoystickControlsAxis(entry.instance, static_cast<int32_t>(axis),
                         JoystickAxisValue(axes[axis][0], axes[axis][1], axes[axis][2]));
  }
  if ((caps.wCaps & JOYCAPS_HASPOV) != 0)
    JoystickControlsHat(entry.instance, JoystickPovDirections(info.dwPOV));
}

}  // namespace

void Win32JoysticksPoll() {
  const DWORD now = GetTickCount();
  const bool rescan = !scanned || now - lastRescan >= kRescanMilliseconds;
  if (rescan) {
    scanned = true;
    lastRescan = now;
  }
  const int32_t count = PlatformJoystickDeviceCount();
  for (int32_t id = 0; id < count; ++id) {
    device* entry = Entry(id);
    if (entry == nullptr || (!entry->present && !rescan)) continue;
    JOYINFOEX info;
    if (!ReadPosition(id, info)) {
      Forget(*entry);
      continue;
    }
    if (!Track(id, *entry)) continue;
    if (!entry->announced) {
      entry->announced = true;
      JoystickControlsAdded(id, entry->instance);
    }
    Announce(*entry, info);
  }
}

int32_t PlatformJoystickDeviceCount() {
  return static_cast<int32_t>(std::min<UINT>(joyGetNumDevs(), 256));
}

bool PlatformJoystickPosition(int32_t id, platformJoystickPosition& position) {
  JOYINFOEX info;
  if (Present(id) == nullptr || !ReadPosition(id, info)) return false;
  position.x = info.dwXpos;
  position.y = info.dwYpos;
  position.z = info.dwZpos;
  position.buttons = info.dwButtons;
  return true;
}

bool PlatformJoystickCapabilities(int32_t id, platformJoystickCaps& caps) {
  const device* entry = Present(id);
  if (entry == nullptr) return false;
  const JOYCAPSA& source = entry->caps;
  caps = platformJoystickCaps{};
  caps.manufacturerId = source.wMid;
  caps.productId = source.wPid;
  caps.productName =
      std::string(source.szPname, strnlen(source.szPname, sizeof source.szPname)).substr(0, 31);
  caps.numButtons = std::min<uint32_t>(source.wNumButtons, kMaxButtons);
  caps.maxButtons = source.wMaxButtons;
  caps.caps =
      source.wCaps & (PLATFORM_JOYCAPS_HASZ | PLATFORM_JOYCAPS_HASR | PLATFORM_JOYCAPS_HASU |
                      PLATFORM_JOYCAPS_HASV | PLATFORM_JOYCAPS_HASPOV);
  caps.numAxes = std::min<uint32_t>(source.wNumAxes, 6);
  caps.maxAxes = source.wMaxAxes;
  caps.registryKey =
      std::string(source.szRegKey, strnlen(source.szRegKey, sizeof source.szRegKey)).substr(0, 32);
  // Windows keeps a configured device's name in the registry, where the input module reads it.
  caps.deviceName.clear();
  return true;
}

int32_t PlatformJoystickInstance(int32_t id) {
  const device* entry = Present(id);
  return entry == nullptr ? -1 : entry->instance;
}

int32_t PlatformJoystickPadControl(int32_t instance, platformPadButton button) {
  for (const device& entry : devices) {
    if (!entry.present || entry.instance != instance) continue;
    const uint32_t buttons = std::min<uint32_t>(entry.caps.wNumButtons, kMaxButtons);
    if (!JoystickIsGamePad(buttons, entry.caps.wCaps))
      return JoystickPlainPadControl(buttons, button);
    switch (button) {
      case PLATFORM_PAD_SOUTH: return 1;
      case PLATFORM_PAD_EAST: return 2;
      case PLATFORM_PAD_BACK: return 7;
      case PLATFORM_PAD_START: return 8;
      case PLATFORM_PAD_LEFT: return 40;
      case PLATFORM_PAD_RIGHT: return 41;
      case PLATFORM_PAD_DOWN: return 42;
    }
  }
  return 0;
}
