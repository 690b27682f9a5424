// The content generator's pieces: the TGA bytes (checked with ImageMagick as an independent
// reader), how cells become shaded, outlined pixels, and how mistakes in the sources are caught.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "cels.h"
#include "figure.h"
#include "palette.h"
#include "raster.h"
#include "sources.h"

namespace fs = std::filesystem;

namespace {

fs::path TempFile(const std::string& name, const std::string& text) {
  const fs::path path = fs::absolute("contentgen-parts-" + std::to_string(getpid()) + "-" + name);
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

std::string Capture(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[256];
    while (fgets(buffer, sizeof buffer, pipe)) out += buffer;
    pclose(pipe);
  }
  return out;
}

Palette TestPalette() {
  const fs::path path = TempFile("palette.txt",
                                 "# test ramps\n"
                                 "outline 000000 000000 000000\n"
                                 "red 400000 800000 ff0000\n"
                                 "halo 00ff00 00ff00 00ff00 alpha=64 noline\n");
  Palette palette = PaletteLoad(path.string());
  fs::remove(path);
  return palette;
}

TEST(ContentgenTga, ImageMagickReadsThePixelsWeWrote) {
  Raster image(3, 2);
  image.at(0, 0) = {255, 0, 0, 255};
  image.at(1, 0) = {0, 255, 0, 128};
  image.at(2, 0) = {0, 0, 255, 0};
  image.at(0, 1) = {10, 20, 30, 255};
  const fs::path path = fs::absolute("contentgen-parts-" + std::to_string(getpid()) + ".tga");
  ASSERT_TRUE(RasterWriteTga(image, path.string()));
  EXPECT_EQ(fs::file_size(path), 18u + 3 * 2 * 4);
  const std::string text = Capture("convert \"" + path.string() + "\" -depth 8 txt:- 2>&1");
  fs::remove(path);
  if (text.find("ImageMagick") == std::string::npos)
    GTEST_SKIP() << "ImageMagick is not installed: " << text;
  // Top row first: the descriptor's origin bit and the row order agree.
  EXPECT_NE(text.find("0,0: (255,0,0,255)"), std::string::npos) << text;
  EXPECT_NE(text.find("1,0: (0,255,0,128)"), std::string::npos) << text;
  EXPECT_NE(text.find("2,0: (0,0,255,0)"), std::string::npos) << text;
  EXPECT_NE(text.find("0,1: (10,20,30,255)"), std::string::npos) << text;
}

TEST(ContentgenTga, HeaderFieldsFor32And24Bits) {
  const Raster image(300, 2, Rgba{1, 2, 3, 4});
  const auto bytes = RasterTgaBytes(image);
  EXPECT_EQ(bytes[2], 2);  // uncompressed true colour
  EXPECT_EQ(bytes[12] | bytes[13] << 8, 300);
  EXPECT_EQ(bytes[14] | bytes[15] << 8, 2);
  EXPECT_EQ(bytes[16], 32);
  EXPECT_EQ(bytes[17], 0x28);  // top-left origin, 8 alpha bits
  EXPECT_EQ(bytes[18], 3);     // blue, green, red, alpha
  EXPECT_EQ(bytes[21], 4);
  const auto plain = RasterTgaBytes(image, 24);
  EXPECT_EQ(plain[16], 24);
  EXPECT_EQ(plain.size(), 18u + 300 * 2 * 3);
}

TEST(ContentgenRaster, ScaleMirrorAndBlend) {
  Raster image(2, 1);
  image.at(0, 0) = {200, 0, 0, 255};
  const Raster big = RasterScale(image, 3);
  ASSERT_EQ(big.width, 6);
  EXPECT_EQ(big.at(2, 2).r, 200);
  EXPECT_EQ(big.at(3, 0).a, 0);
  EXPECT_EQ(RasterMirror(image).at(1, 0).r, 200);
  Raster target(2, 1, Rgba{0, 0, 100, 255});
  Raster half(1, 1, Rgba{200, 0, 0, 128});
  RasterBlend(target, half, 1, 0);
  RasterBlend(target, half, 5, 5);  // wholly outside: ignored
  EXPECT_EQ(target.at(0, 0).b, 100);
  EXPECT_NEAR(target.at(1, 0).r, 100, 1);
  EXPECT_NEAR(target.at(1, 0).b, 50, 1);
  EXPECT_EQ(target.at(1, 0).a, 255);
}

TEST(ContentgenCels, PartsGetLitAndShadowedRimsAndAnOutline) {
  const Palette palette = TestPalette();
  const int red = PaletteFind(palette, "red");
  Cels cels(7, 7, PaletteFind(palette, "outline"));
  CelsRect(cels, Paint{red}, 2, 2, 3, 3);
  const Raster out = CelsRender(cels, palette, true);
  EXPECT_EQ(out.at(2, 2).r, 0xff);  // upper-left corner: light
  EXPECT_EQ(out.at(3, 3).r, 0x80);  // inside: middle
  EXPECT_EQ(out.at(4, 4).r, 0x40);  // lower-right corner: dark
  EXPECT_EQ(out.at(1, 3).a, 255);   // the outline beside it
  EXPECT_EQ(out.at(1, 3).r, 0);
  EXPECT_EQ(out.at(1, 1).a, 0);  // corners are not outlined
  EXPECT_EQ(out.at(0, 3).a, 0);
  const Raster bare = CelsRender(cels, palette, false);
  EXPECT_EQ(bare.at(1, 3).a, 0);
}

TEST(ContentgenCels, InkSeparatesAShapeFromWhatLiesUnderIt) {
  const Palette palette = TestPalette();
  const int red = PaletteFind(palette, "red");
  Cels cels(9, 9, PaletteFind(palette, "outline"));
  CelsRect(cels, Paint{red, ShadeMid}, 0, 0, 9, 9);
  CelsRect(cels, Paint{red, ShadeMid, true}, 3, 3, 3, 3);
  const Raster out = CelsRender(cels, palette, false);
  EXPECT_EQ(out.at(2, 4).r, 0);     // the ink line around the new shape
  EXPECT_EQ(out.at(4, 4).r, 0x80);  // the shape itself
  EXPECT_EQ(out.at(1, 4).r, 0x80);  // the old shape beyond the line
  EXPECT_EQ(out.at(2, 2).r, 0x80);  // only edge neighbours are inked
}

TEST(ContentgenCels, HalosOnlyFillEmptyCellsAndKeepTheirOpacity) {
  const Palette palette = TestPalette();
  Cels cels(9, 9, PaletteFind(palette, "outline"));
  CelsRect(cels, Paint{PaletteFind(palette, "red"), ShadeMid}, 4, 4, 1, 1);
  CelsDisc(cels, Paint{PaletteFind(palette, "halo"), ShadeMid, false, true}, 4.5, 4.5, 4);
  const Raster out = CelsRender(cels, palette, true);
  EXPECT_EQ(out.at(4, 4).r, 0x80);
  EXPECT_EQ(out.at(3, 4).r, 0);  // the outline wins over the halo next to the shape
  EXPECT_EQ(out.at(3, 4).a, 255);
  EXPECT_EQ(out.at(1, 4).g, 0xff);
  EXPECT_EQ(out.at(1, 4).a, 64);
}

TEST(ContentgenCels, DitheredShapesFillEveryOtherCell) {
  const Palette palette = TestPalette();
  Cels cels(6, 6, 0);
  CelsRect(cels, Paint{PaletteFind(palette, "red"), ShadeMid, false, false, true}, 0, 0, 6, 6);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x)
      EXPECT_EQ(cels.at(x, y).ramp != 0, (x + y) % 2 == 0) << x << "," << y;
}

