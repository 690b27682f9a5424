// The attributes of every object kind, by number; set and get have numberings of their own.
// An attribute a kind lacks is a fault (false).
#include <algorithm>

#include "graphics/fwkFont.h"
#include "graphics/fwkMat.h"
#include "graphics/fwkModel.h"
#include "script/scriptArithmetic.h"
#include "script/scriptFrames.h"
#include "services/fwkText.h"

namespace {

struct setter {
  const parameter& value;
  int32_t Int() const { return ScriptValueToInt(value); }
  bool Bool() const { return ScriptValueToBool(value); }
  std::string Text() const { return ScriptValueToString(value); }
};

// How far a model moves from one script position to another.
float Difference(int32_t to, int32_t from) {
  return static_cast<float>(static_cast<int64_t>(to) - from);
}

// Wrapping measures every character in the font: dearer than copying it.
constexpr size_t kWrapCharactersPerUnit = 4;

std::vector<std::string> WrapLines(int32_t font, int32_t width, const std::string& text) {
  ScriptBudgetChargeUnits(text.size() / kWrapCharactersPerUnit);
  std::vector<std::string> lines =
      width > 0 ? FontWrapText(font, width, text) : std::vector<std::string>(1, text);
  lines.shrink_to_fit();
  for (std::string& line : lines) ScriptTextTrim(line);
  ScriptBudgetChargeUnits(lines.size());
  return lines;
}

// Whether the script's text can take the object holding cost instead of what it holds now.
bool LabelTextFits(const script& owner, const objEntry& o, size_t cost) {
  const size_t others = owner.stackText + owner.objectText - o.textCost;
  return cost <= kScriptTextLimit - std::min(others, kScriptTextLimit);
}

void TextCount(script& owner, objEntry& o, size_t cost) {
  owner.objectText = owner.objectText - o.textCost + cost;
  o.textCost = cost;
}

// The text and wrap width of a label or a button: the text is wrapped first and the change made
// only when the script's text can hold the text and its lines (false, a fault, otherwise).
bool CaptionSet(script& owner, objEntry& o, int32_t threadId, bool setsText,
                const parameter& value) {
  const bool button = o.kind == kObjButton;
  std::string& text = button ? o.button.text : o.label.text;
  std::vector<std::string>& lines = button ? o.button.lines : o.label.lines;
  int32_t& wrapWidth = button ? o.button.wrapWidth : o.label.wrapWidth;
  std::string newText = setsText ? ScriptValueToString(value) : text;
  const int32_t newWidth = setsText ? wrapWidth : ScriptValueToInt(value);
  ScriptTextTrim(newText);
  std::vector<std::string> newLines =
      WrapLines(button ? o.button.font : o.label.font, newWidth, newText);
  const size_t cost = ScriptTextCost(newText) + ScriptLinesCost(newLines);
  if (!LabelTextFits(owner, o, cost)) {
    ScriptLimitReached(owner, scriptLimit::text, threadId);
    return false;
  }
  ScriptTextReplace(text, newText);
  lines = std::move(newLines);
  wrapWidth = newWidth;
  TextCount(owner, o, cost);
  return true;
}

bool IsCaption(int32_t kind, int32_t attribute) {
  if (kind == kObjButton) return attribute == 5 || attribute == 7;
  return kind == kObjLabel && (attribute == 3 || attribute == 5);
}

// A Mat object's file: shared with every object naming it, within the script's mat limits.
bool MatFileSet(script& owner, objEntry& o, int32_t threadId, const parameter& value) {
  std::string name = ScriptValueToString(value);
  ScriptTextTrim(name);
  const size_t cost = ScriptTextCost(name);
  if (!LabelTextFits(owner, o, cost)) {
    ScriptLimitReached(owner, scriptLimit::text, threadId);
    return false;
  }
  std::shared_ptr<const matData> mat;
  if (!ScriptMatShared(owner, name, mat)) {
    ScriptLimitReached(owner, scriptLimit::mats, threadId);
    return false;
  }
  objMat& m = o.mat;
  ScriptTextReplace(m.name, name);
  m.mat = std::move(mat);
  m.width = m.mat->width;
  m.height = m.mat->height;
  TextCount(owner, o, cost);
  return true;
}

void ButtonFrame(objButton& b, int32_t n) {
  b.frame = FrameClamp(b.frames, n, "ScriptCodeObjectButtonAttributeSet", "frame");
  b.width = FrameWidth(b.frames, b.frame);
  b.height = FrameHeight(b.frames, b.frame);
  b.frames.width = b.width;
  b.frames.height = b.height;
}

bool ButtonSet(objButton& b, int32_t attribute, const setter& v) {
  switch (attribute) {
    case 0: FrameSetMoveTo(b.frames, v.Int(), b.frames.y); return true;
    case 1: FrameSetMoveTo(b.frames, b.frames.x, v.Int()); return true;
    case 2: ButtonFrame(b, v.Int()); return true;
    case 3: b.flag1 = v.Bool(); return true;
    case 4: b.flag2 = v.Bool(); return true;
    case 6: b.integer = v.Int(); return true;
    default: return false;
  }
}

bool ButtonGet(const objButton& b, int32_t attribute, parameter& out) {
  switch (attribute) {
    case 0: out = ScriptInteger(b.frames.x); return true;
    case 1: out = ScriptInteger(b.frames.y); return true;
    case 2: out = ScriptInteger(b.frame); return true;
    case 3: out = ScriptBoolean(b.flag1); return true;
    case 4: out = ScriptBoolean(b.flag2); return true;
    case 5: out = ScriptInteger(b.height); return true;
    case 6: out = ScriptInteger(b.frames.third); return true;
    case 7: out = ScriptInteger(b.frames.fourth); return true;
    case 8: out = ScriptString(b.text); return true;
    case 9: out = ScriptInteger(b.integer); return true;
    case 10: out = ScriptInteger(b.wrapWidth); return true;
    default: return false;
  }
}

void BoxResize(objBox& b) {
  modelVertex v = ModelGetVertex(b.shape, 1);
  ModelSetVertex(b.shape, 1, v.x, static_cast<float>(b.height), v.z);
  v = ModelGetVertex(b.shape, 2);
  ModelSetVertex(b.shape, 2, static_cast<float>(b.width), static_cast<float>(b.height), v.z);
  v = ModelGetVertex(b.shape, 3);
  ModelSetVertex(b.shape, 3, static_cast<float>(b.width), v.y, v.z);
  ModelCompile(b.shape);
}

bool BoxSet(objBox& b, int32_t attribute, const setter& v) {
  switch (attribute) {
    case 0:
      ModelMove(b.shape, Difference(v.Int(), b.x), 0.0f, 0.0f);
      b.x = v.Int();
      return true;
    case 1:
      ModelMove(b.shape, 0.0f, Difference(v.Int(), b.y), 0.0f);
      b.y = v.Int();
      return true;
    case 2:
      b.colour = v.Int() & 0xFFFFFF;
      BoxRecolour(b);
      return true;
    case 3:
      b.alpha = std::clamp(v.Int(), 0, 255);
      BoxRecolour(b);
      return true;
    case 4: b.flag1 = v.Bool(); return true;
    case 5: b.flag2 = v.Bool(); return true;
    case 6:
      b.width = v.Int();
      BoxResize(b);
      return true;
    case 7:
      b.height = v.Int();
      BoxResize(b);
      return true;
    default: return false;
  }
}

bool BoxGet(const objBox& b, int32_t attribute, parameter& out) {
  const int32_t values[] = {b.x, b.y, b.colour, b.alpha};
  if (attribute >= 0 && attribute <= 3) {
    out = ScriptInteger(values[attribute]);
    return true;
  }
  switch (attribute) {
    case 4: out = ScriptBoolean(b.flag1); return true;
    case 5: out = ScriptBoolean(b.flag2); return true;
    case 6: out = ScriptInteger(b.width); return true;
    case 7: out = ScriptInteger(b.height); return true;
    default: return false;
  }
}

bool ScreenSet(objScreen& s, int32_t attribute, const setter& v) {
  switch (attribute) {
    case 0: s.width = v.Int(); return true;
    case 1: s.height = v.Int(); return true;
    case 2: {
      const std::string mode = TextUpper(v.Text());
      if (mode == "FILL") s.fit = kFitFill;
      if (mode == "BESTFIT") s.fit = kFitBestFit;
      return true;
    }
    default: return false;
  }
}

bool ScreenGet(const objScreen& s, int32_t attribute, parameter& out) {
  switch (attribute) {
    case 0: out = ScriptInteger(s.width); return true;
    case 1: out = ScriptInteger(s.height); return true;
    case 2:
      out = ScriptString(s.fit == kFitFill      ? "Fill"
                         : s.fit == kFitBestFit ? "BestFit"
                                                : "undefined");
      return true;
    default: return false;
  }
}

bool ImageSet(objImage& i, int32_t attribute, const setter& v) {
  switch (attribute) {
    case 0: FrameSetMoveTo(i.frames, v.Int(), i.frames.y); return true;
    case 1: FrameSetMoveTo(i.frames, i.frames.x, v.Int()); return true;
    case 2: {
      ScriptBudgetChargeUnits(FrameSetModelCount(i.frames));
      const float turn = static_cast<float>(static_cast<int64_t>(v.Int()) - i.rotation);
      for (objFrame& f : i.frames.frames)
        for (model* m : f.models) ModelRotate(m, 0.0f, 0.0f, turn);
      i.rotation = v.Int();
      return true;
    }
    case 3:
      i.frame = FrameClamp(i.frames, v.Int(), "ScriptCodeObjectImageAttributeSet", "frame");
      i.width = FrameWidth(i.frames, i.frame);
      i.height = FrameHeight(i.frames, i.frame);
      return true;
    case 4: i.flag = v.Bool(); return true;
    case 5:
      i.alpha = std::clamp(v.Int(), 0, 255);
      FrameSetColour(i.frames, 255, 255, 255, static_cast<uint8_t>(i.alpha));
      return true;
    default: return false;
  }
}

bool ImageGet(const objImage& i, int32_t attribute, parameter& out) {
  switch (attribute) {
    case 0: out = ScriptInteger(i.frames.x); return true;
    case 1: out = ScriptInteger(i.frames.y); return true;
    case 2: out = ScriptInteger(i.rotation); return true;
    case 3: out = ScriptInteger(i.frame); return true;
    case 4: out = ScriptBoolean(i.flag); return true;
    case 5: out = ScriptInteger(i.alpha); return true;
    case 6: out = ScriptInteger(i.width); return true;
    case 7: out = ScriptInteger(i.height); return true;
    default: return false;
  }
}

bool LabelSet(objLabel& l, int32_t attribute, const setter& v) {
  switch (attribute) {
    case 0: l.x = v.Int(); return true;
    case 1: l.y = v.Int(); return true;
    case 2: l.c = v.Int(); return true;
    case 4: l.flag = v.Bool(); return true;
    case 6: l.lineSpacing = v.Int(); return true;
    case 7: l.d = v.Int(); return true;
    case 8: l.e = v.Int(); return true;
    case 9: l.f = v.Int(); return true;
    default: return false;
  }
}

int32_t LabelTextWidth(const objLabel& l) {
  if (l.lines.size() < 2) return FontTextWidth(l.font, l.text);
  int32_t widest = 0;
  for (const std::string& line : l.lines) widest = std::max(widest, FontTextWidth(l.font, line));
  return widest;
}

bool LabelGet(const objLabel& l, int32_t attribute, parameter& out) {
  const int32_t lines = static_cast<int32_t>(l.lines.size());
  switch (attribute) {
    case 0: out = ScriptInteger(l.x); return true;
    case 1: out = ScriptInteger(l.y); return true;
    case 2: out = ScriptInteger(l.c); return true;
    case 3: out = ScriptString(l.text); return true;
    case 4: out = ScriptBoolean(l.flag); return true;
    case 5: out = ScriptInteger(l.wrapWidth); return true;
    case 6: out = ScriptInteger(l.lineSpacing); return true;
    case 7: out = ScriptInteger(l.d); return true;
    case 8: out = ScriptInteger(l.e); return true;
    case 9: out = ScriptInteger(l.f); return true;
    case 10: out = ScriptInteger(lines); return true;
    case 11:
      out = ScriptInteger(lines < 2
                              ? FontHeight(l.font)
                              : ScriptSaturate(static_cast<int64_t>(FontHeight(l.font)) * lines +
                                               static_cast<int64_t>(lines - 1) * l.lineSpacing));
      return true;
    case 12: out = ScriptInteger(LabelTextWidth(l)); return true;
    default: return false;
  }
}

void ListFrameSizes(objList& l) {
  l.itemWidth = FrameWidth(l.items, l.frame);
  l.itemHeight = FrameHeight(l.items, l.frame);
}

bool ListSet(objList& l, int32_t attribute, const setter& v) {
  const char* operation = "ScriptCodeObjectListAttributeSet";
  switch (attribute) {
    case 0:
      FrameSetMoveTo(l.items, v.Int(), l.items.y);
      FrameSetMoveTo(l.highlights, v.Int(), l.highlights.y);
      return true;
    case 1:
      FrameSetMoveTo(l.items, l.items.x, v.Int());
      FrameSetMoveTo(l.highlights, l.highlights.x, v.Int());
      return true;
    case 2: l.g = v.Int(); return true;
    case 3:
      l.frame = FrameClamp(l.items, v.Int(), operation, "frame");
      ListFrameSizes(l);
      return true;
    case 4: l.visibleItems = v.Int(); return true;
    case 6: l.selected = v.Int(); return true;
    case 7: l.firstVisible = std::max(v.Int(), 0); return true;
    case 8: l.flag1 = v.Bool(); return true;
    case 9: l.flag2 = v.Bool(); return true;
    case 10: l.h = v.Int(); return true;
    case 11: {
      const std::string orientation = TextUpper(v.Text());
      if (orientation == "HORIZONTAL" || orientation == "VERTICAL") l.orientation = orientation;
      return true;
    }
    case 12: l.i = v.Int(); return true;
    case 13: l.j = v.Int(); return true;
    case 14: l.k2 = v.Int(); return true;
    case 17:
      if (v.Int() < 0 || v.Int() > 3) {
        ScriptLogRunError(std::string(operation) + " - Invalid text mode " +
                          std::to_string(v.Int()) + " ignored on list.");
      } else {
        l.textMode = v.Int();
      }
      return true;
    case 18:
      l.frameSelected = FrameClamp(l.highlights, v.Int(), operation, "frameSelected");
      return true;
    case 19:
      l.frameMouseOver = FrameClamp(l.highlights, v.Int(), operation, "frameMouseOver");
      return true;
    default: return false;
  }
}

bool ListGet(const objList& l, int32_t attribute, parameter& out, int32_t item) {
  switch (attribute) {
    case 5:
    case 20:
    case 21: return ScriptListItemGet(l, attribute, item, out);
    case 0: out = ScriptInteger(l.items.x); return true;
    case 1: out = ScriptInteger(l.items.y); return true;
    case 2: out = ScriptInteger(l.g); return true;
    case 3: out = ScriptInteger(l.frame); return true;
    case 4: out = ScriptInteger(l.visibleItems); return true;
    case 6: out = ScriptInteger(l.selected); return true;
    case 7: out = ScriptInteger(l.firstVisible); return true;
    case 8: out = ScriptBoolean(l.flag1); return true;
    case 9: out = ScriptBoolean(l.flag2); return true;
    case 10: out = ScriptInteger(l.frameSelected); return true;
    case 11: out = ScriptInteger(l.frameMouseOver); return true;
    case 12: out = ScriptInteger(l.itemHeight); return true;
    case 13: out = ScriptInteger(l.itemWidth); return true;
    case 14: out = ScriptInteger(l.h); return true;
    case 15: out = ScriptString(l.orientation); return true;
    case 16: out = ScriptString(l.selectedText); return true;
    case 17: out = ScriptInteger(l.i); return true;
    case 18: out = ScriptInteger(l.j); return true;
    case 19: out = ScriptInteger(l.k2); return true;
    case 22: out = ScriptInteger(l.textMode); return true;
    default: return false;
  }
}

bool PointerSet(objPointer& p, int32_t attribute, const setter& v) {
  switch (attribute) {
    case 0: p.flag = v.Bool(); return true;
    case 1:
      p.frame = FrameClamp(p.frames, v.Int(), "ScriptCodeObjectPointerAttributeSet", "frame");
      p.width = FrameWidth(p.frames, p.frame);
      p.height = FrameHeight(p.frames, p.frame);
      return true;
    default: return false;
  }
}

void SliderSizes(objSlider& s) {
  s.trackWidth = FrameWidth(s.track, s.frameRange);
  s.trackHeight = FrameHeight(s.track, s.frameRange);
  s.knobWidth = FrameWidth(s.knob, s.frameSlider);
  s.knobHeight = FrameHeight(s.knob, s.frameSlider);
}

bool SliderSet(objSlider& s, int32_t attribute, const setter& v) {
  const char* operation = "ScriptCodeObjectSliderAttributeSet";
  switch (attribute) {
    case 0:
      FrameSetMoveTo(s.knob, ScriptSaturate(static_cast<int64_t>(s.knob.x) + v.Int() - s.track.x),
                     s.knob.y);
      FrameSetMoveTo(s.track, v.Int(), s.track.y);
      return true;
    case 1:
      FrameSetMoveTo(s.knob, s.knob.x,
                     ScriptSaturate(static_cast<int64_t>(s.knob.y) + v.Int() - s.track.y));
      FrameSetMoveTo(s.track, s.track.x, v.Int());
      return true;
    case 2:
      s.frameRange = FrameClamp(s.track, v.Int(), operation, "frame range");
      SliderSizes(s);
      return true;
    case 3:
      s.frameSlider = FrameClamp(s.knob, v.Int(), operation, "frame slider");
      SliderSizes(s);
      return true;
    case 4:
      s.minimum = std::min(v.Int(), s.maximum);
      SliderPlace(s);
      return true;
    case 5:
      s.maximum = std::max(v.Int(), s.minimum);
      SliderPlace(s);
      return true;
    case 6:
      s.value = v.Int();
      SliderPlace(s);
      return true;
    case 7: s.flag1 = v.Bool(); return true;
    case 8: s.flag2 = v.Bool(); return true;
    default: return false;
  }
}

bool SliderGet(const objSlider& s, int32_t attribute, parameter& out) {
  switch (attribute) {
    case 0: out = ScriptInteger(s.track.x); return true;
    case 1: out = ScriptInteger(s.track.y); return true;
    case 2: out = ScriptInteger(s.frameRange); return true;
    case 3: out = ScriptInteger(s.frameSlider); return true;
    case 4: out = ScriptInteger(s.minimum); return true;
    case 5: out = ScriptInteger(s.maximum); return true;
    case 6: out = ScriptInteger(s.value); return true;
    case 7: out = ScriptBoolean(s.flag1); return true;
    case 8: out = ScriptBoolean(s.flag2); return true;
    case 9: out = ScriptInteger(s.trackHeight); return true;
    default: return false;
  }
}

bool MatSet(objMat& m, int32_t attribute, const setter& v) {
  switch (attribute) {
    case 0: m.x = v.Int(); return true;
    case 1: m.y = v.Int(); return true;
    case 2: m.flag = v.Bool(); return true;
    default: return false;
  }
}

bool AtexSet(objAtex& a, int32_t attribute, const setter& v) {
  switch (attribute) {
    case 0:
      ModelMove(a.surface, Difference(v.Int(), a.x), 0.0f, 0.0f);
      a.x = v.Int();
      return true;
    case 1:
      ModelMove(a.surface, 0.0f, Difference(v.Int(), a.y), 0.0f);
      a.y = v.Int();
      return true;
    case 2:
      a.alpha = std::clamp(v.Int(), 0, 255);
      ModelSetColour(a.surface, 255, 255, 255, static_cast<uint8_t>(a.alpha));
      return true;
    case 3: a.moving = v.Bool(); return true;
    case 4: a.velocity1 = v.Int(); return true;
    case 5: a.velocity2 = v.Int(); return true;
    default: return false;
  }
}

bool CameraSet(objCamera& c, int32_t attribute, const setter& v) {
  switch (attribute) {
    case 0: c.enabled = v.Bool(); return true;
    case 1: c.left = v.Int(); return true;
    case 2: c.top = v.Int(); return true;
    case 3: c.width = v.Int(); return true;
    case 4: c.height = v.Int(); return true;
    case 5: c.scrollX = v.Int(); return true;
    case 6: c.scrollY = v.Int(); return true;
    default: return false;
  }
}

}  // namespace

