// Reading control sets back from the settings file, in the form the save writes, so that a
// player can change a binding by editing the file. What does not read leaves the set's own
// bindings in place.
#include <algorithm>

#include "input/inputTables.h"
#include "services/fwkIni.h"
#include "services/fwkLog.h"
#include "services/fwkText.h"

namespace {

// Far more than any set holds; a hostile count must not make start-up read the file for ever.
constexpr int32_t kMostEntries = 256;
const std::string kWhere = "InputControlSetLoad - ";

// A count from the file: -1 when the key is missing or not a number in 0 .. kMostEntries.
int32_t ReadCount(const std::string& section, const std::string& key) {
  const std::string text = IniReadString(section, key, "");
  if (text.empty()) return -1;
  if (!UtilIsInteger(text) || text.size() > 4) {
    LogError(kWhere + "Unable to read " + TextQuoted(text) + " as the count " + TextQuoted(key) +
             " of " + TextQuoted(section) + ".");
    return -1;
  }
  const int32_t count = std::stoi(text);
  if (count < 0 || count > kMostEntries) {
    LogError(kWhere + "Unable to read " + TextQuoted(text) + " as the count " + TextQuoted(key) +
             " of " + TextQuoted(section) + ".");
    return -1;
  }
  return count;
}

// The bindings listed under key + " Control " + k; false (each bad entry logged) when one of
// them does not read.
bool ReadBindings(const std::string& section, const std::string& key,
                  std::vector<inputBinding>& bindings) {
  const int32_t count = ReadCount(section, key + " Controls");
  if (count < 0) return false;
  bool good = true;
  for (int32_t k = 1; k <= count; ++k) {
    const std::string entry = key + " Control " + std::to_string(k);
    const std::string text = IniReadString(section, entry, "");
    inputBinding binding{0, 0};
    if (!InputBindingRead(text, binding.code, binding.scale)) {
      LogError(kWhere + "Unable to read " + TextQuoted(text) + " as a control for " +
               TextQuoted(entry) + " of " + TextQuoted(section) + "; the default stays.");
      good = false;
      continue;
    }
    bindings.push_back(binding);
  }
  return good;
}

void LoadActions(int32_t id, const std::string& section) {
  const int32_t count = ReadCount(section, "Action Count");
  for (int32_t i = 1; i <= count; ++i) {
    const std::string key = "Action " + std::to_string(i);
    const std::string name = IniReadString(section, key, "");
    const int32_t actionId = InputActionFind(id, name);
    if (actionId <= 0) {
      LogError(kWhere + "No action " + TextQuoted(name) + " for " + TextQuoted(key) + " of " +
               TextQuoted(section) + ".");
      continue;
    }
    std::vector<inputBinding> bindings;
    if (!ReadBindings(section, key, bindings)) continue;
    InputActionUnbindAll(actionId);
    for (const inputBinding& binding : bindings)
      InputActionBind(actionId, binding.code, binding.scale);
  }
}

void LoadPointer(controlSet& set, const std::string& section) {
  set.pointer.mapMouse = IniReadBool(section, "Pointer Map Mouse", set.pointer.mapMouse);
  for (size_t p = 0; p < set.pointer.actions.size(); ++p) {
    std::vector<inputBinding> bindings;
    if (!ReadBindings(section, "Pointer Action " + std::to_string(p + 1), bindings)) continue;
    set.pointer.actions[p].bindings.clear();
    for (const inputBinding& binding : bindings)
      InputPointerActionBind(set.id, static_cast<int32_t>(p + 1), binding.code, binding.scale);
  }
}

}  // namespace

ControlCode InputControlFromSaveName(const std::string& name) {
  const std::string upper = InputUpper(name);
  for (ControlCode code = 1; code <= kControlMouseLast; ++code) {
    if (InputUpper(InputControlSaveName(code)) == upper) return code;
  }
  // "Controller" + number + " " + sub-control, whether or not that controller is plugged in.
  const std::string prefix = "CONTROLLER";
  if (upper.compare(0, prefix.size(), prefix) != 0) return 0;
  const size_t blank = upper.find(' ', prefix.size());
  if (blank == std::string::npos) return 0;
  const std::string number = upper.substr(prefix.size(), blank - prefix.size());
  if (!UtilIsPositiveInteger(number) || number.size() > 3) return 0;
  const int32_t index = std::stoi(number) - 1;
  const std::string sub = upper.substr(blank + 1);
  for (int32_t s = 1; s <= kControlsPerJoystick; ++s) {
    if (InputUpper(InputJoystickSubControlName(s)) == sub)
      return index * kControlsPerJoystick + s + 126;
  }
  return 0;
}

bool InputBindingRead(const std::string& text, ControlCode& code, uint8_t& scale) {
  const size_t blank = text.rfind(' ');
  if (blank == std::string::npos || blank == 0) return false;
  const std::string number = text.substr(blank + 1);
  if (!UtilIsInteger(number) || number[0] == '-' || number.size() > 3) return false;
  const int32_t value = std::stoi(number);
  if (value > 255) return false;
  const ControlCode found = InputControlFromSaveName(text.substr(0, blank));
  if (found <= 0) return false;
  code = found;
  scale = static_cast<uint8_t>(value);
  return true;
}

void InputControlSetLoad(int32_t id) {
  controlSet* set = InputFindSet(id);
  if (set == nullptr) return;
  const std::string section = "Input Control Set " + set->name;
  LoadActions(id, section);
  LoadPointer(*set, section);
}
