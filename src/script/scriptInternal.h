// The engine's own records and the helpers its files share. Nothing outside the engine
// includes this.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "script/fwkScript.h"
#include "script/scriptVmc.h"

struct jumpEntry {
  int32_t returnPosition = 0;
  int32_t savedBase = 0;
};
using jumpList = std::vector<jumpEntry>;

struct runData {
  uint8_t opcode = 0;
  bool firstIsReference = false;
  bool secondIsReference = false;
  jumpList calls;
};

struct scriptThread {
  int32_t id = 0;
  bool suspended = false;
  int32_t resumePosition = 0;
  runData run;
  std::vector<parameter> stack;
  int32_t base = 0;
  bool running = false;
  size_t textBytes = 0;  // memory held by all strings on the stack (ScriptTextCost)
};

struct eventObject {
  int32_t index = -1;
  std::string name;
};

struct drawEntry {
  int32_t layer = 0;
  int32_t object = 0;
};

#include "script/scriptObjectTypes.h"

// A mat file a script's objects opened: every frame, list or Mat object naming the same file
// shares the one copy.
struct scriptMatEntry {
  std::string name;
  std::shared_ptr<const matData> mat;
};

// What the script engine keeps of a declared object. The declaration itself (frame sets,
// font, properties) stays with it for the object kinds to build their models from; the live
// record of its kind is built from it at load.
struct objEntry {
  std::string name;
  int32_t kind = 0;
  uint8_t display = 0;
  int32_t layer = 0;
  bool hidden = false;
  // Some camera's children name it: it is drawn and hit through the camera only. Set once
  // when the cameras are built, so the walks need not search the cameras per object.
  bool cameraChild = false;
  bool appFlag1 = false;
  bool appFlag2 = false;
  scriptAppObjectAnimate appAnimate = nullptr;
  scriptAppObjectInObject appInObject = nullptr;
  void* appData = nullptr;
  size_t textCost = 0;  // what its texts, lines and list items count against the script's text
  vmcObject declaration;
  objAtex atex;
  objButton button;
  objCamera camera;
  objBox box;
  objScreen screen;
  objImage image;
  objLabel label;
  objList list;
  objMat mat;
  objPointer pointer;
  objSlider slider;
};

struct script {
  int32_t id = 0;
  std::string fileName;
  int32_t version = 0;
  std::vector<std::string> routineNames;
  std::vector<uint8_t> code;
  int32_t eventEntry = 0;
  bool hasEventHandler = false;
  std::vector<objEntry> objects;
  std::vector<drawEntry> drawOrder;
  eventObject pressedObject;
  eventObject hoverObject;
  int32_t controlSet = 0;
  int32_t lastPointerX = 0;
  int32_t lastPointerY = 0;
  uint32_t nextUpdateTick = 0;
  bool threadsHeld = false;
  std::vector<scriptThread> threads;
  // The script's own budget, over all its threads and objects.
  size_t stackText = 0;   // the threads' textBytes together
  size_t objectText = 0;  // the objects' textCost together
  size_t cameraChildren = 0;
  std::vector<scriptMatEntry> mats;
  size_t matCells = 0;
  uint32_t limitsLogged = 0;  // the limits already reported in the log, one bit each
  bool loading = false;       // the objects are being built from the file
  std::string refusal;  // set while loading when the objects pass a limit: the file is refused
};

#include "script/scriptLimits.h"

// Stack changes that keep the thread's and the script's text counts and refuse to pass the
// limits. A stored string gives back spare capacity, so a slot holds what it counts.
bool ScriptSlotPush(script& owner, scriptThread& thread, parameter value);
void ScriptSlotPop(script& owner, scriptThread& thread);
bool ScriptSlotStore(script& owner, scriptThread& thread, size_t slot, parameter value);
// Removes a thread, giving its stack's text back to the script.
void ScriptThreadRemove(script& owner, size_t threadIndex);

std::vector<script>& ScriptTable();
// The script at an index, or nullptr; the thread of a script at an index, or nullptr.
script* ScriptAt(int32_t scriptIndex);
scriptThread* ScriptThreadAt(int32_t scriptIndex, int32_t threadIndex);
int32_t ScriptThreadIndex(const script& owner, int32_t threadId);
int32_t ScriptAdd(script&& loaded);
void ScriptSortDrawOrder(std::vector<drawEntry>& order);

