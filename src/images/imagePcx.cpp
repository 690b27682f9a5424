// ZSoft PCX: 1 plane of 1 bit, 1 plane of 8 bits with a palette, and 3 planes of 8 bits.
#include "images/imageInternal.h"

namespace {

constexpr int kPcxHeaderSize = 128;
constexpr int kPaletteFromEnd = 769;
constexpr uint8_t kPaletteMarker = 12;

// Run-length decoding of the picture data. A run is not bound to its scanline: what does not
// fit continues at the start of the next one, as the encoder meant it.
class RunReader {
 public:
  explicit RunReader(ImageBytes& bytes)
      : p_(bytes.Here()), end_(bytes.Here() + bytes.Remaining()) {}

  bool Fill(uint8_t* line, size_t size) {
    size_t i = 0;
    while (i < size) {
      if (pending_ > 0) {
        const size_t n = pending_ < size - i ? pending_ : size - i;
        for (size_t k = 0; k < n; ++k) line[i + k] = value_;
        i += n;
        pending_ -= n;
        continue;
      }
      if (p_ >= end_) return false;
      const uint8_t c = *p_++;
      if (c < 192) {
        line[i++] = c;
        continue;
      }
      if (p_ >= end_) return false;
      value_ = *p_++;
      pending_ = c & 63u;
    }
    return true;
  }

 private:
  const uint8_t* p_;
  const uint8_t* end_;
  uint8_t value_ = 0;
  size_t pending_ = 0;
};

bool ReadPalette(ImageBytes& bytes, imageData* frame) {
  uint8_t marker = 0;
  if (bytes.Size() < kPaletteFromEnd || !bytes.Seek(bytes.Size() - kPaletteFromEnd) ||
      !bytes.U8(marker)) {
    return false;
  }
  if (marker == kPaletteMarker) {
    const uint8_t* p = bytes.Here();
    for (int i = 0; i < 256; ++i, p += 3) {
      frame->palette[i] =
          static_cast<uint32_t>(p[0]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[2];
    }
  } else {
    for (uint32_t i = 0; i < 256; ++i) frame->palette[i] = i << 16 | i << 8 | i;
  }
  return bytes.Seek(kPcxHeaderSize);
}

bool DecodePcx(ImageBytes& bytes, imageData* frame, ImageBudget& budget) {
  uint8_t header[kPcxHeaderSize];
  if (!bytes.Read(header, sizeof header)) return false;
  const int version = header[1];
  const int bits = header[3];
  const int64_t width = int64_t{ImageLe16(header + 8)} - ImageLe16(header + 4) + 1;
  const int64_t height = int64_t{ImageLe16(header + 10)} - ImageLe16(header + 6) + 1;
  const int planes = header[65];
  const int64_t bytesPerLine = ImageLe16(header + 66);

  const bool mono = planes == 1 && bits == 1;
  const bool indexed = planes == 1 && bits == 8;
  const bool trueColour = planes == 3 && bits == 8;
  if (!mono && !indexed && !trueColour) return false;
  // Each plane's line must hold the whole row, or a row would be read past its buffer.
  if (bytesPerLine < (mono ? (width + 7) / 8 : width)) return false;
  const int64_t lineSize = planes * bytesPerLine;
  // A two-byte run yields at most 63 bytes; refuse what the data could never fill.
  if (lineSize == 0 || height > static_cast<int64_t>(bytes.Remaining() / 2 * 63 / lineSize) + 1)
    return false;
  if (!budget.Allocate(frame, width, height)) return false;
  frame->bitsPerPixel = static_cast<uint8_t>(bits * planes);
  if (indexed && version == 5 && !ReadPalette(bytes, frame)) return false;

  std::vector<uint8_t> line(static_cast<size_t>(lineSize));
  RunReader runs(bytes);
  const int32_t w = frame->width;
  for (int32_t row = 0; row < frame->height; ++row) {
    if (!runs.Fill(line.data(), line.size())) return false;
    uint32_t* out = frame->pixels.data() + static_cast<size_t>(row) * w;
    const uint8_t* p = line.data();
    if (mono) {
      for (int32_t k = 0; k < w; ++k) out[k] = (p[k / 8] >> (7 - k % 8)) & 1 ? 0x00FFFFFFu : 0;
    } else if (indexed) {
      for (int32_t k = 0; k < w; ++k) out[k] = frame->palette[p[k]];
    } else {
      const uint8_t* g = p + bytesPerLine;
      const uint8_t* b = g + bytesPerLine;
      for (int32_t k = 0; k < w; ++k) {
        out[k] = static_cast<uint32_t>(p[k]) << 16 | static_cast<uint32_t>(g[k]) << 8 | b[k];
      }
    }
  }
  frame->loaded = 1;
  return true;
}

}  // namespace

void ImageDecodePcx(ImageBytes& bytes, imageData*& image, ImageBudget& budget) {
  imageData* frame = ImageFirstFrame(image);
  if (!DecodePcx(bytes, frame, budget)) ImageSetError(frame);
}
