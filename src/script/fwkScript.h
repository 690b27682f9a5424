// The script engine: compiled ".vmc" programs run as byte code in cooperative threads (one
// event thread per script plus forked threads), reach the framework through numbered built-in
// routines and the host through application routines registered by name. Scripts are addressed
// by ids; an id that names no loaded script makes every operation do nothing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One script value; only the field matching the type is meaningful.
constexpr int32_t kScriptTypeInteger = 0;
constexpr int32_t kScriptTypeBoolean = 1;
constexpr int32_t kScriptTypeString = 2;

struct parameter {
  int32_t type = kScriptTypeInteger;
  int32_t integer = 0;
  uint8_t boolean = 0;
  std::string string;
};

parameter ScriptInteger(int32_t value);
parameter ScriptBoolean(bool value);
parameter ScriptString(const std::string& value);

int32_t ScriptValueToInt(const parameter& value);
bool ScriptValueToBool(const parameter& value);
std::string ScriptValueToString(const parameter& value);

void ScriptInit();
void ScriptFinal();

// Loads a compiled script through the data files. Returns its id, or 0 (logged) when the file
// cannot be read or is not a valid container.
int32_t ScriptOpen(const std::string& fileName);
// The same from bytes already in memory; fileName is what the script is known by.
int32_t ScriptOpenBytes(const std::string& fileName, const std::vector<uint8_t>& bytes);

// Index in the table, or -1.
int32_t ScriptFind(int32_t scriptId);
void ScriptClose(int32_t scriptId);

// The per-frame step: forked threads run (and end) here.
void ScriptStep(int32_t scriptId);
bool ScriptIsWaiting(int32_t scriptId);
// Resumes one suspended thread; threadId -1 names the event thread.
void ScriptThreadResume(int32_t scriptId, int32_t threadId);
// Raises the event (code, name) when the event thread is neither suspended nor running.
void ScriptRoutineRun(int32_t scriptId, int32_t eventCode, const std::string& name);
void ScriptEventRaise(int32_t scriptIndex, int32_t eventCode, const std::string& name);

void ScriptStackPush(int32_t scriptIndex, int32_t threadIndex, const parameter& value);
bool ScriptStackPop(int32_t scriptIndex, int32_t threadIndex);
int32_t ScriptThreadNew(int32_t scriptIndex);

// A step (one ScriptStep, ScriptThreadResume or ScriptRoutineRun from the host, with everything
// it sets off) runs at most this many instructions; the thread that reaches the limit is ended
// and the limit logged. The default suits a frame; tests lower it.
constexpr int32_t kScriptStepLimitDefault = 200000;
void ScriptSetStepLimit(int32_t instructions);

// Parameters of the routine being called: parameter n is the stack slot at base - n.
int32_t ScriptParamInt(int32_t scriptId, int32_t threadId, int32_t n);
bool ScriptParamBool(int32_t scriptId, int32_t threadId, int32_t n);
std::string ScriptParamString(int32_t scriptId, int32_t threadId, int32_t n);
int32_t ScriptParamSetInt(int32_t scriptId, int32_t threadId, int32_t n, int32_t value);
int32_t ScriptParamSetBool(int32_t scriptId, int32_t threadId, int32_t n, bool value);
int32_t ScriptParamSetString(int32_t scriptId, int32_t threadId, int32_t n,
                             const std::string& value);

// Application routines: a routine returns 1 for success; anything else faults the caller.
using scriptAppFunction = int32_t (*)(int32_t scriptId, int32_t threadId);
using scriptAppMethod = int32_t (*)(void* object, int32_t scriptId, int32_t threadId);
constexpr int32_t kScriptRoutineFunction = 0;
constexpr int32_t kScriptRoutineMethod = 1;
// Registering a name again replaces the routine. False for an empty name or a null routine.
bool ScriptAppRoutineRegister(const std::string& name, scriptAppFunction function);
bool ScriptAppRoutineRegisterMethod(const std::string& name, scriptAppMethod method, void* object);
void ScriptAppRoutineUnregister(const std::string& name);
int32_t ScriptAppRoutineRun(int32_t scriptIndex, int32_t threadIndex, int32_t nameIndex);
int32_t ScriptBuiltinCall(int32_t scriptIndex, int32_t threadIndex, int32_t number);

// Read-only views for the host and tests.
int32_t ScriptThreadCount(int32_t scriptId);
int32_t ScriptThreadId(int32_t scriptId, int32_t threadIndex);
std::vector<parameter> ScriptThreadStack(int32_t scriptId, int32_t threadIndex);
std::string ScriptFileName(int32_t scriptId);
// Draws the script's objects over the current picture, lowest layer first (the host calls it
// between drawing its own picture and presenting it).
void ScriptDraw(int32_t scriptId);
// Gives an application object (kind 11) its routines: animate runs in the timed update while
// both its flags are set, inObject answers its hit test. False when there is no such object.
bool ScriptAppObjectSetRoutines(
    int32_t scriptId, const std::string& objectName, void (*animate)(void* data),
    bool (*inObject)(void* data, const std::string& name, int32_t x, int32_t y), void* data);
// Puts the pointer of the script's control set at (x, y) in script coordinates: the window
// position that the script's Screen object maps there (the nearest one when the window is
// smaller than the screen). False when there is no such script.
bool ScriptPointerPlace(int32_t scriptId, int32_t x, int32_t y);
// While held, a step runs neither the start-up nor the forked threads, so whatever they count
// in steps stands still; the timed update, the pointer events and the event handler go on.
void ScriptThreadsHold(int32_t scriptId, bool held);
// Built-in 1 (milliseconds in the current state) reads this clock: the state module's
// StateTime unless the host gives one whose time can stand still within a state (nullptr: back
// to StateTime).
using scriptStateClock = uint32_t (*)(int32_t stateId);
void ScriptSetStateClock(scriptStateClock clock);
// Object names in drawing order, lowest layer first.
std::vector<std::string> ScriptDrawOrderNames(int32_t scriptId);
