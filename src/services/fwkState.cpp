#include "services/fwkState.h"

#include "platform/platform_system.h"
#include "services/fwkLog.h"
#include "services/fwkText.h"

#include <memory>
#include <vector>

namespace {

enum HandlerKind : int32_t { handlerNone = 0, handlerProcedure = 1, handlerMethod = 2 };

struct stateDef {
  int32_t id = 0;
  std::string saveName;
  bool paused = false;
  uint32_t banked = 0;
  uint32_t start = 0;
  int32_t enterKind = handlerNone;
  stateEnterProc enterProcedure = nullptr;
  stateEnterMethod enterMethod{};
  int32_t updateKind = handlerNone;
  stateUpdateProc updateProcedure = nullptr;
  stateUpdateMethod updateMethod{};
  int32_t leaveKind = handlerNone;
  stateLeaveProc leaveProcedure = nullptr;
  stateLeaveMethod leaveMethod{};
  std::vector<stateVar> variables;
};

// Records are shared so that a handler which ends the module cannot pull a record from
// under the dispatch that is running it.
using StatePtr = std::shared_ptr<stateDef>;

std::vector<StatePtr> states;  // in order of creation
StatePtr current;
bool inHandler = false;
int32_t pending = 0;

StatePtr Find(int32_t id) {
  if (current && current->id == id) return current;
  for (const StatePtr& state : states) {
    if (state->id == id) return state;
  }
  return nullptr;
}

// The record for id, created at the end of the list when missing; nothing for id <= 0.
StatePtr FindOrCreate(int32_t id) {
  if (id <= 0) return nullptr;
  if (StatePtr found = Find(id)) return found;
  states.push_back(std::make_shared<stateDef>());
  states.back()->id = id;
  return states.back();
}

// Stores a handler of one of the three kinds unless id <= 0 or the state already has one.
template <typename Store>
bool Register(int32_t id, int32_t stateDef::*kind, int32_t newKind, Store store) {
  if (id <= 0) return false;
  const StatePtr existing = Find(id);
  if (existing && existing.get()->*kind != handlerNone) return false;
  const StatePtr state = FindOrCreate(id);
  state.get()->*kind = newKind;
  store(*state);
  return true;
}

void RunEnter(const StatePtr& state, int32_t previousId) {
  if (state->enterKind == handlerProcedure && state->enterProcedure)
    state->enterProcedure(previousId);
  if (state->enterKind == handlerMethod && state->enterMethod.code) {
    state->enterMethod.code(state->enterMethod.object, previousId);
  }
}

void RunUpdate(const StatePtr& state) {
  if (state->updateKind == handlerProcedure && state->updateProcedure) state->updateProcedure();
  if (state->updateKind == handlerMethod && state->updateMethod.code) {
    state->updateMethod.code(state->updateMethod.object);
  }
}

void RunLeave(const StatePtr& state, int32_t nextId) {
  if (state->leaveKind == handlerProcedure && state->leaveProcedure) state->leaveProcedure(nextId);
  if (state->leaveKind == handlerMethod && state->leaveMethod.code) {
    state->leaveMethod.code(state->leaveMethod.object, nextId);
  }
}

stateVar* FindVariable(stateDef& state, const std::string& name) {
  const std::string wanted = TextUpper(name);
  for (stateVar& variable : state.variables) {
    if (variable.name == wanted) return &variable;
  }
  return nullptr;
}

void SetVariable(int32_t id, const std::string& name, stateVar value) {
  const StatePtr state = id > 0 ? Find(id) : nullptr;
  if (!state) return;
  value.name = TextUpper(name);
  if (stateVar* existing = FindVariable(*state, name)) {
    *existing = std::move(value);
  } else {
    state->variables.push_back(std::move(value));
  }
}

}  // namespace

void StateInit() {
  LogVersionAdd("fwkState - Version Alpha.0");
  states.clear();
  current.reset();
  pending = 0;
  inHandler = false;
}

void StateFinal() {
  states.clear();
  current.reset();
  pending = 0;
}

int32_t StateGet() { return current ? current->id : 0; }

uint32_t StateTime(int32_t id) {
  const StatePtr state = Find(id);
  if (!state) return 0;
  if (state != current || state->paused) return state->banked;
  return state->banked + (PlatformTickCount() - state->start);
}

bool StateIsPaused() { return current && current->paused; }

bool StateSetEnterHandler(int32_t id, stateEnterProc handler) {
  return Register(id, &stateDef::enterKind, handlerProcedure,
                  [&](stateDef& state) { state.enterProcedure = handler; });
}

bool StateSetUpdateHandler(int32_t id, stateUpdateProc handler) {
  return Register(id, &stateDef::updateKind, handlerProcedure,
                  [&](stateDef& state) { state.updateProcedure = handler; });
}

bool StateSetLeaveHandler(int32_t id, stateLeaveProc handler) {
  return Register(id, &stateDef::leaveKind, handlerProcedure,
                  [&](stateDef& state) { state.leaveProcedure = handler; });
}

