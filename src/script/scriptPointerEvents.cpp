// The pointer-event pass (press, click, enter, leave, move, slider drag) and the timed object
// update. Events go to the event thread with the object's name.
#include <algorithm>
#include <cstdint>

#include "graphics/fwkModel.h"
#include "graphics/fwkTexture.h"
#include "input/fwkInput.h"
#include "script/scriptArithmetic.h"
#include "script/scriptFrames.h"
#include "services/fwkText.h"

namespace {

constexpr int32_t kEventTick = -1;
constexpr int32_t kEventSliderChanged = -2;
constexpr int32_t kEventPress = -3;
constexpr int32_t kEventClick = -4;
constexpr int32_t kEventEnter = -5;
constexpr int32_t kEventLeave = -6;
constexpr int32_t kEventMove = -7;
constexpr int32_t kEventSecondaryPress = -8;
constexpr int32_t kEventSecondaryClick = -9;
constexpr int32_t kEventSliderReleased = -10;

enum class entryKind { selectPress, secondaryPress, move, selectRelease, secondaryRelease };

struct workEntry {
  entryKind kind;
  int32_t event;  // index in the action events read, -1 for moves
};

// True when the event was raised: the object exists and has a name.
bool Raise(int32_t scriptId, int32_t code, const eventObject& target) {
  if (target.index < 0 || target.name.empty()) return false;
  ScriptEventRaise(ScriptFind(scriptId), code, target.name);
  return true;
}

objEntry* Object(int32_t scriptId, int32_t object) {
  script* owner = ScriptAt(ScriptFind(scriptId));
  if (owner == nullptr || object < 0 || object >= static_cast<int32_t>(owner->objects.size()))
    return nullptr;
  return &owner->objects[static_cast<size_t>(object)];
}

eventObject Under(int32_t scriptId, int32_t window, int32_t x, int32_t y) {
  script* owner = ScriptAt(ScriptFind(scriptId));
  if (owner == nullptr) return eventObject();
  eventObject hit = ScriptObjectHitAt(*owner, window, x, y);
  // While an object is pressed, only that object counts as being under the pointer.
  if (owner->pressedObject.index >= 0 && hit.index != owner->pressedObject.index)
    return eventObject();
  return hit;
}

void Drag(int32_t scriptId, objEntry& o, int32_t x, int32_t y) {
  script* owner = ScriptAt(ScriptFind(scriptId));
  objSlider& s = o.slider;
  s.dragTotal =
      ScriptAddSaturated(s.dragTotal, s.vertical ? ScriptSubtractSaturated(y, owner->lastPointerY)
                                                 : ScriptSubtractSaturated(x, owner->lastPointerX));
  const int32_t span = SliderSpan(s);
  const int32_t offset = std::clamp(s.dragTotal, 0, span);
  if (offset == s.knobOffset) return;
  s.knobOffset = offset;
  if (span > 0) {
    const int64_t range = static_cast<int64_t>(s.maximum) - s.minimum;
    s.value = static_cast<int32_t>(
        std::clamp<int64_t>(s.minimum + offset * range / span, s.minimum, s.maximum));
  }
  if (s.vertical) {
    FrameSetMoveTo(s.knob, s.track.x, ScriptAddSaturated(s.track.y, offset));
  } else {
    FrameSetMoveTo(s.knob, ScriptAddSaturated(s.track.x, offset), s.track.y);
  }
  ScriptEventRaise(ScriptFind(scriptId), kEventSliderChanged,
                   o.name.empty() ? std::string() : o.name);
}

void Move(int32_t scriptId, const eventObject& hit, int32_t x, int32_t y) {
  script* owner = ScriptAt(ScriptFind(scriptId));
  const eventObject pressed = owner->pressedObject;
  const eventObject hover = owner->hoverObject;
  objEntry* pressedEntry = Object(scriptId, pressed.index);
  if (pressedEntry != nullptr && pressedEntry->kind == kObjSlider) {
    if (!pressedEntry->name.empty()) Drag(scriptId, *pressedEntry, x, y);
    return;
  }
  if (hit.index == hover.index) {
    if (x != owner->lastPointerX || y != owner->lastPointerY) Raise(scriptId, kEventMove, hit);
    return;
  }
  if (pressed.index >= 0) {
    if (hover.index == pressed.index) Raise(scriptId, kEventLeave, hover);
    if (hit.index == pressed.index) Raise(scriptId, kEventEnter, hit);
    return;
  }
  Raise(scriptId, kEventLeave, hover);
  Raise(scriptId, kEventEnter, hit);
}

// The list's mat lies over all its items laid end to end from the list's position, one cell per
// script unit, so it scrolls with the items: the pointer's offset along the list grows by the
// items scrolled past. The cell is then found as a Mat object finds its own. The text is the
// entry's name, or its number when it has none; empty outside the mat or without one.
std::string ListCellText(const objList& l, int32_t x, int32_t y) {
  int64_t column = static_cast<int64_t>(x) - l.items.x;
  int64_t row = static_cast<int64_t>(y) - l.items.y;
  if (l.orientation == "HORIZONTAL") column += static_cast<int64_t>(l.firstVisible) * l.itemWidth;
  if (l.orientation == "VERTICAL") row += static_cast<int64_t>(l.firstVisible) * l.itemHeight;
  if (column < 0 || row < 0 || column > INT32_MAX || row > INT32_MAX) return std::string();
  const int32_t entry =
      ScriptMatCell(*l.mat, static_cast<int32_t>(column), static_cast<int32_t>(row));
  if (entry < 0) return std::string();
  const size_t index = static_cast<size_t>(entry);
  if (index < l.mat->entries.size() && !l.mat->entries[index].name.empty())
    return TextUpper(l.mat->entries[index].name);
  return std::to_string(entry);
}

void Release(int32_t scriptId, int32_t set, const workEntry& entry, const eventObject& hit,
             int32_t x, int32_t y) {
  script* owner = ScriptAt(ScriptFind(scriptId));
  const eventObject pressed = owner->pressedObject;
  const bool select = entry.kind == entryKind::selectRelease;
  if (pressed.index >= 0 && hit.index == pressed.index) {
    objEntry* o = Object(scriptId, pressed.index);
    if (o != nullptr && o->kind == kObjList) {
      o->list.selected = o->list.itemUnderPointer;
      o->list.selectedText = ListCellText(o->list, x, y);
    }
    if (Raise(scriptId, select ? kEventClick : kEventSecondaryClick, hit))
      InputActionEventMarkHandled(set, entry.event);
  }
  objEntry* o = Object(scriptId, pressed.index);
  if (o != nullptr && o->kind == kObjSlider && Raise(scriptId, kEventSliderReleased, pressed))
    InputActionEventMarkHandled(set, entry.event);
  if (ScriptAt(ScriptFind(scriptId)) != nullptr)
    ScriptAt(ScriptFind(scriptId))->pressedObject = eventObject();
}

}  // namespace

