#include "graphics/fwkFontFormat.h"

namespace {

constexpr char fontHeaderId[3] = {'F', 'N', 'T'};
constexpr char fontImageId[3] = {'I', 'M', 'G'};
constexpr uint16_t fontSkipBlock = 1024;

// The font reader is also compiled into the font tool, which does not link the services.
std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string EndOfFont(const std::string& fileName, const std::string& when) {
  return "FontOpen - Unexpected end of font " + Quoted(fileName) + when;
}

bool ReadFontByte(const fontReader& reader, uint8_t& value) { return reader.read(&value, 1); }

bool ReadLength(const fontReader& reader, uint16_t& value) {
  uint8_t bytes[2];
  if (!reader.read(bytes, 2)) return false;
  value = static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
  return true;
}

// Chunk lengths are 16-bit and so is what is left of a chunk: a length that is too short for
// the fields wraps round, which only makes the skip longer (never more than 64 KiB).
uint16_t Less(uint16_t remaining, int32_t used) { return static_cast<uint16_t>(remaining - used); }

// Skips remaining bytes in blocks of at most 1 KiB; blockFailed tells which read failed.
bool Skip(const fontReader& reader, uint16_t remaining, bool& blockFailed) {
  uint8_t block[fontSkipBlock];
  blockFailed = false;
  while (remaining > fontSkipBlock) {
    if (!reader.read(block, fontSkipBlock)) {
      blockFailed = true;
      return false;
    }
    remaining = Less(remaining, fontSkipBlock);
  }
  return remaining == 0 || reader.read(block, remaining);
}

bool Skip(const fontReader& reader, uint16_t remaining) {
  bool blockFailed;
  return Skip(reader, remaining, blockFailed);
}

bool ReadPixels(const fontReader& reader, std::vector<uint32_t>& pixels) {
  std::vector<uint8_t> bytes(fontImageBytes);
  if (!reader.read(bytes.data(), fontImageBytes)) return false;
  pixels.resize(fontImagePixels);
  for (int32_t i = 0; i < fontImagePixels; ++i) {
    const uint8_t* p = &bytes[i * 4];
    pixels[i] = static_cast<uint32_t>(p[3]) << 24 | static_cast<uint32_t>(p[0]) << 16 |
                static_cast<uint32_t>(p[1]) << 8 | p[2];
  }
  return true;
}

bool SameId(const char* id, const char* expected) {
  return id[0] == expected[0] && id[1] == expected[1] && id[2] == expected[2];
}

void PutLength(std::string& out, size_t position) {
  const size_t length = out.size() - position;
  out[position + 3] = static_cast<char>(length & 0xFF);
  out[position + 4] = static_cast<char>((length >> 8) & 0xFF);
}

}  // namespace

bool FontFileReadHeader(const fontReader& reader, const std::string& fileName,
                        fontFileHeader& header, std::string& message) {
  header = fontFileHeader();
  if (!ReadFontByte(reader, header.major)) {
    message = "FontOpen - Unrecognized major version for font " + Quoted(fileName) + ".";
    return false;
  }
  if (!ReadFontByte(reader, header.minor)) {
    message = "FontOpen - Unrecognized minor version for font " + Quoted(fileName) + ".";
    return false;
  }
  char id[3];
  if (!reader.read(id, 3)) {
    message = EndOfFont(fileName, " when reading chunk ID.");
    return false;
  }
  if (!SameId(id, fontHeaderId)) {
    message = "FontOpen - Unreocgnized chunk ID " + Quoted(std::string(id, 3)) + " in font " +
              Quoted(fileName) + ".";
    return false;
  }
  uint16_t length;
  if (!ReadLength(reader, length)) {
    message = EndOfFont(fileName, " when reading header chunk length.");
    return false;
  }
  uint16_t remaining = Less(length, 5);
  for (bool firstByte = true;; firstByte = false) {
    uint8_t c;
    if (!ReadFontByte(reader, c)) {
      message = EndOfFont(
          fileName, firstByte ? " when reading font name length." : " when reading font name.");
      return false;
    }
    remaining = Less(remaining, 1);
    if (c == 0) break;
    header.name += static_cast<char>(c);
  }
  const struct {
    uint8_t* field;
    const char* when;
  } codes[] = {{&header.first, " when reading first character in set."},
               {&header.last, " when reading last character in set."},
               {&header.height, " when reading font height."}};
  for (const auto& code : codes) {
    if (!ReadFontByte(reader, *code.field)) {
      message = EndOfFont(fileName, code.when);
      return false;
    }
    remaining = Less(remaining, 1);
  }
  if (!Skip(reader, remaining)) {
    message = EndOfFont(fileName, " when skipping extra header bytes.");
    return false;
  }
  if (header.last - header.first + 1 < 1) {
    message = "FontOpen - No character widths defined in font " + Quoted(fileName);
    return false;
  }
  return true;
}

