#pragma once
// True-colour pictures as the content tools produce them: straight (not premultiplied) RGBA,
// top row first, and the 32-bit uncompressed TGA files the game reads.
#include <cstdint>
#include <string>
#include <vector>

struct Rgba {
  uint8_t r = 0, g = 0, b = 0, a = 0;
};

struct Raster {
  int width = 0;
  int height = 0;
  std::vector<Rgba> pixels;

  Raster() = default;
  Raster(int w, int h, Rgba fill = {});
  Rgba& at(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
  const Rgba& at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

// Every source pixel becomes a factor x factor block, the way pixel art is enlarged.
Raster RasterScale(const Raster& source, int factor);
Raster RasterMirror(const Raster& source);
// Source-over composition of source onto target with its top-left corner at (x, y), clipped.
void RasterBlend(Raster& target, const Raster& source, int x, int y);
// The bytes of an uncompressed TGA (image type 2, top-left origin): 32 bits with 8 alpha bits,
// or 24 bits without alpha.
std::vector<uint8_t> RasterTgaBytes(const Raster& image, int bits = 32);
bool RasterWriteTga(const Raster& image, const std::string& path, int bits = 32);
