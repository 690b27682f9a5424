// The pointer in script coordinates and the object under it: Screen objects scale the window
// to the script's own size (Fill or BestFit); objects are tested from the top layer down.
#include <algorithm>
#include <cmath>

#include "graphics/fwkGraphics.h"
#include "graphics/fwkModel.h"
#include "input/fwkInput.h"
#include "script/scriptArithmetic.h"
#include "script/scriptFrames.h"
#include "services/fwkText.h"

namespace {

bool Inside(int32_t px, int32_t py, int32_t x, int32_t y, int32_t width, int32_t height) {
  return px >= x && px < static_cast<int64_t>(x) + width && py >= y &&
         py < static_cast<int64_t>(y) + height;
}

model* FirstModel(const frameSet& set, int32_t n) {
  if (!FrameValid(set, n)) return nullptr;
  const objFrame& f = set.frames[static_cast<size_t>(n - 1)];
  return f.models.empty() ? nullptr : f.models.front();
}

bool ListHit(objList& l, int32_t display, int32_t px, int32_t py) {
  model* first = FirstModel(l.items, 1);
  if (!l.flag1 || !l.flag2 || first == nullptr || ModelGetDisplay(first) != display) return false;
  const bool horizontal = l.orientation == "HORIZONTAL";
  const int32_t along = horizontal ? l.itemWidth : l.itemHeight;
  const int64_t length = static_cast<int64_t>(std::max(l.visibleItems, 0)) * along;
  const int32_t width =
      horizontal ? static_cast<int32_t>(std::min<int64_t>(length, INT32_MAX)) : l.itemWidth;
  const int32_t height =
      horizontal ? l.itemHeight : static_cast<int32_t>(std::min<int64_t>(length, INT32_MAX));
  if (!Inside(px, py, l.items.x, l.items.y, width, height)) return false;
  const int32_t offset =
      horizontal ? ScriptSubtractSaturated(px, l.items.x) : ScriptSubtractSaturated(py, l.items.y);
  const bool named = l.orientation == "HORIZONTAL" || l.orientation == "VERTICAL";
  l.itemUnderPointer = named && along > 0 ? ScriptAddSaturated(offset / along, l.firstVisible) : -1;
  return true;
}

bool Hit(script& owner, objEntry& o, int32_t display, int32_t px, int32_t py, eventObject& result);

bool CameraHit(script& owner, objEntry& o, int32_t display, int32_t px, int32_t py,
               eventObject& result) {
  const objCamera& c = o.camera;
  if (!Inside(px, py, c.left, c.top, c.width, c.height)) return false;
  const int32_t x = ScriptSaturate(static_cast<int64_t>(px) - c.left + c.scrollX);
  const int32_t y = ScriptSaturate(static_cast<int64_t>(py) - c.top + c.scrollY);
  for (auto it = c.drawOrder.rbegin(); it != c.drawOrder.rend(); ++it) {
    objEntry& child = owner.objects[static_cast<size_t>(it->object)];
    // Cameras do not nest: a camera among the children could lead back to this one.
    if (child.hidden || child.kind == kObjCamera) continue;
    if (Hit(owner, child, display, x, y, result)) {
      result.index = it->object;
      if (result.name.empty()) result.name = child.name;
      return true;
    }
  }
  return false;
}

bool Hit(script& owner, objEntry& o, int32_t display, int32_t px, int32_t py, eventObject& result) {
  result.name.clear();
  switch (o.kind) {
    case kObjButton: {
      const objButton& b = o.button;
      if (!b.flag1 || !b.flag2 || !FrameValid(b.frames, b.frame)) return false;
      const matData& mat = *b.frames.frames[static_cast<size_t>(b.frame - 1)].mat;
      if (mat.width > 0 && mat.height > 0) {
        const int32_t cell = ScriptMatCell(mat, ScriptSubtractSaturated(px, b.frames.x),
                                           ScriptSubtractSaturated(py, b.frames.y));
        return cell > 0;
      }
      return Inside(px, py, b.frames.x, b.frames.y, b.frames.width, b.frames.height);
    }
    case kObjBox: {
      const objBox& b = o.box;
      return b.flag1 && b.flag2 && b.shape != nullptr && ModelGetDisplay(b.shape) == display &&
             Inside(px, py, b.x, b.y, b.width, b.height);
    }
    case kObjList: return ListHit(o.list, display, px, py);
    case kObjSlider: {
      const objSlider& s = o.slider;
      model* track = FirstModel(s.track, s.frameRange);
      return s.flag1 && s.flag2 && track != nullptr && ModelGetDisplay(track) == display &&
             Inside(px, py, s.knob.x, s.knob.y, s.knobWidth, s.knobHeight);
    }
    case kObjMat: {
      objMat& m = o.mat;
      if (!m.flag) return false;
      const int32_t column = ScriptSubtractSaturated(px, m.x);
      const int32_t row = ScriptSubtractSaturated(py, m.y);
      const int32_t entry = ScriptMatCell(*m.mat, column, row);
      if (entry < 0 || entry >= static_cast<int32_t>(m.mat->entries.size())) return false;
      const std::string name = TextUpper(m.mat->entries[static_cast<size_t>(entry)].name);
      if (name == "TRANSPARENT") return false;
      m.previousCell = m.cell;
      m.cell = row * m.mat->width + column;
      result.name = name;
      return true;
    }
    case kObjApp:
      return o.appFlag1 && o.appFlag2 && o.appInObject != nullptr &&
             o.appInObject(o.appData, o.name, px, py);
    case kObjCamera: return CameraHit(owner, o, display, px, py, result);
    default: return false;
  }
}

}  // namespace

