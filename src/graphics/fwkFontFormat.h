// The ".fot" bitmap font file: reading and writing its chunks and the rule that places glyphs
// inside a 64 x 64 font image. Pure code with no OpenGL and no data-file dependency, shared by
// fwkFont and the fot builder so both lay glyphs out the same way.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

constexpr int32_t fontImageSide = 64;
constexpr int32_t fontImagePixels = fontImageSide * fontImageSide;
constexpr int32_t fontImageBytes = fontImagePixels * 4;
// The glyph tables are indexed by character code minus the header's first code.
constexpr int32_t fontMaxGlyphs = 256;

struct fontFileHeader {
  uint8_t major = 1;
  uint8_t minor = 0;
  std::string name;
  uint8_t first = 0;
  uint8_t last = 0;
  uint8_t height = 0;
};

struct fontFileImage {
  std::vector<uint32_t> pixels;  // fontImagePixels values 0xAARRGGBB, top row first
  uint8_t first = 0;
  uint8_t last = 0;
  std::vector<uint8_t> widths;  // last - first + 1 entries
};

// Where the bytes come from: read exactly count bytes or fail; atEnd reports the end of the data.
struct fontReader {
  std::function<bool(void* destination, int32_t count)> read;
  std::function<bool()> atEnd;
};

// Each reader returns false and fills message with the complete log line on failure.
bool FontFileReadHeader(const fontReader& reader, const std::string& fileName,
                        fontFileHeader& header, std::string& message);
bool FontFileReadImage(const fontReader& reader, const std::string& fileName, fontFileImage& image,
                       std::string& message);

// The shorter walk used when a font texture is rebuilt: the header is skipped without messages,
// and of each image chunk only the pixels are kept.
bool FontFileSkipHeader(const fontReader& reader);
enum class fontTexelResult { ok, noChunkId, badChunkId, noLength, noPixels, noBlock, noRemainder };
fontTexelResult FontFileReadTexels(const fontReader& reader, std::vector<uint32_t>& pixels);

// Top-left corner of each glyph of one image, in image pixels.
struct fontGlyphPlace {
  int32_t x;
  int32_t row;
};
std::vector<fontGlyphPlace> FontLayoutImage(const std::vector<uint8_t>& widths, int32_t height);

std::string FontFileWriteStart(const fontFileHeader& header);  // version bytes and header chunk
std::string FontFileWriteImage(const fontFileImage& image);    // one image chunk
