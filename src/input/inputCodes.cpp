// The control code space: names of the keyboard and mouse codes, joystick codes, and which
// controls are axes.
#include <array>

#include "input/inputTables.h"

namespace {

// Index c - 1 holds the name of code c.
const std::array<const char*, kControlMouseLast> kControlNames = {
    "1",
    "2",
    "3",
    "4",
    "5",
    "6",
    "7",
    "8",
    "9",
    "0",  // 1..10
    "A",
    "Left Alt",
    "Right Alt",
    "Down Arrow",
    "Left Arrow",
    "Right Arrow",  // 11..16
    "Up Arrow",
    "B",
    "\\",
    "Backspace",
    "[",
    "]",
    "C",
    "Caps Lock",
    ",",  // 17..25
    "Context Menu",
    "Left Control",
    "Right Control",
    "D",
    "-",
    "Delete",
    "E",
    "End",  // 26..33
    "Enter",
    "=",
    "Escape",
    "F",  // 34..37
    "F1",
    "F2",
    "F3",
    "F4",
    "F5",
    "F6",
    "F7",
    "F8",
    "F9",
    "F10",
    "F11",
    "F12",  // 38..49
    "F13",
    "F14",
    "F15",
    "F16",
    "F17",
    "F18",
    "F19",
    "F20",
    "F21",
    "F22",
    "F23",  // 50..60
    "F24",
    "G",
    "H",
    "Home",
    "I",
    "Insert",
    "J",
    "K",
    "L",
    "M",
    "N",
    "Num Lock",  // 61..72
    "Numpad 1",
    "Numpad 2",
    "Numpad 3",
    "Numpad 4",
    "Numpad 5",
    "Numpad 6",  // 73..78
    "Numpad 7",
    "Numpad 8",
    "Numpad 9",
    "Numpad 0",
    "Numpad Enter",
    "Numpad -",  // 79..84
    "Numpad *",
    "Numpad .",
    "Numpad +",
    "Numpad /",
    "O",
    "P",
    "Page Down",  // 85..91
    "Page Up",
    "Pause",
    ".",
    "Q",
    "'",
    "R",
    "S",
    "Scroll Lock",
    ";",
    "Left Shift",  // 92..101
    "Right Shift",
    "/",
    "Space",
    "T",
    "Tab",
    "`",
    "U",
    "V",
    "W",
    "X",
    "Y",
    "Z",  // 102..113
    "Mouse Left Button",
    "Mouse Middle Button",
    "Mouse Right Button",  // 114..116
    "Mouse Button 4",
    "Mouse Button 5",
    "Mouse Down",
    "Mouse Left",
    "Mouse Right",  // 117..121
    "Mouse Scroll Left",
    "Mouse Scroll Right",
    "Mouse Scroll Down",
    "Mouse Scroll Up",  // 122..125
    "Mouse Up",         // 126
};

std::string SubControlName(int32_t subControl) {
  if (subControl >= 1 && subControl <= kJoyButtonLast)
    return "Button " + std::to_string(subControl);
  switch (subControl) {
    case kJoyPovHat: return "POV Hat";
    case kJoyRAxisDown: return "R-axis Down";
    case kJoyRAxisUp: return "R-axis Up";
    case kJoyUAxisDown: return "U-axis Down";
    case kJoyUAxisUp: return "U-axis Up";
    case kJoyVAxisDown: return "V-axis Down";
    case kJoyVAxisUp: return "V-axis Up";
    case kJoyXAxisLeft: return "X-axis Left";
    case kJoyXAxisRight: return "X-axis Right";
    case kJoyYAxisDown: return "Y-axis Down";
    case kJoyYAxisUp: return "Y-axis Up";
    case kJoyZAxisDown: return "Z-axis Down";
    case kJoyZAxisUp: return "Z-axis Up";
    default: return "";
  }
}

// Splits a joystick code into its joystick index and sub-control; false when the code names
// no sub-control of a joystick in the list.
bool DecodeJoystickCode(ControlCode code, int32_t& index, int32_t& subControl) {
  if (code <= kControlMouseLast) return false;
  index = (code - 127) / kControlsPerJoystick;
  subControl = (code - 126) % kControlsPerJoystick;
  if (subControl == 0) subControl = kControlsPerJoystick;
  return InputJoystickControl(index, subControl) == code;
}

}  // namespace

std::string InputControlName(ControlCode code) {
  if (code >= 1 && code <= kControlMouseLast) return kControlNames[code - 1];
  int32_t index = 0;
  int32_t subControl = 0;
  if (!DecodeJoystickCode(code, index, subControl)) return "";
  return SubControlName(subControl) + " (" + InputJoystickName(index) + ")";
}

std::string InputControlSaveName(ControlCode code) {
  if (code >= 1 && code <= kControlMouseLast) return kControlNames[code - 1];
  int32_t index = 0;
  int32_t subControl = 0;
  if (!DecodeJoystickCode(code, index, subControl)) return "";
  return "Controller" + std::to_string(index + 1) + " " + SubControlName(subControl);
}

std::string InputJoystickSubControlName(int32_t subControl) { return SubControlName(subControl); }

std::string InputJoystickCodeSaveName(ControlCode code) {
  if (code <= kControlMouseLast) return "";
  const int32_t index = (code - 127) / kControlsPerJoystick;
  int32_t subControl = (code - 126) % kControlsPerJoystick;
  if (subControl == 0) subControl = kControlsPerJoystick;
  return "Controller" + std::to_string(index + 1) + " " + SubControlName(subControl);
}

bool InputControlIsAxis(ControlCode code) {
  if (code >= 119 && code <= kControlMouseLast) return true;
  if (code <= kControlMouseLast) return false;
  int32_t subControl = (code - 126) % kControlsPerJoystick;
  if (subControl == 0) subControl = kControlsPerJoystick;
  return subControl >= kJoyPovHat;
}

ControlCode InputAxisControl(int32_t n) {
  std::vector<ControlCode> order = {120, 121, 126, 119};
  if (PlatformMouseWheelPresent()) order.insert(order.end(), {125, 124});
  if (PlatformMouseHorizontalWheelPresent()) order.insert(order.end(), {122, 123});
  const int32_t count = InputJoystickCount();
  for (int32_t j = 0; j < count; ++j) {
    for (int32_t sub : {kJoyXAxisLeft, kJoyXAxisRight, kJoyYAxisUp, kJoyYAxisDown}) {
      order.push_back(InputJoystickControl(j, sub));
    }
    const std::array<std::array<int32_t, 2>, 4> extraAxes = {{{kJoyZAxisUp, kJoyZAxisDown},
                                                              {kJoyRAxisUp, kJoyRAxisDown},
                                                              {kJoyUAxisUp, kJoyUAxisDown},
                                                              {kJoyVAxisUp, kJoyVAxisDown}}};
    for (const auto& axis : extraAxes) {
      if (InputJoystickControl(j, axis[0]) < 0) continue;
      order.push_back(InputJoystickControl(j, axis[0]));
      order.push_back(InputJoystickControl(j, axis[1]));
    }
  }
  if (n < 0 || n >= static_cast<int32_t>(order.size())) return 0;
  return order[n];
}
