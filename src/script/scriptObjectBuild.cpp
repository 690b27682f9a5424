// Building the live objects from their declarations once a script is loaded: models of the
// frame sets, the box's quad, fonts, mats, cameras' children, and the declared properties,
// which are set through the kinds' own attributes. Closing gives the models back.
#include <algorithm>
#include <unordered_map>

#include "graphics/fwkFont.h"
#include "graphics/fwkGraphics.h"
#include "graphics/fwkMat.h"
#include "graphics/fwkModel.h"
#include "script/scriptFrames.h"
#include "services/fwkLog.h"
#include "services/fwkText.h"

namespace {

// Property names by kind, in the kind's set-attribute numbering (empty: no such attribute).
const std::vector<std::string>& PropertyNames(int32_t kind) {
  static const std::vector<std::string> none;
  static const std::vector<std::string> button = {"X",     "Y",    "FRAME",   "FLAG1",
                                                  "FLAG2", "TEXT", "INTEGER", "WRAP"};
  static const std::vector<std::string> box = {"X",     "Y",     "COLOUR", "ALPHA",
                                               "FLAG1", "FLAG2", "WIDTH",  "HEIGHT"};
  static const std::vector<std::string> screen = {"WIDTH", "HEIGHT", "FIT"};
  static const std::vector<std::string> image = {"X", "Y", "ROTATION", "FRAME", "FLAG", "ALPHA"};
  static const std::vector<std::string> label = {"X",    "Y",       "COLOUR", "TEXT", "FLAG",
                                                 "WRAP", "SPACING", "ALIGN",  "E",    "F"};
  static const std::vector<std::string> list = {"X",
                                                "Y",
                                                "G",
                                                "FRAME",
                                                "VISIBLE",
                                                "",
                                                "SELECTED",
                                                "FIRST",
                                                "FLAG1",
                                                "FLAG2",
                                                "H",
                                                "ORIENTATION",
                                                "I",
                                                "J",
                                                "K2",
                                                "",
                                                "",
                                                "TEXTMODE",
                                                "FRAMESELECTED",
                                                "FRAMEMOUSEOVER"};
  static const std::vector<std::string> pointer = {"FLAG", "FRAME"};
  static const std::vector<std::string> slider = {
      "X", "Y", "FRAMERANGE", "FRAMESLIDER", "MINIMUM", "MAXIMUM", "VALUE", "FLAG1", "FLAG2"};
  static const std::vector<std::string> mat = {"X", "Y", "FLAG", "MAT"};
  static const std::vector<std::string> atex = {"X",      "Y",         "ALPHA",
                                                "MOVING", "VELOCITY1", "VELOCITY2"};
  static const std::vector<std::string> app = {"FLAG1", "FLAG2"};
  static const std::vector<std::string> camera = {"ENABLED", "LEFT",    "TOP",    "WIDTH",
                                                  "HEIGHT",  "SCROLLX", "SCROLLY"};
  switch (kind) {
    case kObjButton: return button;
    case kObjBox: return box;
    case kObjScreen: return screen;
    case kObjImage: return image;
    case kObjLabel: return label;
    case kObjList: return list;
    case kObjPointer: return pointer;
    case kObjSlider: return slider;
    case kObjMat: return mat;
    case kObjAtex: return atex;
    case kObjApp: return app;
    case kObjCamera: return camera;
    default: return none;
  }
}

frameSet BuildFrameSet(script& owner, int32_t display, const vmcObject& declared, size_t index) {
  frameSet set;
  if (index >= declared.frameSets.size()) return set;
  for (const vmcFrame& d : declared.frameSets[index].frames) {
    objFrame f;
    f.name = d.name;
    f.names = d.names;
    if (!d.mat.empty() && !ScriptMatShared(owner, d.mat, f.mat))
      ScriptLimitReached(owner, scriptLimit::mats, 0);
    for (const std::string& path : d.models) {
      model* m = ModelOpen(display, path);
      if (m != nullptr) f.models.push_back(m);
    }
    set.frames.push_back(std::move(f));
  }
  return set;
}

model* BoxModel(int32_t display) {
  model* m = ModelNew(display, modelKindDynamic);
  if (m == nullptr) return nullptr;
  // Vertex 0 is the top-left corner; width moves 2 and 3, height moves 1 and 2.
  for (int32_t i = 0; i < 4; ++i) ModelSetVertex(m, i, 0.0f, 0.0f, -5.0f);
  modelPolygon first;
  first.corners = {modelCorner{0, 0, 0}, modelCorner{2, 0, 0}, modelCorner{3, 0, 0}};
  modelPolygon second;
  second.corners = {modelCorner{0, 0, 0}, modelCorner{1, 0, 0}, modelCorner{2, 0, 0}};
  ModelSetPolygon(m, 0, first);
  ModelSetPolygon(m, 1, second);
  ModelSetColour(m, 0, 0, 0, 255);
  return m;
}

void BuildFramed(script& owner, objEntry& o, int32_t display, int32_t font) {
  const vmcObject& d = o.declaration;
  switch (o.kind) {
    case kObjButton:
      o.button.frames = BuildFrameSet(owner, display, d, 0);
      o.button.font = font;
      o.button.width = o.button.frames.width = FrameWidth(o.button.frames, 1);
      o.button.height = o.button.frames.height = FrameHeight(o.button.frames, 1);
      return;
    case kObjImage:
      o.image.frames = BuildFrameSet(owner, display, d, 0);
      o.image.width = FrameWidth(o.image.frames, 1);
      o.image.height = FrameHeight(o.image.frames, 1);
      return;
    case kObjList:
      o.list.items = BuildFrameSet(owner, display, d, 0);
      o.list.highlights = BuildFrameSet(owner, display, d, 1);
      o.list.font = font;
      o.list.itemWidth = FrameWidth(o.list.items, 1);
      o.list.itemHeight = FrameHeight(o.list.items, 1);
      return;
    case kObjPointer:
      o.pointer.frames = BuildFrameSet(owner, display, d, 0);
      o.pointer.width = FrameWidth(o.pointer.frames, 1);
      o.pointer.height = FrameHeight(o.pointer.frames, 1);
      return;
    case kObjSlider:
      o.slider.track = BuildFrameSet(owner, display, d, 0);
      o.slider.knob = BuildFrameSet(owner, display, d, 1);
      o.slider.trackWidth = FrameWidth(o.slider.track, 1);
      o.slider.trackHeight = FrameHeight(o.slider.track, 1);
      o.slider.knobWidth = FrameWidth(o.slider.knob, 1);
      o.slider.knobHeight = FrameHeight(o.slider.knob, 1);
      return;
    default: return;
  }
}

void BuildAtex(script& owner, objEntry& o, int32_t display) {
  frameSet surface = BuildFrameSet(owner, display, o.declaration, 0);
  if (!surface.frames.empty() && !surface.frames[0].models.empty()) {
    o.atex.surface = surface.frames[0].models[0];
    surface.frames[0].models.erase(surface.frames[0].models.begin());
  }
  FrameSetRelease(surface);
}

// Objects by name, in declaration order, so a camera finds its children without a walk over
// every object per child.
using objectsByName = std::unordered_map<std::string, std::vector<int32_t>>;

objectsByName ObjectsByName(const script& owner) {
  objectsByName names;
  for (size_t i = 0; i < owner.objects.size(); ++i)
    names[owner.objects[i].name].push_back(static_cast<int32_t>(i));
  return names;
}

void BuildCamera(script& owner, objEntry& o, const objectsByName& names) {
  o.camera.children = o.declaration.children;
  for (const std::string& child : o.camera.children) {
    const auto found = names.find(child);
    if (found == names.end()) continue;
    for (const int32_t i : found->second) {
      objEntry& entry = owner.objects[static_cast<size_t>(i)];
      o.camera.drawOrder.push_back(drawEntry{entry.layer, i});
      entry.cameraChild = true;
    }
  }
  ScriptSortDrawOrder(o.camera.drawOrder);
}

void Build(script& owner, objEntry& o, const objectsByName& names) {
  if (o.display == 0)
    o.display = static_cast<uint8_t>(std::clamp(GraphicsDisplayCurrent(), 0, 255));
  const int32_t display = o.display;
  const int32_t font = o.declaration.font.empty() ? 0 : FontOpen(display, o.declaration.font);
  if (o.kind == kObjBox) {
    o.box.shape = BoxModel(display);
  } else if (o.kind == kObjLabel) {
    o.label.font = font;
  } else if (o.kind == kObjAtex) {
    BuildAtex(owner, o, display);
  } else if (o.kind == kObjCamera) {
    BuildCamera(owner, o, names);
  } else {
    BuildFramed(owner, o, display, font);
  }
}

void ApplyProperties(script& owner, int32_t scriptIndex, int32_t object) {
  objEntry& o = owner.objects[static_cast<size_t>(object)];
  const std::vector<std::string>& names = PropertyNames(o.kind);
  for (const vmcProperty& property : o.declaration.properties) {
    const std::string key = TextUpper(property.key);
    if (o.kind == kObjSlider && key == "VERTICAL") {
      o.slider.vertical = ScriptValueToBool(property.value);
      SliderPlace(o.slider);
      continue;
    }
    if (o.kind == kObjList && key == "MAT") {
      // Lists have no attribute for their mat: only the declaration names it.
      o.list.matName = ScriptValueToString(property.value);
      ScriptTextTrim(o.list.matName);
      if (!ScriptMatShared(owner, o.list.matName, o.list.mat))
        ScriptLimitReached(owner, scriptLimit::mats, 0);
      owner.objectText -= o.textCost;
      o.textCost = ScriptListCost(o.list);
      owner.objectText += o.textCost;
      continue;
    }
    const auto found = std::find(names.begin(), names.end(), key);
    if (key.empty() || found == names.end()) {
      LogError("ScriptOpen - Unknown property \"" + property.key + "\" of object \"" + o.name +
               "\".");
      continue;
    }
    ScriptObjectKindSet(owner, scriptIndex, 0, object, static_cast<int32_t>(found - names.begin()),
                        property.value);
  }
}

}  // namespace

