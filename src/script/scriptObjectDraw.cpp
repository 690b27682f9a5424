// Drawing a script's objects in their draw order, lowest layer first, over whatever the host
// drew before. Objects whose shown flag is off, hidden objects and cameras' children (drawn by
// their camera, shifted into its rectangle; cameras do not nest) are left out of the walk.
#include "graphics/GL.h"
#include "graphics/fwkFont.h"
#include "graphics/fwkModel.h"
#include "script/scriptArithmetic.h"
#include "script/scriptFrames.h"

namespace {

// Button captions in the colour of old parchment unless the button's integer gives one.
constexpr uint32_t kCaptionColour = 0xFFE8D8B0u;

void DrawLines(int32_t font, int32_t x, int32_t y, int32_t width,
               const std::vector<std::string>& lines, int32_t alignment) {
  if (font <= 0 || lines.empty()) return;
  FontDrawLines(font, x, y, lines, 1, width, 0, alignment);
}

void Draw(script& owner, objEntry& o);

void DrawCamera(script& owner, const objCamera& c) {
  if (!c.enabled) return;
  gl.PushMatrix();
  gl.Translatef(static_cast<float>(static_cast<int64_t>(c.left) - c.scrollX),
                static_cast<float>(static_cast<int64_t>(c.top) - c.scrollY), 0.0f);
  for (const drawEntry& entry : c.drawOrder) {
    objEntry& child = owner.objects[static_cast<size_t>(entry.object)];
    if (!child.hidden && child.kind != kObjCamera) Draw(owner, child);
  }
  gl.PopMatrix();
}

void Draw(script& owner, objEntry& o) {
  switch (o.kind) {
    case kObjButton: {
      const objButton& b = o.button;
      if (!b.flag1) return;
      FrameSetDraw(b.frames, b.frame);
      if (b.font <= 0 || b.lines.empty()) return;
      FontSetColour(b.font, (static_cast<uint32_t>(b.integer) >> 24) != 0
                                ? static_cast<uint32_t>(b.integer)
                                : kCaptionColour);
      const int64_t textHeight =
          static_cast<int64_t>(FontHeight(b.font)) * static_cast<int64_t>(b.lines.size());
      DrawLines(b.font, b.frames.x, ScriptSaturate(b.frames.y + (b.height - textHeight) / 2),
                b.width, b.lines, 1);
      return;
    }
    case kObjBox:
      if (o.box.flag1) ModelDraw(o.box.shape);
      return;
    case kObjImage:
      if (o.image.flag) FrameSetDraw(o.image.frames, o.image.frame);
      return;
    case kObjLabel: {
      const objLabel& l = o.label;
      if (!l.flag || l.font <= 0) return;
      FontSetColour(l.font, static_cast<uint32_t>(l.c));
      DrawLines(l.font, l.x, l.y, l.wrapWidth, l.lines, l.d);
      return;
    }
    case kObjList: ScriptListDraw(owner, o); return;
    case kObjPointer:
      if (o.pointer.flag) FrameSetDraw(o.pointer.frames, o.pointer.frame);
      return;
    case kObjSlider:
      if (!o.slider.flag1) return;
      FrameSetDraw(o.slider.track, o.slider.frameRange);
      FrameSetDraw(o.slider.knob, o.slider.frameSlider);
      return;
    case kObjAtex: ModelDraw(o.atex.surface); return;
    case kObjCamera: DrawCamera(owner, o.camera); return;
    default: return;
  }
}

}  // namespace

void ScriptDraw(int32_t scriptId) {
  script* owner = ScriptAt(ScriptFind(scriptId));
  if (owner == nullptr) return;
  for (const drawEntry& entry : owner->drawOrder) {
    objEntry& o = owner->objects[static_cast<size_t>(entry.object)];
    if (!o.hidden && !o.cameraChild) Draw(*owner, o);
  }
}
