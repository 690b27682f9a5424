// Fonts opened from files and drawn with real OpenGL (Mesa, offscreen), read back pixel by pixel.
#include "fonts/FontTestFiles.h"
#include "graphics/GraphicsTestSupport.h"
#include "graphics/fwkFont.h"
#include "graphics/fwkGraphics.h"
#include "graphics/fwkModel.h"
#include "graphics/fwkTexture.h"
#include "textures/TextureTestSupport.h"

#include <gtest/gtest.h>

namespace {

constexpr int32_t screenWidth = 200;
constexpr int32_t screenHeight = 120;

int32_t display = 0;
std::string data;

class FontDraw : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { display = TextureTestSuiteStart(screenWidth, screenHeight, data); }
  static void TearDownTestSuite() { TextureTestSuiteStop(data); }

  void SetUp() override {
    GraphicsTestLogClear();
    GraphicsRenderBegin(display);
    GraphicsSet2D(screenWidth, screenHeight);
  }
};

uint32_t Texel(int32_t x, int32_t y) {
  return 0xFF000000u | uint32_t(x * 4) << 16 | uint32_t(y * 4) << 8 | 0x80;
}

int32_t Open(const std::string& file, const std::string& bytes) {
  TextureTestWriteFile(data + file, bytes);
  const int32_t font = FontOpen(display, file);
  FontSetColour(font, 0xFFFFFFFF);
  return font;
}

size_t ModelCount() { return ModelDisplayRecord(display)->models.size(); }

// Pixels of the glyph drawn at (left, top) against texels from (column, row) of its image: the
// glyph shows (width - 1) x (height - 1) of them, and nothing to its right or below.
void ExpectGlyph(const testFrame& frame, int32_t left, int32_t top, int32_t column, int32_t row,
                 int32_t width, int32_t height) {
  int32_t wrong = 0;
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) {
      const bool drawn = x < width - 1 && y < height - 1;
      const uint32_t expected = drawn ? Texel(column + x, row + y) : testBlack;
      if (frame.At(left + x, top + y) != expected && ++wrong <= 3)
        ADD_FAILURE() << "glyph pixel (" << x << ", " << y << ") is " << std::hex
                      << frame.At(left + x, top + y) << ", expected " << expected;
    }
  EXPECT_EQ(wrong, 0);
}

TEST_F(FontDraw, GlyphsShowTheirPlaceInTheFontImage) {
  // Widths 30, 20, 20: the third glyph goes to column 0 of the second row (30 + 20 + 20 >= 64).
  const int32_t font =
      Open("layout.fot", TestFontBytes("Layout", 65, 67, 9, {{65, {30, 20, 20}, 0, Texel}}));
  ASSERT_NE(font, 0);
  FontDrawText(font, 10, 10, "A");
  FontDrawText(font, 10, 30, "B");
  FontDrawText(font, 10, 50, "C");
  const testFrame frame = GraphicsTestBackBuffer();
  ExpectGlyph(frame, 10, 10, 0, 0, 30, 9);
  ExpectGlyph(frame, 10, 30, 30, 0, 20, 9);
  ExpectGlyph(frame, 10, 50, 0, 9, 20, 9);
  FontClose(font);
}

TEST_F(FontDraw, TextAdvancesByWidthMinusOneAndClipsAtTheMaximumWidth) {
  const int32_t font =
      Open("measure.fot", TestFontBytes("Measure", 65, 70, 6, {{65, {7, 5, 9}, 0xFFFFFFFF}}));
  ASSERT_NE(font, 0);
  EXPECT_EQ(FontTextWidth(font, "AB"), 10);
  EXPECT_EQ(FontTextWidth(font, "AzB"), 10) << "characters outside the font have no width";
  EXPECT_EQ(FontTextWidth(font, "AD"), 5) << "a code without a glyph moves the pen back by one";
  EXPECT_EQ(FontHeight(font), 6);

  FontDrawTextClipped(font, 20, 20, 16, "ABCA");  // 6 + 4 + 8 = 18 > 16: "AB" only
  FontDrawText(font, 20, 40, "ADB");
  const testFrame frame = GraphicsTestBackBuffer();
  EXPECT_EQ(frame.At(20, 20), 0xFFFFFFFFu);
  EXPECT_EQ(frame.At(29, 24), 0xFFFFFFFFu) << "last pixel of B";
  EXPECT_EQ(frame.At(30, 20), testBlack) << "C was clipped";
  EXPECT_EQ(frame.At(29, 25), testBlack) << "a glyph is one row shorter than the font height";
  EXPECT_EQ(frame.At(28, 40), 0xFFFFFFFFu) << "B starts one pixel left of where A ended";
  EXPECT_EQ(frame.At(29, 40), testBlack);
  FontClose(font);
}

