// JPEG reader: baseline (sequential DCT, Huffman coded) files with JFIF colour. The inverse
// DCT uses a two-digit integer cosine table, so samples differ slightly from other decoders;
// the content is made with this arithmetic. A file that cannot be decoded keeps the size its
// frame header gave and whatever pixels were decoded; no error picture is drawn.
#pragma once

#include <string>

#include "images/fwkImage.h"

// Builds the cosine, basis and zig-zag tables and registers the module's version text.
void ImageJpgInit();
void ImageReadJpg(const std::string& fileName, imageData*& image);