void ScriptPointerEvents(int32_t scriptIndex) {
  script* owner = ScriptAt(scriptIndex);
  if (owner == nullptr) return;
  // Events run script code, and a routine it calls may close the script: it is found again by
  // its id after each event, and the pass ends when it is gone.
  const int32_t scriptId = owner->id;
  int32_t window = 0;
  int32_t rawX = 0;
  int32_t rawY = 0;
  int32_t x = 0;
  int32_t y = 0;
  ScriptPointerGet(scriptIndex, window, rawX, rawY, x, y);
  const int32_t set = InputControlSetActive();
  inputBuffer events;
  InputActionEventsRead(set, events, false);
  const inputMenuActions& menu = InputMenuActions();
  std::vector<workEntry> work = {{entryKind::move, -1}};
  for (size_t i = 0; i < events.events.size(); ++i) {
    const inputEvent& e = events.events[i];
    if (e.handled != 0) continue;
    const bool select = e.identifier == menu.selectItem;
    if (!select && e.identifier != menu.selectItemSecondary) continue;
    const bool press = e.value != 0;
    const entryKind kind = select
                               ? (press ? entryKind::selectPress : entryKind::selectRelease)
                               : (press ? entryKind::secondaryPress : entryKind::secondaryRelease);
    work.push_back({kind, static_cast<int32_t>(i)});
    work.push_back({entryKind::move, -1});
  }
  for (const workEntry& entry : work) {
    if (ScriptFind(scriptId) < 0) return;
    const eventObject hit = Under(scriptId, window, x, y);
    switch (entry.kind) {
      case entryKind::selectPress:
      case entryKind::secondaryPress: {
        const bool select = entry.kind == entryKind::selectPress;
        if (Raise(scriptId, select ? kEventPress : kEventSecondaryPress, hit))
          InputActionEventMarkHandled(set, entry.event);
        script* now = ScriptAt(ScriptFind(scriptId));
        if (now == nullptr) return;
        now->pressedObject = hit;
        objEntry* o = Object(scriptId, hit.index);
        if (o != nullptr && o->kind == kObjSlider) o->slider.dragTotal = o->slider.knobOffset;
        break;
      }
      case entryKind::move: Move(scriptId, hit, x, y); break;
      case entryKind::selectRelease:
      case entryKind::secondaryRelease: Release(scriptId, set, entry, hit, x, y); break;
    }
    script* now = ScriptAt(ScriptFind(scriptId));
    if (now == nullptr) return;
    now->lastPointerX = x;
    now->lastPointerY = y;
    now->hoverObject = hit;
  }
  script* now = ScriptAt(ScriptFind(scriptId));
  if (now == nullptr) return;
  for (objEntry& o : now->objects)
    if (o.kind == kObjPointer && o.display == window) FrameSetMoveTo(o.pointer.frames, rawX, rawY);
}

