#include "fotBuild.h"
#include "fotInfo.h"
#include "fonts/FontTestFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

namespace {

const std::string dejaVu = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

fotFont Render(int32_t pixels, int32_t first, int32_t last) {
  fotFont font;
  std::string error;
  EXPECT_TRUE(FotRender(dejaVu, pixels, first, last, font, error)) << error;
  return font;
}

int32_t Ink(const fotGlyph& glyph) {
  int32_t sum = 0;
  for (uint8_t c : glyph.coverage) sum += c;
  return sum;
}

TEST(FotBuild, GlyphCellsLeaveTheUndrawnColumnAndRowEmpty) {
  const fotFont font = Render(16, 32, 126);
  ASSERT_EQ(font.glyphs.size(), 95u);
  const int32_t height = font.header.height;
  EXPECT_GE(height, 17);
  EXPECT_LE(height, 22);
  EXPECT_EQ(font.header.name, "DejaVu Sans 16");
  for (const fotGlyph& glyph : font.glyphs) {
    ASSERT_EQ(glyph.coverage.size(), static_cast<size_t>(glyph.width * height));
    for (int32_t y = 0; y < height; ++y)
      EXPECT_EQ(glyph.coverage[y * glyph.width + glyph.width - 1], 0) << "code " << int(glyph.code);
    for (int32_t x = 0; x < glyph.width; ++x)
      EXPECT_EQ(glyph.coverage[(height - 1) * glyph.width + x], 0) << "code " << int(glyph.code);
  }
  const fotGlyph& space = font.glyphs[0];
  EXPECT_EQ(Ink(space), 0);
  EXPECT_GT(space.width, 3);
  const fotGlyph& m = font.glyphs['M' - 32];
  const fotGlyph& i = font.glyphs['i' - 32];
  EXPECT_GT(Ink(m), Ink(i));
  EXPECT_GT(m.width, i.width + 5) << "proportional advances";
  EXPECT_EQ(font.glyphs['g' - 32].coverage[(height - 2) * font.glyphs['g' - 32].width + 3] > 0 ||
                font.glyphs['g' - 32].coverage[(height - 3) * font.glyphs['g' - 32].width + 3] > 0,
            true)
      << "descenders reach the bottom rows";
}

TEST(FotBuild, CodesWithoutAGlyphTakeNoSpace) {
  const fotFont font = Render(12, 0, 255);
  ASSERT_EQ(font.glyphs.size(), 256u);
  EXPECT_EQ(font.glyphs[9].width, 1) << "control characters";
  EXPECT_EQ(font.glyphs[0x81].width, 1) << "unassigned in Windows-1252";
  EXPECT_GT(Ink(font.glyphs[0x80]), 0) << "the euro sign of Windows-1252";
  EXPECT_GT(Ink(font.glyphs[0xE9]), 0) << "e acute";
  EXPECT_EQ(FotCodePoint(0x80), 0x20ACu);
  EXPECT_EQ(FotCodePoint(0xE9), 0xE9u);
}

TEST(FotBuild, PackingFollowsTheEngineLayoutAndFillsImages) {
  const fotFont font = Render(16, 32, 126);
  std::vector<fontFileImage> images;
  std::string error;
  ASSERT_TRUE(FotPack(font, images, error)) << error;
  const int32_t height = font.header.height;
  size_t glyph = 0;
  for (const fontFileImage& image : images) {
    EXPECT_EQ(image.first, font.glyphs[glyph].code);
    const auto places = FontLayoutImage(image.widths, height);
    for (size_t k = 0; k < places.size(); ++k, ++glyph) {
      const fotGlyph& source = font.glyphs[glyph];
      EXPECT_EQ(image.widths[k], source.width);
      EXPECT_LE(places[k].row + height, fontImageSide);
      for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < source.width; ++x)
          ASSERT_EQ(image.pixels[(places[k].row + y) * 64 + places[k].x + x],
                    uint32_t(source.coverage[y * source.width + x]) << 24 | 0xFFFFFF);
    }
    if (&image != &images.back()) {
      // The image was closed because the next glyph would have started a row too low.
      std::vector<uint8_t> more = image.widths;
      more.push_back(font.glyphs[glyph].width);
      EXPECT_GT(FontLayoutImage(more, height).back().row + height, fontImageSide);
    }
  }
  EXPECT_EQ(glyph, font.glyphs.size());
}

TEST(FotBuild, RefusesWhatCannotBeAFont) {
  fotFont font;
  std::string error;
  EXPECT_FALSE(FotRender(dejaVu, 16, 100, 99, font, error));
  EXPECT_FALSE(FotRender(dejaVu, 16, 0, 256, font, error));
  EXPECT_FALSE(FotRender(dejaVu, 60, 32, 126, font, error)) << "taller than an image";
  EXPECT_NE(error.find("64 x 64"), std::string::npos);
  EXPECT_FALSE(FotRender("/nonexistent.ttf", 16, 32, 126, font, error));
}

TEST(FotBuild, InfoListsHeaderAndImages) {
  const std::string path = "fot-info-test.fot";
  {
    std::ofstream out(path, std::ios::binary);
    out << TestFontBytes("Tiny", 65, 70, 9, {{65, {5, 6, 7}}, {68, {4, 4, 4}}});
  }
  std::string report, error;
  ASSERT_TRUE(FotInfo(path, report, error)) << error;
  EXPECT_EQ(report,
            "version 1.0\nname Tiny\ncodes 65 to 70\nheight 9\n"
            "image 1: 3 glyphs, codes 65 to 67\nimage 2: 3 glyphs, codes 68 to 70\n"
            "2 images, 6 glyphs\n");
  {
    std::ofstream out(path, std::ios::binary);
    out << TestFontBytes("Tiny", 65, 70, 9, {{65, {5, 6, 7}}}).substr(0, 100);
  }
  EXPECT_FALSE(FotInfo(path, report, error));
  EXPECT_EQ(error, "FontOpen - Unexpected end of font \"" + path + "\" when reading image data.");
  std::remove(path.c_str());
}

}  // namespace
