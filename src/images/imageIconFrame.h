// One image of an icon, cursor or animated cursor: the bitmap header, colour image and mask.
#pragma once

#include <cstdint>

#include "images/imageInternal.h"

// Decodes the image whose 40-byte header starts at the reader's position into the frame;
// a set mask bit puts maskTopByte into the pixel's top byte. False when the image is damaged.
bool IconDecodeImage(ImageBytes& bytes, imageData* frame, ImageBudget& budget,
                     uint32_t maskTopByte);
