#include "script/scriptFrames.h"

#include <algorithm>
#include <cmath>

#include "graphics/fwkModel.h"
#include "script/scriptInternal.h"

size_t FrameSetModelCount(const frameSet& set) {
  size_t count = set.frames.size();
  for (const objFrame& f : set.frames) count += f.models.size();
  return count;
}

void FrameSetMoveTo(frameSet& set, int32_t x, int32_t y) {
  ScriptBudgetChargeUnits(FrameSetModelCount(set));
  const float dx = static_cast<float>(static_cast<int64_t>(x) - set.x);
  const float dy = static_cast<float>(static_cast<int64_t>(y) - set.y);
  for (objFrame& f : set.frames)
    for (model* m : f.models) ModelMove(m, dx, dy, 0.0f);
  set.x = x;
  set.y = y;
}

bool FrameValid(const frameSet& set, int32_t n) {
  return n >= 1 && n <= static_cast<int32_t>(set.frames.size());
}

int32_t FrameWidth(const frameSet& set, int32_t n) {
  if (!FrameValid(set, n)) return 0;
  const objFrame& f = set.frames[static_cast<size_t>(n - 1)];
  return f.models.empty() ? 0 : static_cast<int32_t>(std::lround(ModelWidth(f.models.front())));
}

int32_t FrameHeight(const frameSet& set, int32_t n) {
  if (!FrameValid(set, n)) return 0;
  const objFrame& f = set.frames[static_cast<size_t>(n - 1)];
  return f.models.empty() ? 0 : static_cast<int32_t>(std::lround(ModelHeight(f.models.front())));
}

int32_t FrameClamp(const frameSet& set, int32_t n, const std::string& operation,
                   const std::string& what) {
  if (FrameValid(set, n)) return n;
  ScriptLogRunError(operation + " - Script attempted to set invalid " + what +
                    " number.  Clamping to first frame.");
  return 1;
}

void FrameSetDraw(const frameSet& set, int32_t n) {
  if (!FrameValid(set, n)) return;
  for (model* m : set.frames[static_cast<size_t>(n - 1)].models) ModelDraw(m);
}

void FrameSetRelease(frameSet& set) {
  for (objFrame& f : set.frames)
    for (model*& m : f.models) ModelFree(m);
  set.frames.clear();
}

void FrameSetColour(frameSet& set, uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha) {
  ScriptBudgetChargeUnits(FrameSetModelCount(set));
  for (objFrame& f : set.frames)
    for (model* m : f.models) ModelSetColour(m, red, green, blue, alpha);
}

int32_t SliderSpan(const objSlider& slider) {
  const int32_t span = slider.vertical ? slider.trackHeight - slider.knobHeight
                                       : slider.trackWidth - slider.knobWidth;
  return std::max(span, 0);
}

void SliderPlace(objSlider& slider) {
  slider.value = std::clamp(slider.value, slider.minimum, slider.maximum);
  if (slider.maximum == slider.minimum) return;
  const int64_t offset = static_cast<int64_t>(SliderSpan(slider)) *
                         (static_cast<int64_t>(slider.value) - slider.minimum) /
                         (static_cast<int64_t>(slider.maximum) - slider.minimum);
  slider.knobOffset = static_cast<int32_t>(offset);
  if (slider.vertical) {
    FrameSetMoveTo(slider.knob, slider.track.x, slider.track.y + slider.knobOffset);
  } else {
    FrameSetMoveTo(slider.knob, slider.track.x + slider.knobOffset, slider.track.y);
  }
}

void BoxRecolour(objBox& box) {
  const uint32_t colour = static_cast<uint32_t>(box.colour);
  ModelSetColour(box.shape, static_cast<uint8_t>(colour >> 16), static_cast<uint8_t>(colour >> 8),
                 static_cast<uint8_t>(colour), static_cast<uint8_t>(std::clamp(box.alpha, 0, 255)));
}
