// State variables scripts write (built-ins 30 to 32). They live in the states and outlive the
// script, so their count and text are kept for all scripts together: a pack that reloads its
// level cannot pile them up. A variable the host made counts once a script writes it.
#include <algorithm>

#include "script/scriptInternal.h"
#include "services/fwkState.h"
#include "services/fwkText.h"

namespace {

struct writtenVariable {
  int32_t state = 0;
  std::string name;  // upper case, as the states keep it
  size_t text = 0;   // name and string value
};

std::vector<writtenVariable> written;
size_t writtenText = 0;

}  // namespace

void ScriptStateVariablesReset() {
  written.clear();
  writtenText = 0;
}

bool ScriptStateVariableSet(script& owner, int32_t threadId, int32_t state, const std::string& name,
                            const parameter& value) {
  const std::string upper = TextUpper(name);
  const std::string text = value.type == kScriptTypeString ? value.string : std::string();
  const size_t cost = upper.size() + text.size();
  // The states find a variable by walking their variables and comparing names, upper-cased.
  ScriptBudgetChargeUnits(written.size() / 4);
  ScriptBudgetCharge(2 * upper.size() + text.size());
  auto found = std::find_if(written.begin(), written.end(), [&](const writtenVariable& v) {
    return v.state == state && v.name == upper;
  });
  const size_t old = found == written.end() ? 0 : found->text;
  const bool fits = (found != written.end() || written.size() < kScriptStateVariableLimit) &&
                    writtenText - old + cost <= kScriptStateTextLimit;
  if (!fits) {
    ScriptLimitReached(owner, scriptLimit::stateVariables, threadId);
    return false;
  }
  if (found == written.end()) {
    written.push_back(writtenVariable{state, upper, cost});
  } else {
    found->text = cost;
  }
  writtenText = writtenText - old + cost;
  if (value.type == kScriptTypeBoolean) StateVariableSetBool(state, name, value.boolean != 0);
  if (value.type == kScriptTypeInteger) StateVariableSetInteger(state, name, value.integer);
  if (value.type == kScriptTypeString) StateVariableSetString(state, name, value.string);
  return true;
}