TEST(ContentgenCels, RotationAndMirroredMasks) {
  const Palette palette = TestPalette();
  const int red = PaletteFind(palette, "red");
  Cels cels(11, 11, PaletteFind(palette, "outline"));
  CelsRect(cels, Paint{red}, 5, 0, 1, 5);  // a post standing on the pivot (5.5, 5.5)
  const Cels fallen = CelsRotate(cels, Point{5.5, 5.5}, 90);
  EXPECT_NE(fallen.at(9, 5).ramp, 0);  // turned clockwise: now lying to the right
  EXPECT_EQ(fallen.at(5, 1).ramp, 0);

  const Mask mask{"flag", 0, 2, {"ab", "a.", "a."}};
  const std::map<char, Paint> legend = {{'a', Paint{red}}, {'b', Paint{red, ShadeLight}}};
  Cels flag(6, 6, 0);
  CelsMask(flag, mask, 2, 3, legend);
  EXPECT_NE(flag.at(2, 1).ramp, 0);
  EXPECT_EQ(flag.at(3, 1).shade, ShadeLight);
  Cels mirrored(6, 6, 0);
  CelsMask(mirrored, mask, 2, 3, legend, true);
  EXPECT_NE(mirrored.at(2, 1).ramp, 0);  // the origin stays put, the picture flips
  EXPECT_EQ(mirrored.at(1, 1).shade, ShadeLight);
  EXPECT_THROW(CelsMask(flag, Mask{"x", 0, 0, {"z"}}, 0, 0, legend), SourceError);
}

