// Drawing a list: its visible items side by side along its orientation, each the item frame
// with the selected item's highlight or, under the pointer, the mouse-over highlight on top,
// and the item's text placed by the text mode (0 none, 1 left, 2 centred, 3 right).
#include <algorithm>

#include "graphics/GL.h"
#include "graphics/fwkFont.h"
#include "script/scriptArithmetic.h"
#include "script/scriptFrames.h"

namespace {

// Item texts in the colour of old parchment unless the list's integer g gives one.
constexpr uint32_t kItemTextColour = 0xFFE8D8B0u;
// Left and right texts keep this far from the item's edge.
constexpr int32_t kTextInset = 6;

void DrawItemText(const objList& l, int32_t x, int32_t y, const std::string& text) {
  if (l.textMode <= 0 || l.font <= 0 || text.empty()) return;
  const int32_t top =
      ScriptSaturate(y + (static_cast<int64_t>(l.itemHeight) - FontHeight(l.font)) / 2);
  const int32_t width = std::max(l.itemWidth - 2 * kTextInset, 1);
  FontDrawLines(l.font, ScriptAddSaturated(x, kTextInset), top, {text}, 1, width, 0,
                l.textMode - 1);
}

}  // namespace

void ScriptListDraw(const script& owner, const objEntry& o) {
  const objList& l = o.list;
  if (!l.flag1) return;
  const bool horizontal = l.orientation == "HORIZONTAL";
  const int32_t count = ScriptListItemCount(l);
  const int32_t shown = std::clamp(count - l.firstVisible, 0, std::max(l.visibleItems, 0));
  const eventObject& hover = owner.hoverObject;
  const bool hovered = hover.index >= 0 &&
                       static_cast<size_t>(hover.index) < owner.objects.size() &&
                       &owner.objects[static_cast<size_t>(hover.index)] == &o;
  FontSetColour(l.font, (static_cast<uint32_t>(l.g) >> 24) != 0 ? static_cast<uint32_t>(l.g)
                                                                : kItemTextColour);
  for (int32_t slot = 0; slot < shown; ++slot) {
    const int32_t item = l.firstVisible + slot;
    const int32_t dx = horizontal ? slot * l.itemWidth : 0;
    const int32_t dy = horizontal ? 0 : slot * l.itemHeight;
    gl.PushMatrix();
    gl.Translatef(static_cast<float>(dx), static_cast<float>(dy), 0.0f);
    FrameSetDraw(l.items, l.frame);
    if (item == l.selected) FrameSetDraw(l.highlights, l.frameSelected);
    if (hovered && item == l.itemUnderPointer) FrameSetDraw(l.highlights, l.frameMouseOver);
    gl.PopMatrix();
    const size_t at = static_cast<size_t>(item);
    if (at < l.texts.size())
      DrawItemText(l, ScriptAddSaturated(l.items.x, dx), ScriptAddSaturated(l.items.y, dy),
                   l.texts[at].string);
  }
}
