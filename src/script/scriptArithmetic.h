// Sums and differences of script-chosen positions, sizes and offsets: they saturate at the ends
// of the 32-bit range instead of overflowing (a position past the end stays past the end).
#pragma once

#include <algorithm>
#include <cstdint>

inline int32_t ScriptSaturate(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

inline int32_t ScriptAddSaturated(int32_t a, int32_t b) {
  return ScriptSaturate(static_cast<int64_t>(a) + b);
}

inline int32_t ScriptSubtractSaturated(int32_t a, int32_t b) {
  return ScriptSaturate(static_cast<int64_t>(a) - b);
}