void ScriptObjectsUpdate(int32_t scriptIndex) {
  const script* owner = ScriptAt(scriptIndex);
  if (owner == nullptr) return;
  const int32_t scriptId = owner->id;
  // A tick event may close the script (the walk then ends) or not: objects stay where they are.
  for (size_t i = 0;
       ScriptFind(scriptId) >= 0 && i < ScriptAt(ScriptFind(scriptId))->objects.size(); ++i) {
    objEntry& o = ScriptAt(ScriptFind(scriptId))->objects[i];
    bool tick = false;
    switch (o.kind) {
      case kObjButton: tick = o.button.flag1 && o.button.flag2; break;
      case kObjBox: tick = o.box.flag1; break;
      case kObjImage: tick = o.image.flag; break;
      case kObjList: tick = o.list.flag1 && o.list.flag2; break;
      case kObjAtex:
        if (o.atex.moving && o.atex.surface != nullptr && !o.atex.surface->polygons.empty() &&
            !o.atex.surface->polygons[0].textures.empty()) {
          int32_t width = 0;
          int32_t height = 0;
          TextureGetSize(o.atex.surface->polygons[0].textures[0].tex, width, height);
          if (width > 0 && height > 0)
            ModelScrollTexCoords(
                o.atex.surface,
                -static_cast<float>(o.atex.velocity1) * 0.033f / static_cast<float>(width),
                -static_cast<float>(o.atex.velocity2) * 0.033f / static_cast<float>(height));
        }
        break;
      case kObjApp:
        if (o.appFlag1 && o.appFlag2 && o.appAnimate != nullptr) o.appAnimate(o.appData);
        break;
      default: break;
    }
    if (tick && !o.name.empty()) {
      const std::string name = o.name;
      ScriptEventRaise(ScriptFind(scriptId), kEventTick, name);
    }
  }
}