bool FontFileReadImage(const fontReader& reader, const std::string& fileName, fontFileImage& image,
                       std::string& message) {
  char id[3];
  if (!reader.read(id, 3)) {
    message = EndOfFont(fileName, " when reading image chunk ID.");
    return false;
  }
  if (!SameId(id, fontImageId)) {
    message = "FontOpen - Unrecognized image chunk \"" + std::string(id, 3) + " in font " +
              Quoted(fileName) + ".";
    return false;
  }
  uint16_t length;
  if (!ReadLength(reader, length)) {
    message = EndOfFont(fileName, " when reading image chunk length.");
    return false;
  }
  uint16_t remaining = Less(length, 5);
  if (!ReadPixels(reader, image.pixels)) {
    message = EndOfFont(fileName, " when reading image data.");
    return false;
  }
  remaining = Less(remaining, fontImageBytes);
  if (!ReadFontByte(reader, image.first)) {
    message = EndOfFont(fileName, " when reading first character in image.");
    return false;
  }
  if (!ReadFontByte(reader, image.last)) {
    message = EndOfFont(fileName, " when reading last character in image.");
    return false;
  }
  remaining = Less(remaining, 2);
  const int32_t count = image.last - image.first + 1;
  if (count < 1) {
    message = "FontOpen - No characters widths defined for image in font " + Quoted(fileName) + ".";
    return false;
  }
  image.widths.assign(count, 0);
  if (!reader.read(image.widths.data(), count)) {
    message = EndOfFont(fileName, " when reading number of character widths in image.");
    return false;
  }
  remaining = Less(remaining, count);
  if (!Skip(reader, remaining)) {
    message = EndOfFont(fileName, " when skipping extra image chunk bytes.");
    return false;
  }
  return true;
}

bool FontFileSkipHeader(const fontReader& reader) {
  uint8_t version[2];
  char id[3];
  uint16_t length;
  return reader.read(version, 2) && reader.read(id, 3) && SameId(id, fontHeaderId) &&
         ReadLength(reader, length) && Skip(reader, Less(length, 5));
}

fontTexelResult FontFileReadTexels(const fontReader& reader, std::vector<uint32_t>& pixels) {
  char id[3];
  if (!reader.read(id, 3)) return fontTexelResult::noChunkId;
  if (!SameId(id, fontImageId)) return fontTexelResult::badChunkId;
  uint16_t length;
  if (!ReadLength(reader, length)) return fontTexelResult::noLength;
  if (!ReadPixels(reader, pixels)) return fontTexelResult::noPixels;
  bool blockFailed;
  if (!Skip(reader, Less(Less(length, 5), fontImageBytes), blockFailed))
    return blockFailed ? fontTexelResult::noBlock : fontTexelResult::noRemainder;
  return fontTexelResult::ok;
}

std::vector<fontGlyphPlace> FontLayoutImage(const std::vector<uint8_t>& widths, int32_t height) {
  std::vector<fontGlyphPlace> places;
  places.reserve(widths.size());
  int32_t x = 0;
  int32_t row = 0;
  for (size_t k = 0; k < widths.size(); ++k) {
    places.push_back({x, row});
    if (k + 1 == widths.size()) break;
    // A glyph that would end exactly at the right edge still moves down: the rule counts
    // "64 or more" as not fitting.
    if (x + widths[k] + widths[k + 1] >= fontImageSide) {
      x = 0;
      row += height;
    } else {
      x += widths[k];
    }
  }
  return places;
}

std::string FontFileWriteStart(const fontFileHeader& header) {
  std::string out;
  out += static_cast<char>(header.major);
  out += static_cast<char>(header.minor);
  const size_t chunk = out.size();
  out.append("FNT\0\0", 5);
  out += header.name;
  out += '\0';
  out += static_cast<char>(header.first);
  out += static_cast<char>(header.last);
  out += static_cast<char>(header.height);
  PutLength(out, chunk);
  return out;
}

std::string FontFileWriteImage(const fontFileImage& image) {
  std::string out("IMG\0\0", 5);
  for (int32_t i = 0; i < fontImagePixels; ++i) {
    const uint32_t p = i < static_cast<int32_t>(image.pixels.size()) ? image.pixels[i] : 0;
    out += static_cast<char>((p >> 16) & 0xFF);
    out += static_cast<char>((p >> 8) & 0xFF);
    out += static_cast<char>(p & 0xFF);
    out += static_cast<char>(p >> 24);
  }
  out += static_cast<char>(image.first);
  out += static_cast<char>(image.last);
  for (uint8_t w : image.widths) out += static_cast<char>(w);
  PutLength(out, 0);
  return out;
}
