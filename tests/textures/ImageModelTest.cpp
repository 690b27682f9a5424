// Image models drawn with real OpenGL (Mesa, offscreen) and read back pixel by pixel.
#include "graphics/GL.h"
#include "graphics/GraphicsTestSupport.h"
#include "graphics/fwkFont.h"
#include "graphics/fwkGraphics.h"
#include "graphics/fwkModel.h"
#include "graphics/fwkModelImage.h"
#include "graphics/fwkTexture.h"
#include "textures/TextureTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

constexpr int32_t screenWidth = 320;
constexpr int32_t screenHeight = 240;

int32_t display = 0;
std::string data;

class ImageModel : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { display = TextureTestSuiteStart(screenWidth, screenHeight, data); }
  static void TearDownTestSuite() { TextureTestSuiteStop(data); }

  void SetUp() override {
    GraphicsTestLogClear();
    GraphicsRenderBegin(display);
    GraphicsSet2D(screenWidth, screenHeight);
  }
};

// Every pixel of a width x height image drawn at (left, top) shows exactly its own colour, and
// the ring of pixels around it shows the background.
void ExpectImageAt(const testFrame& frame, int32_t left, int32_t top, int32_t width, int32_t height,
                   uint32_t (*colour)(int32_t, int32_t), uint32_t background = testBlack) {
  int32_t wrong = 0;
  for (int32_t y = top - 1; y <= top + height; ++y)
    for (int32_t x = left - 1; x <= left + width; ++x) {
      if (x < 0 || y < 0 || x >= frame.width || y >= frame.height) continue;
      const bool inside = x >= left && y >= top && x < left + width && y < top + height;
      const uint32_t expected = inside ? colour(x - left, y - top) : background;
      if (frame.At(x, y) != expected && ++wrong <= 5)
        ADD_FAILURE() << "pixel (" << x - left << ", " << y - top << ") of the image is "
                      << std::hex << frame.At(x, y) << ", expected " << expected;
    }
  EXPECT_EQ(wrong, 0);
}

TEST_F(ImageModel, SmallImagesDrawPixelExactAcrossTheirTileSeams) {
  TextureTestWriteTga(data + "wide.tga", 100, 30, 32, TextureTestPattern);
  TextureTestWriteTga(data + "square.tga", 64, 64, 32, TextureTestPattern);
  model* wide = ModelOpen(display, "wide.tga");
  model* square = ModelOpenImage(display, "square.tga", false);
  ASSERT_NE(wide, nullptr);
  ASSERT_NE(square, nullptr);
  texture* squareTexture = TextureFind(display, "square.tga");
  ASSERT_NE(squareTexture, nullptr);
  EXPECT_EQ(squareTexture->columns, 2);
  EXPECT_EQ(squareTexture->rows, 2);
  EXPECT_EQ(ModelWidth(wide), 100.0f);
  EXPECT_EQ(ModelHeight(square), 64.0f);

  ModelSetPosition(wide, 7, 5, 0);
  ModelSetPosition(square, 150, 41, 0);
  ModelDraw(wide);
  ModelDraw(square);
  const testFrame frame = GraphicsTestBackBuffer();
  ExpectImageAt(frame, 7, 5, 100, 30, TextureTestPattern);
  ExpectImageAt(frame, 150, 41, 64, 64, TextureTestPattern);
  ModelFree(wide);
  ModelFree(square);
}

TEST_F(ImageModel, ManyTilesMeetWithoutGapsOrRepeats) {
  // Seams at columns 62, 124 and 186 and rows 62 and 124 (64 x 64 tiles are all that fit),
  // and a 1024-wide tile beside a smaller one.
  TextureTestWriteTga(data + "seams.tga", 200, 130, 32, TextureTestPattern);
  model* seams = ModelOpen(display, "seams.tga");
  ASSERT_NE(seams, nullptr);
  ModelSetPosition(seams, 3, 4, 0);
  ModelDraw(seams);
  ExpectImageAt(GraphicsTestBackBuffer(), 3, 4, 200, 130, TextureTestPattern);
  ModelFree(seams);
}

