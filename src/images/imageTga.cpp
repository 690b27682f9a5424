// Truevision TGA: uncompressed (type 2) and run-length (type 10) true-colour pictures, stored
// top row first whatever the descriptor says.
#include "images/imageInternal.h"

namespace {

constexpr int kTgaHeaderSize = 18;

// Pixel bytes into the low bytes of a value: blue, green, red, alpha for 24 and 32 bits.
inline uint32_t PixelValue(const uint8_t* p, int bytesPerPixel) {
  switch (bytesPerPixel) {
    case 4: return ImageLe32(p);
    case 3: return static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[0];
    case 2: return ImageLe16(p);
    default: return p[0];
  }
}

bool DecodeRaw(ImageBytes& bytes, imageData* frame, int bytesPerPixel) {
  const size_t count = frame->pixels.size();
  const uint8_t* p = bytes.Here();
  uint32_t* out = frame->pixels.data();
  if (bytesPerPixel == 3) {
    for (size_t i = 0; i < count; ++i, p += 3) {
      out[i] = static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[0];
    }
  } else if (bytesPerPixel == 4) {
    for (size_t i = 0; i < count; ++i, p += 4) out[i] = ImageLe32(p);
  } else {
    for (size_t i = 0; i < count; ++i, p += bytesPerPixel) out[i] = PixelValue(p, bytesPerPixel);
  }
  return true;
}

// Packets until every pixel is produced; a stream that ends first is a damaged file.
bool DecodeRunLength(ImageBytes& bytes, imageData* frame, int bytesPerPixel) {
  const uint8_t* p = bytes.Here();
  const uint8_t* end = p + bytes.Remaining();
  uint32_t* out = frame->pixels.data();
  const size_t count = frame->pixels.size();
  size_t done = 0;
  while (done < count) {
    if (p >= end) return false;
    const uint8_t h = *p++;
    const size_t n = (h & 127u) + 1;
    const size_t kept = n < count - done ? n : count - done;
    if (h >= 128) {
      if (end - p < bytesPerPixel) return false;
      const uint32_t value = PixelValue(p, bytesPerPixel);
      p += bytesPerPixel;
      for (size_t i = 0; i < kept; ++i) out[done + i] = value;
    } else {
      if (static_cast<size_t>(end - p) < n * bytesPerPixel) return false;
      for (size_t i = 0; i < kept; ++i)
        out[done + i] = PixelValue(p + i * bytesPerPixel, bytesPerPixel);
      p += n * bytesPerPixel;
    }
    done += kept;
  }
  return true;
}

bool DecodeTga(ImageBytes& bytes, imageData* frame, ImageBudget& budget) {
  uint8_t header[kTgaHeaderSize];
  if (!bytes.Read(header, sizeof header)) return false;
  const uint8_t type = header[2];
  if (type != 2 && type != 10) return false;
  const int64_t width = ImageLe16(header + 12);
  const int64_t height = ImageLe16(header + 14);
  const int bits = header[16];
  // Pixels take whole bytes; a 15-bit pixel is stored in two.
  const int bytesPerPixel = (bits + 7) / 8;
  if (bits == 0 || bytesPerPixel > 4) return false;
  const uint64_t pixelCount = static_cast<uint64_t>(width) * static_cast<uint64_t>(height);
  const uint64_t available = bytes.Remaining();
  // Refuse before allocating what the data could never fill: a raw pixel takes its bytes,
  // a packet of 1 + bytesPerPixel bytes gives at most 128 pixels.
  if (type == 2 && pixelCount > available / bytesPerPixel) return false;
  if (type == 10 && pixelCount > available / (1 + bytesPerPixel) * 128 + 128) return false;
  if (!budget.Allocate(frame, width, height)) return false;
  frame->bitsPerPixel = static_cast<uint8_t>(bits);
  const bool decoded = type == 2 ? DecodeRaw(bytes, frame, bytesPerPixel)
                                 : DecodeRunLength(bytes, frame, bytesPerPixel);
  if (!decoded) return false;
  frame->loaded = 1;
  return true;
}

}  // namespace

void ImageDecodeTga(ImageBytes& bytes, imageData*& image, ImageBudget& budget) {
  imageData* frame = ImageFirstFrame(image);
  if (!DecodeTga(bytes, frame, budget)) ImageSetError(frame);
}
