// The interpreter loop: one instruction at a time until the thread yields, ends or faults.
#include <algorithm>
#include <climits>

#include "script/scriptCode.h"
#include "script/scriptInternal.h"
#include "services/fwkLog.h"

namespace {

constexpr size_t kCallLimit = 4096;

enum opcode : uint8_t {
  opReturn = 0,
  opCall = 1,
  opNot = 5,
  opJump = 10,
  opJumpNotEqual = 11,
  opJumpLessOrEqual = 16,
  opMove = 17,
  opAdd = 18,
  opSubtract = 19,
  opAnd = 20,
  opOr = 21,
  opMultiply = 22,
  opDivide = 23,
  opModulo = 24,
  opPush = 25,
  opPop = 26,
  opCallApp = 31,
  opCallBuiltin = 32,
  opSetAttribute = 33,
  opGetAttribute = 34,
  opNothing = 35,
  opYield = 36,
  opFork = 37,
};

// Where the running thread lives; routines and forks may move it, so it is found again by id.
struct executionPlace {
  int32_t scriptId;
  int32_t threadId;
  int32_t scriptIndex;
  int32_t threadIndex;

  bool Refind() {
    scriptIndex = ScriptFind(scriptId);
    const script* owner = ScriptAt(scriptIndex);
    threadIndex = owner == nullptr ? -1 : ScriptThreadIndex(*owner, threadId);
    return threadIndex >= 0;
  }
  script& Script() const { return *ScriptAt(scriptIndex); }
  scriptThread& Thread() const { return *ScriptThreadAt(scriptIndex, threadIndex); }
};

int32_t Compare(const parameter& a, const parameter& b, bool& valid) {
  valid = true;
  if (a.type == kScriptTypeInteger) {
    const int32_t other = ScriptValueToInt(b);
    return a.integer < other ? -1 : (a.integer > other ? 1 : 0);
  }
  if (a.type == kScriptTypeBoolean) {
    const int32_t mine = a.boolean != 0 ? 1 : 0;
    const int32_t other = ScriptValueToBool(b) ? 1 : 0;
    return mine - other;
  }
  if (a.type == kScriptTypeString) {
    const int result = a.string.compare(ScriptValueToString(b));
    return result < 0 ? -1 : (result > 0 ? 1 : 0);
  }
  valid = false;
  return 0;
}

bool JumpTaken(uint8_t code, int32_t order) {
  switch (code) {
    case 11: return order != 0;
    case 12: return order == 0;
    case 13: return order >= 0;
    case 14: return order < 0;
    case 15: return order > 0;
    default: return order <= 0;
  }
}

int32_t WrapToInt32(int64_t value) {
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value)));
}

std::string SubtractText(const std::string& text, const parameter& source) {
  if (source.type == kScriptTypeInteger) {
    // A negative count removes nothing: the text never grows by subtraction.
    if (source.integer <= 0) return text;
    if (static_cast<size_t>(source.integer) >= text.size()) return std::string();
    return text.substr(0, text.size() - static_cast<size_t>(source.integer));
  }
  const std::string tail = ScriptValueToString(source);
  const size_t at = text.find(tail);
  if (at != std::string::npos && at + tail.size() == text.size()) return text.substr(0, at);
  return text;
}

// Arithmetic and logic on the destination slot; false for a fault.
bool Arithmetic(uint8_t code, parameter& dest, const parameter& source) {
  if (code == opMove) {
    if (dest.type == source.type) {
      dest = source;
    } else if (dest.type == kScriptTypeInteger) {
      dest.integer = ScriptValueToInt(source);
    } else if (dest.type == kScriptTypeBoolean) {
      dest.boolean = ScriptValueToBool(source) ? 1 : 0;
    } else {
      dest.string = ScriptValueToString(source);
    }
    return dest.string.size() <= kScriptStringLimit;
  }
  if (dest.type == kScriptTypeInteger) {
    const int32_t value = ScriptValueToInt(source);
    int32_t& d = dest.integer;
    switch (code) {
      case opAdd: d = WrapToInt32(static_cast<int64_t>(d) + value); break;
      case opSubtract: d = WrapToInt32(static_cast<int64_t>(d) - value); break;
      case opAnd: d &= value; break;
      case opOr: d |= value; break;
      case opMultiply: d = WrapToInt32(static_cast<int64_t>(d) * value); break;
      case opDivide: d = value == 0 ? 0 : WrapToInt32(static_cast<int64_t>(d) / value); break;
      default: d = value == 0 ? 0 : static_cast<int32_t>(static_cast<int64_t>(d) % value); break;
    }
    return true;
  }
  if (dest.type == kScriptTypeBoolean) {
    const int32_t mine = dest.boolean != 0 ? 1 : 0;
    const int32_t value = ScriptValueToInt(source);
    bool result = false;
    switch (code) {
      case opAdd: result = static_cast<int64_t>(mine) + value != 0; break;
      case opSubtract: result = mine != value; break;
      case opAnd: result = mine != 0 && ScriptValueToBool(source); break;
      case opOr: result = mine != 0 || ScriptValueToBool(source); break;
      case opMultiply: result = mine != 0 && value != 0; break;
      default: result = value != 0 && mine != 0; break;
    }
    dest.boolean = result ? 1 : 0;
    return true;
  }
  if (dest.type != kScriptTypeString) return false;
  std::string& d = dest.string;
  switch (code) {
    case opAdd: {
      const std::string tail = ScriptValueToString(source);
      if (d.size() + tail.size() > kScriptStringLimit) return false;
      d += tail;
      break;
    }
    case opSubtract: d = SubtractText(d, source); break;
    case opAnd: d = ScriptValueToBool(dest) && ScriptValueToBool(source) ? "TRUE" : "FALSE"; break;
    case opOr: d = ScriptValueToBool(dest) || ScriptValueToBool(source) ? "TRUE" : "FALSE"; break;
    default: d = std::string(); break;  // its buffer goes too: an empty slot holds nothing
  }
  return true;
}

