// GIF against ImageMagick's decode of the same files, plus files coded here for the cases
// ImageMagick does not write (tables that fill up, pixels past the frame, truncation).
#include <gtest/gtest.h>

#include "imageTestSupport.h"

namespace {

std::string Gif(const std::string& options, int width = 45, int height = 27) {
  return Generated(".gif", "/usr/bin/convert " + SourcePicture(width, height, 13) + " " + options +
                               (options.empty() || options.back() == ':' ? "" : " ") + "{out}");
}

void ExpectSameAsMagick(const std::string& path, const std::string& what) {
  imageData* image = DecodeBytes("x.gif", ReadBytes(path));
  std::string where;
  EXPECT_EQ(image->error, 0) << what;
  EXPECT_EQ(CountRgbDifferences(*image, MagickDecode(path), where), 0) << what << " " << where;
  ImageFree(image);
}

// Codes packed least significant bit first at the width the decoder is at, in data sub-blocks
// with their terminator. The width follows the table: a clear code resets it, the first code
// after a clear adds no entry, every other code adds one until the table is full.
std::vector<uint8_t> PackCodes(const std::vector<int>& codes, int minimumSize) {
  std::vector<uint8_t> bytes;
  uint32_t accumulator = 0;
  int pending = 0;
  const int clear = 1 << minimumSize;
  int last = clear + 1, width = minimumSize + 1;
  bool first = true;
  for (int code : codes) {
    accumulator |= static_cast<uint32_t>(code) << pending;
    pending += width;
    while (pending >= 8) {
      bytes.push_back(static_cast<uint8_t>(accumulator));
      accumulator >>= 8;
      pending -= 8;
    }
    if (code == clear) {
      last = clear + 1;
      width = minimumSize + 1;
      first = true;
    } else if (first) {
      first = false;
    } else if (last + 1 < 4096) {
      ++last;
      if ((1 << width) == last + 1 && width < 12) ++width;
    }
  }
  if (pending > 0) bytes.push_back(static_cast<uint8_t>(accumulator));
  std::vector<uint8_t> blocks;
  for (size_t at = 0; at < bytes.size(); at += 255) {
    const size_t n = std::min<size_t>(255, bytes.size() - at);
    blocks.push_back(static_cast<uint8_t>(n));
    blocks.insert(blocks.end(), bytes.begin() + static_cast<long>(at),
                  bytes.begin() + static_cast<long>(at + n));
  }
  blocks.push_back(0);
  return blocks;
}

// Codes of literal indices only; an optional clear code after `clearAfter` indices.
std::vector<uint8_t> LiteralCodes(const std::vector<uint8_t>& indices, int minimumSize,
                                  size_t clearAfter = 0) {
  const int clear = 1 << minimumSize;
  std::vector<int> codes = {clear};
  for (size_t i = 0; i < indices.size(); ++i) {
    if (clearAfter != 0 && i == clearAfter) codes.push_back(clear);
    codes.push_back(indices[i]);
  }
  codes.push_back(clear + 1);
  return PackCodes(codes, minimumSize);
}

struct GifSpec {
  int width = 4;
  int height = 4;
  int tableBits = 2;  // global table of 2^tableBits entries
  bool interlaced = false;
  int transparentIndex = -1;
  int minimumSize = 2;
  size_t clearAfter = 0;
};

// A file around ready-made image data (sub-blocks after the minimum code size).
std::vector<uint8_t> GifWithData(const GifSpec& spec, const std::vector<uint8_t>& data,
                                 bool trailer = true) {
  std::vector<uint8_t> file = {'G', 'I', 'F', '8', '9', 'a'};
  PutU16(file, static_cast<uint32_t>(spec.width));
  PutU16(file, static_cast<uint32_t>(spec.height));
  file.push_back(static_cast<uint8_t>(0x80 | (spec.tableBits - 1)));
  file.push_back(0);
  file.push_back(0);
  for (int i = 0; i < (1 << spec.tableBits); ++i) {
    for (int c = 0; c < 3; ++c) file.push_back(static_cast<uint8_t>(i * 40 + c * 3));
  }
  if (spec.transparentIndex >= 0) {
    for (int b : {int{'!'}, 0xF9, 4, 1, 0, 0, spec.transparentIndex, 0})
      file.push_back(static_cast<uint8_t>(b));
  }
  file.push_back(',');
  PutU16(file, 0);
  PutU16(file, 0);
  PutU16(file, static_cast<uint32_t>(spec.width));
  PutU16(file, static_cast<uint32_t>(spec.height));
  file.push_back(spec.interlaced ? 0x40 : 0);
  file.push_back(static_cast<uint8_t>(spec.minimumSize));
  file.insert(file.end(), data.begin(), data.end());
  if (trailer) file.push_back(';');
  return file;
}

std::vector<uint8_t> GifFile(const GifSpec& spec, const std::vector<uint8_t>& indices,
                             bool trailer = true) {
  return GifWithData(spec, LiteralCodes(indices, spec.minimumSize, spec.clearAfter), trailer);
}

uint32_t TableColour(int i) {
  return static_cast<uint32_t>(i * 40) << 16 | static_cast<uint32_t>(i * 40 + 3) << 8 |
         (i * 40 + 6);
}

}  // namespace

