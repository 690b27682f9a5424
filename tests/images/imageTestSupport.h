// Test files made by tools we did not write (ImageMagick, libjpeg-turbo), their decodes by
// those tools, and our decodes of the same files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "images/fwkImage.h"

// Folder of generated files under the test's working folder; files there are made once and
// reused while the command that made them is unchanged.
std::string TestFolder();

// The path of a file made by `command`, in which {out} stands for the output path.
std::string Generated(const std::string& extension, const std::string& command);
// A deterministic picture to convert from (PNG, width x height, with smooth areas and detail).
std::string SourcePicture(int width, int height, int seed);

std::vector<uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
// Writes the bytes into the test folder under a name and returns the name.
std::string PlaceFile(const std::string& name, const std::vector<uint8_t>& bytes);

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;
  uint32_t At(int x, int y) const;  // red << 16 | green << 8 | blue, alpha in the top byte
};
// ImageMagick's decode of a file ("file.ico[1]" picks an entry).
Picture MagickDecode(const std::string& path);
// libjpeg-turbo's decode (djpeg) of a JPEG file.
Picture DjpegDecode(const std::string& path);

// Our decode through the data-file module, as the program reads a file of the test folder.
imageData* OpenInTestFolder(const std::string& name, int32_t first = 0, int32_t count = 0);
// Our decode of bytes in memory under a file name (its extension picks the reader).
imageData* DecodeBytes(const std::string& name, const std::vector<uint8_t>& bytes,
                       int32_t first = 0, int32_t count = 0);

// Number of pixels whose red, green and blue differ (top bytes not compared); writes the first
// difference to `where`.
int CountRgbDifferences(const imageData& frame, const Picture& reference, std::string& where);
double PsnrRgb(const imageData& frame, const Picture& reference);

// Little-endian writers for files built by hand.
void PutU16(std::vector<uint8_t>& out, uint32_t value);
void PutU32(std::vector<uint8_t>& out, uint32_t value);

bool IsErrorPicture(const imageData& frame);
