// What the readers share inside the image module: reading a whole data file, the pixel budget
// of one load, and the per-format decoders over bytes in memory.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "images/fwkImage.h"
#include "images/imageBytes.h"

// The whole file through the data-file module; false (and nothing read) when it cannot be
// opened. A file that ends early yields the bytes that were there.
bool ImageFileBytes(const std::string& fileName, std::vector<uint8_t>& bytes);

// The list's first frame, created when the list is empty.
imageData* ImageFirstFrame(imageData*& image);

// Pixels one load may still allocate; shared by all frames of that load. Beside the pixel
// limit, the file's size bounds them: a picture may hold kPixelsPerFileByte pixels for every
// byte of its file (kPicturePixelsAlways whatever the size), an icon or animated-cursor file
// kIconPixelsPerFileByte over all its frames. Each reader also refuses, before allocating, a
// picture its remaining data could not fill at the format's best compression.
class ImageBudget {
 public:
  static constexpr int64_t kPicturePixelsAlways = int64_t{1} << 22;
  static constexpr int64_t kPixelsPerFileByte = 200;
  static constexpr int64_t kIconPixelsPerFileByte = 4;

  static ImageBudget ForPicture(size_t fileSize);
  static ImageBudget ForIcons(size_t fileSize);
  // Sizes the frame's pixels (all 0) when width and height are positive and within the budget.
  bool Allocate(imageData* frame, int64_t width, int64_t height);

 private:
  explicit ImageBudget(int64_t pixels) : left_(pixels) {}
  int64_t left_;
};

void ImageDecodeBmp(ImageBytes& bytes, imageData*& image, ImageBudget& budget);
void ImageDecodeTga(ImageBytes& bytes, imageData*& image, ImageBudget& budget);
void ImageDecodePcx(ImageBytes& bytes, imageData*& image, ImageBudget& budget);
void ImageDecodeIcon(ImageBytes& bytes, imageData*& image, ImageBudget& budget, int32_t first,
                     int32_t count);
void ImageDecodeAni(ImageBytes& bytes, imageData*& image, ImageBudget& budget);
void ImageDecodeGif(ImageBytes& bytes, imageData*& image, ImageBudget& budget);
void ImageDecodeJpg(ImageBytes& bytes, imageData*& image, ImageBudget& budget);
