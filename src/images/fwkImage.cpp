#include "images/fwkImage.h"

#include <algorithm>

#include "images/imageInternal.h"
#include "services/fwkLog.h"

namespace {

constexpr int64_t kDefaultPixelLimit = int64_t{16384} * 16384;
int64_t pixelLimit = kDefaultPixelLimit;

constexpr uint32_t kErrorWhite = 0x00FFFFFF;
constexpr uint32_t kErrorRed = 0x00FF0000;

}  // namespace

void ImageInit() {
  LogVersionAdd("fwkImage - Version Alpha.0");
  pixelLimit = kDefaultPixelLimit;
}

// Clipboard formats are registered by name only on Windows, and nothing reads the number.
uint32_t ImageClipboardFormat() { return 0; }

imageData* ImageAdd(imageData*& image) {
  imageData* frame = new imageData();
  if (image == nullptr) {
    image = frame;
    return frame;
  }
  imageData* last = image;
  while (last->next != nullptr) last = last->next;
  last->next = frame;
  frame->previous = last;
  return frame;
}

void ImageFree(imageData*& image) {
  imageData* frame = image;
  while (frame != nullptr) {
    imageData* next = frame->next;
    delete frame;
    frame = next;
  }
  image = nullptr;
}

void ImageSetError(imageData* frame) {
  if (frame == nullptr) return;
  frame->loaded = 1;
  frame->error = 1;
  frame->width = 16;
  frame->height = 16;
  frame->pixels.assign(256, kErrorWhite);
  for (int i = 0; i < 16; ++i) {
    frame->pixels[i] = kErrorRed;
    frame->pixels[15 * 16 + i] = kErrorRed;
    frame->pixels[i * 16] = kErrorRed;
    frame->pixels[i * 16 + 15] = kErrorRed;
    frame->pixels[i * 16 + i] = kErrorRed;
    frame->pixels[i * 16 + 15 - i] = kErrorRed;
  }
}

int32_t ImageIntLog(int32_t base, int32_t n) {
  if (base <= 1) return 0;
  int32_t count = 0;
  while (n > 1) {
    n /= base;
    ++count;
  }
  return count;
}

int32_t ImageIntPower(int32_t base, int32_t exponent) {
  int32_t result = 1;
  for (int32_t i = 0; i < exponent; ++i) result *= base;
  return result;
}

int64_t ImagePixelLimit() { return pixelLimit; }
void ImageSetPixelLimit(int64_t pixels) { pixelLimit = pixels < 0 ? 0 : pixels; }

namespace {

// perByte pixels for every byte of the file, at least `always`, never above the pixel limit.
int64_t PixelsForSize(size_t fileSize, int64_t perByte, int64_t always) {
  const uint64_t room = static_cast<uint64_t>(pixelLimit / perByte);
  const int64_t bySize = fileSize >= room ? pixelLimit : static_cast<int64_t>(fileSize) * perByte;
  return std::min(pixelLimit, std::max(bySize, always));
}

}  // namespace

ImageBudget ImageBudget::ForPicture(size_t fileSize) {
  return ImageBudget(PixelsForSize(fileSize, kPixelsPerFileByte, kPicturePixelsAlways));
}

ImageBudget ImageBudget::ForIcons(size_t fileSize) {
  return ImageBudget(PixelsForSize(fileSize, kIconPixelsPerFileByte, 0));
}

bool ImageBudget::Allocate(imageData* frame, int64_t width, int64_t height) {
  if (width <= 0 || height <= 0 || width > left_ || height > left_ / width) return false;
  left_ -= width * height;
  frame->width = static_cast<int32_t>(width);
  frame->height = static_cast<int32_t>(height);
  frame->pixels.assign(static_cast<size_t>(width * height), 0);
  return true;
}
