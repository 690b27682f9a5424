// The table of loaded scripts, their threads and stacks, module start and end.
#include <algorithm>

#include "script/scriptInternal.h"
#include "services/fwkLog.h"

namespace {

std::vector<script> scripts;
int32_t nextScriptId = 1;
int32_t nextThreadId = 1;

}  // namespace

std::vector<script>& ScriptTable() { return scripts; }

void ScriptInit() {
  LogVersionAdd("fwkScript - Version Alpha.0");
  scripts.clear();
  nextScriptId = 1;
  nextThreadId = 1;
  ScriptRoutinesReset();
  ScriptStateVariablesReset();
}

void ScriptFinal() {
  while (!scripts.empty()) ScriptClose(scripts.back().id);
  ScriptRoutinesReset();
}

int32_t ScriptFind(int32_t scriptId) {
  const int32_t count = static_cast<int32_t>(scripts.size());
  if (scriptId <= 0 || count == 0) return -1;
  // Ids rise with the index and are rarely skipped, so index id - 1 is the usual hit.
  const int32_t guess = scriptId - 1;
  if (guess < count && scripts[static_cast<size_t>(guess)].id == scriptId) return guess;
  int32_t low = 0;
  int32_t high = count - 1;
  while (low <= high) {
    const int32_t middle = low + (high - low) / 2;
    const int32_t id = scripts[static_cast<size_t>(middle)].id;
    if (id == scriptId) return middle;
    if (id < scriptId) {
      low = middle + 1;
    } else {
      high = middle - 1;
    }
  }
  return -1;
}

void ScriptClose(int32_t scriptId) {
  const int32_t index = ScriptFind(scriptId);
  if (index < 0) return;
  ScriptObjectsRelease(scripts[static_cast<size_t>(index)]);
  scripts.erase(scripts.begin() + index);
}

script* ScriptAt(int32_t scriptIndex) {
  if (scriptIndex < 0 || scriptIndex >= static_cast<int32_t>(scripts.size())) return nullptr;
  return &scripts[static_cast<size_t>(scriptIndex)];
}

scriptThread* ScriptThreadAt(int32_t scriptIndex, int32_t threadIndex) {
  script* owner = ScriptAt(scriptIndex);
  if (owner == nullptr || threadIndex < 0 ||
      threadIndex >= static_cast<int32_t>(owner->threads.size()))
    return nullptr;
  return &owner->threads[static_cast<size_t>(threadIndex)];
}

int32_t ScriptThreadIndex(const script& owner, int32_t threadId) {
  // Routines look their thread up once per parameter: the last one found is the usual answer,
  // which keeps a call from costing a walk over up to 256 threads.
  static size_t hint = 0;
  if (hint < owner.threads.size() && owner.threads[hint].id == threadId)
    return static_cast<int32_t>(hint);
  for (size_t i = 0; i < owner.threads.size(); ++i) {
    if (owner.threads[i].id != threadId) continue;
    hint = i;
    return static_cast<int32_t>(i);
  }
  return -1;
}

int32_t ScriptThreadNew(int32_t scriptIndex) {
  script* owner = ScriptAt(scriptIndex);
  if (owner == nullptr) return -1;
  scriptThread thread;
  thread.id = nextThreadId++;
  owner->threads.push_back(std::move(thread));
  return static_cast<int32_t>(owner->threads.size()) - 1;
}

int32_t ScriptAdd(script&& loaded) {
  loaded.id = nextScriptId++;
  scripts.push_back(std::move(loaded));
  const int32_t index = static_cast<int32_t>(scripts.size()) - 1;
  ScriptThreadNew(index);
  return scripts.back().id;
}

void ScriptSortDrawOrder(std::vector<drawEntry>& order) {
  std::stable_sort(order.begin(), order.end(),
                   [](const drawEntry& a, const drawEntry& b) { return a.layer < b.layer; });
}

namespace {

// Whether the script may hold added more bytes of text (with removed given back first).
bool StackTextFits(const script& owner, const scriptThread& thread, size_t removed, size_t added) {
  const size_t threadOthers = thread.textBytes - removed;
  const size_t scriptOthers = owner.stackText + owner.objectText - removed;
  return added <= kScriptStackTextLimit - threadOthers &&
         added <= kScriptTextLimit - std::min(scriptOthers, kScriptTextLimit);
}

}  // namespace

bool ScriptSlotPush(script& owner, scriptThread& thread, parameter value) {
  ScriptTextTrim(value.string);
  const size_t cost = ScriptTextCost(value.string);
  if (thread.stack.size() >= kScriptStackLimit || !StackTextFits(owner, thread, 0, cost))
    return false;
  thread.textBytes += cost;
  owner.stackText += cost;
  thread.stack.push_back(std::move(value));
  return true;
}

void ScriptSlotPop(script& owner, scriptThread& thread) {
  const size_t cost = ScriptTextCost(thread.stack.back().string);
  thread.textBytes -= cost;
  owner.stackText -= cost;
  thread.stack.pop_back();
}

bool ScriptSlotStore(script& owner, scriptThread& thread, size_t slot, parameter value) {
  ScriptTextTrim(value.string);
  const size_t old = ScriptTextCost(thread.stack[slot].string);
  const size_t cost = ScriptTextCost(value.string);
  if (!StackTextFits(owner, thread, old, cost)) return false;
  thread.textBytes = thread.textBytes - old + cost;
  owner.stackText = owner.stackText - old + cost;
  ScriptValueReplace(thread.stack[slot], value);
  return true;
}

void ScriptThreadRemove(script& owner, size_t threadIndex) {
  owner.stackText -= owner.threads[threadIndex].textBytes;
  owner.threads.erase(owner.threads.begin() + static_cast<std::ptrdiff_t>(threadIndex));
}

void ScriptStackPush(int32_t scriptIndex, int32_t threadIndex, const parameter& value) {
  scriptThread* thread = ScriptThreadAt(scriptIndex, threadIndex);
  if (thread == nullptr || thread->suspended) return;
  ScriptSlotPush(*ScriptAt(scriptIndex), *thread, value);
}

bool ScriptStackPop(int32_t scriptIndex, int32_t threadIndex) {
  scriptThread* thread = ScriptThreadAt(scriptIndex, threadIndex);
  if (thread == nullptr || thread->suspended || thread->stack.empty()) return false;
  ScriptSlotPop(*ScriptAt(scriptIndex), *thread);
  return true;
}

int32_t ScriptThreadCount(int32_t scriptId) {
  const script* owner = ScriptAt(ScriptFind(scriptId));
  return owner == nullptr ? 0 : static_cast<int32_t>(owner->threads.size());
}

int32_t ScriptThreadId(int32_t scriptId, int32_t threadIndex) {
  const scriptThread* thread = ScriptThreadAt(ScriptFind(scriptId), threadIndex);
  return thread == nullptr ? 0 : thread->id;
}

std::vector<parameter> ScriptThreadStack(int32_t scriptId, int32_t threadIndex) {
  const scriptThread* thread = ScriptThreadAt(ScriptFind(scriptId), threadIndex);
  return thread == nullptr ? std::vector<parameter>() : thread->stack;
}

std::string ScriptFileName(int32_t scriptId) {
  const script* owner = ScriptAt(ScriptFind(scriptId));
  return owner == nullptr ? std::string() : owner->fileName;
}
