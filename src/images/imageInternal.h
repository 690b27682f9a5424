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

// Pixels one load may still allocate; shared by all frames of that load.
class ImageBudget {
public:
  ImageBudget() : left_(ImagePixelLimit()) {}
  // Sizes the frame's pixels (all 0) when width and height are positive and within the budget.
  bool Allocate(imageData* frame, int64_t width, int64_t height);

private:
  int64_t left_;
};

void ImageDecodeBmp(ImageBytes& bytes, imageData*& image, ImageBudget& budget);
void ImageDecodeTga(ImageBytes& bytes, imageData*& image, ImageBudget& budget);
void ImageDecodePcx(ImageBytes& bytes, imageData*& image, ImageBudget& budget);
void ImageDecodeIcon(ImageBytes& bytes, imageData*& image, ImageBudget& budget, int32_t first, int32_t count);
void ImageDecodeAni(ImageBytes& bytes, imageData*& image, ImageBudget& budget);
void ImageDecodeGif(ImageBytes& bytes, imageData*& image, ImageBudget& budget);
void ImageDecodeJpg(ImageBytes& bytes, imageData*& image, ImageBudget& budget);
