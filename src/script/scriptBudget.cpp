// What strings cost against the limits, and the one log line per script and limit passed.
#include "script/scriptInternal.h"
#include "services/fwkLog.h"

namespace {

const size_t kInlineCapacity = std::string().capacity();

const char* LimitName(scriptLimit limit) {
  switch (limit) {
    case scriptLimit::text: return "text";
    case scriptLimit::stateVariables: return "state variable";
    default: return "mat";
  }
}

}  // namespace

size_t ScriptTextCost(const std::string& text) {
  return text.capacity() > kInlineCapacity ? text.capacity() : text.size();
}

void ScriptTextTrim(std::string& text) {
  if (text.capacity() > kInlineCapacity && text.capacity() > text.size()) text.shrink_to_fit();
}

void ScriptTextReplace(std::string& target, std::string& source) { target.swap(source); }

void ScriptValueReplace(parameter& target, parameter& source) {
  target.type = source.type;
  target.integer = source.integer;
  target.boolean = source.boolean;
  ScriptTextReplace(target.string, source.string);
}

size_t ScriptLinesCost(const std::vector<std::string>& lines) {
  size_t cost = lines.capacity() * sizeof(std::string);
  for (const std::string& line : lines) cost += ScriptTextCost(line);
  return cost;
}

void ScriptLimitReached(script& owner, scriptLimit limit, int32_t threadId) {
  if (owner.loading) {
    if (owner.refusal.empty())
      owner.refusal = std::string("objects pass the ") + LimitName(limit) + " limit";
    return;
  }
  const uint32_t bit = static_cast<uint32_t>(limit);
  if ((owner.limitsLogged & bit) != 0) return;
  owner.limitsLogged |= bit;
  LogError("ScriptExecute - Script \"" + owner.fileName + "\" reached its " + LimitName(limit) +
           " limit, thread " + std::to_string(threadId) + " ended.");
}