TEST(ImageGif, Gif87aGif89aAndInterlacedFilesMatchImageMagick) {
  const std::string g87 = Gif("GIF87:");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(ReadBytes(g87).data()), 6), "GIF87a");
  ExpectSameAsMagick(g87, "GIF87a");
  ExpectSameAsMagick(Gif("-colors 200"), "GIF89a");
  const std::string interlaced = Gif("-interlace GIF", 23, 10);
  ExpectSameAsMagick(interlaced, "interlaced");
  ExpectSameAsMagick(Gif("-interlace GIF", 9, 1), "interlaced, one row");
  ExpectSameAsMagick(Gif("-interlace GIF", 9, 3), "interlaced, three rows");
}

TEST(ImageGif, SixteenColoursGiveFourBitsPerPixel) {
  imageData* image = DecodeBytes("x.gif", ReadBytes(Gif("-colors 16")));
  EXPECT_EQ(image->bitsPerPixel, 4);
  EXPECT_EQ(image->error, 0);
  ImageFree(image);
}

TEST(ImageGif, TwoColourPicturesWithClearCodesMatchImageMagick) {
  // Enough noise to fill the string table, so that the encoder sends clear codes mid-stream.
  const std::string path = Generated(
      ".gif", "/usr/bin/convert -size 300x200 -seed 3 xc: +noise Random -monochrome {out}");
  ASSERT_EQ(ReadBytes(path)[10] & 7, 0) << "a global table of two entries";
  ExpectSameAsMagick(path, "two colours");
  imageData* image = DecodeBytes("x.gif", ReadBytes(path));
  EXPECT_EQ(image->bitsPerPixel, 1);
  ImageFree(image);
  // The same with a clear code after the third index, coded here.
  GifSpec spec;
  spec.tableBits = 1;
  spec.clearAfter = 3;
  std::vector<uint8_t> indices;
  for (int i = 0; i < 16; ++i) indices.push_back(static_cast<uint8_t>(i * 7 % 3 % 2));
  const std::vector<uint8_t> file = GifFile(spec, indices);
  image = DecodeBytes("x.gif", file);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(image->pixels[i], TableColour(indices[i])) << i;
  ExpectSameAsMagick(TestFolder() + "/" + PlaceFile("clear.gif", file), "clear after three");
  ImageFree(image);
}

TEST(ImageGif, TransparentIndexZero) {
  const std::string path = Generated(
      ".gif",
      "/usr/bin/convert " + SourcePicture(20, 12, 4) +
          " \\( +clone -fx 'i < 5 ? 0 : 1' \\) -alpha off -compose copy_opacity -composite {out}");
  imageData* image = DecodeBytes("x.gif", ReadBytes(path));
  const Picture reference = MagickDecode(path);
  EXPECT_EQ(image->bitsPerPixel, 32);
  int wrong = 0;
  for (int i = 0; i < image->width * image->height; ++i) {
    const bool transparent = reference.rgba[i * 4 + 3] == 0;
    wrong += (image->pixels[i] >> 24) != (transparent ? 0u : 255u);
    if (!transparent)
      wrong += (image->pixels[i] & 0xFFFFFF) != (reference.At(i % 20, i / 20) & 0xFFFFFF);
  }
  EXPECT_EQ(wrong, 0);
  ImageFree(image);

  GifSpec spec;
  spec.transparentIndex = 0;
  image = DecodeBytes("x.gif", GifFile(spec, {0, 1, 2, 3, 0, 0, 1, 1, 2, 2, 3, 3, 0, 1, 0, 1}));
  EXPECT_EQ(image->bitsPerPixel, 32);
  EXPECT_EQ(image->pixels[0], TableColour(0));
  EXPECT_EQ(image->pixels[1], 0xFF000000u | TableColour(1));
  EXPECT_EQ(image->pixels[4] >> 24, 0u);
  ImageFree(image);
}

