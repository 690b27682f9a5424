#include "fonts/FontTestFiles.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  {
    memoryReader source(bytes);
    fontFileHeader header;
    std::string message;
    if (FontFileReadHeader(source.reader, "fuzz.fot", header, message)) {
      while (!source.reader.atEnd()) {
        fontFileImage image;
        if (!FontFileReadImage(source.reader, "fuzz.fot", image, message)) break;
        const auto places = FontLayoutImage(image.widths, header.height);
        if (places.size() != image.widths.size()) __builtin_trap();
      }
    }
  }
  memoryReader source(bytes);
  std::vector<uint32_t> pixels;
  if (FontFileSkipHeader(source.reader))
    while (!source.reader.atEnd() &&
           FontFileReadTexels(source.reader, pixels) == fontTexelResult::ok) {
    }
  return 0;
}
