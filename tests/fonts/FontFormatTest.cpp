#include "fonts/FontTestFiles.h"

#include <gtest/gtest.h>

namespace {

const std::string file = "Fonts\\f.fot";
const std::string endOfFont = "FontOpen - Unexpected end of font \"Fonts\\f.fot\"";

// Header and image read the way the engine does; returns the message of the first failure.
std::string ReadAll(const std::string& bytes, fontFileHeader* headerOut = nullptr,
                    std::vector<fontFileImage>* imagesOut = nullptr) {
  memoryReader source(bytes);
  std::string message;
  fontFileHeader header;
  if (!FontFileReadHeader(source.reader, file, header, message)) return message;
  std::vector<fontFileImage> images;
  while (!source.reader.atEnd()) {
    fontFileImage image;
    if (!FontFileReadImage(source.reader, file, image, message)) return message;
    images.push_back(image);
  }
  if (headerOut) *headerOut = header;
  if (imagesOut) *imagesOut = images;
  return "";
}

TEST(FontFormat, WrittenFileReadsBackWithPixelsInArgbOrder) {
  fontFileImage image;
  image.pixels.assign(fontImagePixels, 0);
  image.pixels[0] = 0x80112233;
  image.pixels[fontImagePixels - 1] = 0xFF010203;
  image.first = 65;
  image.last = 67;
  image.widths = {7, 5, 9};
  fontFileHeader header;
  header.name = "Menu Small";
  header.first = 65;
  header.last = 90;
  header.height = 12;
  const std::string bytes = FontFileWriteStart(header) + FontFileWriteImage(image);
  // Pixel bytes in the file are red, green, blue, alpha.
  const size_t pixels = 2 + 5 + header.name.size() + 1 + 3 + 5;
  EXPECT_EQ(bytes.substr(pixels, 4), std::string("\x11\x22\x33\x80", 4));

  fontFileHeader readHeader;
  std::vector<fontFileImage> images;
  ASSERT_EQ(ReadAll(bytes, &readHeader, &images), "");
  EXPECT_EQ(readHeader.name, "Menu Small");
  EXPECT_EQ(readHeader.first, 65);
  EXPECT_EQ(readHeader.last, 90);
  EXPECT_EQ(readHeader.height, 12);
  ASSERT_EQ(images.size(), 1u);
  EXPECT_EQ(images[0].pixels, image.pixels);
  EXPECT_EQ(images[0].widths, image.widths);
}

TEST(FontFormat, EveryTruncationGivesItsMessage) {
  const std::string bytes = TestFontBytes("Ab", 32, 40, 10, {{32, {5, 6}}});
  const size_t image = 2 + 5 + 3 + 3;
  const struct {
    size_t length;
    std::string message;
  } cases[] = {
      {0, "FontOpen - Unrecognized major version for font \"Fonts\\f.fot\"."},
      {1, "FontOpen - Unrecognized minor version for font \"Fonts\\f.fot\"."},
      {4, endOfFont + " when reading chunk ID."},
      {6, endOfFont + " when reading header chunk length."},
      {7, endOfFont + " when reading font name length."},
      {8, endOfFont + " when reading font name."},
      {9, endOfFont + " when reading font name."},
      {10, endOfFont + " when reading first character in set."},
      {11, endOfFont + " when reading last character in set."},
      {12, endOfFont + " when reading font height."},
      {image + 2, endOfFont + " when reading image chunk ID."},
      {image + 4, endOfFont + " when reading image chunk length."},
      {image + 5 + 16383, endOfFont + " when reading image data."},
      {image + 5 + 16384, endOfFont + " when reading first character in image."},
      {image + 5 + 16385, endOfFont + " when reading last character in image."},
      {image + 5 + 16387, endOfFont + " when reading number of character widths in image."},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ReadAll(bytes.substr(0, c.length)), c.message) << "cut at " << c.length;
  EXPECT_EQ(ReadAll(bytes.substr(0, image)), "") << "a font without images is valid";
  EXPECT_EQ(ReadAll(bytes), "");
}

TEST(FontFormat, WrongChunksAndEmptyRanges) {
  std::string bytes = TestFontBytes("A", 32, 40, 10, {{32, {5}}});
  std::string wrongHeader = bytes;
  wrongHeader.replace(2, 3, "fNT");
  EXPECT_EQ(ReadAll(wrongHeader),
            "FontOpen - Unreocgnized chunk ID \"fNT\" in font \"Fonts\\f.fot\".");

  std::string wrongImage = bytes;
  wrongImage.replace(2 + 5 + 2 + 3, 3, "IMX");
  EXPECT_EQ(ReadAll(wrongImage),
            "FontOpen - Unrecognized image chunk \"IMX in font \"Fonts\\f.fot\".");

  EXPECT_EQ(ReadAll(TestFontBytes("A", 41, 40, 10, {})),
            "FontOpen - No character widths defined in font \"Fonts\\f.fot\"");

  std::string noGlyphs = bytes;
  const size_t imageCodes = 2 + 5 + 2 + 3 + 5 + fontImageBytes;
  noGlyphs[imageCodes] = 50;
  noGlyphs[imageCodes + 1] = 49;
  EXPECT_EQ(ReadAll(noGlyphs),
            "FontOpen - No characters widths defined for image in font \"Fonts\\f.fot\".");
}

TEST(FontFormat, ExtraChunkBytesAreSkipped) {
  std::string header = TestFontBytes("A", 32, 40, 10, {});
  std::string image = TestFontBytes("A", 32, 40, 10, {{32, {5, 6}}}).substr(header.size());
  // Three extra bytes in the header chunk, 2000 in the image chunk (two skip blocks).
  header += "xyz";
  header[5] = static_cast<char>(header.size() - 2);
  const size_t imageLength = image.size() + 2000;
  image += std::string(2000, 'q');
  image[3] = static_cast<char>(imageLength & 0xFF);
  image[4] = static_cast<char>(imageLength >> 8);
  std::vector<fontFileImage> images;
  ASSERT_EQ(ReadAll(header + image + image, nullptr, &images), "");
  EXPECT_EQ(images.size(), 2u);

  EXPECT_EQ(ReadAll(header + image.substr(0, image.size() - 1)),
            endOfFont + " when skipping extra image chunk bytes.");
  std::string shortHeader = header;
  shortHeader[5] = static_cast<char>(shortHeader[5] + 1);
  EXPECT_EQ(ReadAll(shortHeader), endOfFont + " when skipping extra header bytes.");
}

TEST(FontFormat, ChunkLengthTooShortWrapsRoundInSixteenBits) {
  // Header chunk length 3: what is left after the 5 + 2 + 3 bytes read is 3 - 10 in 16 bits,
  // 65529 bytes, which are skipped; the file then ends and the font has no images.
  std::string bytes = TestFontBytes("A", 32, 40, 10, {});
  bytes[5] = 3;
  bytes[6] = 0;
  EXPECT_EQ(ReadAll(bytes + std::string(65528, 0)),
            endOfFont + " when skipping extra header bytes.");
  fontFileHeader header;
  EXPECT_EQ(ReadAll(bytes + std::string(65529, 0), &header), "");
  EXPECT_EQ(header.height, 10);
}

TEST(FontFormat, TexelWalkReportsWhereItStopped) {
  const std::string header = TestFontBytes("A", 32, 40, 10, {});
  const std::string image =
      TestFontBytes("A", 32, 40, 10, {{32, {5}, 0x11223344}}).substr(header.size());
  {
    memoryReader source(header + image);
    std::vector<uint32_t> pixels;
    ASSERT_TRUE(FontFileSkipHeader(source.reader));
    EXPECT_EQ(FontFileReadTexels(source.reader, pixels), fontTexelResult::ok);
    EXPECT_EQ(pixels[77], 0x11223344u);
    EXPECT_TRUE(source.reader.atEnd());
    EXPECT_EQ(FontFileReadTexels(source.reader, pixels), fontTexelResult::noChunkId);
  }
  std::string badId = image;
  badId[0] = 'J';
  std::string longChunk = image;
  longChunk[4] = static_cast<char>(longChunk[4] + 8);  // 2048 more bytes than there are
  std::string longByOne = image;
  longByOne[3] = static_cast<char>(longByOne[3] + 1);
  const struct {
    std::string chunk;
    fontTexelResult result;
  } cases[] = {{badId, fontTexelResult::badChunkId},
               {image.substr(0, 4), fontTexelResult::noLength},
               {image.substr(0, 100), fontTexelResult::noPixels},
               {longChunk, fontTexelResult::noBlock},
               {longByOne, fontTexelResult::noRemainder}};
  for (const auto& c : cases) {
    memoryReader source(header + c.chunk);
    std::vector<uint32_t> pixels;
    ASSERT_TRUE(FontFileSkipHeader(source.reader));
    EXPECT_EQ(FontFileReadTexels(source.reader, pixels), c.result);
  }
  memoryReader wrongHeader(std::string("\1\0FNX\5\0", 7));
  EXPECT_FALSE(FontFileSkipHeader(wrongHeader.reader));
}

TEST(FontFormat, GlyphsMoveDownWhenTheNextWouldReachTheRightEdge) {
  const auto places = FontLayoutImage({30, 20, 20, 10}, 9);
  ASSERT_EQ(places.size(), 4u);
  EXPECT_EQ(places[0].x, 0);
  EXPECT_EQ(places[1].x, 30);
  EXPECT_EQ(places[1].row, 0);
  EXPECT_EQ(places[2].x, 0);
  EXPECT_EQ(places[2].row, 9);
  EXPECT_EQ(places[3].x, 20);

  // 40 + 24 is exactly 64, which counts as not fitting; 40 + 23 fits.
  EXPECT_EQ(FontLayoutImage({40, 24}, 9)[1].row, 9);
  EXPECT_EQ(FontLayoutImage({40, 23}, 9)[1].x, 40);
  EXPECT_TRUE(FontLayoutImage({}, 9).empty());
}

}  // namespace