TEST(ImageGif, LocalColourTableReplacesTheGlobalOne) {
  // ImageMagick writes one global table; the same table moved behind the image descriptor.
  std::vector<uint8_t> global = ReadBytes(Gif("-colors 64"));
  const int entries = 2 << (global[10] & 7);
  std::vector<uint8_t> local(global.begin(), global.begin() + 13);
  local[10] = static_cast<uint8_t>(local[10] & 0x7F);
  const std::vector<uint8_t> table(global.begin() + 13, global.begin() + 13 + entries * 3);
  size_t at = 13 + static_cast<size_t>(entries) * 3;
  while (global[at] == '!') {
    size_t end = at + 2;
    while (global[end] != 0) end += global[end] + 1;
    local.insert(local.end(), global.begin() + static_cast<long>(at),
                 global.begin() + static_cast<long>(end + 1));
    at = end + 1;
  }
  ASSERT_EQ(global[at], ',');
  local.insert(local.end(), global.begin() + static_cast<long>(at),
               global.begin() + static_cast<long>(at + 10));
  local.back() = static_cast<uint8_t>(local.back() | 0x80 | (global[10] & 7));
  local.insert(local.end(), table.begin(), table.end());
  local.insert(local.end(), global.begin() + static_cast<long>(at + 10), global.end());
  ExpectSameAsMagick(TestFolder() + "/" + PlaceFile("local.gif", local), "local table");
}

TEST(ImageGif, InterlacedRowsComeInPassOrder) {
  GifSpec spec;
  spec.width = 1;
  spec.height = 10;
  spec.interlaced = true;
  // The rows in the order they arrive: 0, 8, 4, 2, 6, 1, 3, 5, 7, 9.
  const std::vector<uint8_t> arrival = {0, 1, 2, 3, 0, 1, 2, 3, 0, 1};
  imageData* image = DecodeBytes("x.gif", GifFile(spec, arrival));
  const int rows[10] = {0, 8, 4, 2, 6, 1, 3, 5, 7, 9};
  for (int i = 0; i < 10; ++i)
    EXPECT_EQ(image->pixels[rows[i]], TableColour(arrival[i])) << rows[i];
  ImageFree(image);
}

TEST(ImageGif, OnlyTheFirstImageIsDecoded) {
  GifSpec spec;
  std::vector<uint8_t> file = GifFile(spec, std::vector<uint8_t>(16, 1), false);
  const std::vector<uint8_t> second = GifFile(spec, std::vector<uint8_t>(16, 2));
  const size_t image = 13 + 12;
  file.insert(file.end(), second.begin() + static_cast<long>(image), second.end());
  imageData* decoded = DecodeBytes("x.gif", file);
  EXPECT_EQ(decoded->pixels, std::vector<uint32_t>(16, TableColour(1)));
  EXPECT_EQ(decoded->next, nullptr);
  ImageFree(decoded);
}

TEST(ImageGif, ExtraPixelsAreDroppedAndAFullTableStaysInUse) {
  GifSpec spec;
  spec.width = 70;
  spec.height = 70;
  spec.minimumSize = 2;
  // 4900 pixels without a clear code fill all 4096 entries on the way; 100 more are dropped.
  std::vector<uint8_t> indices;
  for (int i = 0; i < 5000; ++i) indices.push_back(static_cast<uint8_t>((i * 5 + i / 70) % 4));
  const std::vector<uint8_t> file = GifFile(spec, indices);
  imageData* image = DecodeBytes("x.gif", file);
  ASSERT_EQ(image->pixels.size(), 4900u);
  for (int i = 0; i < 4900; ++i) ASSERT_EQ(image->pixels[i], TableColour(indices[i])) << i;
  std::vector<uint8_t> exact(indices.begin(), indices.begin() + 4900);
  ExpectSameAsMagick(TestFolder() + "/" + PlaceFile("full.gif", GifFile(spec, exact)),
                     "full table");
  ImageFree(image);
}

TEST(ImageGif, DamagedFiles) {
  std::vector<uint8_t> good = ReadBytes(Gif("-colors 32"));
  std::vector<uint8_t> bytes = good;
  bytes[4] = '8';
  imageData* image = DecodeBytes("x.gif", bytes);
  EXPECT_TRUE(IsErrorPicture(*image)) << "GIF88a";
  ImageFree(image);

  image = DecodeBytes("x.gif", std::vector<uint8_t>(good.begin(), good.begin() + 9));
  EXPECT_TRUE(IsErrorPicture(*image)) << "screen descriptor cut";
  ImageFree(image);

  // A cut in the image data keeps what was decoded before it.
  imageData* whole = DecodeBytes("x.gif", good);
  image = DecodeBytes(
      "x.gif",
      std::vector<uint8_t>(good.begin(), good.begin() + static_cast<long>(good.size() / 2)));
  EXPECT_EQ(image->error, 0);
  EXPECT_EQ(image->width, whole->width);
  EXPECT_EQ(image->pixels[0], whole->pixels[0]);
  EXPECT_EQ(image->pixels.back(), 0u);
  ImageFree(image);
  ImageFree(whole);

  GifSpec spec;
  bytes = GifFile(spec, std::vector<uint8_t>(16, 1));
  bytes[13 + 12] = 'x';
  image = DecodeBytes("x.gif", bytes);
  EXPECT_TRUE(IsErrorPicture(*image)) << "unknown block introducer";
  ImageFree(image);
}

