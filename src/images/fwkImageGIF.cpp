// GIF: the first image of the file, decoded with its variable-width LZW codes.
#include "images/fwkImageGIF.h"

#include <cstring>
#include <memory>

#include "images/imageInternal.h"
#include "services/fwkLog.h"

namespace {

constexpr int kTableSize = 4096;
constexpr int kMaxCodeWidth = 12;
constexpr uint8_t kGraphicControl = 0xF9;

struct Interlace {
  int start;
  int step;
};
constexpr Interlace kPasses[4] = {{0, 8}, {4, 8}, {2, 4}, {1, 2}};

// Where the next colour index goes: rows in order, or the four interlace passes. Pixels past
// the last row are dropped.
class PixelCursor {
 public:
  PixelCursor(imageData* frame, const uint32_t* colours, bool interlaced)
      : pixels_(frame->pixels.data()),
        width_(frame->width),
        height_(frame->height),
        colours_(colours),
        interlaced_(interlaced),
        step_(interlaced ? 8 : 1) {}

  void Put(const uint8_t* indices, int count) {
    for (int i = 0; i < count; ++i) {
      if (row_ >= height_) return;
      pixels_[static_cast<size_t>(row_) * width_ + column_] = colours_[indices[i]];
      if (++column_ == width_) NextRow();
    }
  }

  // Every row has its pixels; the rest of the data could only be dropped.
  bool Full() const { return row_ >= height_; }

 private:
  void NextRow() {
    column_ = 0;
    row_ += step_;
    while (interlaced_ && row_ >= height_ && pass_ < 3) {
      ++pass_;
      row_ = kPasses[pass_].start;
      step_ = kPasses[pass_].step;
    }
  }

  uint32_t* pixels_;
  int32_t width_;
  int32_t height_;
  const uint32_t* colours_;
  bool interlaced_;
  int step_;
  int pass_ = 0;
  int32_t row_ = 0;
  int32_t column_ = 0;
};

// Bytes of the image's data sub-blocks, one after another.
class SubBlocks {
 public:
  explicit SubBlocks(ImageBytes& bytes) : bytes_(bytes) {}
  bool Next(uint8_t& value) {
    while (left_ == 0) {
      if (ended_ || !bytes_.U8(left_) || left_ == 0) {
        ended_ = true;
        return false;
      }
    }
    --left_;
    if (bytes_.U8(value)) return true;
    ended_ = true;
    return false;
  }

