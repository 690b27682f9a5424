// Files whose headers claim far more pixels than their data could hold, and icon directories
// that name one image many times: each costs memory in proportion to the file.
#include <gtest/gtest.h>

#include "imageTestSupport.h"

namespace {

void PutU16BigEndian(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(static_cast<uint8_t>(value >> 8));
  out.push_back(static_cast<uint8_t>(value));
}

void PutSegment(std::vector<uint8_t>& out, uint8_t code, const std::vector<uint8_t>& body) {
  out.push_back(0xFF);
  out.push_back(code);
  PutU16BigEndian(out, static_cast<uint32_t>(body.size() + 2));
  out.insert(out.end(), body.begin(), body.end());
}

// A grey baseline JPEG whose DC and AC tables each hold one code of one bit (DC difference 0,
// end of block): every block takes two bits, the best any JPEG does, so zero bytes of data
// give a mid-grey picture of 32 pixels per bit. `trailing` bytes follow the end of the image.
std::vector<uint8_t> GreyJpeg(int width, int height, size_t dataBytes, size_t trailing = 0) {
  std::vector<uint8_t> file = {0xFF, 0xD8};
  std::vector<uint8_t> quant(65, 1);
  quant[0] = 0;
  PutSegment(file, 0xDB, quant);
  std::vector<uint8_t> frame = {8};
  PutU16BigEndian(frame, static_cast<uint32_t>(height));
  PutU16BigEndian(frame, static_cast<uint32_t>(width));
  frame.insert(frame.end(), {1, 1, 0x11, 0});
  PutSegment(file, 0xC0, frame);
  for (uint8_t tableClass : {0x00, 0x10}) {
    std::vector<uint8_t> table(18, 0);
    table[0] = tableClass;
    table[1] = 1;
    PutSegment(file, 0xC4, table);
  }
  PutSegment(file, 0xDA, {1, 1, 0x00, 0, 63, 0});
  file.insert(file.end(), dataBytes, 0);
  file.insert(file.end(), {0xFF, 0xD9});
  file.insert(file.end(), trailing, 0);
  return file;
}

// A size x size one-bit icon image (header, two colours, stripes, an empty mask); size is a
// multiple of 32, or 16.
std::vector<uint8_t> OneBitImage(uint32_t size) {
  std::vector<uint8_t> image;
  for (uint32_t v : {40u, size, 2 * size}) PutU32(image, v);
  PutU16(image, 1);
  PutU16(image, 1);
  for (int i = 0; i < 6; ++i) PutU32(image, 0);
  PutU32(image, 0);
  PutU32(image, 0x00FFFFFF);
  const size_t rows = (size + 31) / 32 * 4 * size;
  image.insert(image.end(), rows, 0x55);
  image.insert(image.end(), rows, 0);
  return image;
}

// An icon directory of `entries` entries that all name the one image behind it.
std::vector<uint8_t> RepeatingIcon(int entries, const std::vector<uint8_t>& image) {
  std::vector<uint8_t> file;
  PutU16(file, 0);
  PutU16(file, 1);
  PutU16(file, static_cast<uint32_t>(entries));
  const uint32_t offset = 6 + 16 * static_cast<uint32_t>(entries);
  for (int e = 0; e < entries; ++e) {
    for (int i = 0; i < 8; ++i) file.push_back(0);
    PutU32(file, static_cast<uint32_t>(image.size()));
    PutU32(file, offset);
  }
  file.insert(file.end(), image.begin(), image.end());
  return file;
}

}  // namespace

TEST(ImageBounds, JpegHeadersNeedTwoBitsOfDataPerBlock) {
  // 64 x 64 pixels are 64 blocks: 128 bits, 16 bytes.
  imageData* image = DecodeBytes("x.jpg", GreyJpeg(64, 64, 16));
  EXPECT_EQ(image->error, 0);
  ASSERT_EQ(image->pixels.size(), 64u * 64u);
  EXPECT_EQ(image->pixels.back(), 0x808080u);
  ImageFree(image);
  // The same data under a header claiming 16384 x 16384 (the whole file is about 200 bytes).
  const std::vector<uint8_t> claim = GreyJpeg(16384, 16384, 16);
  ASSERT_LT(claim.size(), 200u);
  image = DecodeBytes("x.jpg", claim);
  EXPECT_TRUE(IsErrorPicture(*image));
  ImageFree(image);
}

TEST(ImageBounds, LargePicturesNeedFilesOfProportionateSize) {
  // The bounds count the bytes after the frame header, wherever they are: here one block of
  // data and then bytes after the end of the image, so that nothing large is decoded.
  // 4096 x 1024 pixels (2^22) is the size any file may have when its data could fill it.
  imageData* image = DecodeBytes("x.jpg", GreyJpeg(4096, 1024, 1, 4096 * 1024 / 256));
  EXPECT_EQ(image->error, 0);
  EXPECT_EQ(image->width, 4096);
  ImageFree(image);
  // Twice that needs 200 pixels per byte of the file, more than the data JPEG needs.
  image = DecodeBytes("x.jpg", GreyJpeg(4096, 2048, 1, 4096 * 2048 / 256));
  EXPECT_TRUE(IsErrorPicture(*image));
  ImageFree(image);
  image = DecodeBytes("x.jpg", GreyJpeg(4096, 2048, 1, 4096 * 2048 / 200));
  EXPECT_EQ(image->error, 0);
  EXPECT_EQ(image->height, 2048);
  ImageFree(image);
}

TEST(ImageBounds, AnIconImageNamedAgainIsCopiedAndTheTotalIsBounded) {
  // Three entries of a 16 x 16 image: 768 pixels from a 230-byte file.
  imageData* frames = DecodeBytes("x.ico", RepeatingIcon(3, OneBitImage(16)));
  int count = 0;
  for (const imageData* frame = frames; frame != nullptr; frame = frame->next) {
    ++count;
    EXPECT_EQ(frame->frameNumber, count);
    EXPECT_EQ(frame->error, 0);
    EXPECT_EQ(frame->pixels, frames->pixels);
    EXPECT_EQ(frame->bitsPerPixel, 1);
  }
  EXPECT_EQ(count, 3);
  EXPECT_EQ(frames->pixels[0], 0u);
  EXPECT_EQ(frames->pixels[1], 0x00FFFFFFu);
  ImageFree(frames);

  // Three thousand entries in a 64 KB file: four pixels per byte of the file in all, then the
  // error picture ends the list.
  const std::vector<uint8_t> file = RepeatingIcon(3000, OneBitImage(256));
  frames = DecodeBytes("x.ico", file);
  int64_t pixels = 0;
  count = 0;
  const imageData* last = frames;
  for (const imageData* frame = frames; frame != nullptr; frame = frame->next) {
    ++count;
    pixels += static_cast<int64_t>(frame->pixels.size());
    last = frame;
  }
  EXPECT_LE(pixels, static_cast<int64_t>(file.size()) * 4 + 256);
  EXPECT_EQ(count, static_cast<int>(file.size() * 4 / (256 * 256)) + 1);
  EXPECT_TRUE(IsErrorPicture(*last));
  ImageFree(frames);
}