// Instruction budget of the step that is running; false once it is spent.
bool ScriptBudgetTake();
bool ScriptBudgetLeft();
// Work on long strings costs budget as well: one instruction per 64 characters copied.
void ScriptBudgetCharge(size_t characters);
// Other work in instructions' worth: objects, models or cells a routine or attribute touches.
void ScriptBudgetChargeUnits(size_t units);
// An error line a script's own instructions cause, charged as 100 instructions: formatting the
// line and comparing it with the log's last one cost that much, so a loop that does nothing but
// fault an attribute set logs at most 2000 lines a step.
void ScriptLogRunError(const std::string& text);
// Starts a fresh budget unless a step is already running (nested calls share it).
void ScriptBudgetEnter();
void ScriptBudgetLeave();

// Whether a file's declarations keep within the script's limits on cameras' children,
// frames, models and mat files; reason says which they pass.
bool ScriptDeclarationsFit(const vmcProgram& program, std::string& reason);
// Entries of all cameras' children together: each child name once per object it names.
size_t ScriptCameraChildCount(const std::vector<vmcObject>& objects);
// State variables written through built-ins 30 to 32, counted for every script together (they
// outlive the script); false, nothing written, past the limits. Reads and writes are charged.
bool ScriptStateVariableSet(script& owner, int32_t threadId, int32_t state, const std::string& name,
                            const parameter& value);
void ScriptStateVariablesReset();

// Empties the application routine table (module start and end).
void ScriptRoutinesReset();

void ScriptEventRun(int32_t scriptIndex, int32_t threadIndex, int32_t position);
void ScriptExecute(int32_t scriptIndex, int32_t threadIndex, int32_t position);

// Object kinds: building the live records (models, fonts, mats) from the declarations after
// a load, and giving back what they hold when the script closes.
void ScriptObjectsBuild(int32_t scriptIndex);
void ScriptObjectsRelease(script& owner);
// item is the list item an item attribute names (read from the code), -1 for other attributes.
bool ScriptObjectKindSet(script& owner, int32_t scriptIndex, int32_t threadIndex, int32_t object,
                         int32_t attribute, const parameter& value, int32_t item = -1);
bool ScriptObjectKindGet(script& owner, int32_t scriptIndex, int32_t threadIndex, int32_t object,
                         int32_t attribute, parameter& value, int32_t item = -1);
// Object under a point in script coordinates on a display (walking the draw order from the top);
// the name is the mat entry's for a Mat object.
eventObject ScriptObjectHitAt(script& owner, int32_t display, int32_t x, int32_t y);
// The mat file for an object of the script: shared when opened before, else read (charged).
// False when the script may open no more files or cells; an unreadable or too large file gives
// the empty mat (logged once, as the script keeps it).
bool ScriptMatShared(script& owner, const std::string& name, std::shared_ptr<const matData>& mat);
// Entry index of a mat's cell at (column, row), or -1 outside the mat.
int32_t ScriptMatCell(const matData& mat, int32_t column, int32_t row);
// A list's item attributes (set 5, 15, 16; get 5, 20, 21) for the item an index reference
// named; false (a fault) for a negative item or one past the limits.
// room is what the list's cost (ScriptListCost) may grow by within the script's text.
bool ScriptListItemSet(objList& list, int32_t attribute, int32_t item, const parameter& value,
                       size_t room);
// What a list's items and mat name count against the script's text.
size_t ScriptListCost(const objList& list);
bool ScriptListItemGet(const objList& list, int32_t attribute, int32_t item, parameter& value);
// Items a list holds: the longest of its texts, values and states.
int32_t ScriptListItemCount(const objList& list);
// Draws a shown list's visible items (the hover object's item under the pointer highlighted).
void ScriptListDraw(const script& owner, const objEntry& o);
void ScriptPointerEvents(int32_t scriptIndex);
// The pointer of the script's control set: its window (a display id), the window position and
// the position in script coordinates.
void ScriptPointerGet(int32_t scriptIndex, int32_t& window, int32_t& rawX, int32_t& rawY,
                      int32_t& x, int32_t& y);
void ScriptObjectsUpdate(int32_t scriptIndex);
int32_t ScriptBuiltinObjectCall(int32_t scriptIndex, int32_t threadIndex, int32_t number);

// Attribute access of object kinds: false when the kind lacks the attribute (a fault).
bool ScriptObjectAttributeSet(int32_t scriptIndex, int32_t threadIndex, int32_t object,
                              int32_t attribute, const parameter& value, int32_t item = -1);
bool ScriptObjectAttributeGet(int32_t scriptIndex, int32_t threadIndex, int32_t object,
                              int32_t attribute, parameter& value, int32_t item = -1);