 private:
  ImageBytes& bytes_;
  uint8_t left_ = 0;
  bool ended_ = false;
};

// The LZW dictionary of one image: built afresh for every decode, so nothing one file leaves
// behind can shape the next. Entries above the last defined one are never read.
struct StringTable {
  uint16_t prefix[kTableSize];
  uint8_t suffix[kTableSize];
  uint8_t first[kTableSize];
  uint16_t length[kTableSize];
};

int Expand(const StringTable& table, int code, uint8_t* out) {
  const int length = table.length[code];
  for (int i = length - 1; i >= 0; --i) {
    out[i] = table.suffix[code];
    code = table.prefix[code];
  }
  return length;
}

void DecodeLzw(ImageBytes& bytes, int minimumSize, PixelCursor& cursor) {
  auto table = std::make_unique<StringTable>();
  const int clear = 1 << minimumSize;
  const int end = clear + 1;
  for (int i = 0; i < clear; ++i) {
    table->prefix[i] = 0;
    table->suffix[i] = static_cast<uint8_t>(i);
    table->first[i] = static_cast<uint8_t>(i);
    table->length[i] = 1;
  }
  int last = clear + 1;
  int width = minimumSize + 1;
  bool firstCode = true;
  int previous = 0;
  // A string is at most one entry longer than its prefix, so no string outgrows the table.
  uint8_t text[kTableSize];
  SubBlocks data(bytes);
  uint32_t bits = 0;
  int bitCount = 0;
  for (;;) {
    while (bitCount < width) {
      uint8_t byte = 0;
      if (!data.Next(byte)) return;
      bits |= static_cast<uint32_t>(byte) << bitCount;
      bitCount += 8;
    }
    const int code = static_cast<int>(bits & ((1u << width) - 1));
    bits >>= width;
    bitCount -= width;
    if (code == end) return;
    if (code == clear) {
      last = clear + 1;
      width = minimumSize + 1;
      firstCode = true;
      continue;
    }
    if (firstCode) {
      // Right after a clear code only the colour codes are defined.
      if (code >= clear) return;
      cursor.Put(text, Expand(*table, code, text));
      previous = code;
      firstCode = false;
      continue;
    }
    // The one code past the table is the entry this very code defines (string(previous) plus
    // its own first character); any code beyond that names nothing: the stream is damaged.
    if (code > last + 1 || (code == last + 1 && last + 1 >= kTableSize)) return;
    const int grown = table->length[previous] + 1;
    if (grown > kTableSize) return;
    const uint8_t added = code == last + 1 ? table->first[previous] : table->first[code];
    int length;
    if (code == last + 1) {
      length = Expand(*table, previous, text);
      text[length++] = added;
    } else {
      length = Expand(*table, code, text);
    }
    cursor.Put(text, length);
    if (cursor.Full()) return;
    // A full table stays as it is until the next clear code.
    if (last + 1 < kTableSize) {
      const int entry = last + 1;
      table->prefix[entry] = static_cast<uint16_t>(previous);
      table->suffix[entry] = added;
      table->first[entry] = table->first[previous];
      table->length[entry] = static_cast<uint16_t>(grown);
      last = entry;
      if ((1 << width) == last + 1 && width < kMaxCodeWidth) ++width;
    }
    previous = code;
  }
}

bool ReadColourTable(ImageBytes& bytes, uint32_t* table, int entries) {
  if (bytes.Remaining() < static_cast<size_t>(entries) * 3) return false;
  const uint8_t* p = bytes.Here();
  for (int i = 0; i < entries; ++i, p += 3) {
    table[i] = static_cast<uint32_t>(p[0]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[2];
  }
  return bytes.Skip(static_cast<uint64_t>(entries) * 3);
}

bool SkipSubBlocks(ImageBytes& bytes) {
  uint8_t size = 0;
  do {
    if (!bytes.U8(size) || !bytes.Skip(size)) return false;
  } while (size != 0);
  return true;
}

struct Transparency {
  bool on = false;
  uint8_t index = 0;
};

void DecodeImage(ImageBytes& bytes, imageData* frame, const uint32_t* globalTable,
                 int globalEntries, const Transparency& transparency) {
  uint8_t descriptor[9];
  if (!bytes.Read(descriptor, sizeof descriptor)) return;
  const uint8_t packed = descriptor[8];
  uint32_t active[256] = {};
  int entries = globalEntries;
  if (packed & 0x80) {
    entries = 1 << ((packed & 7) + 1);
    if (!ReadColourTable(bytes, active, entries)) return;
  } else {
    std::memcpy(active, globalTable, sizeof active);
  }
  std::memcpy(frame->palette, active, sizeof active);
  frame->bitsPerPixel = static_cast<uint8_t>(transparency.on ? 32 : ImageIntLog(2, entries));
  uint32_t colours[256];
  for (int k = 0; k < 256; ++k) {
    const bool opaque = transparency.on && k != transparency.index;
    colours[k] = active[k] | (opaque ? 0xFF000000u : 0);
  }
  uint8_t minimumSize = 0;
  // Codes of at most 12 bits cannot carry more than 256 colours.
  if (!bytes.U8(minimumSize) || minimumSize < 1 || minimumSize > 8) return;
  PixelCursor cursor(frame, colours, (packed & 0x40) != 0);
  DecodeLzw(bytes, minimumSize, cursor);
}

// Whether `size` bytes after the screen descriptor could hold codes for width x height pixels.
// Codes are at least 2 bits; the k-th code after a clear code yields at most k pixels (each new
// entry is one longer than its prefix) and no code more than the table's 4096.
bool DataCouldFill(size_t size, int64_t width, int64_t height) {
  const uint64_t codes = static_cast<uint64_t>(size) * 4;
  const uint64_t ramp = codes < kTableSize ? codes : kTableSize;
  const uint64_t most = ramp * (ramp + 1) / 2 + (codes - ramp) * kTableSize;
  return static_cast<uint64_t>(width) * static_cast<uint64_t>(height) <= most;
}

}  // namespace

void ImageGifInit() { LogVersionAdd("fwkImageGIF - Version Alpha.0"); }

void ImageDecodeGif(ImageBytes& bytes, imageData*& image, ImageBudget& budget) {
  imageData* frame = ImageFirstFrame(image);
  char signature[6];
  uint8_t screen[7];
  if (!bytes.Read(signature, sizeof signature) ||
      (std::memcmp(signature, "GIF87a", 6) != 0 && std::memcmp(signature, "GIF89a", 6) != 0) ||
      !bytes.Read(screen, sizeof screen) ||
      !DataCouldFill(bytes.Remaining(), ImageLe16(screen), ImageLe16(screen + 2)) ||
      !budget.Allocate(frame, ImageLe16(screen), ImageLe16(screen + 2))) {
    ImageSetError(frame);
    return;
  }
  frame->loaded = 1;
  uint32_t globalTable[256] = {};
  int globalEntries = 0;
  if (screen[4] & 0x80) {
    globalEntries = 1 << ((screen[4] & 7) + 1);
    if (!ReadColourTable(bytes, globalTable, globalEntries)) return;
  }
  std::memcpy(frame->palette, globalTable, sizeof globalTable);
  Transparency transparency;
  uint8_t introducer = 0;
  while (bytes.U8(introducer) && introducer != ';') {
    if (introducer == ',') {
      DecodeImage(bytes, frame, globalTable, globalEntries, transparency);
      return;
    }
    if (introducer != '!') {
      ImageSetError(frame);
      return;
    }
    uint8_t label = 0;
    uint8_t size = 0;
    if (!bytes.U8(label) || !bytes.U8(size)) return;
    if (size == 0) continue;
    if (label == kGraphicControl && size > 3) {
      uint8_t control[4];
      if (!bytes.Read(control, sizeof control)) return;
      if (control[0] & 1) {
        transparency.on = true;
        transparency.index = control[3];
      }
      size = static_cast<uint8_t>(size - 4);
    }
    if (!bytes.Skip(size) || !SkipSubBlocks(bytes)) return;
  }
}
