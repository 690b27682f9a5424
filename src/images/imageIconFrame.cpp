#include "images/imageIconFrame.h"

#include "images/imageDib.h"

bool IconDecodeImage(ImageBytes& bytes, imageData* frame, ImageBudget& budget,
                     uint32_t maskTopByte) {
  uint8_t info[40];
  if (!bytes.Read(info, sizeof info)) return false;
  const int64_t width = static_cast<int32_t>(ImageLe32(info + 4));
  // The stored height covers the colour image and the mask below it.
  const int64_t height = static_cast<int32_t>(ImageLe32(info + 8)) / 2;
  const int bits = ImageLe16(info + 14);
  const uint32_t coloursUsed = ImageLe32(info + 32);
  if (bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
    return false;
  if (width <= 0 || height <= 0) return false;
  if (bits <= 8 &&
      !DibReadPalette(bytes, frame, coloursUsed > 0 ? coloursUsed : uint64_t{1} << bits))
    return false;
  const uint64_t colourBytes =
      static_cast<uint64_t>(DibStride(bits, width)) * static_cast<uint64_t>(height);
  const uint64_t maskBytes =
      static_cast<uint64_t>(DibStride(1, width)) * static_cast<uint64_t>(height);
  if (colourBytes > bytes.Remaining() || maskBytes > bytes.Remaining() - colourBytes) return false;
  if (!budget.Allocate(frame, width, height)) return false;
  frame->bitsPerPixel = static_cast<uint8_t>(bits);
  if (!DibReadPixels(bytes, frame, bits, DibChannels555(), false, false)) return false;
  if (!DibReadMask(bytes, frame, maskTopByte)) return false;
  frame->loaded = 1;
  return true;
}
