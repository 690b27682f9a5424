// The context rebuild: textures and display lists released, contexts freed and made again,
// then images re-read and fonts rebuilt chunk by chunk.
#include "fonts/FontTestFiles.h"
#include "graphics/GraphicsTestSupport.h"
#include "graphics/fwkFont.h"
#include "graphics/fwkGraphics.h"
#include "graphics/fwkModel.h"
#include "graphics/fwkTexture.h"
#include "textures/TextureTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

constexpr int32_t screenWidth = 256;
constexpr int32_t screenHeight = 160;

int32_t display = 0;
std::string data;

class AssetRebuild : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { display = TextureTestSuiteStart(screenWidth, screenHeight, data); }
  static void TearDownTestSuite() { TextureTestSuiteStop(data); }

  void SetUp() override { GraphicsTestLogClear(); }

  static void Begin() {
    GraphicsRenderBegin(display);
    GraphicsSet2D(screenWidth, screenHeight);
  }
};

// The order the game follows when it switches between windowed and fullscreen.
void Rebuild() {
  GraphicsSetChanging(true);
  ModelAssetsRelease();
  GraphicsDisplaysFreeRC();
  GraphicsSetFullscreen(false);
  GraphicsDisplaysCreateRC();
  ModelAssetsRecompile();
  GraphicsSetChanging(false);
}

uint32_t FontPattern(int32_t x, int32_t y) {
  return 0xFF000000u | uint32_t(x * 4) << 16 | uint32_t(y * 4) << 8 | 0x80;
}

std::string PatternFont(const std::string& name) {
  return TestFontBytes(name, 65, 70, 12,
                       {{65, {10, 12, 9}, 0, FontPattern}, {68, {20, 21, 22}, 0, FontPattern}});
}

bool SameRegion(const testFrame& a, const testFrame& b, int32_t left, int32_t top, int32_t width,
                int32_t height) {
  for (int32_t y = top; y < top + height; ++y)
    for (int32_t x = left; x < left + width; ++x)
      if (a.At(x, y) != b.At(x, y)) return false;
  return true;
}

TEST_F(AssetRebuild, ImagesAndTextDrawTheSamePixelsAfterARebuild) {
  // The image that goes missing gets its texture first, so its old texture names are the
  // ones the new context hands out first.
  TextureTestWriteTga(data + "gone.tga", 30, 30, 32, TextureTestPattern);
  TextureTestWriteTga(data + "keep.tga", 100, 70, 32, TextureTestPattern);
  TextureTestWriteFile(data + "text.fot", PatternFont("Pattern"));
  model* gone = ModelOpen(display, "gone.tga");
  model* keep = ModelOpen(display, "keep.tga");
  const int32_t font = FontOpen(display, "text.fot");
  ASSERT_NE(gone, nullptr);
  ASSERT_NE(keep, nullptr);
  ASSERT_NE(font, 0);
  FontSetColour(font, 0xFFFFFFFF);
  ModelSetPosition(gone, 150, 5, 0);
  ModelSetPosition(keep, 5, 5, 0);
  auto draw = [&]() {
    Begin();
    ModelDraw(gone);
    ModelDraw(keep);
    FontDrawText(font, 5, 100, "ABCDEFA");
    return GraphicsTestBackBuffer();
  };
  const testFrame before = draw();
  ASSERT_NE(before.At(5, 100), testBlack);

  std::remove((data + "gone.tga").c_str());
  Rebuild();
  const testFrame after = draw();
  EXPECT_TRUE(SameRegion(before, after, 0, 0, 140, screenHeight)) << "image and text";
  EXPECT_EQ(TextureTestLogCount(
                "Error: ModelAssetsRecompile - Unable to rebuild image \"gone.tga\" for model."),
            1);
  // The missing image's models stay, drawn without image data: one flat colour, never
  // pieces of the textures that took over its old names.
  for (int32_t y = 5; y < 35; ++y)
    for (int32_t x = 150; x < 180; ++x)
      ASSERT_EQ(after.At(x, y), after.At(150, 5)) << x << ", " << y;

  ModelFree(gone);
  ModelFree(keep);
  FontClose(font);
}

TEST_F(AssetRebuild, AFontThatCannotBeReadAgainIsDeletedWithItsTexture) {
  const std::string bytes = PatternFont("Broken");
  TextureTestWriteFile(data + "broken.fot", bytes);
  TextureTestWriteTga(data + "after.tga", 10, 10, 32, TextureTestPattern);
  const int32_t font = FontOpen(display, "broken.fot");
  model* image = ModelOpen(display, "after.tga");
  ASSERT_NE(font, 0);
  ASSERT_NE(image, nullptr);
  ASSERT_NE(TextureFind(display, "broken.fot"), nullptr);

  // The second image chunk now ends inside its pixels.
  TextureTestWriteFile(data + "broken.fot", bytes.substr(0, bytes.size() - 2000));
  Rebuild();
  EXPECT_EQ(
      TextureTestLogCount("Error: FontRebuildTexel -Could not read pixel data when rebuilding font "
                          "\"broken.fot\".  Font deleted."),
      1);
  EXPECT_EQ(FontFindByFile(display, "broken.fot"), 0);
  EXPECT_EQ(TextureFind(display, "broken.fot"), nullptr);
  Begin();
  ModelDraw(image);
  EXPECT_EQ(GraphicsTestBackBuffer().At(9, 9), TextureTestPattern(9, 9))
      << "the texture after it was rebuilt";
  ModelFree(image);
}

TEST_F(AssetRebuild, AMissingFontFileKeepsTheFont) {
  TextureTestWriteFile(data + "vanish.fot", PatternFont("Vanish"));
  const int32_t font = FontOpen(display, "vanish.fot");
  ASSERT_NE(font, 0);
  std::remove((data + "vanish.fot").c_str());
  Rebuild();
  EXPECT_EQ(TextureTestLogCount("Error: FontRebuildStart - Unable to load font \"vanish.fot\"."),
            1);
  EXPECT_EQ(TextureTestLogCount("Error: ModelAssetsRecompile - Could not reread font file."), 1);
  EXPECT_EQ(FontFindByFile(display, "vanish.fot"), font);
  FontClose(font);
}

TEST_F(AssetRebuild, CompiledModelsAreCompiledAgainInTheNewContext) {
  TextureTestWriteTga(data + "lists.tga", 12, 12, 32, TextureTestPattern);
  model* m = ModelOpen(display, "lists.tga");
  ASSERT_NE(m, nullptr);
  EXPECT_TRUE(m->compiled);
  ModelAssetsRelease();
  EXPECT_FALSE(m->hasList);
  EXPECT_EQ(TextureFind(display, "lists.tga")->tiles.size(), 1u) << "tiles keep their geometry";
  GraphicsDisplaysFreeRC();
  GraphicsDisplaysCreateRC();
  ModelAssetsRecompile();
  EXPECT_TRUE(m->hasList);
  EXPECT_TRUE(m->compiled);
  Begin();
  ModelSetPosition(m, 40, 40, 0);
  ModelDraw(m);
  EXPECT_EQ(GraphicsTestBackBuffer().At(51, 51), TextureTestPattern(11, 11));
  ModelFree(m);
}

}  // namespace
