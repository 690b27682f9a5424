// The pointer a control set steers over the display windows, and the list of those windows.
#include <algorithm>

#include "input/inputTables.h"

namespace {

int32_t WindowIndex(int32_t display) {
  const std::vector<pointerWindow>& windows = InputState().pointerWindows;
  for (size_t i = 0; i < windows.size(); ++i) {
    if (windows[i].display == display) return static_cast<int32_t>(i);
  }
  return -1;
}

int32_t WidthAt(int32_t index) {
  int32_t width = 0;
  int32_t height = 0;
  InputPointerWindowSize(InputState().pointerWindows[index].display, width, height);
  return width;
}

int32_t HeightAt(int32_t index) {
  int32_t width = 0;
  int32_t height = 0;
  InputPointerWindowSize(InputState().pointerWindows[index].display, width, height);
  return height;
}

int32_t ClampToSpan(int64_t value, int32_t span) {
  if (value < 0) return 0;
  if (value >= span) return span > 0 ? span - 1 : 0;
  return static_cast<int32_t>(value);
}

// Windows lie side by side in list order: the pointer leaving one edge enters the
// neighbour, and stops at the outer edges of the first and last window. A step longer than a
// whole window crosses as many windows as it needs, so x always ends inside one.
void ClampAcrossWindows(pointerInfo& pointer, int64_t x, int64_t y) {
  int32_t index = WindowIndex(pointer.window);
  if (index < 0) {
    pointer.x = InputSaturate(x);
    pointer.y = InputSaturate(y);
    return;
  }
  const int32_t last = static_cast<int32_t>(InputState().pointerWindows.size()) - 1;
  while (x < 0 && index >= 1) {
    --index;
    x += WidthAt(index);
  }
  while (x >= WidthAt(index) && index < last) {
    x -= WidthAt(index);
    ++index;
  }
  pointer.window = InputState().pointerWindows[index].display;
  pointer.x = ClampToSpan(x, WidthAt(index));
  pointer.y = ClampToSpan(y, HeightAt(index));
}

int32_t PointerActionOf(const pointerInfo& pointer, ControlCode code) {
  for (size_t a = 0; a < pointer.actions.size(); ++a) {
    for (const inputBinding& binding : pointer.actions[a].bindings) {
      if (binding.code == code) return static_cast<int32_t>(a) + 1;
    }
  }
  return 0;
}

}  // namespace

void InputPointerWindowAdd(int32_t display, platformWindow window) {
  inputModuleState& state = InputState();
  const int32_t index = WindowIndex(display);
  if (index >= 0) {
    state.pointerWindows[index].handle = window;
  } else {
    state.pointerWindows.push_back({display, window});
  }
  for (controlSet& set : state.sets) {
    if (set.pointer.window == 0) set.pointer.window = display;
  }
}

void InputPointerWindowRemove(int32_t display) {
  const int32_t index = WindowIndex(display);
  if (index < 0) return;
  std::vector<pointerWindow>& windows = InputState().pointerWindows;
  windows.erase(windows.begin() + index);
}

void InputPointerWindowSetHandle(int32_t display, platformWindow window) {
  const int32_t index = WindowIndex(display);
  if (index >= 0) InputState().pointerWindows[index].handle = window;
}

void InputPointerWindowSize(int32_t display, int32_t& width, int32_t& height) {
  width = 0;
  height = 0;
  const int32_t index = WindowIndex(display);
  if (index < 0) return;
  const platformWindow handle = InputState().pointerWindows[index].handle;
  if (handle == 0 || !PlatformWindowExists(handle)) return;
  const platformRect client = PlatformWindowClientRect(handle);
  width = client.width;
  height = client.height;
}

void InputPointerPlaceAtStart(controlSet& set) {
  const std::vector<pointerWindow>& windows = InputState().pointerWindows;
  if (windows.empty()) {
    set.pointer.window = 0;
    set.pointer.x = 0;
    set.pointer.y = 0;
    return;
  }
  int32_t width = 0;
  int32_t height = 0;
  InputPointerWindowSize(windows.front().display, width, height);
  set.pointer.window = windows.front().display;
  set.pointer.x = width / 2;
  set.pointer.y = height / 2;
}

void InputPointerActionBind(int32_t id, int32_t pointerAction, ControlCode code, uint8_t scale) {
  if (pointerAction < 1 || pointerAction > 4 || code <= 0) return;
  controlSet* set = InputFindSet(id);
  if (set == nullptr) return;
  pointerInfo& pointer = set->pointer;
  if (code == 119 || code == 120 || code == 121 || code == 126) {
    pointer.mapMouse = true;
    return;
  }
  const int32_t current = PointerActionOf(pointer, code);
  if (current == pointerAction) return;
  if (current > 0) {
    std::vector<inputBinding>& from = pointer.actions[current - 1].bindings;
    for (auto it = from.begin(); it != from.end(); ++it) {
      if (it->code == code) {
        from.erase(it);
        break;
      }
    }
  }
  pointer.actions[pointerAction - 1].bindings.push_back({code, scale});
}

void InputPointerGet(int32_t id, int32_t& window, int32_t& x, int32_t& y) {
  const controlSet* set = InputFindSet(id);
  if (set == nullptr) {
    window = 0;
    x = 0;
    y = 0;
    return;
  }
  window = set->pointer.window;
  x = set->pointer.x;
  y = set->pointer.y;
}

void InputPointerSet(int32_t id, int32_t window, int32_t x, int32_t y) {
  controlSet* set = InputFindSet(id);
  if (set == nullptr) return;
  int32_t width = 0;
  int32_t height = 0;
  InputPointerWindowSize(window, width, height);
  if (width > 0 && height > 0) {
    x = std::clamp(x, 0, width - 1);
    y = std::clamp(y, 0, height - 1);
  }
  set->pointer.window = window;
  set->pointer.x = x;
  set->pointer.y = y;
}

void InputPointerStep(controlSet& set, ControlCode code, int32_t value) {
  pointerInfo& pointer = set.pointer;
  const int32_t pointerAction = PointerActionOf(pointer, code);
  if (pointerAction == 0) return;
  uint8_t scale = 0;
  for (const inputBinding& binding : pointer.actions[pointerAction - 1].bindings) {
    if (binding.code == code) scale = binding.scale;
  }
  const uint32_t now = PlatformTickCount();
  // 32-bit tick arithmetic: the difference is right across a wrap of the counter.
  const int32_t elapsed = static_cast<int32_t>(now - pointer.lastStepTick);
  pointer.lastStepTick = now;
  if (elapsed <= 0) return;
  const int64_t distance = ((static_cast<int64_t>(value) * scale * elapsed) * 8 / 100) / 1000;
  int64_t x = pointer.x;
  int64_t y = pointer.y;
  switch (pointerAction) {
    case kPointerDown: y += distance; break;
    case kPointerLeft: x -= distance; break;
    case kPointerRight: x += distance; break;
    case kPointerUp: y -= distance; break;
  }
  ClampAcrossWindows(pointer, x, y);
}
