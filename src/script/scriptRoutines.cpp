// Application routines and the parameters every routine reads and writes through the calling
// thread's stack.
#include "script/scriptInternal.h"
#include "services/fwkLog.h"
#include "services/fwkText.h"

namespace {

struct scriptRoutine {
  std::string name;  // upper case
  int32_t kind = kScriptRoutineFunction;
  scriptAppFunction function = nullptr;
  scriptAppMethod method = nullptr;
  void* data = nullptr;
};

std::vector<scriptRoutine> routines;

bool Register(scriptRoutine routine) {
  if (routine.name.empty()) return false;
  routine.name = TextUpper(routine.name);
  for (scriptRoutine& existing : routines) {
    if (existing.name == routine.name) {
      existing = routine;
      return true;
    }
  }
  routines.push_back(routine);
  return true;
}

// The thread and the slot of parameter n of its current call; nullptr when there is none.
scriptThread* ParamThread(int32_t scriptId, int32_t threadId, int32_t n, size_t& slot,
                          script** found = nullptr) {
  script* owner = ScriptAt(ScriptFind(scriptId));
  if (owner == nullptr) return nullptr;
  if (found != nullptr) *found = owner;
  scriptThread* thread = ScriptThreadAt(ScriptFind(scriptId), ScriptThreadIndex(*owner, threadId));
  if (thread == nullptr || thread->suspended) return nullptr;
  const int64_t named = static_cast<int64_t>(thread->base) - n;
  if (named < 0 || named >= static_cast<int64_t>(thread->stack.size())) return nullptr;
  slot = static_cast<size_t>(named);
  return thread;
}

const parameter* ParamSlot(int32_t scriptId, int32_t threadId, int32_t n) {
  size_t slot = 0;
  const scriptThread* thread = ParamThread(scriptId, threadId, n, slot);
  if (thread == nullptr) return nullptr;
  // Every routine reads its text through here: reading, converting or copying it is charged.
  ScriptBudgetCharge(thread->stack[slot].string.size());
  return &thread->stack[slot];
}

int32_t ParamSet(int32_t scriptId, int32_t threadId, int32_t n, parameter value) {
  size_t slot = 0;
  script* owner = nullptr;
  scriptThread* thread = ParamThread(scriptId, threadId, n, slot, &owner);
  if (thread == nullptr || value.string.size() > kScriptStringLimit) return 0;
  ScriptBudgetCharge(value.string.size());
  if (ScriptSlotStore(*owner, *thread, slot, std::move(value))) return 1;
  ScriptLimitReached(*owner, scriptLimit::text, threadId);
  return 0;
}

}  // namespace

void ScriptRoutinesReset() { routines.clear(); }

bool ScriptAppRoutineRegister(const std::string& name, scriptAppFunction function) {
  if (function == nullptr) return false;
  scriptRoutine routine;
  routine.name = name;
  routine.function = function;
  return Register(routine);
}

bool ScriptAppRoutineRegisterMethod(const std::string& name, scriptAppMethod method, void* object) {
  if (method == nullptr) return false;
  scriptRoutine routine;
  routine.name = name;
  routine.kind = kScriptRoutineMethod;
  routine.method = method;
  routine.data = object;
  return Register(routine);
}

void ScriptAppRoutineUnregister(const std::string& name) {
  const std::string upper = TextUpper(name);
  std::erase_if(routines, [&](const scriptRoutine& routine) { return routine.name == upper; });
}

int32_t ScriptAppRoutineRun(int32_t scriptIndex, int32_t threadIndex, int32_t nameIndex) {
  const script* owner = ScriptAt(scriptIndex);
  const scriptThread* thread = ScriptThreadAt(scriptIndex, threadIndex);
  if (owner == nullptr || thread == nullptr || nameIndex < 0 ||
      nameIndex >= static_cast<int32_t>(owner->routineNames.size()))
    return 0;
  const std::string name = TextUpper(owner->routineNames[static_cast<size_t>(nameIndex)]);
  for (const scriptRoutine& routine : routines) {
    if (routine.name != name) continue;
    // A copy: the routine may register or unregister routines while it runs.
    const scriptRoutine call = routine;
    if (call.kind == kScriptRoutineFunction) return call.function(owner->id, thread->id);
    if (call.kind == kScriptRoutineMethod) return call.method(call.data, owner->id, thread->id);
    LogError("ScriptAppRoutineRun - App routine \"" + name +
             "\" is not a standalone function or object function.");
    return 0;
  }
  LogError("ScriptAppRoutineRun - App routine \"" + name + "\" has not been registered.");
  return 0;
}

int32_t ScriptParamInt(int32_t scriptId, int32_t threadId, int32_t n) {
  const parameter* slot = ParamSlot(scriptId, threadId, n);
  return slot == nullptr ? 0 : ScriptValueToInt(*slot);
}

bool ScriptParamBool(int32_t scriptId, int32_t threadId, int32_t n) {
  const parameter* slot = ParamSlot(scriptId, threadId, n);
  return slot != nullptr && ScriptValueToBool(*slot);
}

std::string ScriptParamString(int32_t scriptId, int32_t threadId, int32_t n) {
  const parameter* slot = ParamSlot(scriptId, threadId, n);
  return slot == nullptr ? std::string() : ScriptValueToString(*slot);
}

int32_t ScriptParamSetInt(int32_t scriptId, int32_t threadId, int32_t n, int32_t value) {
  return ParamSet(scriptId, threadId, n, ScriptInteger(value));
}

int32_t ScriptParamSetBool(int32_t scriptId, int32_t threadId, int32_t n, bool value) {
  return ParamSet(scriptId, threadId, n, ScriptBoolean(value));
}

int32_t ScriptParamSetString(int32_t scriptId, int32_t threadId, int32_t n,
                             const std::string& value) {
  return ParamSet(scriptId, threadId, n, ScriptString(value));
}
