// How an image is cut into power-of-two texture tiles with a one-texel border, and how a tile's
// texels are filled. Pure code, so the cutting can be checked for any image size without a
// display; fwkTexture uploads what these functions produce.
#pragma once

#include <cstdint>
#include <vector>

// Smallest side of any tile, and what a tile is never shrunk below.
constexpr int32_t textureMinimumTile = 64;

// The largest power of two not above size, but at least 64.
int32_t TextureLargestTileSide(int32_t size);

struct textureTileSpan {
  int32_t x1, x2, y1, y2;  // image columns and rows covered, inclusive
  int32_t textureWidth, textureHeight;
};

struct textureTiling {
  int32_t columns = 0;
  int32_t rows = 0;
  std::vector<textureTileSpan> tiles;  // row by row, left to right
};

// Walks the image from the top-left corner. Each tile starts at the largest size and is
// halved while half of it would still hold more than the pixels left in that direction.
textureTiling TextureTileWalk(int32_t width, int32_t height, int32_t tileWidth, int32_t tileHeight);

// Fills buffer (tileWidth x tileHeight texels, at least that size) with image pixels x.., y..
// at texel (1, 1) on, a copy of the edge pixels around them, and transparent black beyond.
void TextureCopyTile(const std::vector<uint32_t>& pixels, int32_t width, int32_t height, int32_t x,
                     int32_t y, int32_t tileWidth, int32_t tileHeight,
                     std::vector<uint32_t>& buffer);
