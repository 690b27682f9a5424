// Named actions in control sets, their bindings, values and event queues.
#include <algorithm>

#include "input/inputTables.h"

namespace {

action* FindAction(controlSet& set, int32_t actionId) {
  for (action& candidate : set.actions) {
    if (candidate.id == actionId) return &candidate;
  }
  return nullptr;
}

}  // namespace

controlSet* InputFindActionSet(int32_t actionId, action** found) {
  *found = nullptr;
  for (controlSet& set : InputState().sets) {
    action* candidate = FindAction(set, actionId);
    if (candidate != nullptr) {
      *found = candidate;
      return &set;
    }
  }
  return nullptr;
}

int32_t InputActionNew(int32_t setId, const std::string& name) {
  controlSet* set = InputFindSet(setId);
  if (set == nullptr || InputActionFind(setId, name) != 0) return 0;
  const int32_t id = InputState().nextActionId++;
  set->actions.push_back({id, name, {}});
  return id;
}

int32_t InputActionFind(int32_t setId, const std::string& name) {
  const controlSet* set = InputFindSet(setId);
  if (set == nullptr) return 0;
  const std::string wanted = InputUpper(name);
  for (const action& candidate : set->actions) {
    if (InputUpper(candidate.name) == wanted) return candidate.id;
  }
  return 0;
}

int32_t InputActionCount(int32_t setId) {
  const controlSet* set = InputFindSet(setId);
  return set == nullptr ? 0 : static_cast<int32_t>(set->actions.size());
}

int32_t InputActionByIndex(int32_t setId, int32_t index) {
  const controlSet* set = InputFindSet(setId);
  if (set == nullptr || index < 0 || index >= static_cast<int32_t>(set->actions.size())) return -1;
  return set->actions[index].id;
}

std::string InputActionName(int32_t actionId) {
  action* found = nullptr;
  InputFindActionSet(actionId, &found);
  return found == nullptr ? "" : found->name;
}

void InputActionBind(int32_t actionId, ControlCode code, uint8_t scale) {
  action* target = nullptr;
  controlSet* set = InputFindActionSet(actionId, &target);
  if (set == nullptr) return;
  const int32_t current = InputActionOfControl(set->id, code);
  if (current == actionId) return;
  if (current > 0) {
    std::vector<inputBinding>& from = FindAction(*set, current)->bindings;
    from.erase(std::find_if(from.begin(), from.end(),
                            [code](const inputBinding& b) { return b.code == code; }));
  }
  target->bindings.push_back({code, scale});
}

void InputActionUnbindAll(int32_t actionId) {
  action* found = nullptr;
  if (InputFindActionSet(actionId, &found) != nullptr) found->bindings.clear();
}

ControlCode InputActionBinding(int32_t actionId, int32_t index) {
  action* found = nullptr;
  if (InputFindActionSet(actionId, &found) == nullptr) return 0;
  if (index < 0 || index >= static_cast<int32_t>(found->bindings.size())) return 0;
  return found->bindings[index].code;
}

int32_t InputActionOfControl(int32_t setId, ControlCode code) {
  const controlSet* set = InputFindSet(setId);
  if (set == nullptr) return -1;
  for (const action& candidate : set->actions) {
    for (const inputBinding& binding : candidate.bindings) {
      if (binding.code == code) return candidate.id;
    }
  }
  return -1;
}

int32_t InputActionValue(int32_t actionId) {
  action* found = nullptr;
  const controlSet* set = InputFindActionSet(actionId, &found);
  if (set == nullptr) return 0;
  int32_t value = 0;
  for (const inputBinding& binding : found->bindings) {
    value = std::max(value, InputControlValue(set->id, binding.code));
  }
  return value;
}

void InputActionPost(controlSet& set, ControlCode code, int32_t value) {
  const int32_t actionId = InputActionOfControl(set.id, code);
  if (actionId <= 0) return;
  for (const inputBinding& binding : FindAction(set, actionId)->bindings) {
    if (binding.code != code) continue;
    set.actionEvents.Push(
        {actionId, InputSaturate(static_cast<int64_t>(binding.scale) * value / 100), 0});
    return;
  }
}

void InputActionEventsRead(int32_t setId, inputBuffer& out, bool clear) {
  out.events.clear();
  controlSet* set = InputFindSet(setId);
  if (set == nullptr) return;
  set->actionEvents.CopyTo(out.events);
  if (clear) set->actionEvents.Clear();
}

void InputActionEventsTake(int32_t setId, inputBuffer& out) {
  InputActionEventsRead(setId, out, true);
}

void InputActionEventMarkHandled(int32_t setId, int32_t index) {
  controlSet* set = InputFindSet(setId);
  if (set == nullptr || index < 0 || static_cast<size_t>(index) >= set->actionEvents.Size()) return;
  set->actionEvents.At(index).handled = 1;
}