void ScriptObjectsBuild(int32_t scriptIndex) {
  script* owner = ScriptAt(scriptIndex);
  if (owner == nullptr) return;
  const bool cameras = std::any_of(owner->objects.begin(), owner->objects.end(),
                                   [](const objEntry& o) { return o.kind == kObjCamera; });
  const objectsByName names = cameras ? ObjectsByName(*owner) : objectsByName();
  for (objEntry& o : owner->objects) Build(*owner, o, names);
  for (size_t i = 0; i < owner->objects.size(); ++i)
    ApplyProperties(*owner, scriptIndex, static_cast<int32_t>(i));
}

void ScriptObjectsRelease(script& owner) {
  for (objEntry& o : owner.objects) {
    ModelFree(o.box.shape);
    ModelFree(o.atex.surface);
    FrameSetRelease(o.button.frames);
    FrameSetRelease(o.image.frames);
    FrameSetRelease(o.list.items);
    FrameSetRelease(o.list.highlights);
    FrameSetRelease(o.pointer.frames);
    FrameSetRelease(o.slider.track);
    FrameSetRelease(o.slider.knob);
  }
}

bool ScriptAppObjectSetRoutines(
    int32_t scriptId, const std::string& objectName, void (*animate)(void* data),
    bool (*inObject)(void* data, const std::string& name, int32_t x, int32_t y), void* data) {
  script* owner = ScriptAt(ScriptFind(scriptId));
  if (owner == nullptr) return false;
  for (objEntry& o : owner->objects) {
    if (o.kind != kObjApp || TextUpper(o.name) != TextUpper(objectName)) continue;
    o.appAnimate = animate;
    o.appInObject = inObject;
    o.appData = data;
    return true;
  }
  return false;
}