TEST(ImageGif, CodesPastTheNextFreeEntryEndThePicture) {
  GifSpec spec;
  // Entry 6 is the next free one after index 1: code 6 is the string being defined ("1 1"),
  // code 7 names nothing.
  imageData* image = DecodeBytes("x.gif", GifWithData(spec, PackCodes({4, 1, 6, 2, 5}, 2)));
  const uint32_t c1 = TableColour(1);
  EXPECT_EQ(image->pixels, (std::vector<uint32_t>{c1, c1, c1, TableColour(2), 0, 0, 0, 0, 0, 0, 0,
                                                  0, 0, 0, 0, 0}));
  ImageFree(image);
  image = DecodeBytes("x.gif", GifWithData(spec, PackCodes({4, 1, 7, 2, 2, 5}, 2)));
  EXPECT_EQ(image->error, 0);
  EXPECT_EQ(image->pixels,
            (std::vector<uint32_t>{c1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  ImageFree(image);
  // Right after a clear code only colour codes are defined.
  image = DecodeBytes("x.gif", GifWithData(spec, PackCodes({4, 6, 1, 5}, 2)));
  EXPECT_EQ(image->pixels, std::vector<uint32_t>(16, 0));
  ImageFree(image);
}

TEST(ImageGif, StringsNeverOutgrowTheTable) {
  // A 1 x 1 picture whose codes first build entries 6 to 4095 as ever longer runs of index 1
  // (each code is the entry being defined). After a clear code they build entries 6 to 2047
  // again, until codes are 12 bits wide, and then name entry 4095, which no longer exists, and
  // chain onto it. A decoder that takes the old entry (left in the table, or from an earlier
  // file) builds strings longer than the table and writes past its string buffer.
  std::vector<int> codes = {4, 1};
  for (int code = 6; code < 4096; ++code) codes.push_back(code);
  codes.push_back(4);
  codes.push_back(1);
  for (int code = 6; code < 2048; ++code) codes.push_back(code);
  codes.push_back(4095);
  for (int code = 2048; code < 2070; ++code) codes.push_back(code);
  codes.push_back(5);
  GifSpec spec;
  spec.width = 1;
  spec.height = 1;
  const std::vector<uint8_t> file = GifWithData(spec, PackCodes(codes, 2));
  for (int round = 0; round < 2; ++round) {
    imageData* image = DecodeBytes("x.gif", file);
    EXPECT_EQ(image->error, 0);
    ASSERT_EQ(image->pixels.size(), 1u);
    EXPECT_EQ(image->pixels[0], TableColour(1));
    ImageFree(image);
  }
  // The decoder keeps nothing from that file: an ordinary one decodes as it does on its own.
  spec.width = spec.height = 4;
  const std::vector<uint8_t> indices = {0, 1, 2, 3, 3, 2, 1, 0, 0, 0, 1, 1, 2, 2, 3, 3};
  imageData* image = DecodeBytes("x.gif", GifFile(spec, indices));
  for (int i = 0; i < 16; ++i) EXPECT_EQ(image->pixels[i], TableColour(indices[i])) << i;
  ImageFree(image);
}

TEST(ImageGif, ScreensTheDataCouldNotFillGiveTheErrorPicture) {
  // A 35-byte file claiming 16384 x 16384 pixels.
  GifSpec spec;
  spec.width = spec.height = 16384;
  spec.tableBits = 1;
  std::vector<uint8_t> file = GifWithData(spec, PackCodes({4, 0, 6, 7, 5}, 2));
  ASSERT_EQ(file.size(), 35u);
  imageData* image = DecodeBytes("x.gif", file);
  EXPECT_TRUE(IsErrorPicture(*image));
  ImageFree(image);
  // Codes that each name the entry being defined give runs of 1, 2, 3, ... pixels: the best
  // any GIF does, so such a file decodes at any size its codes could fill.
  std::vector<int> codes = {4, 0};
  for (int code = 6; code < 4096; ++code) codes.push_back(code);
  codes.push_back(5);
  spec.width = 4096;
  spec.height = 1024;
  image = DecodeBytes("x.gif", GifWithData(spec, PackCodes(codes, 2)));
  EXPECT_EQ(image->error, 0);
  EXPECT_EQ(image->pixels.back(), TableColour(0));
  ImageFree(image);
}