void Not(parameter& slot) {
  if (slot.type == kScriptTypeInteger) slot.integer = ~slot.integer;
  if (slot.type == kScriptTypeBoolean) slot.boolean = slot.boolean != 0 ? 0 : 1;
  if (slot.type == kScriptTypeString) slot.string = ScriptValueToBool(slot) ? "FALSE" : "TRUE";
}

bool Push(script& owner, scriptThread& thread, parameter&& value) {
  ScriptBudgetCharge(value.string.size());
  return ScriptSlotPush(owner, thread, std::move(value));
}

// Calls a routine with the base at the stack top; false when the thread is gone or it failed.
template <typename Call>
bool CallRoutine(executionPlace& place, Call call) {
  scriptThread& thread = place.Thread();
  const int32_t savedBase = thread.base;
  thread.base = static_cast<int32_t>(thread.stack.size());
  const int32_t result = call(place.scriptIndex, place.threadIndex);
  if (!place.Refind()) return false;
  place.Thread().base = savedBase;
  return result == 1;
}

bool Fork(executionPlace& place, int32_t& p) {
  int32_t target = 0;
  scriptCodeReader read{place.Script().code, place.Script().version, p};
  if (!read.I32(target)) return false;
  if (place.Script().threads.size() >= kScriptThreadLimit) return false;
  // The copy of the stack counts against the script's text like the original.
  const size_t held = place.Script().stackText + place.Script().objectText;
  if (place.Thread().textBytes > kScriptTextLimit - std::min(held, kScriptTextLimit)) {
    ScriptLimitReached(place.Script(), scriptLimit::text, place.threadId);
    return false;
  }
  const int32_t forked = ScriptThreadNew(place.scriptIndex);
  scriptThread& child = *ScriptThreadAt(place.scriptIndex, forked);
  const scriptThread& parent = place.Thread();
  child.suspended = true;
  child.running = true;
  child.resumePosition = p;
  child.run = parent.run;
  child.stack = parent.stack;
  child.textBytes = parent.textBytes;
  place.Script().stackText += parent.textBytes;
  child.base = parent.base;
  // A fork copies the stack and the open calls, and the thread's removal later moves every
  // thread behind it.
  ScriptBudgetCharge(parent.textBytes + 64 * (parent.stack.size() + place.Script().threads.size()) +
                     8 * parent.run.calls.size());
  if (target < 0 || static_cast<size_t>(target) >= place.Script().code.size()) return false;
  p = target;
  return true;
}