bool StateSetEnterMethod(int32_t id, stateEnterMethod handler) {
  return Register(id, &stateDef::enterKind, handlerMethod,
                  [&](stateDef& state) { state.enterMethod = handler; });
}

bool StateSetUpdateMethod(int32_t id, stateUpdateMethod handler) {
  return Register(id, &stateDef::updateKind, handlerMethod,
                  [&](stateDef& state) { state.updateMethod = handler; });
}

bool StateSetLeaveMethod(int32_t id, stateLeaveMethod handler) {
  return Register(id, &stateDef::leaveKind, handlerMethod,
                  [&](stateDef& state) { state.leaveMethod = handler; });
}

void StateSet(int32_t id) {
  if (inHandler) {
    pending = id;
    return;
  }
  pending = 0;
  const int32_t oldId = StateGet();
  if (id == oldId) return;
  // A switch to an id that names no state changes nothing: the current state is neither
  // left nor has its time counted twice.
  const StatePtr next = id != 0 ? Find(id) : nullptr;
  if (id != 0 && !next) return;

  if (const StatePtr leaving = current) {
    RunLeave(leaving, id);
    if (current && !current->paused) current->banked = StateTime(current->id);
  }
  if (id == 0) {
    current.reset();
    return;
  }
  current = next;
  if (!next->paused) next->start = PlatformTickCount();
  RunEnter(next, oldId);
}

void StateRun() {
  pending = 0;
  const StatePtr running = current;
  if (!running) return;
  const bool wasInHandler = inHandler;
  inHandler = true;
  RunUpdate(running);
  inHandler = wasInHandler;
  if (pending != 0) {
    const int32_t requested = pending;
    StateSet(requested);
    pending = 0;
  }
}

void StateTimerPause() {
  if (!current) return;
  current->banked = StateTime(current->id);
  current->paused = true;
}

void StateTimerResume() {
  if (!current) return;
  current->start = PlatformTickCount();
  current->paused = false;
}

void StateTimerReset() {
  if (!current) return;
  current->banked = 0;
  current->start = PlatformTickCount();
}

bool StateSetSaveName(int32_t id, const std::string& name) {
  if (id <= 0) {
    LogError("StateSetSaveName - stateId " + std::to_string(id) + " is invalid.");
    return false;
  }
  const StatePtr state = Find(id);
  if (!state) {
    LogError("StateSetSaveName - State doesn't exist.");
    return false;
  }
  const std::string upper = TextUpper(name);
  for (const StatePtr& other : states) {
    if (other != state && TextUpper(other->saveName) == upper) {
      LogError("StateSetSaveName - Another state already has the name \"" + upper + "\".");
      return false;
    }
  }
  state->saveName = upper;
  return true;
}

stateVar StateVariableGet(int32_t id, const std::string& name) {
  const StatePtr state = id > 0 ? Find(id) : nullptr;
  if (!state) return {};
  if (const stateVar* variable = FindVariable(*state, name)) return *variable;
  LogError("StateVariableGet - Variable \"" + name + "\" doesn't exist for state.");
  return {};
}

bool StateVariableGetBool(int32_t id, const std::string& name) {
  const stateVar variable = StateVariableGet(id, name);
  switch (variable.kind) {
    case stateVarBool: return variable.boolValue;
    case stateVarInteger: return variable.intValue != 0;
    case stateVarString: return TextUpper(variable.stringValue) == "TRUE";
    default: return false;
  }
}

int32_t StateVariableGetInteger(int32_t id, const std::string& name) {
  const stateVar variable = StateVariableGet(id, name);
  switch (variable.kind) {
    case stateVarBool: return variable.boolValue ? 1 : 0;
    case stateVarInteger: return variable.intValue;
    case stateVarString: {
      int32_t value = 0;
      return TextToInteger(variable.stringValue, value) ? value : 0;
    }
    default: return 0;
  }
}

std::string StateVariableGetString(int32_t id, const std::string& name) {
  const stateVar variable = StateVariableGet(id, name);
  switch (variable.kind) {
    case stateVarBool: return variable.boolValue ? "true" : "false";
    case stateVarInteger: return std::to_string(variable.intValue);
    case stateVarString: return variable.stringValue;
    default: return "";
  }
}

void StateVariableSetBool(int32_t id, const std::string& name, bool value) {
  stateVar variable;
  variable.kind = stateVarBool;
  variable.boolValue = value;
  SetVariable(id, name, std::move(variable));
}

void StateVariableSetInteger(int32_t id, const std::string& name, int32_t value) {
  stateVar variable;
  variable.kind = stateVarInteger;
  variable.intValue = value;
  SetVariable(id, name, std::move(variable));
}

void StateVariableSetString(int32_t id, const std::string& name, const std::string& value) {
  stateVar variable;
  variable.kind = stateVarString;
  variable.stringValue = value;
  SetVariable(id, name, std::move(variable));
}