TEST_F(FontDraw, OpeningAgainGivesTheSameFontOnlyOnTheSameDisplay) {
  const std::string bytes = TestFontBytes("Shared Name", 65, 66, 6, {{65, {7, 5}}});
  const int32_t font = Open("shared.fot", bytes);
  ASSERT_NE(font, 0);
  const size_t models = ModelCount();
  EXPECT_EQ(FontOpen(display, "SHARED.FOT"), font);
  EXPECT_EQ(ModelCount(), models) << "the file is not read again";
  EXPECT_EQ(FontFindByName(display, "shared name"), font);
  EXPECT_EQ(FontFindByFile(display, "Shared.fot"), font);
  EXPECT_EQ(FontFindByName(display, "Shared"), 0);

  const int32_t other = GraphicsTestOpenDisplay(64, 64);
  const int32_t second = FontOpen(other, "shared.fot");
  EXPECT_GT(second, font);
  EXPECT_EQ(FontTextWidth(second, "AB"), 10);
  GraphicsDisplayClose(other);
  EXPECT_EQ(FontTextWidth(second, "AB"), 0) << "closing the display closed its fonts";
  EXPECT_EQ(FontTextWidth(font, "AB"), 10);
  FontClose(font);
  EXPECT_EQ(FontHeight(font), 0);
  EXPECT_EQ(ModelCount(), models - 2);
}

TEST_F(FontDraw, FailuresLogOneLineAndLeaveNoFontBehind) {
  const size_t models = ModelCount();
  EXPECT_EQ(FontOpen(display, "nothing.fot"), 0);
  EXPECT_EQ(TextureTestLogCount("Error: FontOpen - Unable to load font \"nothing.fot\"."), 1);

  EXPECT_EQ(Open("empty.fot", TestFontBytes("E", 66, 65, 6, {})), 0);
  EXPECT_EQ(
      TextureTestLogCount("Error: FontOpen - No character widths defined in font \"empty.fot\""),
      1);

  // Two good images, then a third cut short: the glyphs already made go again.
  const std::string bytes = TestFontBytes("Cut", 65, 90, 6, {{65, {5, 5}}, {67, {5}}, {68, {5}}});
  EXPECT_EQ(Open("cut.fot", bytes.substr(0, bytes.size() - 1)), 0);
  EXPECT_EQ(TextureTestLogCount(
                "Error: FontOpen - Unexpected end of font \"cut.fot\" when reading number of "
                "character widths in image."),
            1);
  EXPECT_EQ(ModelCount(), models);
  EXPECT_EQ(TextureFind(display, "cut.fot"), nullptr) << "the font texture went with the glyphs";
  EXPECT_EQ(FontFindByFile(display, "cut.fot"), 0);
  EXPECT_EQ(FontOpen(4242, "cut.fot"), 0);

  const int32_t empty = Open("noimages.fot", TestFontBytes("None", 65, 90, 6, {}));
  EXPECT_NE(empty, 0) << "a font without images is valid";
  EXPECT_EQ(FontTextWidth(empty, "AB"), -2);
  FontClose(empty);
}

TEST_F(FontDraw, GlyphsPastTheTwoHundredFiftySixthAreIgnored) {
  // 6 images of 60 glyphs: the fifth holds glyphs 240..299 of which 16 are kept, the sixth
  // none, so it gets no tile.
  std::vector<testFontImage> images;
  for (int32_t i = 0; i < 6; ++i) {
    std::vector<uint8_t> widths(60);
    for (int32_t k = 0; k < 60; ++k) widths[k] = static_cast<uint8_t>(2 + (i * 60 + k) % 50);
    images.push_back({0, widths});
  }
  const size_t models = ModelCount();
  const int32_t font = Open("many.fot", TestFontBytes("Many", 0, 255, 6, images));
  ASSERT_NE(font, 0);
  EXPECT_EQ(ModelCount(), models + 256);
  EXPECT_EQ(TextureFind(display, "many.fot")->tiles.size(), 5u);
  EXPECT_EQ(FontTextWidth(font, std::string(1, '\xff')), 1 + 255 % 50);
  EXPECT_EQ(FontTextWidth(font, std::string(1, '\0')), 1);
  FontClose(font);
  EXPECT_EQ(ModelCount(), models);
}

TEST_F(FontDraw, ColourChangesReachEveryGlyphOnlyWhenTheColourChanges) {
  const int32_t font = Open("colour.fot", TestFontBytes("Colour", 65, 66, 6, {{65, {7, 5}}}));
  ASSERT_NE(font, 0);
  auto& all = ModelDisplayRecord(display)->models;
  std::vector<model*> glyphs;
  for (auto& m : all)
    if (m->name == "Colour") glyphs.push_back(m.get());
  ASSERT_EQ(glyphs.size(), 2u);
  EXPECT_EQ(glyphs[0]->green, 255);
  glyphs[0]->green = 7;
  FontSetColour(font, 0xFFFFFFFF);
  EXPECT_EQ(glyphs[0]->green, 7) << "the same colour again touches nothing";
  FontSetColour(font, 0x80102030);
  for (model* glyph : glyphs) {
    EXPECT_EQ(glyph->red, 0x10);
    EXPECT_EQ(glyph->green, 0x20);
    EXPECT_EQ(glyph->blue, 0x30);
    EXPECT_EQ(glyph->alpha, 0x80);
  }
  FontDrawText(font, 0, 0, "A");
  EXPECT_EQ(GraphicsTestBackBuffer().At(2, 2) & 0xFFFFFF, 0x081018u) << "white glyph at half alpha";
  FontClose(font);
}

