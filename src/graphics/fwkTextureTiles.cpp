#include "graphics/fwkTextureTiles.h"

#include <algorithm>

int32_t TextureLargestTileSide(int32_t size) {
  int32_t side = textureMinimumTile;
  while (side <= size / 2) side *= 2;
  return side;
}

textureTiling TextureTileWalk(int32_t width, int32_t height, int32_t tileWidth,
                              int32_t tileHeight) {
  textureTiling tiling;
  for (int32_t y = 0; y < height;) {
    int32_t th = tileHeight;
    while (th > textureMinimumTile && th / 2 - 2 > height - y) th /= 2;
    for (int32_t x = 0; x < width;) {
      int32_t tw = tileWidth;
      while (tw > textureMinimumTile && tw / 2 - 2 > width - x) tw /= 2;
      tiling.tiles.push_back(
          {x, std::min(x + tw - 3, width - 1), y, std::min(y + th - 3, height - 1), tw, th});
      if (y == 0) ++tiling.columns;
      x += tw - 2;
    }
    ++tiling.rows;
    y += th - 2;
  }
  return tiling;
}

void TextureCopyTile(const std::vector<uint32_t>& pixels, int32_t width, int32_t height, int32_t x,
                     int32_t y, int32_t tileWidth, int32_t tileHeight,
                     std::vector<uint32_t>& buffer) {
  const size_t texels = static_cast<size_t>(tileWidth) * tileHeight;
  if (buffer.size() < texels) buffer.resize(texels);
  std::fill_n(buffer.begin(), texels, 0u);
  const int32_t xe = std::min(x + tileWidth - 3, width - 1);
  const int32_t ye = std::min(y + tileHeight - 3, height - 1);
  const int32_t w = xe - x + 1;
  const int32_t h = ye - y + 1;
  if (w < 1 || h < 1) return;
  auto at = [&](int32_t row, int32_t column) -> uint32_t& {
    return buffer[row * tileWidth + column];
  };
  for (int32_t row = 0; row < h; ++row)
    std::copy_n(&pixels[static_cast<size_t>(y + row) * width + x], w, &at(row + 1, 1));
  for (int32_t column = 1; column <= w; ++column) {
    at(0, column) = at(1, column);
    at(h + 1, column) = at(h, column);
  }
  for (int32_t row = 1; row <= h; ++row) {
    at(row, 0) = at(row, 1);
    at(row, w + 1) = at(row, w);
  }
  at(0, 0) = at(0, 1);
  at(0, w + 1) = at(0, w);
  at(h + 1, 0) = at(h + 1, 1);
  at(h + 1, w + 1) = at(h + 1, w);
}
