// A list's items: a text, a value and a state per item, numbered from 0. Setting an item past
// the end grows its array with filler (empty texts, values -1, states 0); reading past the end
// gives the filler. Limits keep a hostile script from taking the machine: past them is a fault.
#include <algorithm>

#include "script/scriptInternal.h"

namespace {

constexpr int32_t kListItemLimit = 4096;
constexpr size_t kListTextLimit = 1024 * 1024;

constexpr int32_t kSetText = 5;
constexpr int32_t kSetValue = 15;
constexpr int32_t kGetText = 5;
constexpr int32_t kGetValue = 20;

parameter Filler(bool text, bool value) {
    if (text) return ScriptString(std::string());
    return ScriptInteger(value ? -1 : 0);
}

}  // namespace

bool ScriptListItemSet(objList& list, int32_t attribute, int32_t item, const parameter& value) {
    if (item < 0 || item >= kListItemLimit) return false;
    const bool text = attribute == kSetText;
    const bool isValue = attribute == kSetValue;
    std::vector<parameter>& items = text ? list.texts : isValue ? list.values : list.states;
    const size_t at = static_cast<size_t>(item);
    parameter stored = text ? ScriptString(ScriptValueToString(value)) : ScriptInteger(ScriptValueToInt(value));
    if (text) {
        const size_t old = at < items.size() ? items[at].string.size() : 0;
        const size_t total = list.textBytes - old + stored.string.size();
        if (total > kListTextLimit) return false;
        list.textBytes = total;
    }
    if (items.size() <= at) items.resize(at + 1, Filler(text, isValue));
    items[at] = std::move(stored);
    return true;
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
    return static_cast<int32_t>(std::max({list.texts.size(), list.values.size(), list.states.size()}));
}