TEST_F(ImageModel, A1280By720ImageIsCutIntoFourTilesAndDrawsAcrossTheirSeams) {
  TextureTestWriteTga(data + "big.tga", 1280, 720, 32, TextureTestPattern);
  model* big = ModelOpen(display, "big.tga");
  ASSERT_NE(big, nullptr);
  const texture* t = TextureFind(display, "big.tga");
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(t->tiles.size(), 4u);
  EXPECT_EQ(t->tileWidth, 1024);
  EXPECT_EQ(t->tileHeight, 512);
  EXPECT_EQ(t->tiles[0].x2, 1021);
  EXPECT_EQ(t->tiles[1].x1, 1022);
  EXPECT_EQ(t->tiles[1].textureWidth, 512);
  EXPECT_EQ(t->tiles[2].y1, 510);
  EXPECT_EQ(t->tiles[3].textureHeight, 256);
  EXPECT_EQ(t->depth, 32);

  // Show the corner where the four tiles meet (image pixel (1022, 510) at screen (100, 100)).
  ModelSetPosition(big, -922, -410, 0);
  ModelDraw(big);
  const testFrame frame = GraphicsTestBackBuffer();
  int32_t wrong = 0;
  for (int32_t y = 0; y < screenHeight; ++y)
    for (int32_t x = 0; x < screenWidth; ++x) {
      const uint32_t expected =
          x + 922 < 1280 && y + 410 < 720 ? TextureTestPattern(x + 922, y + 410) : testBlack;
      wrong += frame.At(x, y) != expected;
    }
  EXPECT_EQ(wrong, 0);
  ModelFree(big);
}

TEST_F(ImageModel, ALargestImageDrawsAcrossTheSeamOfItsFullSizeTile) {
  // 4096 x 4096: full-size tiles hold 4094 pixels, so the last two columns and rows take
  // 64 x 64 tiles; the seam lands at screen (104, 104).
  TextureTestWriteTga(data + "huge.tga", 4096, 4096, 32, TextureTestPattern);
  model* huge = ModelOpen(display, "huge.tga");
  ASSERT_NE(huge, nullptr);
  const texture* t = TextureFind(display, "huge.tga");
  ASSERT_EQ(t->tiles.size(), 4u);
  EXPECT_EQ(t->tiles[1].x1, 4094);
  EXPECT_EQ(t->tiles[1].textureWidth, 64);
  ModelSetPosition(huge, -3990, -3990, 0);
  ModelDraw(huge);
  const testFrame frame = GraphicsTestBackBuffer();
  int32_t wrong = 0;
  for (int32_t y = 0; y < screenHeight; ++y)
    for (int32_t x = 0; x < screenWidth; ++x) {
      const uint32_t expected =
          x + 3990 < 4096 && y + 3990 < 4096 ? TextureTestPattern(x + 3990, y + 3990) : testBlack;
      wrong += frame.At(x, y) != expected;
    }
  EXPECT_EQ(wrong, 0);
  ModelFree(huge);
}

uint32_t HalfTransparent(int32_t x, int32_t y) {
  return (x < 8 ? 0x00000000u : 0xFF000000u) | 0x00336699u;
}
uint32_t Opaque(int32_t, int32_t) { return 0xFF336699u; }

TEST_F(ImageModel, AlphaIsUsedOnlyForThirtyTwoBitImages) {
  TextureTestWriteTga(data + "alpha32.tga", 16, 4, 32, HalfTransparent);
  TextureTestWriteTga(data + "alpha24.tga", 16, 4, 24, HalfTransparent);
  model* with = ModelOpen(display, "alpha32.tga");
  model* without = ModelOpen(display, "alpha24.tga");
  ASSERT_NE(with, nullptr);
  ASSERT_NE(without, nullptr);
  EXPECT_EQ(TextureFind(display, "alpha24.tga")->depth, 24);
  ModelSetPosition(with, 10, 10, 0);
  ModelSetPosition(without, 10, 20, 0);
  ModelDraw(with);
  ModelDraw(without);
  const testFrame frame = GraphicsTestBackBuffer();
  EXPECT_EQ(frame.At(10, 10), testBlack) << "transparent pixel of the 32-bit image";
  EXPECT_EQ(frame.At(20, 10), 0xFF336699u);
  ExpectImageAt(frame, 10, 20, 16, 4, Opaque);
  ModelFree(with);
  ModelFree(without);
}

// The texture holds red, green, blue and alpha as the 0xAARRGGBB pixels gave them; a 24-bit
// texture keeps no alpha and samples as opaque.
TEST_F(ImageModel, TexturesHoldThePixelsChannelsInOrder) {
  const uint32_t pixels[2] = {0x80112233u, 0xFF445566u};
  texture* t = TextureNew(display);
  ASSERT_NE(t, nullptr);
  const int32_t tile = TextureAddTile(t);
  uint8_t read[8] = {};
  for (const uint8_t depth : {uint8_t{32}, uint8_t{24}}) {
    TextureSetDepth(t, depth);
    TextureUpload(t, tile, pixels, 1, 2);
    gl.PixelStorei(GL_PACK_ALIGNMENT, 1);
    gl.GetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, read);
    const uint8_t alpha0 = depth == 32 ? 0x80 : 0xFF;
    EXPECT_EQ(std::vector<uint8_t>(read, read + 8),
              (std::vector<uint8_t>{0x11, 0x22, 0x33, alpha0, 0x44, 0x55, 0x66, 0xFF}))
        << int(depth) << "-bit texture";
  }
  TextureFree(t);
}