int32_t ScriptMatCell(const matData& mat, int32_t column, int32_t row) {
  if (column < 0 || row < 0 || column >= mat.width || row >= mat.height) return -1;
  const size_t cell =
      static_cast<size_t>(row) * static_cast<size_t>(mat.width) + static_cast<size_t>(column);
  return cell < mat.cells.size() ? mat.cells[cell] : -1;
}

void ScriptPointerGet(int32_t scriptIndex, int32_t& window, int32_t& rawX, int32_t& rawY,
                      int32_t& x, int32_t& y) {
  window = rawX = rawY = x = y = 0;
  const script* owner = ScriptAt(scriptIndex);
  if (owner == nullptr) return;
  InputPointerGet(owner->controlSet, window, rawX, rawY);
  x = rawX;
  y = rawY;
  for (const objEntry& o : owner->objects) {
    if (o.kind != kObjScreen || o.display != window) continue;
    const objScreen& s = o.screen;
    const graphicsMode mode = GraphicsDisplayMode(window, GraphicsDisplayModeIndex(window));
    const int64_t w = std::max(mode.width, 1);
    const int64_t h = std::max(mode.height, 1);
    if (s.fit == kFitFill) {
      x = static_cast<int32_t>(s.width * static_cast<int64_t>(rawX) / w);
      y = static_cast<int32_t>(s.height * static_cast<int64_t>(rawY) / h);
    } else if (s.width > 0 && s.height > 0) {
      const double scale =
          std::min(static_cast<double>(h) / s.height, static_cast<double>(w) / s.width);
      const int64_t o1 = std::max<int64_t>(std::llround(s.width * scale), 1);
      const int64_t t = std::max<int64_t>(std::llround(s.height * scale), 1);
      x = static_cast<int32_t>(s.width * (rawX - (w - o1) / 2) / o1);
      y = static_cast<int32_t>(s.height * (rawY - (h - t) / 2) / t);
    }
    return;
  }
}

bool ScriptPointerPlace(int32_t scriptId, int32_t x, int32_t y) {
  const script* owner = ScriptAt(ScriptFind(scriptId));
  if (owner == nullptr) return false;
  int32_t window = 0;
  int32_t rawX = 0;
  int32_t rawY = 0;
  InputPointerGet(owner->controlSet, window, rawX, rawY);
  int64_t windowX = x;
  int64_t windowY = y;
  // The smallest window position that the Screen's mapping takes to (x, y) or beyond.
  const auto back = [](int64_t value, int64_t scriptSize, int64_t windowSize) {
    const int64_t scaled = value * windowSize;
    return scaled >= 0 ? (scaled + scriptSize - 1) / scriptSize : scaled / scriptSize;
  };
  for (const objEntry& o : owner->objects) {
    if (o.kind != kObjScreen || o.display != window) continue;
    const objScreen& s = o.screen;
    if (s.width <= 0 || s.height <= 0) break;
    const graphicsMode mode = GraphicsDisplayMode(window, GraphicsDisplayModeIndex(window));
    const int64_t w = std::max(mode.width, 1);
    const int64_t h = std::max(mode.height, 1);
    if (s.fit == kFitFill) {
      windowX = back(x, s.width, w);
      windowY = back(y, s.height, h);
    } else {
      const double scale =
          std::min(static_cast<double>(h) / s.height, static_cast<double>(w) / s.width);
      const int64_t o1 = std::max<int64_t>(std::llround(s.width * scale), 1);
      const int64_t t = std::max<int64_t>(std::llround(s.height * scale), 1);
      windowX = (w - o1) / 2 + back(x, s.width, o1);
      windowY = (h - t) / 2 + back(y, s.height, t);
    }
    break;
  }
  InputPointerSet(owner->controlSet, window,
                  static_cast<int32_t>(std::clamp<int64_t>(windowX, INT32_MIN, INT32_MAX)),
                  static_cast<int32_t>(std::clamp<int64_t>(windowY, INT32_MIN, INT32_MAX)));
  return true;
}

eventObject ScriptObjectHitAt(script& owner, int32_t display, int32_t x, int32_t y) {
  for (auto it = owner.drawOrder.rbegin(); it != owner.drawOrder.rend(); ++it) {
    objEntry& o = owner.objects[static_cast<size_t>(it->object)];
    if (o.hidden || o.cameraChild) continue;
    eventObject result;
    if (!Hit(owner, o, display, x, y, result)) continue;
    if (result.index < 0) result.index = it->object;
    if (result.name.empty()) result.name = o.name;
    return result;
  }
  return eventObject();
}
