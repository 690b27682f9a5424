// Control sets: creation, look-up, activation, and posting control changes into them.
#include <algorithm>

#include "input/inputTables.h"

namespace {

bool IsAccumulating(ControlCode code) { return code >= 119 && code <= kControlMouseLast; }

// The values array grows to the code posted; codes past every joystick the system could
// report are refused so that a stray code cannot make it grow without limit.
constexpr int32_t kJoystickSlots = 16;

bool InRange(ControlCode code) {
  const int64_t slots = std::max<int64_t>(kJoystickSlots, InputJoystickCount());
  return code >= 1 && code <= kControlMouseLast + slots * kControlsPerJoystick;
}

}  // namespace

controlSet* InputFindSet(int32_t id) {
  for (controlSet& set : InputState().sets) {
    if (set.id == id) return &set;
  }
  return nullptr;
}

int32_t InputControlSetNew(const std::string& name, bool save) {
  inputModuleState& state = InputState();
  if (InputControlSetExists(name)) return 0;
  controlSet& set = state.sets.emplace_back();
  set.id = state.nextSetId++;
  set.name = name;
  set.save = save;
  set.controlValues.assign(kControlMouseLast, 0);
  InputPointerPlaceAtStart(set);
  set.pointer.activationTick = PlatformTickCount();
  set.pointer.lastStepTick = set.pointer.activationTick;
  return set.id;
}

bool InputControlSetExists(const std::string& name) { return InputControlSetFind(name) != -1; }

int32_t InputControlSetFind(const std::string& name) {
  const std::string wanted = InputUpper(name);
  for (const controlSet& set : InputState().sets) {
    if (InputUpper(set.name) == wanted) return set.id;
  }
  return -1;
}

void InputControlSetActivate(int32_t id) {
  controlSet* set = InputFindSet(id);
  if (set == nullptr) return;
  InputState().activeSet = id;
  set->pointer.activationTick = PlatformTickCount();
  set->pointer.lastStepTick = set->pointer.activationTick;
}

int32_t InputControlSetActive() { return InputState().activeSet; }

void InputControlPost(int32_t id, ControlCode code, int32_t value) {
  if (!InRange(code)) return;
  controlSet* set = InputFindSet(id);
  if (set == nullptr) return;
  set->controlEvents.Push({code, value, 0});
  if (static_cast<size_t>(code) > set->controlValues.size()) set->controlValues.resize(code, 0);
  int32_t& stored = set->controlValues[code - 1];
  stored = IsAccumulating(code) ? InputSaturate(static_cast<int64_t>(stored) + value) : value;
  InputActionPost(*set, code, value);
  InputPointerStep(*set, code, value);
}

int32_t InputControlValue(int32_t id, ControlCode code) {
  const controlSet* set = InputFindSet(id);
  if (set == nullptr || code < 1 || static_cast<size_t>(code) > set->controlValues.size()) return 0;
  return set->controlValues[code - 1];
}

void InputControlEventsTake(int32_t id, inputBuffer& out) {
  out.events.clear();
  controlSet* set = InputFindSet(id);
  if (set == nullptr) return;
  set->controlEvents.CopyTo(out.events);
  set->controlEvents.Clear();
}
