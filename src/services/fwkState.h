// The application state machine: states are positive integer ids with enter, update and
// leave handlers, a timer that runs only while the state is current, named typed variables
// and an optional save name. A switch requested inside an update handler happens after the
// handler returns.
#pragma once

#include <cstdint>
#include <string>

using stateEnterProc = void (*)(int32_t previousId);
using stateUpdateProc = void (*)();
using stateLeaveProc = void (*)(int32_t nextId);

// Object-method handlers: the code is called with the object it was registered with.
struct stateEnterMethod {
  void (*code)(void* object, int32_t previousId);
  void* object;
};
struct stateUpdateMethod {
  void (*code)(void* object);
  void* object;
};
struct stateLeaveMethod {
  void (*code)(void* object, int32_t nextId);
  void* object;
};

enum stateVarKind : uint8_t {
  stateVarEmpty = 0,
  stateVarBool = 1,
  stateVarInteger = 2,
  stateVarString = 3,
};

struct stateVar {
  std::string name;  // stored in upper case
  uint8_t kind = stateVarEmpty;
  bool boolValue = false;
  int32_t intValue = 0;
  std::string stringValue;
};

void StateInit();
void StateFinal();

// Id of the current state, 0 if none.
int32_t StateGet();
// Milliseconds the state has been current and not paused; 0 for an unknown id.
uint32_t StateTime(int32_t id);
bool StateIsPaused();

// Each returns false if id <= 0 or the state already has a handler of that kind (plain or
// method); otherwise creates the state if needed and stores the handler.
bool StateSetEnterHandler(int32_t id, stateEnterProc handler);
bool StateSetUpdateHandler(int32_t id, stateUpdateProc handler);
bool StateSetLeaveHandler(int32_t id, stateLeaveProc handler);
bool StateSetEnterMethod(int32_t id, stateEnterMethod handler);
bool StateSetUpdateMethod(int32_t id, stateUpdateMethod handler);
bool StateSetLeaveMethod(int32_t id, stateLeaveMethod handler);

// Switches the current state (deferred when called from inside an update handler). A switch
// to an id without a state changes nothing and runs no handler.
void StateSet(int32_t id);
// Runs the current state's update handler, then a switch it requested.
void StateRun();

void StateTimerPause();
void StateTimerResume();
void StateTimerReset();

bool StateSetSaveName(int32_t id, const std::string& name);

stateVar StateVariableGet(int32_t id, const std::string& name);
bool StateVariableGetBool(int32_t id, const std::string& name);
int32_t StateVariableGetInteger(int32_t id, const std::string& name);
std::string StateVariableGetString(int32_t id, const std::string& name);
void StateVariableSetBool(int32_t id, const std::string& name, bool value);
void StateVariableSetInteger(int32_t id, const std::string& name, int32_t value);
void StateVariableSetString(int32_t id, const std::string& name, const std::string& value);
