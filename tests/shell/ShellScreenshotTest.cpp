// Screenshots of the render windows: numbering that never replaces a file, the picture that is
// written, and the folder that cannot be made.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "ShellTestSupport.h"
#include "graphics/GL.h"
#include "graphics/fwkGraphics.h"
#include "platform/platform.h"
#include "services/fwkLog.h"
#include "shell/Screenshot.h"
#include "shell/UntMain.h"

namespace {

namespace fs = std::filesystem;

uint32_t Read32(const std::string& bytes, size_t at) {
  return static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1]) << 8 |
         static_cast<uint8_t>(bytes[at + 2]) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 3])) << 24;
}

// The BMP pixel at (x, y), counted from the top, as 0xRRGGBB.
uint32_t BmpPixel(const std::string& bytes, int32_t x, int32_t y) {
  const int32_t width = static_cast<int32_t>(Read32(bytes, 18));
  const int32_t height = static_cast<int32_t>(Read32(bytes, 22));
  const size_t row = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
  const size_t at = 54 + row * static_cast<size_t>(height - 1 - y) + static_cast<size_t>(x) * 3;
  return static_cast<uint8_t>(bytes[at + 2]) << 16 | static_cast<uint8_t>(bytes[at + 1]) << 8 |
         static_cast<uint8_t>(bytes[at]);
}

class ShellScreenshot : public testing::Test {
 protected:
  void SetUp() override {
    box = ShellStart();
    folder = box.userData + "screenshots/";
  }
  void TearDown() override {
    delete mainForm;
    mainForm = nullptr;
    ShellStop();
  }
  screenshotPart Part(int32_t width, int32_t height, uint32_t colour) {
    return {width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height, colour)};
  }
  shellSandbox box;
  std::string folder;
};

TEST_F(ShellScreenshot, NumbersRunOnAndNeverReplaceAFile) {
  EXPECT_EQ(ScreenshotSave({Part(4, 4, 0x112233)}), folder + "screenshot1.bmp");
  fs::copy_file(folder + "screenshot1.bmp", folder + "screenshot2.bmp");
  EXPECT_EQ(ScreenshotSave({Part(4, 4, 0x445566)}), folder + "screenshot3.bmp");
  EXPECT_EQ(BmpPixel(ReadWholeFile(folder + "screenshot1.bmp"), 0, 0), 0x112233u);
  EXPECT_EQ(BmpPixel(ReadWholeFile(folder + "screenshot3.bmp"), 0, 0), 0x445566u);
}

TEST_F(ShellScreenshot, AGapInTheNumbersIsFilledFirst) {
  fs::create_directories(folder);
  std::ofstream(folder + "screenshot2.bmp") << "x";
  EXPECT_EQ(ScreenshotSave({Part(2, 2, 0)}), folder + "screenshot1.bmp");
  EXPECT_EQ(ScreenshotSave({Part(2, 2, 0)}), folder + "screenshot3.bmp");
}

TEST_F(ShellScreenshot, AnEntryThatCannotBeOpenedIsStillNeverReplaced) {
  // A dangling link: opening it for reading fails, writing through it would make a file
  // elsewhere. It counts as taken.
  fs::create_directories(folder);
  fs::create_symlink(box.root + "elsewhere.bmp", folder + "screenshot1.bmp");
  fs::create_directory(folder + "screenshot2.bmp");
  EXPECT_EQ(ScreenshotSave({Part(2, 2, 0)}), folder + "screenshot3.bmp");
  EXPECT_FALSE(fs::exists(box.root + "elsewhere.bmp"));
}

TEST_F(ShellScreenshot, PartsLieSideBySideAtTheHeightOfTheHighest) {
  const std::string name = ScreenshotSave({Part(3, 2, 0xFF0000), Part(5, 4, 0x00FF00)});
  const std::string bytes = ReadWholeFile(name);
  ASSERT_GE(bytes.size(), 54u);
  EXPECT_EQ(bytes.substr(0, 2), "BM");
  EXPECT_EQ(Read32(bytes, 18), 8u);
  EXPECT_EQ(Read32(bytes, 22), 4u);
  EXPECT_EQ(Read32(bytes, 28) & 0xFFFF, 24u);
  // Rows of 8 pixels are 24 bytes: no padding; the file is exactly header + pixels.
  EXPECT_EQ(bytes.size(), 54u + 24u * 4u);
  EXPECT_EQ(BmpPixel(bytes, 0, 0), 0xFF0000u);
  EXPECT_EQ(BmpPixel(bytes, 2, 1), 0xFF0000u);
  EXPECT_EQ(BmpPixel(bytes, 1, 3), 0x000000u);
  EXPECT_EQ(BmpPixel(bytes, 3, 0), 0x00FF00u);
  EXPECT_EQ(BmpPixel(bytes, 7, 3), 0x00FF00u);
}

TEST_F(ShellScreenshot, RowsArePaddedToFourBytes) {
  const std::string bytes = ReadWholeFile(ScreenshotSave({Part(3, 3, 0x0000FF)}));
  EXPECT_EQ(bytes.size(), 54u + 12u * 3u);
  EXPECT_EQ(BmpPixel(bytes, 2, 2), 0x0000FFu);
}

TEST_F(ShellScreenshot, FolderThatCannotBeMadeIsLoggedAndNothingWritten) {
  std::ofstream(box.userData + "screenshots") << "a file in the way";
  EXPECT_EQ(ScreenshotSave({Part(2, 2, 0)}), "");
  const std::string log = ReadWholeFile(LogFolder() + LogFileName());
  EXPECT_NE(log.find("Error: mainForm.MainDisplayScreenshot - Unable to create directory \"" +
                     folder + "\" for screenshots."),
            std::string::npos);
}

TEST_F(ShellScreenshot, TheRenderWindowsAsPresentedAreWritten) {
  mainForm = new TmainForm();
  const int32_t id = MainThreadDisplayAdd(0, "Primary", true);
  MainThreadDisplayResize(id, 64, 32);
  GraphicsDisplaySetMode(id, {64, 32, 32, 0});
  GraphicsRenderBegin(id);
  gl.ClearColor(0.0f, 0.0f, 1.0f, 1.0f);
  gl.Clear(GL_COLOR_BUFFER_BIT);
  GraphicsSet2D(64, 32);
  gl.Disable(GL_TEXTURE_2D);
  gl.Color4ub(255, 0, 0, 255);
  gl.Begin(GL_QUADS);
  gl.Vertex3f(0, 0, -5);
  gl.Vertex3f(0, 16, -5);
  gl.Vertex3f(32, 16, -5);
  gl.Vertex3f(32, 0, -5);
  gl.End();
  GraphicsRenderEnd(id);
  const std::string name = MainThreadDisplayScreenshot();
  ASSERT_EQ(name, folder + "screenshot1.bmp");
  const std::string bytes = ReadWholeFile(name);
  EXPECT_EQ(Read32(bytes, 18), 64u);
  EXPECT_EQ(Read32(bytes, 22), 32u);
  EXPECT_EQ(BmpPixel(bytes, 5, 5), 0xFF0000u);
  EXPECT_EQ(BmpPixel(bytes, 40, 5), 0x0000FFu);
  EXPECT_EQ(BmpPixel(bytes, 5, 20), 0x0000FFu);
}

}  // namespace