TEST(ContentgenSources, WordsQuotesAndNumbers) {
  const fs::path path =
      TempFile("words.txt", "picture \"Bin\\Tiles\\A B.tga\" size=3,4\r\n  # note\n");
  const auto lines = SourceRead(path.string());
  fs::remove(path);
  ASSERT_EQ(lines.size(), 2u);
  ASSERT_EQ(lines[0].tokens.size(), 3u);
  EXPECT_EQ(lines[0].tokens[1], "Bin\\Tiles\\A B.tga");
  EXPECT_EQ(SourceKeys(lines[0], 2).at("size"), "3,4");
  EXPECT_EQ(lines[1].tokens[0], "#");
  EXPECT_DOUBLE_EQ(SourceNumber(lines[0], "-2.5"), -2.5);
  for (const char* bad : {"", "1x", "nan", "inf", "--1", "1e300", "-2000000"})
    EXPECT_THROW(SourceNumber(lines[0], bad), SourceError) << bad;
  EXPECT_THROW(SourceInteger(lines[0], "1.5"), SourceError);
  EXPECT_THROW(SourceInteger(lines[0], "1e9"), SourceError);
  const fs::path open = TempFile("open.txt", "text \"never closed\n");
  EXPECT_THROW(SourceRead(open.string()), SourceError);
  fs::remove(open);
  EXPECT_THROW(SourceRead("/nonexistent/art.txt"), SourceError);
}

TEST(ContentgenSources, MistakesNameTheirFileAndLine) {
  struct Case {
    const char* text;
    const char* expect;
  };
  for (const Case& c :
       {Case{"red 12345 000000 000000\n", ":1: colour must be six hex digits"},
        Case{"\nred 123456 000000\n", ":2: a ramp needs a name and three colours"},
        Case{"red 123456 000000 000000 alpha=300\n", "alpha must be 0..255"},
        Case{"red 123456 000000 000000\nred 123456 000000 000000\n", "ramp defined twice"}}) {
    const fs::path path = TempFile("bad-palette.txt", c.text);
    try {
      PaletteLoad(path.string());
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const SourceError& e) {
      EXPECT_NE(std::string(e.what()).find(c.expect), std::string::npos) << e.what();
    }
    fs::remove(path);
  }
  const fs::path masks = TempFile("bad-masks.txt", "mask a\nxx\n");
  EXPECT_THROW(MaskLoad(masks.string()), SourceError);
  fs::remove(masks);
}

TEST(ContentgenSources, PoseSequences) {
  const fs::path good = TempFile("poses.txt",
                                 "sequence walk\n"
                                 "frame th=-10,20 kn=0,30 lean=4 hold=2\n"
                                 "frame th=20,-10\n"
                                 "end\n"
                                 "sequence bite\n"
                                 "frame lean=30 v.lean=-10 vx=-12 pale=0.5\n"
                                 "end\n");
  const auto sequences = SequenceLoad(good.string());
  fs::remove(good);
  const Sequence& walk = sequences.at("walk");
  ASSERT_EQ(walk.frames.size(), 2u);
  EXPECT_DOUBLE_EQ(walk.frames[0].thigh[1], 20);
  EXPECT_DOUBLE_EQ(walk.frames[0].knee[1], 30);
  EXPECT_EQ(walk.frames[0].hold, 2);
  EXPECT_EQ(walk.frames[1].hold, 1);
  EXPECT_TRUE(walk.partner.empty());
  const Sequence& bite = sequences.at("bite");
  ASSERT_EQ(bite.partner.size(), 1u);
  EXPECT_DOUBLE_EQ(bite.partner[0].lean, -10);
  EXPECT_DOUBLE_EQ(bite.partnerX[0], -12);
  EXPECT_DOUBLE_EQ(bite.partnerTurn[0], 0.5);

  for (const char* bad : {"sequence a\nframe wobble=1\nend\n", "sequence a\nframe hold=0\nend\n",
                          "sequence a\nframe th=5\nend\n", "sequence a\nend\n",
                          "sequence a\nframe\n", "sequence a\nframe vx=1\nframe lean=2\nend\n"}) {
    const fs::path path = TempFile("bad-poses.txt", bad);
    EXPECT_THROW(SequenceLoad(path.string()), SourceError) << bad;
    fs::remove(path);
  }
}

}  // namespace
