// Images: image files turned into lists of in-memory frames of 32-bit pixels.
// A file is read through the data-file module and decoded by the reader its extension names.
// Decoding never fails loudly: a damaged file becomes a 16 x 16 error picture, a missing file
// or an unknown extension leaves the frame untouched, and nothing is logged.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// One frame. Pixels are row by row, top row first: red in bits 16 to 23, green 8 to 15,
// blue 0 to 7; the top byte is the alpha of 32-bit BMP/TGA sources, 255 (icons) or 1 (animated
// cursors) where the mask bit is set, 255 for opaque pixels of a GIF with a transparent colour,
// and 0 otherwise. A frame is usable when error is 0 and width and height are not 0.
struct imageData {
  std::string name;
  std::string text;
  uint8_t loaded = 0;
  uint8_t error = 0;
  int32_t width = 0;
  int32_t height = 0;
  // Colour depth of the source; the pixels are 32-bit whatever it says.
  uint8_t bitsPerPixel = 32;
  // 1-based position in the source (icon entry or animation frame).
  int32_t frameNumber = 1;
  std::vector<uint32_t> pixels;
  uint32_t palette[256] = {};
  imageData* next = nullptr;
  imageData* previous = nullptr;
};

// Registers the module's version text. The Windows clipboard format the module names has no
// counterpart on other systems; ImageClipboardFormat() is 0 there.
void ImageInit();
uint32_t ImageClipboardFormat();

// Creates the first frame when the list is empty, then ImageLoad(name, image, 0, 0).
void ImageOpen(const std::string& fileName, imageData*& image);
// Runs the decoder for the extension; first and count reach the icon and ANI readers only.
void ImageLoad(const std::string& fileName, imageData*& image, int32_t first, int32_t count);
// The extension (upper case) is .ANI, .AVI, .BMP, .CUR, .GIF, .ICO, .JPG, .PCX or .TGA.
bool ImageIsSupported(const std::string& fileName);
// Appends a new frame (or makes it the first) and returns it.
imageData* ImageAdd(imageData*& image);
// Frees every frame; the list becomes empty.
void ImageFree(imageData*& image);
// Turns the frame into the error picture: white, red border and diagonals, 16 x 16.
void ImageSetError(imageData* frame);
// How many times n can be divided by base while it is above 1 (0 for n <= 1).
int32_t ImageIntLog(int32_t base, int32_t n);
int32_t ImageIntPower(int32_t base, int32_t exponent);

// The readers ImageLoad dispatches to.
void ImageReadBmp(const std::string& fileName, imageData*& image);
void ImageReadTga(const std::string& fileName, imageData*& image);
void ImageReadPcx(const std::string& fileName, imageData*& image);
void ImageReadIcon(const std::string& fileName, imageData*& image, int32_t first, int32_t count);
void ImageReadAni(const std::string& fileName, imageData*& image, int32_t first, int32_t count);

// Decodes bytes already in memory exactly as ImageLoad decodes a file of that name (tools,
// tests and fuzzing use it). The list must hold a first frame.
void ImageLoadMemory(const std::string& fileName, const uint8_t* data, size_t size,
                     imageData*& image, int32_t first, int32_t count);

// Largest number of pixels one load may produce, over all its frames; a file asking for more
// becomes the error picture before anything is allocated. 16384 x 16384 unless set. Below it,
// a load may not produce more pixels than its file's size could honestly hold.
int64_t ImagePixelLimit();
void ImageSetPixelLimit(int64_t pixels);
