// Icons, cursors and animated cursors: entries against ImageMagick's decode, frame numbering,
// masks, PNG entries and RIFF files assembled here.
#include <gtest/gtest.h>

#include "imageTestSupport.h"

namespace {

// A source with a fully transparent corner, so that the icons carry real masks.
std::string MaskedSource(int size) {
  return Generated(
      ".png",
      "/usr/bin/convert " + SourcePicture(size, size, 5) +
          " \\( +clone -fx '(i+j < w/2) ? 0 : 1' \\) -alpha off -compose copy_opacity -composite PNG32:{out}");
}

std::string Icon(const std::string& options, int size = 16) {
  return Generated(".ico", "/usr/bin/convert " + MaskedSource(size) + " " + options + " {out}");
}

// Colour where ImageMagick sees a visible pixel; top byte 255 exactly where the mask is set.
// ImageMagick shows 32-bit entries with the alpha of their fourth byte, not the mask, so there
// only the colours are compared.
void ExpectEntryMatches(const imageData& frame, const Picture& reference, const std::string& what) {
  ASSERT_EQ(frame.width, reference.width) << what;
  ASSERT_EQ(frame.height, reference.height) << what;
  int colourWrong = 0, maskWrong = 0;
  for (int i = 0; i < frame.width * frame.height; ++i) {
    const bool transparent = reference.rgba[i * 4 + 3] == 0;
    if (frame.bitsPerPixel < 32) maskWrong += ((frame.pixels[i] >> 24) == 255) != transparent;
    const uint32_t theirs = reference.At(i % frame.width, i / frame.width) & 0xFFFFFF;
    if (!transparent) colourWrong += (frame.pixels[i] & 0xFFFFFF) != theirs;
  }
  EXPECT_EQ(colourWrong, 0) << what;
  EXPECT_EQ(maskWrong, 0) << what;
}

// An icon directory over images given as bitmap header + colour table + pixels + mask.
std::vector<uint8_t> IconFile(const std::vector<std::vector<uint8_t>>& images, int width,
                              int height) {
  std::vector<uint8_t> file;
  PutU16(file, 0);
  PutU16(file, 1);
  PutU16(file, static_cast<uint32_t>(images.size()));
  uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
  for (const std::vector<uint8_t>& image : images) {
    file.push_back(static_cast<uint8_t>(width));
    file.push_back(static_cast<uint8_t>(height));
    for (int i = 0; i < 6; ++i) file.push_back(0);
    PutU32(file, static_cast<uint32_t>(image.size()));
    PutU32(file, offset);
    offset += static_cast<uint32_t>(image.size());
  }
  for (const std::vector<uint8_t>& image : images)
    file.insert(file.end(), image.begin(), image.end());
  return file;
}

// A 24-bit icon image made from a 24-bit BMP that ImageMagick wrote, with a mask added.
std::vector<uint8_t> IconImageFromBitmap(const std::vector<uint8_t>& bmp, int width, int height,
                                         const std::vector<uint8_t>& maskRows) {
  std::vector<uint8_t> image(bmp.begin() + 14, bmp.begin() + 54);
  const uint32_t doubled = static_cast<uint32_t>(height * 2);
  for (int i = 0; i < 4; ++i) image[8 + i] = static_cast<uint8_t>(doubled >> (8 * i));
  const size_t stride = static_cast<size_t>((width * 3 + 3) / 4 * 4);
  image.insert(image.end(), bmp.begin() + 54,
               bmp.begin() + 54 + static_cast<long>(stride * height));
  image.insert(image.end(), maskRows.begin(), maskRows.end());
  return image;
}

std::vector<uint8_t> Chunk(const std::string& tag, const std::vector<uint8_t>& body) {
  std::vector<uint8_t> out(tag.begin(), tag.end());
  PutU32(out, static_cast<uint32_t>(body.size()));
  out.insert(out.end(), body.begin(), body.end());
  if (body.size() % 2 != 0) out.push_back(0);
  return out;
}

std::vector<uint8_t> Join(std::initializer_list<std::vector<uint8_t>> parts) {
  std::vector<uint8_t> out;
  for (const std::vector<uint8_t>& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

}  // namespace

TEST(ImageIcon, FourEightAndThirtyTwoBitEntriesMatchImageMagick) {
  const struct {
    const char* options;
    int bits;
  } variants[] = {{"-colors 16 -type palettematte", 4},
                  {"-colors 200 -type palettematte", 8},
                  {"-type truecolormatte", 32}};
  for (const auto& variant : variants) {
    const std::string path = Icon(variant.options);
    imageData* image = DecodeBytes("x.ico", ReadBytes(path));
    EXPECT_EQ(image->bitsPerPixel, variant.bits) << variant.options;
    EXPECT_EQ(image->error, 0);
    ExpectEntryMatches(*image, MagickDecode(path), variant.options);
    ImageFree(image);
  }
}

TEST(ImageIcon, TwentyFourBitEntriesWithAMask) {
  const int width = 13, height = 9;
  const std::string bmp = Generated(".bmp", "/usr/bin/convert " + SourcePicture(width, height, 8) +
                                                " -type truecolor BMP3:{out}");
  std::vector<uint8_t> mask;
  for (int r = 0; r < height; ++r) {
    for (uint8_t b : {static_cast<uint8_t>(0xF0 >> (r % 4)), uint8_t{0x08}, uint8_t{0}, uint8_t{0}})
      mask.push_back(b);
  }
  const std::vector<uint8_t> file =
      IconFile({IconImageFromBitmap(ReadBytes(bmp), width, height, mask)}, width, height);
  const std::string name = PlaceFile("true24.ico", file);
  imageData* image = DecodeBytes("x.ico", file);
  EXPECT_EQ(image->bitsPerPixel, 24);
  ExpectEntryMatches(*image, MagickDecode(TestFolder() + "/" + name), "24 bits");
  // Bottom row first: the last image row takes the first mask row, 0xF0: columns 0 to 3 and 12.
  const uint32_t* bottom = image->pixels.data() + (height - 1) * width;
  EXPECT_EQ(bottom[3] >> 24, 255u);
  EXPECT_EQ(bottom[4] >> 24, 0u);
  EXPECT_EQ(bottom[12] >> 24, 255u);
  ImageFree(image);
}

TEST(ImageIcon, ThirtyTwoBitEntriesDropTheFourthByte) {
  const std::string path = Icon("-type truecolormatte");
  const std::vector<uint8_t> bytes = ReadBytes(path);
  imageData* image = DecodeBytes("x.ico", bytes);
  for (uint32_t pixel : image->pixels) ASSERT_TRUE((pixel >> 24) == 0 || (pixel >> 24) == 255);
  ImageFree(image);
}

TEST(ImageIcon, EntriesFromFirstToCountBecomeNumberedFrames) {
  const std::string path = Generated(
      ".ico", "/usr/bin/convert " + MaskedSource(32) + " -define icon:auto-resize=32,16,24 {out}");
  imageData* all = DecodeBytes("x.cur", ReadBytes(path));
  int frames = 0;
  for (imageData* f = all; f != nullptr; f = f->next) EXPECT_EQ(f->frameNumber, ++frames);
  EXPECT_EQ(frames, 3);
  ImageFree(all);

  imageData* image = DecodeBytes("x.ico", ReadBytes(path), 2, 0);
  ASSERT_NE(image->next, nullptr);
  EXPECT_EQ(image->frameNumber, 2);
  EXPECT_EQ(image->next->frameNumber, 3);
  EXPECT_EQ(image->next->next, nullptr);
  EXPECT_EQ(image->next->previous, image);
  ExpectEntryMatches(*image, MagickDecode(path + "[1]"), "entry 2");
  ExpectEntryMatches(*image->next, MagickDecode(path + "[2]"), "entry 3");
  ImageFree(image);

  image = DecodeBytes("x.ico", ReadBytes(path), 1, 2);
  EXPECT_EQ(image->width, 32);
  ASSERT_NE(image->next, nullptr);
  EXPECT_EQ(image->next->width, 16);
  EXPECT_EQ(image->next->next, nullptr);
  ImageFree(image);

  image = DecodeBytes("x.ico", ReadBytes(path), 4, 0);
  EXPECT_TRUE(IsErrorPicture(*image)) << "fewer entries than first";
  ImageFree(image);
}

TEST(ImageIcon, PngEntriesGiveErrorFramesWhileOthersDecode) {
  const std::string path = Generated(".ico", "/usr/bin/convert " + MaskedSource(256) +
                                                 " -define icon:auto-resize=16,256,32 {out}");
  imageData* image = DecodeBytes("x.ico", ReadBytes(path));
  int index = 0;
  bool sawPng = false;
  for (imageData* f = image; f != nullptr; f = f->next, ++index) {
    if (f->error) {
      sawPng = true;
      EXPECT_TRUE(IsErrorPicture(*f));
    } else {
      EXPECT_GT(f->width, 0);
      ExpectEntryMatches(*f, MagickDecode(path + "[" + std::to_string(index) + "]"), "entry");
    }
  }
  EXPECT_EQ(index, 3);
  EXPECT_TRUE(sawPng);
  ImageFree(image);
}

TEST(ImageIcon, DamagedEntriesSpoilTheFrameBeingDecoded) {
  std::vector<uint8_t> bytes = ReadBytes(Icon("-colors 16 -type palettematte"));
  imageData* image = DecodeBytes("x.ico", std::vector<uint8_t>(bytes.begin(), bytes.end() - 3));
  EXPECT_TRUE(IsErrorPicture(*image)) << "mask cut short";
  ImageFree(image);
  image = DecodeBytes("x.ico", std::vector<uint8_t>(bytes.begin(), bytes.begin() + 10));
  EXPECT_TRUE(IsErrorPicture(*image)) << "directory cut short";
  ImageFree(image);
  bytes[6 + 12] = 0xFF;
  bytes[6 + 13] = 0xFF;
  image = DecodeBytes("x.ico", bytes);
  EXPECT_TRUE(IsErrorPicture(*image)) << "offset past the end";
  ImageFree(image);
}

TEST(ImageAni, EveryIconChunkBecomesAFrameWithMaskTopByteOne) {
  const std::vector<uint8_t> first = ReadBytes(Icon("-colors 16 -type palettematte"));
  const std::vector<uint8_t> second = ReadBytes(Icon("-colors 200 -type palettematte", 8));
  std::vector<uint8_t> header;
  for (int i = 0; i < 9; ++i) PutU32(header, i == 0 ? 36 : 1);
  const std::vector<uint8_t> frames =
      Join({{'f', 'r', 'a', 'm'}, Chunk("icon", first), Chunk("icon", second)});
  std::vector<uint8_t> info = Join({{'I', 'N', 'F', 'O'}, Chunk("INAM", {'c', 'u', 'r'})});
  const std::vector<uint8_t> body = Join({{'A', 'C', 'O', 'N'},
                                          Chunk("LIST", info),
                                          Chunk("anih", header),
                                          Chunk("rate", {8, 0, 0, 0, 8, 0, 0, 0}),
                                          Chunk("LIST", frames)});
  const std::vector<uint8_t> file = Join({{'R', 'I', 'F', 'F'}, {0, 0, 0, 0}, body});
  PlaceFile("cursor.ani", file);
  imageData* image = DecodeBytes("x.ani", file, 5, 7);
  ASSERT_NE(image->next, nullptr);
  EXPECT_EQ(image->next->next, nullptr);
  EXPECT_EQ(image->frameNumber, 1);
  EXPECT_EQ(image->next->frameNumber, 2);
  EXPECT_EQ(image->width, 16);
  EXPECT_EQ(image->next->width, 8);
  imageData* icon = DecodeBytes("x.ico", first);
  ASSERT_EQ(icon->pixels.size(), image->pixels.size());
  for (size_t i = 0; i < icon->pixels.size(); ++i) {
    EXPECT_EQ(icon->pixels[i] & 0xFFFFFF, image->pixels[i] & 0xFFFFFF);
    EXPECT_EQ(icon->pixels[i] >> 24 == 255, image->pixels[i] >> 24 == 1);
  }
  ImageFree(icon);
  ImageFree(image);

  // A cut inside the second icon spoils that frame only.
  image = DecodeBytes("x.ani", std::vector<uint8_t>(file.begin(), file.end() - 40));
  ASSERT_NE(image->next, nullptr);
  EXPECT_EQ(image->error, 0);
  EXPECT_TRUE(IsErrorPicture(*image->next));
  ImageFree(image);
}

TEST(ImageAni, FilesThatAreNotRiffGiveTheErrorPicture) {
  imageData* image = DecodeBytes("x.ani", {'R', 'I', 'F', 'X', 0, 0, 0, 0});
  EXPECT_TRUE(IsErrorPicture(*image));
  ImageFree(image);
  // A RIFF file without icons leaves the frame untouched; a chunk size past the end just ends it.
  image = DecodeBytes("x.ani", Join({{'r', 'i', 'f', 'f', 0, 0, 0, 0},
                                     {'A', 'C', 'O', 'N'},
                                     {'a', 'n', 'i', 'h', 0xFF, 0xFF, 0xFF, 0xFF}}));
  EXPECT_EQ(image->loaded, 0);
  EXPECT_EQ(image->error, 0);
  ImageFree(image);
}
