// Arbitrary text as one binding of a saved control set. What reads must be a real control and
// scale, and a keyboard or mouse binding written back the way the save writes it must read the
// same again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "input/fwkInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  ControlCode code = 0;
  uint8_t scale = 0;
  if (!InputBindingRead(text, code, scale)) return 0;
  if (code < 1) std::abort();
  if (code > kControlMouseLast) return 0;
  ControlCode again = 0;
  uint8_t againScale = 0;
  if (!InputBindingRead(InputControlSaveName(code) + " " + std::to_string(scale), again,
                        againScale) ||
      again != code || againScale != scale)
    std::abort();
  return 0;
}
