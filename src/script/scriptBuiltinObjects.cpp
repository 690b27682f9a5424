// The built-in routines that reach objects: 39, the object under a point, and 40, a mat
// object's cell.
#include "script/scriptInternal.h"
#include "services/fwkText.h"

namespace {

std::string MatCellName(const script& owner, const std::string& objectName, int32_t column,
                        int32_t row) {
  const std::string wanted = TextUpper(objectName);
  for (const objEntry& o : owner.objects) {
    // Each object's name is upper-cased to compare: a unit per object and per 64 characters.
    ScriptBudgetChargeUnits(1);
    ScriptBudgetCharge(o.name.size());
    if (o.name.size() != wanted.size() || TextUpper(o.name) != wanted) continue;
    if (o.kind != kObjMat) return std::string();
    const matData& mat = *o.mat.mat;
    const int32_t entry = ScriptMatCell(mat, column, row);
    if (entry < 0 || static_cast<size_t>(entry) >= mat.entries.size()) return std::string();
    return TextUpper(mat.entries[static_cast<size_t>(entry)].name);
  }
  return std::string();
}

}  // namespace

int32_t ScriptBuiltinObjectCall(int32_t scriptIndex, int32_t threadIndex, int32_t number) {
  script* owner = ScriptAt(scriptIndex);
  const scriptThread* thread = ScriptThreadAt(scriptIndex, threadIndex);
  if (owner == nullptr || thread == nullptr) return 0;
  const int32_t id = owner->id;
  const int32_t t = thread->id;
  switch (number) {
    case 39: {
      // The hit test may try every object and every camera's child.
      ScriptBudgetChargeUnits(owner->objects.size() + owner->cameraChildren);
      int32_t window = 0;
      int32_t rawX = 0;
      int32_t rawY = 0;
      int32_t x = 0;
      int32_t y = 0;
      ScriptPointerGet(scriptIndex, window, rawX, rawY, x, y);
      const eventObject hit =
          ScriptObjectHitAt(*owner, window, ScriptParamInt(id, t, 1), ScriptParamInt(id, t, 2));
      ScriptParamSetString(id, t, 3, hit.name);
      return 1;
    }
    case 40:
      ScriptParamSetString(id, t, 4,
                           MatCellName(*owner, ScriptParamString(id, t, 1),
                                       ScriptParamInt(id, t, 2), ScriptParamInt(id, t, 3)));
      return 1;
    default: return 0;
  }
}
