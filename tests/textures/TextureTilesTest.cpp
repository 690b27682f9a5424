#include "graphics/fwkTextureTiles.h"

#include <gtest/gtest.h>

namespace {

textureTiling Walk(int32_t width, int32_t height) {
  return TextureTileWalk(width, height, TextureLargestTileSide(width),
                         TextureLargestTileSide(height));
}

TEST(TextureTiles, LargestSideIsAPowerOfTwoOfAtLeast64) {
  EXPECT_EQ(TextureLargestTileSide(100), 64);
  EXPECT_EQ(TextureLargestTileSide(1280), 1024);
  EXPECT_EQ(TextureLargestTileSide(128), 128);
  EXPECT_EQ(TextureLargestTileSide(127), 64);
  EXPECT_EQ(TextureLargestTileSide(1), 64);
  EXPECT_EQ(TextureLargestTileSide(4096), 4096);
  EXPECT_EQ(TextureLargestTileSide(4095), 2048);
}

TEST(TextureTiles, SmallImagesNeedASecondTilePastColumn61) {
  const textureTiling square = Walk(64, 64);
  ASSERT_EQ(square.tiles.size(), 4u);
  EXPECT_EQ(square.columns, 2);
  EXPECT_EQ(square.rows, 2);
  EXPECT_EQ(square.tiles[1].x1, 62);
  EXPECT_EQ(square.tiles[1].x2, 63);
  EXPECT_EQ(square.tiles[2].y1, 62);
  EXPECT_EQ(square.tiles[3].y2, 63);
  for (const auto& tile : square.tiles) EXPECT_EQ(tile.textureWidth * tile.textureHeight, 64 * 64);

  const textureTiling wide = Walk(100, 30);
  ASSERT_EQ(wide.tiles.size(), 2u);
  EXPECT_EQ(wide.rows, 1);
  EXPECT_EQ(wide.tiles[0].x2, 61);
  EXPECT_EQ(wide.tiles[1].x1, 62);
  EXPECT_EQ(wide.tiles[1].x2, 99);
  EXPECT_EQ(wide.tiles[1].y2, 29);
}

TEST(TextureTiles, A1280By720ImageGivesFourTiles) {
  const textureTiling t = Walk(1280, 720);
  ASSERT_EQ(t.tiles.size(), 4u);
  const textureTileSpan expected[] = {{0, 1021, 0, 509, 1024, 512},
                                      {1022, 1279, 0, 509, 512, 512},
                                      {0, 1021, 510, 719, 1024, 256},
                                      {1022, 1279, 510, 719, 512, 256}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(t.tiles[i].x1, expected[i].x1) << i;
    EXPECT_EQ(t.tiles[i].x2, expected[i].x2) << i;
    EXPECT_EQ(t.tiles[i].y1, expected[i].y1) << i;
    EXPECT_EQ(t.tiles[i].y2, expected[i].y2) << i;
    EXPECT_EQ(t.tiles[i].textureWidth, expected[i].textureWidth) << i;
    EXPECT_EQ(t.tiles[i].textureHeight, expected[i].textureHeight) << i;
  }
}

TEST(TextureTiles, TilesCoverEveryPixelOnceWithRowsAndColumnsAligned) {
  for (int32_t width : {1, 2, 61, 62, 63, 124, 125, 300, 1023, 1024, 2050, 4096})
    for (int32_t height : {1, 62, 63, 130, 720, 4096}) {
      const textureTiling t = Walk(width, height);
      ASSERT_EQ(t.tiles.size(), static_cast<size_t>(t.columns * t.rows));
      int64_t covered = 0;
      for (int32_t i = 0; i < static_cast<int32_t>(t.tiles.size()); ++i) {
        const auto& tile = t.tiles[i];
        const auto& rowStart = t.tiles[i - i % t.columns];
        const auto& columnTop = t.tiles[i % t.columns];
        EXPECT_EQ(tile.y1, rowStart.y1);
        EXPECT_EQ(tile.textureHeight, rowStart.textureHeight);
        EXPECT_EQ(tile.x1, columnTop.x1);
        EXPECT_EQ(tile.textureWidth, columnTop.textureWidth);
        EXPECT_EQ(tile.x1, i % t.columns == 0 ? 0 : t.tiles[i - 1].x2 + 1);
        EXPECT_LE(tile.x2 - tile.x1 + 1, tile.textureWidth - 2);
        EXPECT_LE(tile.y2 - tile.y1 + 1, tile.textureHeight - 2);
        covered += int64_t(tile.x2 - tile.x1 + 1) * (tile.y2 - tile.y1 + 1);
      }
      EXPECT_EQ(t.tiles.back().x2, width - 1);
      EXPECT_EQ(t.tiles.back().y2, height - 1);
      EXPECT_EQ(covered, int64_t(width) * height) << width << " x " << height;
    }
}

TEST(TextureTiles, TileCopyRepeatsItsOwnEdgeAroundThePixels) {
  // A 66 x 3 image of distinct values; the tile at x = 62 holds columns 62..65.
  std::vector<uint32_t> pixels(66 * 3);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint32_t>(i + 1);
  auto pixel = [&](int32_t x, int32_t y) { return pixels[y * 66 + x]; };
  std::vector<uint32_t> buffer(64 * 64, 0xDEADBEEF);
  TextureCopyTile(pixels, 66, 3, 62, 0, 64, 64, buffer);
  auto texel = [&](int32_t column, int32_t row) { return buffer[row * 64 + column]; };
  EXPECT_EQ(texel(1, 1), pixel(62, 0));
  EXPECT_EQ(texel(4, 3), pixel(65, 2));
  EXPECT_EQ(texel(0, 2), pixel(62, 1)) << "left border";
  EXPECT_EQ(texel(5, 2), pixel(65, 1)) << "right border";
  EXPECT_EQ(texel(2, 0), pixel(63, 0)) << "top border";
  EXPECT_EQ(texel(2, 4), pixel(63, 2)) << "bottom border";
  EXPECT_EQ(texel(0, 0), pixel(62, 0));
  EXPECT_EQ(texel(5, 0), pixel(65, 0));
  EXPECT_EQ(texel(0, 4), pixel(62, 2));
  EXPECT_EQ(texel(5, 4), pixel(65, 2));
  EXPECT_EQ(texel(6, 1), 0u) << "beyond the border stays transparent black";
  EXPECT_EQ(texel(1, 5), 0u);
  EXPECT_EQ(texel(63, 63), 0u);

  // The first tile of the same image is full width: its right border repeats column 61.
  TextureCopyTile(pixels, 66, 3, 0, 0, 64, 64, buffer);
  EXPECT_EQ(texel(63, 1), pixel(61, 0));
  EXPECT_EQ(texel(62, 1), pixel(61, 0));
}

}  // namespace
