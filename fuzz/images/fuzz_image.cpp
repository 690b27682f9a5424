// An image reader on arbitrary bytes. The pixel limit is lowered so that a header asking for a
// huge picture costs little; every frame is walked so that a wrong size shows as a bad read.
#include <cstddef>
#include <cstdint>

#include "images/fwkImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ImageSetPixelLimit(int64_t{1} << 18);
  // The last byte picks the icon entries to decode, so entry selection is explored too.
  const int32_t first = size > 0 ? data[size - 1] % 4 : 0;
  const int32_t count = size > 0 ? data[size - 1] / 4 % 4 : 0;
  imageData* image = nullptr;
  ImageAdd(image);
  ImageLoadMemory(FUZZ_IMAGE_NAME, data, size, image, first, count);
  uint32_t sum = 0;
  for (const imageData* frame = image; frame != nullptr; frame = frame->next) {
    if (frame->pixels.size() !=
            static_cast<size_t>(frame->width) * static_cast<size_t>(frame->height) &&
        !(frame->width == 0 || frame->height == 0)) {
      __builtin_trap();
    }
    for (uint32_t pixel : frame->pixels) sum += pixel;
  }
  ImageFree(image);
  return static_cast<int>(sum & 0);
}
