// The frame list, the error picture, integer helpers and dispatch by extension.
#include <gtest/gtest.h>

#include "imageTestSupport.h"

TEST(ImageStore, FramesLinkBothWaysAndFreeEmptiesTheList) {
  imageData* image = nullptr;
  ImageFree(image);
  EXPECT_EQ(image, nullptr);
  imageData* a = ImageAdd(image);
  imageData* b = ImageAdd(image);
  imageData* c = ImageAdd(image);
  EXPECT_EQ(image, a);
  EXPECT_EQ(a->next, b);
  EXPECT_EQ(b->next, c);
  EXPECT_EQ(c->previous, b);
  EXPECT_EQ(b->previous, a);
  EXPECT_EQ(a->previous, nullptr);
  EXPECT_EQ(c->next, nullptr);
  EXPECT_EQ(c->bitsPerPixel, 32);
  EXPECT_EQ(c->frameNumber, 1);
  EXPECT_EQ(c->loaded, 0);
  EXPECT_EQ(c->width, 0);
  for (uint32_t entry : c->palette) EXPECT_EQ(entry, 0u);
  ImageFree(image);
  EXPECT_EQ(image, nullptr);
}

TEST(ImageStore, ErrorPictureIsWhiteWithRedBorderAndDiagonals) {
  imageData* image = nullptr;
  imageData* frame = ImageAdd(image);
  frame->bitsPerPixel = 8;
  ImageSetError(frame);
  EXPECT_TRUE(IsErrorPicture(*frame));
  EXPECT_EQ(frame->pixels[0 * 16 + 5], 0x00FF0000u);
  EXPECT_EQ(frame->pixels[1 * 16 + 1], 0x00FF0000u);
  EXPECT_EQ(frame->pixels[1 * 16 + 2], 0x00FFFFFFu);
  EXPECT_EQ(frame->pixels[3 * 16 + 12], 0x00FF0000u);
  EXPECT_EQ(frame->bitsPerPixel, 8) << "the error picture keeps the depth";
  ImageFree(image);
}

TEST(ImageStore, IntegerLogAndPower) {
  EXPECT_EQ(ImageIntLog(2, 256), 8);
  EXPECT_EQ(ImageIntLog(2, 16), 4);
  EXPECT_EQ(ImageIntLog(2, 255), 7);
  EXPECT_EQ(ImageIntLog(10, 1000), 3);
  EXPECT_EQ(ImageIntLog(2, 1), 0);
  EXPECT_EQ(ImageIntLog(2, 0), 0);
  EXPECT_EQ(ImageIntLog(2, -5), 0);
  EXPECT_EQ(ImageIntPower(2, 0), 1);
  EXPECT_EQ(ImageIntPower(2, 10), 1024);
  EXPECT_EQ(ImageIntPower(3, 4), 81);
}

TEST(ImageStore, SupportedExtensions) {
  for (const char* name :
       {"a.ani", "a.AVI", "b\\c.bmp", "x.CuR", "x.gif", "x.ico", "x.jpg", "x.pcx", "x.tga"}) {
    EXPECT_TRUE(ImageIsSupported(name)) << name;
  }
  for (const char* name : {"x.jpeg", "x.png", "x.lbm", "bmp", "x.bmp.txt", ""})
    EXPECT_FALSE(ImageIsSupported(name)) << name;
}

TEST(ImageStore, DispatchIgnoresCaseAndNeedsAnExtension) {
  const std::string bmp =
      Generated(".bmp", "/usr/bin/convert " + SourcePicture(5, 4, 1) + " BMP3:{out}");
  const std::vector<uint8_t> bytes = ReadBytes(bmp);
  PlaceFile("lower.bmp", bytes);
  PlaceFile("UPPER.BMP", bytes);
  PlaceFile("noextension", bytes);
  PlaceFile("movie.avi", bytes);
  PlaceFile("picture.lbm", bytes);
  for (const char* name : {"lower.bmp", "UPPER.BMP"}) {
    imageData* image = OpenInTestFolder(name);
    EXPECT_EQ(image->loaded, 1) << name;
    EXPECT_EQ(image->width, 5);
    ImageFree(image);
  }
  for (const char* name : {"noextension", "movie.avi", "picture.lbm", "missing.bmp"}) {
    imageData* image = OpenInTestFolder(name);
    EXPECT_EQ(image->loaded, 0) << name;
    EXPECT_EQ(image->error, 0) << name;
    EXPECT_EQ(image->width, 0) << name;
    EXPECT_EQ(image->next, nullptr);
    ImageFree(image);
  }
}

TEST(ImageStore, OpenCreatesTheFirstFrameAndDamagedFilesGiveTheErrorPicture) {
  PlaceFile("damaged.bmp", {'B', 'M', 1, 2, 3});
  imageData* prepared = OpenInTestFolder("damaged.bmp");
  ImageFree(prepared);
  imageData* image = nullptr;
  ImageOpen("damaged.bmp", image);
  ASSERT_NE(image, nullptr);
  EXPECT_TRUE(IsErrorPicture(*image));
  ImageFree(image);
}

TEST(ImageStore, PixelLimitGivesTheErrorPictureBeforeAllocating) {
  // A 32-bit BMP header asking for 16385 x 16384 pixels, with no pixel data behind it.
  std::vector<uint8_t> file = {'B', 'M'};
  PutU32(file, 54);
  PutU32(file, 0);
  PutU32(file, 54);
  PutU32(file, 40);
  PutU32(file, 16385);
  PutU32(file, 16384);
  PutU16(file, 1);
  PutU16(file, 32);
  for (int i = 0; i < 6; ++i) PutU32(file, 0);
  imageData* image = DecodeBytes("big.bmp", file);
  EXPECT_TRUE(IsErrorPicture(*image));
  ImageFree(image);

  // Within the limit a frame decodes; a lower limit turns the same file away.
  const std::vector<uint8_t> small =
      ReadBytes(Generated(".bmp", "/usr/bin/convert " + SourcePicture(40, 30, 2) + " BMP3:{out}"));
  image = DecodeBytes("small.bmp", small);
  EXPECT_FALSE(image->error);
  ImageFree(image);
  ImageSetPixelLimit(40 * 30 - 1);
  image = DecodeBytes("small.bmp", small);
  EXPECT_TRUE(IsErrorPicture(*image));
  ImageFree(image);
  ImageSetPixelLimit(int64_t{16384} * 16384);
}