TEST_F(ImageModel, ModelsOfOneFileShareATextureThatGoesWithTheLast) {
  TextureTestWriteTga(data + "shared.tga", 20, 20, 32, TextureTestPattern);
  model* first = ModelOpen(display, "shared.tga");
  model* second = ModelOpen(display, "shared.tga");
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
  texture* t = TextureFind(display, "SHARED.TGA");
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->references, 2);
  const size_t textures = ModelDisplayRecord(display)->textures.size();
  ModelFree(first);
  EXPECT_EQ(TextureFind(display, "shared.tga"), t);
  EXPECT_EQ(t->references, 1);
  ModelDraw(second);
  ExpectImageAt(GraphicsTestBackBuffer(), 0, 0, 20, 20, TextureTestPattern);
  ModelFree(second);
  EXPECT_EQ(TextureFind(display, "shared.tga"), nullptr);
  EXPECT_EQ(ModelDisplayRecord(display)->textures.size(), textures - 1);
}

TEST_F(ImageModel, TexturesAreFoundByTheirWholeNameOnTheirOwnDisplay) {
  std::filesystem::create_directories(data + "Art");
  TextureTestWriteTga(data + "Art/tail.tga", 8, 8, 32, TextureTestPattern);
  model* m = ModelOpen(display, "Art\\tail.tga");
  ASSERT_NE(m, nullptr);
  EXPECT_NE(TextureFind(display, "ART\\TAIL.TGA"), nullptr);
  EXPECT_EQ(TextureFind(display, "tail.tga"), nullptr);
  EXPECT_EQ(TextureFind(display + 1000, "Art\\tail.tga"), nullptr);
  int32_t width = -1, height = -1;
  TextureGetSize(TextureFind(display, "Art\\tail.tga"), width, height);
  EXPECT_EQ(width, 8);
  TextureGetSize(nullptr, width, height);
  EXPECT_EQ(width, 0);
  EXPECT_EQ(height, 0);
  ModelFree(m);
}

TEST_F(ImageModel, UnreadableFilesAndUnknownDisplaysGiveNoModel) {
  EXPECT_EQ(ModelOpenImage(display, "missing.tga", false), nullptr);
  EXPECT_EQ(TextureTestLogCount(
                "Error: ModelTextureExtract - Unable to extract image \"missing.tga\" for model."),
            1);
  TextureTestWriteFile(data + "broken.tga", "not an image");
  EXPECT_EQ(ModelOpen(display, "broken.tga"), nullptr);
  EXPECT_EQ(TextureTestLogCount(
                "Error: ModelTextureExtract - Unable to extract image \"broken.tga\" for model."),
            1);
  EXPECT_EQ(ModelOpenImage(4242, "wide.tga", false), nullptr);
  EXPECT_EQ(TextureTestLogCount("Error: ModelOpenImage - Invalid display ID \"4242\"."), 1);
  EXPECT_EQ(ModelTextureExtract(display, nullptr, false), nullptr);
  EXPECT_EQ(TextureNew(4242), nullptr);
  EXPECT_EQ(TextureFind(display, "missing.tga"), nullptr);
}

// No driver here reports errors without end, so a stand-in for the error query plays one: it
// answers an error every time, and gives up only after far more calls than a bounded drain makes.
int64_t errorQueries = 0;
GLenum SANGUOR_GLAPI EndlessError() {
  return ++errorQueries < 1000000 ? GL_INVALID_OPERATION : GL_NO_ERROR;
}

TEST_F(ImageModel, ADriverReportingErrorsWithoutEndDoesNotHoldUpTheTileProbe) {
  TextureTestWriteTga(data + "probed.tga", 130, 70, 32, TextureTestPattern);
  const auto realGetError = gl.GetError;
  errorQueries = 0;
  gl.GetError = EndlessError;
  texture* probed = TextureOpen(display, "probed.tga", false);
  gl.GetError = realGetError;
  EXPECT_LT(errorQueries, 1000);
  ASSERT_NE(probed, nullptr);
  EXPECT_EQ(probed->tileWidth, 128);
  EXPECT_EQ(probed->tileHeight, 64);
  TextureFree(probed);
}

}  // namespace
