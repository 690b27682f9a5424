// Pixel data laid out as in Windows bitmaps, shared by the BMP, icon and animated-cursor
// readers: bottom-up rows padded to 4 bytes, palette indices packed from the high bit.
#pragma once

#include <cstdint>

#include "images/fwkImage.h"
#include "images/imageBytes.h"

// How a 16-bit pixel splits into red, green and blue.
struct DibChannels {
  uint32_t shift[3];
  uint32_t mask[3];
  uint32_t maximum[3];
};
// The 5-5-5 layout of uncompressed 16-bit pixels.
DibChannels DibChannels555();
// The layout three channel masks describe; a zero mask gives a channel that is always 0.
DibChannels DibChannelsFromMasks(uint32_t red, uint32_t green, uint32_t blue);

// Bytes one row of the pixel data occupies in the file, padding included.
int64_t DibStride(int bits, int64_t width);

// Colour table of `entries` entries (blue, green, red, reserved) into the palette; entries past
// 256 are read and dropped.
bool DibReadPalette(ImageBytes& bytes, imageData* frame, uint64_t entries);

// The frame's rows (already sized) for 1, 2, 4, 8, 16, 24 or 32 bits; keepFourthByte puts the
// fourth byte of 32-bit pixels in the top byte. False on a short read or another bit count.
bool DibReadPixels(ImageBytes& bytes, imageData* frame, int bits, const DibChannels& channels,
                   bool keepFourthByte, bool topDown);

// The 1-bit mask after an icon's colour image: a set bit puts topByte into the pixel's top byte.
bool DibReadMask(ImageBytes& bytes, imageData* frame, uint32_t topByte);
