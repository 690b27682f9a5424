// A list's items: a text, a value and a state per item, numbered from 0. Setting an item past
// the end grows its array with filler (empty texts, values -1, states 0); reading past the end
// gives the filler. Limits keep a hostile script from taking the machine: past them is a fault.
#include <algorithm>

#include "script/scriptInternal.h"

namespace {

constexpr int32_t kSetText = 5;
constexpr int32_t kSetValue = 15;
constexpr int32_t kGetText = 5;
constexpr int32_t kGetValue = 20;

parameter Filler(bool text, bool value) {
  if (text) return ScriptString(std::string());
  return ScriptInteger(value ? -1 : 0);
}

}  // namespace

bool ScriptListItemSet(objList& list, int32_t attribute, int32_t item, const parameter& value,
                       size_t room) {
  if (item < 0 || item >= kScriptListItemLimit) return false;
  const bool text = attribute == kSetText;
  const bool isValue = attribute == kSetValue;
  std::vector<parameter>& items = text ? list.texts : isValue ? list.values : list.states;
  const size_t at = static_cast<size_t>(item);
  parameter stored =
      text ? ScriptString(ScriptValueToString(value)) : ScriptInteger(ScriptValueToInt(value));
  ScriptTextTrim(stored.string);
  // Growth doubles the array (up to the item limit), so its capacity is known beforehand.
  const size_t capacity = at < items.capacity()
                              ? items.capacity()
                              : std::min(std::max(at + 1, 2 * items.capacity()),
                                         static_cast<size_t>(kScriptListItemLimit));
  const size_t old = at < items.size() ? ScriptTextCost(items[at].string) : 0;
  const size_t textBytes = list.textBytes - old + ScriptTextCost(stored.string);
  if (textBytes > kScriptListTextLimit) return false;
  const size_t before = ScriptListCost(list);
  const size_t after =
      before - list.textBytes + textBytes + (capacity - items.capacity()) * sizeof(parameter);
  if (after > before && after - before > room) return false;
  if (items.size() <= at) {
    ScriptBudgetChargeUnits(at + 1 - items.size());
    items.reserve(capacity);
    items.resize(at + 1, Filler(text, isValue));
  }
  list.textBytes = textBytes;
  ScriptValueReplace(items[at], stored);
  return true;
}

size_t ScriptListCost(const objList& list) {
  const size_t slots = list.texts.capacity() + list.values.capacity() + list.states.capacity();
  return list.textBytes + slots * sizeof(parameter) + ScriptTextCost(list.matName);
}

bool ScriptListItemGet(const objList& list, int32_t attribute, int32_t item, parameter& value) {
  if (item < 0) return false;
  const bool text = attribute == kGetText;
  const bool isValue = attribute == kGetValue;
  const std::vector<parameter>& items = text ? list.texts : isValue ? list.values : list.states;
  const size_t at = static_cast<size_t>(item);
  value = at < items.size() ? items[at] : Filler(text, isValue);
  return true;
}

int32_t ScriptListItemCount(const objList& list) {
  return static_cast<int32_t>(
      std::max({list.texts.size(), list.values.size(), list.states.size()}));
}
