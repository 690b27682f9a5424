// Writing control sets to the settings file: a record of the bindings as they stood.
#include "input/inputTables.h"
#include "services/fwkIni.h"

namespace {

// A binding of a controller that is not plugged in keeps its name, so that the settings file
// does not lose a player's pad bindings while the pad is away.
std::string BindingText(const inputBinding& binding) {
  std::string name = InputControlSaveName(binding.code);
  if (name.empty()) name = InputJoystickCodeSaveName(binding.code);
  return name + " " + std::to_string(binding.scale);
}

}  // namespace

void InputControlSetSave(int32_t id) {
  const controlSet* set = InputFindSet(id);
  if (set == nullptr) return;
  const std::string section = "Input Control Set " + set->name;
  const int32_t joysticks = InputJoystickCount();
  IniWriteInteger(section, "Game Controllers", joysticks);
  for (int32_t n = 1; n <= joysticks; ++n) {
    const platformJoystickCaps& caps = InputJoystickAt(n - 1)->caps;
    IniWriteString(section, "Controller " + std::to_string(n),
                   std::to_string(caps.manufacturerId) + ";" + std::to_string(caps.productId));
  }
  IniWriteInteger(section, "Action Count", static_cast<int32_t>(set->actions.size()));
  for (size_t i = 0; i < set->actions.size(); ++i) {
    const action& entry = set->actions[i];
    const std::string key = "Action " + std::to_string(i + 1);
    IniWriteString(section, key, entry.name);
    IniWriteInteger(section, key + " Controls", static_cast<int32_t>(entry.bindings.size()));
    for (size_t k = 0; k < entry.bindings.size(); ++k) {
      IniWriteString(section, key + " Control " + std::to_string(k + 1),
                     BindingText(entry.bindings[k]));
    }
  }
  IniWriteBool(section, "Pointer Map Mouse", set->pointer.mapMouse);
  for (size_t p = 0; p < set->pointer.actions.size(); ++p) {
    const std::vector<inputBinding>& bindings = set->pointer.actions[p].bindings;
    const std::string key = "Pointer Action " + std::to_string(p + 1);
    IniWriteInteger(section, key + " Controls", static_cast<int32_t>(bindings.size()));
    for (size_t k = 0; k < bindings.size(); ++k) {
      IniWriteString(section, key + " Control " + std::to_string(k + 1), BindingText(bindings[k]));
    }
  }
}

void InputControlSetSaveAll() {
  for (const controlSet& set : InputState().sets) {
    if (set.save) InputControlSetSave(set.id);
  }
}
