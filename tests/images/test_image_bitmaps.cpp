// Windows bitmaps against ImageMagick's decode of the same files, and the format's edge cases.
#include <gtest/gtest.h>

#include <cmath>

#include "imageTestSupport.h"

namespace {

std::string Bitmap(const std::string& options, int width = 37, int height = 23) {
  return Generated(".bmp",
                   "/usr/bin/convert " + SourcePicture(width, height, 7) + " " + options + "{out}");
}

void ExpectSameAsMagick(const std::string& path, int bits) {
  imageData* image = DecodeBytes("x.bmp", ReadBytes(path));
  const Picture reference = MagickDecode(path);
  std::string where;
  EXPECT_EQ(image->error, 0) << path;
  EXPECT_EQ(image->bitsPerPixel, bits) << path;
  EXPECT_EQ(CountRgbDifferences(*image, reference, where), 0) << path << " " << where;
  ImageFree(image);
}

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
void SetLe32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace

TEST(ImageBmp, PaletteAndTrueColourFilesMatchImageMagick) {
  ExpectSameAsMagick(Bitmap("-monochrome BMP3:"), 1);
  ExpectSameAsMagick(Bitmap("-colors 16 -type palette BMP3:"), 4);
  ExpectSameAsMagick(Bitmap("-colors 200 -type palette -compress none BMP3:"), 8);
  ExpectSameAsMagick(Bitmap("-type truecolor BMP3:"), 24);
  // Width 3: 9 pixel bytes and 3 padding bytes per row.
  const std::string narrow = Bitmap("-type truecolor BMP3:", 3, 5);
  EXPECT_EQ(ReadBytes(narrow).size(), 54u + 5 * 12);
  ExpectSameAsMagick(narrow, 24);
  // Later header versions put the pixel data after a longer header.
  ExpectSameAsMagick(Bitmap("-type truecolor BMP:"), 24);
  ExpectSameAsMagick(Bitmap("-colors 16 -type palette BMP:"), 4);
}

TEST(ImageBmp, SixteenBitChannelsExpandAsChannelTimes255OverMaximum) {
  for (const char* subtype : {"RGB565", "RGB555"}) {
    const std::string path = Bitmap(std::string("-define bmp:subtype=") + subtype + " BMP:");
    std::vector<uint8_t> bytes = ReadBytes(path);
    ASSERT_EQ(bytes[28], 16);
    ASSERT_EQ(Le32(bytes, 30), 3u) << "channel masks";
    const bool wideGreen = std::string(subtype) == "RGB565";
    EXPECT_EQ(Le32(bytes, 54), wideGreen ? 0xF800u : 0x7C00u);
    imageData* image = DecodeBytes("x.bmp", bytes);
    const Picture reference = MagickDecode(path);
    ASSERT_EQ(image->width, reference.width);
    ASSERT_EQ(image->bitsPerPixel, 16);
    const uint32_t maximum[3] = {31, wideGreen ? 63u : 31u, 31};
    int wrong = 0;
    for (int i = 0; i < image->width * image->height; ++i) {
      for (int c = 0; c < 3; ++c) {
        const uint32_t ours = image->pixels[i] >> (16 - 8 * c) & 255;
        const uint32_t theirs = reference.rgba[i * 4 + c];
        // ImageMagick rounds where the reader truncates: both must come from the same stored value.
        const uint32_t stored = static_cast<uint32_t>(std::lround(theirs * maximum[c] / 255.0));
        if (ours != stored * 255 / maximum[c]) ++wrong;
      }
    }
    EXPECT_EQ(wrong, 0) << subtype;
    ImageFree(image);
    if (!wideGreen) {
      // Without compression the same pixels are read as 5-5-5 by default.
      SetLe32(bytes, 30, 0);
      imageData* plain = DecodeBytes("x.bmp", bytes);
      imageData* masked = DecodeBytes("x.bmp", ReadBytes(path));
      EXPECT_EQ(plain->pixels, masked->pixels);
      ImageFree(plain);
      ImageFree(masked);
    }
  }
}

TEST(ImageBmp, ThirtyTwoBitsKeepTheFourthByte) {
  const std::string path = Generated(
      ".bmp",
      "/usr/bin/convert " + SourcePicture(30, 20, 3) +
          " \\( +clone -fx 'i/w' \\) -alpha off -compose copy_opacity -composite BMP:{out}");
  imageData* image = DecodeBytes("x.bmp", ReadBytes(path));
  const Picture reference = MagickDecode(path);
  std::string where;
  EXPECT_EQ(image->bitsPerPixel, 32);
  EXPECT_EQ(CountRgbDifferences(*image, reference, where), 0) << where;
  int alphaWrong = 0;
  for (int i = 0; i < image->width * image->height; ++i)
    alphaWrong += (image->pixels[i] >> 24) != reference.rgba[i * 4 + 3];
  EXPECT_EQ(alphaWrong, 0);
  EXPECT_NE(image->pixels[0] >> 24, image->pixels[29] >> 24) << "alpha varies across the row";
  ImageFree(image);
}

TEST(ImageBmp, FourBitsWithColoursUsedZeroReadSixteenEntries) {
  std::vector<uint8_t> bytes = ReadBytes(Bitmap("-colors 16 -type palette BMP3:"));
  ASSERT_EQ(bytes[28], 4);
  imageData* stated = DecodeBytes("x.bmp", bytes);
  SetLe32(bytes, 46, 0);
  imageData* implied = DecodeBytes("x.bmp", bytes);
  EXPECT_EQ(implied->error, 0);
  EXPECT_EQ(stated->pixels, implied->pixels);
  ImageFree(stated);
  ImageFree(implied);
}

TEST(ImageBmp, TwoBitPaletteIndicesPackFromTheHighBit) {
  // 5 x 2 pixels, 2 bits: rows of 2 bytes padded to 4, bottom row first.
  std::vector<uint8_t> file = {'B', 'M'};
  PutU32(file, 0);
  PutU32(file, 0);
  PutU32(file, 14 + 40 + 16);
  PutU32(file, 40);
  PutU32(file, 5);
  PutU32(file, 2);
  PutU16(file, 1);
  PutU16(file, 2);
  for (int i = 0; i < 6; ++i) PutU32(file, 0);
  for (uint32_t colour : {0x000000u, 0x0000FFu, 0x00FF00u, 0xFF0000u}) PutU32(file, colour);
  for (uint8_t b : {0x1B, 0x00, 0, 0, 0xE4, 0xC0, 0, 0}) file.push_back(b);
  imageData* image = DecodeBytes("x.bmp", file);
  ASSERT_EQ(image->error, 0);
  const std::vector<uint32_t> expected = {0xFF0000, 0x00FF00, 0x0000FF, 0x000000, 0xFF0000,
                                          0x000000, 0x0000FF, 0x00FF00, 0xFF0000, 0x000000};
  EXPECT_EQ(image->pixels, expected);
  EXPECT_EQ(image->bitsPerPixel, 2);
  ImageFree(image);
}

TEST(ImageBmp, NegativeHeightIsTheTopDownFormOfTheSamePicture) {
  const std::vector<uint8_t> bottomUp = ReadBytes(Bitmap("-type truecolor BMP3:", 7, 4));
  std::vector<uint8_t> topDown = bottomUp;
  const size_t stride = 24;
  for (size_t r = 0; r < 4; ++r) {
    std::copy(bottomUp.begin() + 54 + static_cast<long>(r * stride),
              bottomUp.begin() + 54 + static_cast<long>((r + 1) * stride),
              topDown.begin() + 54 + static_cast<long>((3 - r) * stride));
  }
  SetLe32(topDown, 22, static_cast<uint32_t>(-4));
  imageData* a = DecodeBytes("x.bmp", bottomUp);
  imageData* b = DecodeBytes("x.bmp", topDown);
  EXPECT_EQ(b->error, 0);
  EXPECT_EQ(b->height, 4);
  EXPECT_EQ(a->pixels, b->pixels);
  ImageFree(a);
  ImageFree(b);
}

TEST(ImageBmp, DamagedFilesGiveTheErrorPicture) {
  const std::vector<uint8_t> good =
      ReadBytes(Bitmap("-colors 200 -type palette -compress none BMP3:"));
  auto expectError = [](const std::vector<uint8_t>& bytes, const char* what) {
    imageData* image = DecodeBytes("x.bmp", bytes);
    EXPECT_TRUE(IsErrorPicture(*image)) << what;
    ImageFree(image);
  };
  std::vector<uint8_t> bytes = good;
  SetLe32(bytes, 30, 1);
  expectError(bytes, "run-length compression");
  bytes = good;
  bytes[0] = 'X';
  expectError(bytes, "wrong type");
  expectError(std::vector<uint8_t>(good.begin(), good.end() - 1), "last byte missing");
  expectError(std::vector<uint8_t>(good.begin(), good.begin() + 40), "header cut");
  bytes = good;
  SetLe32(bytes, 14, 12);
  expectError(bytes, "core header");
  bytes = good;
  bytes[28] = 7;
  expectError(bytes, "bit count 7");
  bytes = good;
  SetLe32(bytes, 18, 0x7FFFFFFF);
  expectError(bytes, "width beyond the data");
  bytes = good;
  SetLe32(bytes, 46, 0xFFFFFFFF);
  expectError(bytes, "colour table beyond the file");
}
