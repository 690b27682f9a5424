// GIF reader: the first image of a GIF87a or GIF89a file, with global and local colour
// tables, interlacing and the transparent colour of a graphic control extension.
#pragma once

#include <string>

#include "images/fwkImage.h"

// Registers the module's version text.
void ImageGifInit();
void ImageReadGif(const std::string& fileName, imageData*& image);