bool ScriptObjectKindSet(script& owner, int32_t scriptIndex, int32_t threadIndex, int32_t object,
                         int32_t attribute, const parameter& value, int32_t item) {
  objEntry& o = owner.objects[static_cast<size_t>(object)];
  const setter v{value};
  const scriptThread* thread = ScriptThreadAt(scriptIndex, threadIndex);
  const int32_t threadId = thread == nullptr ? 0 : thread->id;
  if (IsCaption(o.kind, attribute))
    return CaptionSet(owner, o, threadId, o.kind == kObjButton ? attribute == 5 : attribute == 3,
                      value);
  if (o.kind == kObjMat && attribute == 3) return MatFileSet(owner, o, threadId, value);
  if (o.kind == kObjList && (attribute == 5 || attribute == 15 || attribute == 16)) {
    const size_t others = owner.stackText + owner.objectText - o.textCost;
    if (!ScriptListItemSet(o.list, attribute, item, value,
                           kScriptTextLimit - std::min(others, kScriptTextLimit))) {
      if (item >= 0 && item < kScriptListItemLimit)
        ScriptLimitReached(owner, scriptLimit::text, threadId);
      return false;
    }
    TextCount(owner, o, ScriptListCost(o.list));
    return true;
  }
  switch (o.kind) {
    case kObjButton: return ButtonSet(o.button, attribute, v);
    case kObjBox: return BoxSet(o.box, attribute, v);
    case kObjScreen: return ScreenSet(o.screen, attribute, v);
    case kObjImage: return ImageSet(o.image, attribute, v);
    case kObjLabel: return LabelSet(o.label, attribute, v);
    case kObjList: return ListSet(o.list, attribute, v);
    case kObjPointer: return PointerSet(o.pointer, attribute, v);
    case kObjSlider: return SliderSet(o.slider, attribute, v);
    case kObjMat: return MatSet(o.mat, attribute, v);
    case kObjAtex: return AtexSet(o.atex, attribute, v);
    case kObjApp:
      if (attribute == 0) o.appFlag1 = v.Bool();
      if (attribute == 1) o.appFlag2 = v.Bool();
      return attribute == 0 || attribute == 1;
    case kObjCamera: return CameraSet(o.camera, attribute, v);
    default: return false;
  }
}

