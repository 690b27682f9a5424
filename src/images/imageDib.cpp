#include "images/imageDib.h"

#include <bit>

DibChannels DibChannels555() { return {{10, 5, 0}, {31, 31, 31}, {31, 31, 31}}; }

DibChannels DibChannelsFromMasks(uint32_t red, uint32_t green, uint32_t blue) {
  DibChannels channels{};
  const uint32_t masks[3] = {red, green, blue};
  for (int c = 0; c < 3; ++c) {
    if (masks[c] == 0) continue;
    channels.shift[c] = static_cast<uint32_t>(std::countr_zero(masks[c]));
    channels.mask[c] = masks[c] >> channels.shift[c];
    const int ones = std::countr_one(channels.mask[c]);
    channels.maximum[c] = ones >= 32 ? 0xFFFFFFFFu : (1u << ones) - 1;
  }
  return channels;
}

int64_t DibStride(int bits, int64_t width) { return (bits * width + 31) / 32 * 4; }

bool DibReadPalette(ImageBytes& bytes, imageData* frame, uint64_t entries) {
  const uint64_t kept = entries < 256 ? entries : 256;
  if (kept * 4 > bytes.Remaining()) return false;
  const uint8_t* p = bytes.Here();
  for (uint64_t i = 0; i < kept; ++i, p += 4) {
    frame->palette[i] = static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[0];
  }
  return bytes.Skip(entries * 4);
}

namespace {

uint32_t Channel16(uint32_t value, const DibChannels& channels, int c) {
  if (channels.maximum[c] == 0) return 0;
  const uint64_t v = (value >> channels.shift[c]) & channels.mask[c];
  return static_cast<uint32_t>(v * 255 / channels.maximum[c]);
}

void ConvertRow(const uint8_t* p, uint32_t* out, int32_t width, int bits,
                const DibChannels& channels, bool keepFourthByte, const uint32_t* palette) {
  switch (bits) {
    case 24:
      for (int32_t x = 0; x < width; ++x, p += 3) {
        out[x] = static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[0];
      }
      break;
    case 32:
      for (int32_t x = 0; x < width; ++x, p += 4) {
        const uint32_t top = keepFourthByte ? static_cast<uint32_t>(p[3]) << 24 : 0;
        out[x] = top | static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[0];
      }
      break;
    case 16:
      for (int32_t x = 0; x < width; ++x, p += 2) {
        const uint32_t v = ImageLe16(p);
        out[x] = Channel16(v, channels, 0) << 16 | Channel16(v, channels, 1) << 8 |
                 Channel16(v, channels, 2);
      }
      break;
    default: {
      const int perByte = 8 / bits;
      const uint32_t indexMask = (1u << bits) - 1;
      for (int32_t x = 0; x < width; ++x) {
        const int slot = x % perByte;
        const uint32_t index = (p[x / perByte] >> (8 - bits * (slot + 1))) & indexMask;
        out[x] = palette[index];
      }
      break;
    }
  }
}

}  // namespace

bool DibReadPixels(ImageBytes& bytes, imageData* frame, int bits, const DibChannels& channels,
                   bool keepFourthByte, bool topDown) {
  if (bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
    return false;
  const int32_t width = frame->width;
  const int32_t height = frame->height;
  const int64_t stride = DibStride(bits, width);
  if (height <= 0 || width <= 0) return false;
  const uint64_t needed = static_cast<uint64_t>(stride) * static_cast<uint64_t>(height);
  if (needed > bytes.Remaining()) {
    bytes.Skip(bytes.Remaining());
    return false;
  }
  const uint8_t* data = bytes.Here();
  for (int32_t r = 0; r < height; ++r) {
    const int32_t row = topDown ? r : height - 1 - r;
    ConvertRow(data + stride * r, frame->pixels.data() + static_cast<size_t>(row) * width, width,
               bits, channels, keepFourthByte, frame->palette);
  }
  return bytes.Skip(needed);
}

bool DibReadMask(ImageBytes& bytes, imageData* frame, uint32_t topByte) {
  const int32_t width = frame->width;
  const int32_t height = frame->height;
  const int64_t stride = DibStride(1, width);
  const uint64_t needed = static_cast<uint64_t>(stride) * static_cast<uint64_t>(height);
  if (needed > bytes.Remaining()) {
    bytes.Skip(bytes.Remaining());
    return false;
  }
  const uint8_t* data = bytes.Here();
  for (int32_t r = 0; r < height; ++r) {
    uint32_t* out = frame->pixels.data() + static_cast<size_t>(height - 1 - r) * width;
    const uint8_t* p = data + stride * r;
    for (int32_t x = 0; x < width; ++x) {
      if ((p[x >> 3] >> (7 - (x & 7))) & 1) out[x] |= topByte << 24;
    }
  }
  return bytes.Skip(needed);
}
