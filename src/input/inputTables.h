// The input module's own tables, shared by its source files and by nothing else.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "input/fwkInput.h"
#include "platform/platform.h"
#include "services/fwkUtilities.h"

struct inputBinding {
  ControlCode code;
  uint8_t scale;
};

struct action {
  int32_t id;
  std::string name;
  std::vector<inputBinding> bindings;
};

struct pointerControl {
  std::vector<inputBinding> bindings;
};

struct pointerInfo {
  int32_t window = 0;
  bool mapMouse = false;
  int32_t x = 0;
  int32_t y = 0;
  std::array<pointerControl, 4> actions;
  uint32_t activationTick = 0;
  // The pointer moves by the time since its previous step, so holding a set active for a
  // long time does not make the next step jump.
  uint32_t lastStepTick = 0;
};

// Bounded queue: when full, the oldest event makes room for the new one.
class inputQueue {
 public:
  static constexpr size_t kCapacity = 1000;
  void Push(const inputEvent& event);
  void Clear() { events_.clear(); }
  size_t Size() const { return events_.size(); }
  inputEvent& At(size_t index) { return events_[index]; }
  void CopyTo(std::vector<inputEvent>& out) const;

 private:
  std::deque<inputEvent> events_;
};

struct controlSet {
  int32_t id = 0;
  std::string name;
  bool save = false;
  pointerInfo pointer;
  std::vector<action> actions;
  inputQueue actionEvents;
  inputQueue controlEvents;
  utilArrayLong controlValues;
};

struct pointerWindow {
  int32_t display;
  platformWindow handle;
};

struct joystick {
  std::string name;
  int32_t deviceId;
  platformJoystickCaps caps;
  int32_t instance = -1;
  // A controller pulled out keeps its place in the list, so its codes, and the bindings on
  // them, are its own again when it comes back.
  bool present = true;
};

struct inputModuleState {
  std::deque<controlSet> sets;  // a deque keeps references to sets valid as sets are added
  int32_t nextSetId = 1;
  int32_t activeSet = -1;
  int32_t nextActionId = 1;
  std::vector<pointerWindow> pointerWindows;
  std::vector<joystick> joysticks;
  int32_t lastMouseX = -1;
  int32_t lastMouseY = -1;
  platformHook keyboardHook = 0;
  bool keyboardHookInstalled = false;
  platformHook mouseHook = 0;
  bool mouseHookInstalled = false;
  inputMenuActions menu{};
  inputFullscreenQuery isFullscreen = nullptr;
  inputCurrentWindowQuery currentWindow = nullptr;
};

inputModuleState& InputState();

controlSet* InputFindSet(int32_t id);
// The set holding the action, and the action itself; nullptr when no set has it.
controlSet* InputFindActionSet(int32_t actionId, action** found);
const joystick* InputJoystickAt(int32_t index);
// Turns a bound control change into an action event (after the value is stored).
void InputActionPost(controlSet& set, ControlCode code, int32_t value);
void InputPointerStep(controlSet& set, ControlCode code, int32_t value);
void InputPointerPlaceAtStart(controlSet& set);
bool InputProgramIsFullscreen();
platformWindow InputProgramCurrentWindow();
void InputMenuSetCreate();
// Controller events from the platform: devices plugged in or pulled out, control changes.
void InputJoystickEvent(const platformJoystickEvent& event);
// "Button 3", "X-axis Left", ...: the name of a joystick sub-control 1..45, empty for others.
std::string InputJoystickSubControlName(int32_t subControl);
// The save name of a joystick code from the code alone, present joystick or not.
std::string InputJoystickCodeSaveName(ControlCode code);

// ASCII upper-casing: names compare without regard to letter case.
std::string InputUpper(const std::string& text);
// value clamped to the 32-bit range: sums and products of control values never wrap.
int32_t InputSaturate(int64_t value);