bool ScriptObjectKindGet(script& owner, int32_t, int32_t, int32_t object, int32_t attribute,
                         parameter& out, int32_t item) {
  const objEntry& o = owner.objects[static_cast<size_t>(object)];
  switch (o.kind) {
    case kObjButton: return ButtonGet(o.button, attribute, out);
    case kObjBox: return BoxGet(o.box, attribute, out);
    case kObjScreen: return ScreenGet(o.screen, attribute, out);
    case kObjImage: return ImageGet(o.image, attribute, out);
    case kObjLabel: return LabelGet(o.label, attribute, out);
    case kObjList: return ListGet(o.list, attribute, out, item);
    case kObjPointer: {
      const objPointer& p = o.pointer;
      if (attribute == 0) out = ScriptBoolean(p.flag);
      if (attribute == 1) out = ScriptInteger(p.frame);
      if (attribute == 2 || attribute == 3) {
        int32_t window = 0;
        int32_t rawX = 0;
        int32_t rawY = 0;
        int32_t x = 0;
        int32_t y = 0;
        ScriptPointerGet(ScriptFind(owner.id), window, rawX, rawY, x, y);
        out = ScriptInteger(attribute == 2 ? x : y);
      }
      return attribute >= 0 && attribute <= 3;
    }
    case kObjSlider: return SliderGet(o.slider, attribute, out);
    case kObjMat:
      switch (attribute) {
        case 0: out = ScriptInteger(o.mat.x); return true;
        case 1: out = ScriptInteger(o.mat.y); return true;
        case 2: out = ScriptBoolean(o.mat.flag); return true;
        case 3: out = ScriptString(o.mat.name); return true;
        default: return false;
      }
    case kObjAtex: {
      const objAtex& a = o.atex;
      switch (attribute) {
        case 0: out = ScriptInteger(a.x); return true;
        case 1: out = ScriptInteger(a.y); return true;
        case 2: out = ScriptInteger(a.alpha); return true;
        case 3: out = ScriptBoolean(a.moving); return true;
        case 4: out = ScriptInteger(a.velocity1); return true;
        case 5: out = ScriptInteger(a.velocity2); return true;
        default: return false;
      }
    }
    case kObjApp:
      if (attribute == 0) out = ScriptBoolean(o.appFlag1);
      if (attribute == 1) out = ScriptBoolean(o.appFlag2);
      return attribute == 0 || attribute == 1;
    case kObjCamera: {
      const objCamera& c = o.camera;
      if (attribute == 0) {
        out = ScriptBoolean(c.enabled);
        return true;
      }
      const int32_t values[] = {c.left, c.top, c.width, c.height, c.scrollX, c.scrollY};
      if (attribute < 1 || attribute > 6) return false;
      out = ScriptInteger(values[attribute - 1]);
      return true;
    }
    default: return false;
  }
}
