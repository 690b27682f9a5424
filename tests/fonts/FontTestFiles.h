// Building ".fot" files for tests, independent of the fot builder: plain glyph boxes with
// chosen widths, and a reader over bytes held in memory.
#pragma once

#include "graphics/fwkFontFormat.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct testFontImage {
  using patternProc = std::function<uint32_t(int32_t x, int32_t y)>;
  testFontImage(uint8_t firstCode, std::vector<uint8_t> glyphWidths,
                uint32_t fillColour = 0xFFFFFFFF, patternProc texels = {})
      : first(firstCode),
        widths(std::move(glyphWidths)),
        fill(fillColour),
        pattern(std::move(texels)) {}
  uint8_t first;
  std::vector<uint8_t> widths;
  uint32_t fill;  // every texel of the image, unless pattern is given
  patternProc pattern;
};

inline std::string TestFontBytes(const std::string& name, uint8_t first, uint8_t last,
                                 uint8_t height, const std::vector<testFontImage>& images) {
  fontFileHeader header;
  header.name = name;
  header.first = first;
  header.last = last;
  header.height = height;
  std::string bytes = FontFileWriteStart(header);
  for (const testFontImage& source : images) {
    fontFileImage image;
    image.pixels.assign(fontImagePixels, source.fill);
    if (source.pattern)
      for (int32_t y = 0; y < fontImageSide; ++y)
        for (int32_t x = 0; x < fontImageSide; ++x)
          image.pixels[y * fontImageSide + x] = source.pattern(x, y);
    image.first = source.first;
    image.last = static_cast<uint8_t>(source.first + source.widths.size() - 1);
    image.widths = source.widths;
    bytes += FontFileWriteImage(image);
  }
  return bytes;
}

struct memoryReader {
  std::string bytes;
  size_t position = 0;
  fontReader reader;
  explicit memoryReader(std::string data) : bytes(std::move(data)) {
    reader.read = [this](void* destination, int32_t count) {
      const size_t available = bytes.size() - position;
      const size_t taken = std::min<size_t>(available, static_cast<size_t>(count));
      std::copy_n(bytes.data() + position, taken, static_cast<char*>(destination));
      position += taken;
      return taken == static_cast<size_t>(count);
    };
    reader.atEnd = [this]() { return position >= bytes.size(); };
  }
  memoryReader(const memoryReader&) = delete;
  memoryReader& operator=(const memoryReader&) = delete;
};