TEST_F(FontDraw, LinesAreAlignedInTheirBoxAndStopAtTheMaximumHeight) {
  // Solid glyphs advancing 5 pixels, 8 high (7 rows drawn).
  const int32_t font = Open("lines.fot", TestFontBytes("Lines", 65, 65, 8, {{65, {6}}}));
  ASSERT_NE(font, 0);
  FontDrawLines(font, 10, 10, {"AA", "A", "AAA", "A", "A"}, 1, 20, 20, 1);
  FontDrawLines(font, 100, 10, {"A", "AA"}, 2, 20, 0, 2);
  const testFrame frame = GraphicsTestBackBuffer();
  const uint32_t white = 0xFFFFFFFF;
  EXPECT_EQ(frame.At(14, 10), testBlack);
  EXPECT_EQ(frame.At(15, 10), white) << "AA is 10 wide: centred at 5";
  EXPECT_EQ(frame.At(24, 16), white);
  EXPECT_EQ(frame.At(25, 10), testBlack);
  EXPECT_EQ(frame.At(16, 18), testBlack);
  EXPECT_EQ(frame.At(17, 18), white) << "A is 5 wide: centred at 7";
  EXPECT_EQ(frame.At(21, 24), white);
  EXPECT_EQ(frame.At(22, 24), testBlack);
  for (int32_t y = 26; y < 60; ++y)
    for (int32_t x = 0; x < 60; ++x)
      ASSERT_EQ(frame.At(x, y), testBlack) << "only two lines fit in 20 pixels";
  EXPECT_EQ(frame.At(110, 10), white) << "right-aligned second line";
  EXPECT_EQ(frame.At(109, 10), testBlack);
  EXPECT_EQ(frame.At(119, 16), white);
  EXPECT_EQ(frame.At(120, 16), testBlack);
  FontClose(font);
}

TEST_F(FontDraw, WrappedTextDrawsOneLineUnderTheOther) {
  const int32_t font =
      Open("wrap.fot", TestFontBytes("Wrap", 32, 65, 8, {{32, std::vector<uint8_t>(34, 6)}}));
  ASSERT_NE(font, 0);
  EXPECT_EQ(FontWrapText(font, 16, "AA AA A"), (utilArrayString{"AA", "AA", "A"}));
  EXPECT_TRUE(FontWrapText(font + 1000, 16, "AA").empty());
  FontDrawWrapped(font, 0, 0, 16, "AA AA A");
  const testFrame frame = GraphicsTestBackBuffer();
  EXPECT_EQ(frame.At(9, 0), 0xFFFFFFFFu);
  EXPECT_EQ(frame.At(9, 8), 0xFFFFFFFFu);
  EXPECT_EQ(frame.At(4, 16), 0xFFFFFFFFu);
  EXPECT_EQ(frame.At(5, 16), testBlack);
  FontClose(font);
}

TEST_F(FontDraw, AFontBuiltByFotDrawsTextWhereItsWidthSays) {
  const std::string command = std::string(FOT_PROGRAM) +
                              " build /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf 16 32 126 " +
                              data + "dejavu.fot --name \"Menu Text\"";
  ASSERT_EQ(std::system(command.c_str()), 0);
  const int32_t font = FontOpen(display, "dejavu.fot");
  ASSERT_NE(font, 0);
  EXPECT_EQ(FontFindByName(display, "Menu Text"), font);
  FontSetColour(font, 0xFFFFFFFF);
  const int32_t height = FontHeight(font);
  EXPECT_GE(height, 17);
  const std::string text = "Sanguor, gy!";
  const int32_t width = FontTextWidth(font, text);
  EXPECT_GT(width, 70);
  EXPECT_LT(width, 120);
  FontDrawText(font, 10, 10, text);
  testFrame frame = GraphicsTestBackBuffer();
  int32_t ink = 0, outside = 0;
  for (int32_t y = 0; y < screenHeight; ++y)
    for (int32_t x = 0; x < screenWidth; ++x)
      if (frame.At(x, y) != testBlack) {
        ++ink;
        outside += x < 10 || x >= 10 + width || y < 10 || y >= 10 + height - 1;
      }
  EXPECT_GT(ink, 150);
  EXPECT_EQ(outside, 0);

  // Drawing the text in two pieces, the second where the first one's width ends, gives the
  // same pixels.
  GraphicsRenderBegin(display);
  GraphicsSet2D(screenWidth, screenHeight);
  FontDrawText(font, 10, 10, "Sang");
  FontDrawText(font, 10 + FontTextWidth(font, "Sang"), 10, "uor, gy!");
  const testFrame pieces = GraphicsTestBackBuffer();
  EXPECT_EQ(pieces.pixels, frame.pixels);
  FontClose(font);
}

}  // namespace