// Executes the instruction at p; false when the thread faulted (p is then -1) or is gone.
bool ExecuteOne(executionPlace& place, int32_t& p) {
  script& owner = place.Script();
  scriptThread& thread = place.Thread();
  scriptCodeReader read{owner.code, owner.version, p};
  uint8_t byte = 0;
  if (!read.Byte(byte)) return false;
  runData& run = thread.run;
  run.opcode = byte & 0x3F;
  run.firstIsReference = (byte & 0x40) != 0;
  run.secondIsReference = (byte & 0x80) != 0;
  const uint8_t code = run.opcode;
  if (code == opReturn) {
    if (run.calls.empty()) return read.Fail();
    p = run.calls.back().returnPosition;
    thread.base = run.calls.back().savedBase;
    run.calls.pop_back();
    return true;
  }
  if (code == opCall) {
    int32_t target = 0;
    if (!read.Target(target) || run.calls.size() >= kCallLimit) return read.Fail();
    run.calls.push_back(jumpEntry{p, thread.base});
    thread.base = static_cast<int32_t>(thread.stack.size());
    p = target;
    return true;
  }
  if (code == opNot) {
    int32_t slot = 0;
    if (!run.firstIsReference || !read.StackReference(thread, slot)) return read.Fail();
    parameter result = thread.stack[static_cast<size_t>(slot)];
    ScriptBudgetCharge(result.string.size());
    Not(result);
    return ScriptSlotStore(owner, thread, static_cast<size_t>(slot), std::move(result)) ||
           read.Fail();
  }
  if (code == opJump) {
    int32_t target = 0;
    if (!read.Target(target)) return false;
    p = target;
    return true;
  }
  if (code >= opJumpNotEqual && code <= opJumpLessOrEqual) {
    parameter a;
    parameter b;
    int32_t target = 0;
    if (!read.Value(thread, run.firstIsReference, a) ||
        !read.Value(thread, run.secondIsReference, b) || !read.Target(target))
      return false;
    ScriptBudgetCharge(a.string.size() + b.string.size());
    bool valid = false;
    const int32_t order = Compare(a, b, valid);
    if (valid && JumpTaken(code, order)) p = target;
    return true;
  }
  if (code >= opMove && code <= opModulo) {
    parameter source;
    int32_t slot = 0;
    if (!read.Value(thread, run.firstIsReference, source)) return false;
    if (!run.secondIsReference || !read.StackReference(thread, slot)) return read.Fail();
    parameter result = thread.stack[static_cast<size_t>(slot)];
    ScriptBudgetCharge(result.string.size());
    if (!Arithmetic(code, result, source)) return read.Fail();
    ScriptBudgetCharge(source.string.size() + result.string.size());
    if (ScriptSlotStore(owner, thread, static_cast<size_t>(slot), std::move(result))) return true;
    ScriptLimitReached(owner, scriptLimit::text, place.threadId);
    return read.Fail();
  }
  if (code == opPush) {
    parameter value;
    if (!read.Value(thread, run.firstIsReference, value)) return false;
    const bool full = thread.stack.size() >= kScriptStackLimit;
    if (Push(owner, thread, std::move(value))) return true;
    if (!full) ScriptLimitReached(owner, scriptLimit::text, place.threadId);
    return read.Fail();
  }
  if (code == opPop) {
    if (thread.stack.empty()) return read.Fail();
    ScriptSlotPop(owner, thread);
    return true;
  }
  if (code == opCallApp || code == opCallBuiltin) {
    uint16_t number = 0;
    if (!read.U16(number)) return false;
    if (code == opCallApp && number >= owner.routineNames.size()) return read.Fail();
    const int32_t after = p;
    const bool done = CallRoutine(place, [&](int32_t scriptIndex, int32_t threadIndex) {
      return code == opCallApp ? ScriptAppRoutineRun(scriptIndex, threadIndex, number)
                               : ScriptBuiltinCall(scriptIndex, threadIndex, number);
    });
    p = done ? after : -1;
    return done;
  }
  if (code == opSetAttribute || code == opGetAttribute) {
    uint16_t object = 0;
    uint8_t attribute = 0;
    parameter value;
    if (!read.U16(object) || !read.Byte(attribute)) return false;
    if (code == opSetAttribute && !read.Value(thread, run.firstIsReference, value)) return false;
    ScriptBudgetCharge(value.string.size());
    if (object >= owner.objects.size()) return read.Fail();
    int32_t item = -1;
    if (VmcAttributeTakesItem(owner.objects[object].kind, attribute, code == opSetAttribute) &&
        !read.ItemIndex(thread, item))
      return false;
    if (code == opSetAttribute)
      return ScriptObjectAttributeSet(place.scriptIndex, place.threadIndex, object, attribute,
                                      value, item) ||
             read.Fail();
    if (!ScriptObjectAttributeGet(place.scriptIndex, place.threadIndex, object, attribute, value,
                                  item))
      return read.Fail();
    return Push(place.Script(), place.Thread(), std::move(value)) || read.Fail();
  }
  if (code == opNothing) return true;
  if (code == opYield) {
    thread.suspended = true;
    thread.resumePosition = p;
    return true;
  }
  if (code == opFork) {
    const bool continues = Fork(place, p);
    if (!continues) p = -1;
    return continues;
  }
  return read.Fail();
}

}  // namespace

void ScriptExecute(int32_t scriptIndex, int32_t threadIndex, int32_t position) {
  scriptThread* start = ScriptThreadAt(scriptIndex, threadIndex);
  if (start == nullptr || start->suspended) return;
  start->running = true;
  executionPlace place{ScriptAt(scriptIndex)->id, start->id, scriptIndex, threadIndex};
  int32_t p = position;
  while (p >= 0) {
    if (static_cast<size_t>(p) >= place.Script().code.size() || place.Thread().suspended) break;
    if (!ScriptBudgetTake()) {
      LogError("ScriptExecute - Instruction limit reached in script \"" + place.Script().fileName +
               "\", thread " + std::to_string(place.threadId) + " ended.");
      break;
    }
    ExecuteOne(place, p);
    if (place.threadIndex < 0) return;
  }
  scriptThread& thread = place.Thread();
  if (!thread.suspended) thread.running = false;
}
