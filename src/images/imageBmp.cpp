// Windows bitmaps: uncompressed 1, 2, 4, 8, 16, 24 and 32 bits, and 16-bit channel masks.
#include "images/imageDib.h"
#include "images/imageInternal.h"

namespace {

constexpr uint16_t kBitmapType = 19778;  // "BM"
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kMaskedInfoHeaderSize = 52;

bool DecodeBmp(ImageBytes& bytes, imageData* frame, ImageBudget& budget) {
  uint8_t file[14];
  uint8_t info[kInfoHeaderSize];
  if (!bytes.Read(file, sizeof file) || !bytes.Read(info, sizeof info)) return false;
  if (ImageLe16(file) != kBitmapType) return false;
  const uint32_t pixelOffset = ImageLe32(file + 10);
  const uint32_t headerSize = ImageLe32(info);
  const int64_t width = static_cast<int32_t>(ImageLe32(info + 4));
  const int64_t storedHeight = static_cast<int32_t>(ImageLe32(info + 8));
  const int bits = ImageLe16(info + 14);
  const uint32_t compression = ImageLe32(info + 16);
  const uint32_t coloursUsed = ImageLe32(info + 32);
  // Later header versions are longer; what follows them sits after their full size.
  if (headerSize < kInfoHeaderSize || !bytes.Seek(uint64_t{14} + headerSize)) return false;

  DibChannels channels = DibChannels555();
  if (compression == 3) {
    uint32_t red = 0, green = 0, blue = 0;
    if (headerSize >= kMaskedInfoHeaderSize) {
      if (!bytes.Seek(14 + kInfoHeaderSize) || !bytes.U32(red) || !bytes.U32(green) ||
          !bytes.U32(blue) || !bytes.Seek(uint64_t{14} + headerSize)) {
        return false;
      }
    } else if (!bytes.U32(red) || !bytes.U32(green) || !bytes.U32(blue)) {
      return false;
    }
    channels = DibChannelsFromMasks(red, green, blue);
  } else if (compression != 0) {
    return false;
  }
  if (bits >= 1 && bits <= 8) {
    const uint64_t entries = coloursUsed > 0 ? coloursUsed : uint64_t{1} << bits;
    if (!DibReadPalette(bytes, frame, entries)) return false;
  }
  if (pixelOffset > bytes.Position() && !bytes.Seek(pixelOffset)) return false;

  // A negative height is the top-down form of the same picture.
  const bool topDown = storedHeight < 0;
  const int64_t height = topDown ? -storedHeight : storedHeight;
  if (bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
    return false;
  if (width <= 0 || height <= 0) return false;
  const uint64_t needed =
      static_cast<uint64_t>(DibStride(bits, width)) * static_cast<uint64_t>(height);
  if (needed > bytes.Remaining()) return false;
  if (!budget.Allocate(frame, width, height)) return false;
  frame->bitsPerPixel = static_cast<uint8_t>(bits);
  if (!DibReadPixels(bytes, frame, bits, channels, true, topDown)) return false;
  frame->loaded = 1;
  return true;
}

}  // namespace

void ImageDecodeBmp(ImageBytes& bytes, imageData*& image, ImageBudget& budget) {
  imageData* frame = ImageFirstFrame(image);
  if (!DecodeBmp(bytes, frame, budget)) ImageSetError(frame);
}
