// The headers of an uncompressed 24-bit BMP file, as the program writes its screenshots and the
// launcher picture: the rows that follow run bottom-up, each padded to four bytes.
#pragma once

#include <cstdint>
#include <vector>

// Bytes in one padded row of a 24-bit picture width pixels wide.
uint32_t BmpRowBytes(uint32_t width);
// Appends the 54 bytes of file and information header for a width x height picture.
void BmpAppendHeader(std::vector<uint8_t>& out, uint32_t width, uint32_t height);
