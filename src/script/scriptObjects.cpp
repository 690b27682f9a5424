// Attribute access shared by every object kind: the layer (attribute 255) and the draw order
// it keeps sorted. The per-kind attributes come with the object kinds.
#include "script/scriptInternal.h"

namespace {

constexpr int32_t kAttributeLayer = 255;

}  // namespace

bool ScriptObjectAttributeSet(int32_t scriptIndex, int32_t threadIndex, int32_t object,
                              int32_t attribute, const parameter& value, int32_t item) {
  script* owner = ScriptAt(scriptIndex);
  if (owner == nullptr || object < 0 || object >= static_cast<int32_t>(owner->objects.size()))
    return false;
  if (attribute != kAttributeLayer)
    return ScriptObjectKindSet(*owner, scriptIndex, threadIndex, object, attribute, value, item);
  const int32_t layer = ScriptValueToInt(value);
  // Every draw order is walked and sorted again.
  ScriptBudgetChargeUnits(owner->objects.size() + owner->cameraChildren);
  owner->objects[static_cast<size_t>(object)].layer = layer;
  for (drawEntry& entry : owner->drawOrder)
    if (entry.object == object) entry.layer = layer;
  ScriptSortDrawOrder(owner->drawOrder);
  // Cameras keep their children's layers in draw orders of their own.
  for (objEntry& camera : owner->objects) {
    if (camera.kind != kObjCamera) continue;
    for (drawEntry& entry : camera.camera.drawOrder)
      if (entry.object == object) entry.layer = layer;
    ScriptSortDrawOrder(camera.camera.drawOrder);
  }
  return true;
}

bool ScriptObjectAttributeGet(int32_t scriptIndex, int32_t threadIndex, int32_t object,
                              int32_t attribute, parameter& value, int32_t item) {
  script* owner = ScriptAt(scriptIndex);
  if (owner == nullptr || object < 0 || object >= static_cast<int32_t>(owner->objects.size()))
    return false;
  if (attribute != kAttributeLayer)
    return ScriptObjectKindGet(*owner, scriptIndex, threadIndex, object, attribute, value, item);
  value = ScriptInteger(owner->objects[static_cast<size_t>(object)].layer);
  return true;
}

std::vector<std::string> ScriptDrawOrderNames(int32_t scriptId) {
  std::vector<std::string> names;
  const script* owner = ScriptAt(ScriptFind(scriptId));
  if (owner == nullptr) return names;
  for (const drawEntry& entry : owner->drawOrder)
    names.push_back(owner->objects[static_cast<size_t>(entry.object)].name);
  return names;
}
