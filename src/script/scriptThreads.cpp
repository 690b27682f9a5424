// Threads and events: the per-frame step, resuming, raising events on the event thread, and
// the instruction budget that keeps one step from running forever.
#include <algorithm>

#include "platform/platform_system.h"
#include "script/scriptInternal.h"
#include "services/fwkLog.h"
#include "services/fwkState.h"
#include "services/fwkText.h"

namespace {

int32_t stepLimit = kScriptStepLimitDefault;
int32_t budget = 0;
int32_t depth = 0;

// Host calls open a step; calls made from inside a running step share its budget.
struct budgetScope {
  budgetScope() { ScriptBudgetEnter(); }
  ~budgetScope() { ScriptBudgetLeave(); }
  budgetScope(const budgetScope&) = delete;
  budgetScope& operator=(const budgetScope&) = delete;
};

void Resume(int32_t scriptIndex, int32_t threadIndex) {
  scriptThread* thread = ScriptThreadAt(scriptIndex, threadIndex);
  if (thread == nullptr || !thread->suspended) return;
  thread->suspended = false;
  ScriptExecute(scriptIndex, threadIndex, thread->resumePosition);
}

void ThreadsRun(int32_t scriptId) {
  size_t i = 1;
  while (ScriptBudgetLeft()) {
    script* owner = ScriptAt(ScriptFind(scriptId));
    if (owner == nullptr || i >= owner->threads.size()) return;
    const int32_t threadId = owner->threads[i].id;
    Resume(ScriptFind(scriptId), static_cast<int32_t>(i));
    owner = ScriptAt(ScriptFind(scriptId));
    if (owner == nullptr) return;
    const int32_t index = ScriptThreadIndex(*owner, threadId);
    if (index < 0) continue;
    if (owner->threads[static_cast<size_t>(index)].suspended) {
      ++i;
    } else {
      ScriptThreadRemove(*owner, static_cast<size_t>(index));
    }
  }
}

}  // namespace

void ScriptSetStepLimit(int32_t instructions) {
  stepLimit = instructions > 0 ? instructions : kScriptStepLimitDefault;
}

void ScriptBudgetEnter() {
  if (depth == 0) budget = stepLimit;
  ++depth;
}

void ScriptBudgetLeave() { --depth; }

bool ScriptBudgetTake() {
  if (budget <= 0) return false;
  --budget;
  return true;
}

void ScriptBudgetCharge(size_t characters) { ScriptBudgetChargeUnits(characters / 64); }

void ScriptBudgetChargeUnits(size_t units) {
  budget = units >= static_cast<size_t>(budget) + 1 ? 0 : budget - static_cast<int32_t>(units);
}

void ScriptLogRunError(const std::string& text) {
  ScriptBudgetChargeUnits(100);
  LogError(text);
}

bool ScriptBudgetLeft() { return budget > 0; }

void ScriptStep(int32_t scriptId) {
  budgetScope scope;
  if (ScriptFind(scriptId) < 0 || StateIsPaused()) return;
  if (!ScriptIsWaiting(scriptId)) {
    script* owner = ScriptAt(ScriptFind(scriptId));
    const uint32_t now = PlatformTickCount();
    // 32-bit tick arithmetic: the comparison stays right across a wrap of the counter.
    if (owner->nextUpdateTick == 0 || static_cast<int32_t>(now - owner->nextUpdateTick) > 0) {
      owner->nextUpdateTick = now + 33;
      ScriptObjectsUpdate(ScriptFind(scriptId));
    }
    if (!ScriptIsWaiting(scriptId)) ScriptPointerEvents(ScriptFind(scriptId));
  }
  const script* owner = ScriptAt(ScriptFind(scriptId));
  if (owner != nullptr && !owner->threadsHeld) ThreadsRun(scriptId);
}

void ScriptThreadsHold(int32_t scriptId, bool held) {
  script* owner = ScriptAt(ScriptFind(scriptId));
  if (owner != nullptr) owner->threadsHeld = held;
}

bool ScriptIsWaiting(int32_t scriptId) {
  const scriptThread* events = ScriptThreadAt(ScriptFind(scriptId), 0);
  return events != nullptr && events->suspended;
}

void ScriptThreadResume(int32_t scriptId, int32_t threadId) {
  budgetScope scope;
  if (StateIsPaused()) return;
  const int32_t index = ScriptFind(scriptId);
  const script* owner = ScriptAt(index);
  if (owner == nullptr) return;
  Resume(index, threadId == -1 ? 0 : ScriptThreadIndex(*owner, threadId));
}

void ScriptRoutineRun(int32_t scriptId, int32_t eventCode, const std::string& name) {
  budgetScope scope;
  const int32_t index = ScriptFind(scriptId);
  const scriptThread* events = ScriptThreadAt(index, 0);
  if (events == nullptr || events->suspended || events->running) return;
  ScriptEventRaise(index, eventCode, name);
}

void ScriptEventRaise(int32_t scriptIndex, int32_t eventCode, const std::string& name) {
  const script* owner = ScriptAt(scriptIndex);
  if (owner == nullptr || !owner->hasEventHandler) return;
  const scriptThread& events = owner->threads[0];
  // A handler that is executing right now cannot take a second event: starting it again
  // would throw away the call stack and base it is using.
  if (events.suspended || events.running) return;
  // The event's two values must fit, or the pops after the handler would take other slots.
  const std::string upper = TextUpper(name);
  const size_t held = owner->stackText + owner->objectText;
  const size_t cost = upper.size();
  if (events.stack.size() + 2 > kScriptStackLimit ||
      cost > kScriptStackTextLimit - events.textBytes ||
      cost > kScriptTextLimit - std::min(held, kScriptTextLimit))
    return;
  const int32_t entry = owner->eventEntry;
  const int32_t scriptId = owner->id;
  ScriptStackPush(scriptIndex, 0, ScriptString(upper));
  ScriptStackPush(scriptIndex, 0, ScriptInteger(eventCode));
  ScriptEventRun(scriptIndex, 0, entry);
  const int32_t after = ScriptFind(scriptId);
  ScriptStackPop(after, 0);
  ScriptStackPop(after, 0);
}

void ScriptEventRun(int32_t scriptIndex, int32_t threadIndex, int32_t position) {
  scriptThread* thread = ScriptThreadAt(scriptIndex, threadIndex);
  if (thread == nullptr || thread->suspended) return;
  thread->running = true;
  thread->base = static_cast<int32_t>(thread->stack.size());
  thread->run.calls.clear();
  ScriptExecute(scriptIndex, threadIndex, position);
}
