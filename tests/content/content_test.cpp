// The content generator, run for real: every path the game opens exists, pictures have the
// sizes and transparency the game relies on, exposure sheets are in the game's format, and two
// runs give the same bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct Tga {
  int width = 0, height = 0;
  std::vector<uint8_t> bgra;  // top row first
  uint8_t alpha(int x, int y) const { return bgra[(static_cast<size_t>(y) * width + x) * 4 + 3]; }
  uint32_t pixel(int x, int y) const {
    const uint8_t* p = &bgra[(static_cast<size_t>(y) * width + x) * 4];
    return static_cast<uint32_t>(p[0]) | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
  }
};

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// An uncompressed, top-left-origin, 32-bit TGA, which is what the game's reader takes as written.
bool ReadTga(const fs::path& path, Tga& tga, std::string& why) {
  const std::string bytes = ReadFile(path);
  if (bytes.size() < 18) {
    why = "shorter than a TGA header";
    return false;
  }
  auto byte = [&](size_t i) { return static_cast<uint8_t>(bytes[i]); };
  tga.width = byte(12) | byte(13) << 8;
  tga.height = byte(14) | byte(15) << 8;
  if (byte(0) != 0 || byte(1) != 0 || byte(2) != 2 || byte(16) != 32 || (byte(17) & 0x0F) != 8 ||
      !(byte(17) & 0x20)) {
    why = "not an uncompressed top-down 32-bit TGA with 8 alpha bits";
    return false;
  }
  if (bytes.size() != 18 + static_cast<size_t>(tga.width) * tga.height * 4) {
    why = "pixel data of the wrong length";
    return false;
  }
  tga.bgra.assign(bytes.begin() + 18, bytes.end());
  return true;
}

struct Frame {
  std::string file;
  int spriteX = -1, spriteY = -1, repeat = 0;
};

// Reads an exposure sheet the way the game does: lines end at CR, LF is dropped.
bool ReadSheet(const fs::path& path, std::vector<Frame>& frames, std::string& why) {
  const std::string text = ReadFile(path);
  std::vector<std::string> lines;
  std::string line;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      if (i + 1 >= text.size() || text[i + 1] != '\n') {
        why = "a line does not end in CR LF";
        return false;
      }
      lines.push_back(line);
      line.clear();
      ++i;
    } else if (text[i] == '\n') {
      why = "a bare line feed";
      return false;
    } else {
      line += text[i];
    }
  }
  if (!line.empty() || lines.size() < 2 || lines[0] != "1.0") {
    why = "no version 1.0 line, or text after the last line end";
    return false;
  }
  const int count = std::atoi(lines[1].c_str());
  if (count < 1 || std::to_string(count) != lines[1]) {
    why = "bad frame count " + lines[1];
    return false;
  }
  size_t at = 2;
  for (int f = 0; f < count; ++f) {
    if (at + 2 > lines.size()) {
      why = "sheet ends inside a frame";
      return false;
    }
    Frame frame{lines[at], frames.empty() ? 0 : frames.back().spriteX,
                frames.empty() ? 0 : frames.back().spriteY, 0};
    const int k = std::atoi(lines[at + 1].c_str());
    at += 2;
    if (k < 0 || at + k > lines.size()) {
      why = "bad attribute count";
      return false;
    }
    for (int a = 0; a < k; ++a, ++at) {
      const std::string& attr = lines[at];
      if (attr.rfind("sprite=", 0) == 0) {
        const size_t comma = attr.find(',');
        if (comma == std::string::npos) {
          why = "sprite without a comma";
          return false;
        }
        frame.spriteX = std::atoi(attr.substr(7, comma - 7).c_str());
        frame.spriteY = std::atoi(attr.substr(comma + 1).c_str());
      } else if (attr.rfind("repeat=", 0) == 0) {
        frame.repeat = std::atoi(attr.substr(7).c_str());
      }
    }
    frames.push_back(frame);
  }
  if (at != lines.size()) {
    why = "lines after the last frame";
    return false;
  }
  return true;
}

fs::path OnDisk(const fs::path& root, std::string contentPath) {
  std::replace(contentPath.begin(), contentPath.end(), '\\', '/');
  return root / contentPath;
}

int Generate(const std::string& args) {
  return std::system(
      (std::string("\"") + CONTENTGEN_PROGRAM + "\" " + args + " > /dev/null 2>&1").c_str());
}

const char* const kHumanTypes[] = {"VILLAGER", "GUARD", "PRIEST", "FARMER", "NUBILE"};

// Every exposure sheet the game opens, by content path (without ".exp").
std::vector<std::string> ExpectedSheets() {
  std::vector<std::string> sheets = {"Bin\\Sprites\\Dracula\\Vampire Stand\\Vampire Stand Right",
                                     "Bin\\Sprites\\Dracula\\Vampire Stand\\Vampire Stand Left",
                                     "Bin\\Sprites\\Dracula\\Vampire Walk\\Vampire Walk Right",
                                     "Bin\\Sprites\\Dracula\\Vampire Walk\\Vampire Walk Left",
                                     "Bin\\Sprites\\Dracula\\Vampire Hit\\Vampire Hit Left",
                                     "Bin\\Sprites\\Dracula\\Vampire Hit\\Vampire Hit Right",
                                     "Bin\\Sprites\\Dracula\\Vampire Collapse\\Vampire Collapse",
                                     "Bin\\Sprites\\Dracula\\Fog\\Fog 1",
                                     "Bin\\Sprites\\Dracula\\Fog\\Fog 2"};
  for (const char* type : kHumanTypes) {
    const std::string base = std::string("Bin\\Sprites\\") + type + "\\";
    for (const char* slot :
         {"Stand\\Stand", "Walk\\Walk", "Vampire Stand\\Vampire Stand",
          "Vampire Walk\\Vampire Walk", "Attack\\Attack", "Vampire Hit\\Vampire Hit"})
      for (const char* side : {" Right", " Left"}) sheets.push_back(base + slot + side);
    sheets.push_back(base + "Vamped\\Vamped");
    sheets.push_back(base + "Vampire Collapse\\Vampire Collapse");
  }
  return sheets;
}

class ContentTest : public ::testing::Test {
 protected:
  static fs::path first, second;

  static void SetUpTestSuite() {
    // One folder per process: CTest runs the cases of this file side by side.
    const std::string id = std::to_string(getpid());
    first = fs::absolute("content-test-a-" + id);
    second = fs::absolute("content-test-b-" + id);
    fs::remove_all(first);
    fs::remove_all(second);
    ASSERT_EQ(Generate("--art \"" CONTENT_ART_DIR "\" \"" + first.string() + "\""), 0);
  }

  static void TearDownTestSuite() {
    fs::remove_all(first);
    fs::remove_all(second);
  }

  static Tga Picture(const std::string& contentPath) {
    Tga tga;
    std::string why;
    EXPECT_TRUE(ReadTga(OnDisk(first, contentPath), tga, why)) << contentPath << ": " << why;
    return tga;
  }

  static std::vector<Frame> Sheet(const std::string& contentPath) {
    std::vector<Frame> frames;
    std::string why;
    EXPECT_TRUE(ReadSheet(OnDisk(first, contentPath + ".exp"), frames, why))
        << contentPath << ": " << why;
    return frames;
  }

  static std::string Folder(const std::string& contentPath) {
    return contentPath.substr(0, contentPath.rfind('\\') + 1);
  }
};

fs::path ContentTest::first, ContentTest::second;

TEST_F(ContentTest, EverySheetListsExistingFramesOfOneSizeAnchoredAtTheFeet) {
  for (const std::string& sheet : ExpectedSheets()) {
    SCOPED_TRACE(sheet);
    const std::vector<Frame> frames = Sheet(sheet);
    ASSERT_FALSE(frames.empty());
    const Tga firstFrame = Picture(Folder(sheet) + frames[0].file);
    int lowestOpaque = -1;
    for (const Frame& frame : frames) {
      const Tga tga = Picture(Folder(sheet) + frame.file);
      EXPECT_EQ(tga.width, firstFrame.width) << frame.file;
      EXPECT_EQ(tga.height, firstFrame.height) << frame.file;
      EXPECT_EQ(frame.spriteX, frames[0].spriteX);
      EXPECT_EQ(frame.spriteY, frames[0].spriteY);
      EXPECT_GE(frame.repeat, 1);
      ASSERT_TRUE(frame.spriteX >= 0 && frame.spriteX < tga.width && frame.spriteY >= 0 &&
                  frame.spriteY < tga.height);
      // Figures are cut out and whole: nothing touches the top or the sides (it would be cut off).
      int touching = 0;
      for (int x = 0; x < tga.width; ++x) touching += tga.alpha(x, 0) != 0;
      for (int y = 0; y < tga.height; ++y)
        touching += (tga.alpha(0, y) != 0) + (tga.alpha(tga.width - 1, y) != 0);
      EXPECT_EQ(touching, 0) << frame.file;
      size_t opaque = 0;
      for (int y = 0; y < tga.height; ++y)
        for (int x = 0; x < tga.width; ++x)
          if (tga.alpha(x, y) > 0) {
            ++opaque;
            lowestOpaque = std::max(lowestOpaque, y);
          }
      // A collapse ends in dust and the fog starts from a wisp; everything else is a whole figure.
      if (sheet.find("Collapse") == std::string::npos && sheet.find("Fog 1") == std::string::npos) {
        EXPECT_GT(opaque, 300u) << frame.file;
      }
    }
    // The figure stands on its anchor: nothing hangs below it, and it does not float.
    EXPECT_LE(lowestOpaque, frames[0].spriteY);
    EXPECT_GE(lowestOpaque, frames[0].spriteY - 2);
  }
}

TEST_F(ContentTest, WalkCyclesHaveSixOrMoreFramesAndStandingSlotsMatchTheirWalk) {
  for (const std::string& sheet : ExpectedSheets()) {
    if (sheet.find("Walk\\") == std::string::npos) continue;
    SCOPED_TRACE(sheet);
    EXPECT_GE(Sheet(sheet).size(), 6u);
    std::string stand = sheet;
    stand.replace(stand.find("Walk"), 4, "Stand");
    stand.replace(stand.find("Walk"), 4, "Stand");
    const Tga walk = Picture(Folder(sheet) + Sheet(sheet)[0].file);
    const Tga still = Picture(Folder(stand) + Sheet(stand)[0].file);
    EXPECT_EQ(walk.width, still.width);
    EXPECT_EQ(walk.height, still.height);
    EXPECT_EQ(Sheet(sheet)[0].spriteX, Sheet(stand)[0].spriteX);
  }
}

TEST_F(ContentTest, LeftSheetsAreTheRightOnesMirroredAboutTheAnchor) {
  for (const std::string& sheet : ExpectedSheets()) {
    const size_t at = sheet.rfind(" Right");
    if (at == std::string::npos || at + 6 != sheet.size()) continue;
    SCOPED_TRACE(sheet);
    const std::string left = sheet.substr(0, at) + " Left";
    const std::vector<Frame> r = Sheet(sheet), l = Sheet(left);
    ASSERT_EQ(r.size(), l.size());
    for (size_t i = 0; i < r.size(); ++i) {
      const Tga a = Picture(Folder(sheet) + r[i].file), b = Picture(Folder(left) + l[i].file);
      ASSERT_EQ(a.width, b.width);
      EXPECT_EQ(r[i].spriteX + l[i].spriteX, a.width - 1);
      bool mirrored = true;
      for (int y = 0; y < a.height && mirrored; ++y)
        for (int x = 0; x < a.width && mirrored; ++x)
          mirrored = a.pixel(x, y) == b.pixel(a.width - 1 - x, y);
      EXPECT_TRUE(mirrored) << r[i].file;
    }
  }
}

TEST_F(ContentTest, FiguresAreOutlinedInDarkWhereTheyMeetEmptySpace) {
  for (const std::string& sheet : ExpectedSheets()) {
    SCOPED_TRACE(sheet);
    for (const Frame& frame : Sheet(sheet)) {
      const Tga tga = Picture(Folder(sheet) + frame.file);
      int light = 0;
      for (int y = 0; y < tga.height; ++y)
        for (int x = 0; x < tga.width; ++x) {
          if (tga.alpha(x, y) != 255) continue;
          const bool edge = (x > 0 && tga.alpha(x - 1, y) == 0) ||
                            (x + 1 < tga.width && tga.alpha(x + 1, y) == 0) ||
                            (y > 0 && tga.alpha(x, y - 1) == 0) ||
                            (y + 1 < tga.height && tga.alpha(x, y + 1) == 0);
          const uint32_t p = tga.pixel(x, y);
          if (edge && (p & 0xFF) + (p >> 8 & 0xFF) + (p >> 16 & 0xFF) > 3 * 40) ++light;
        }
      EXPECT_EQ(light, 0) << frame.file;
    }
  }
}

TEST_F(ContentTest, TurnedHumansLookDifferentFromHumans) {
  for (const char* type : kHumanTypes) {
    const std::string base = std::string("Bin\\Sprites\\") + type + "\\";
    const std::string human = base + "Stand\\Stand Right",
                      turned = base + "Vampire Stand\\Vampire Stand Right";
    const Tga a = Picture(Folder(human) + Sheet(human)[0].file),
              b = Picture(Folder(turned) + Sheet(turned)[0].file);
    ASSERT_EQ(a.bgra.size(), b.bgra.size());
    size_t differ = 0;
    for (size_t i = 0; i < a.bgra.size(); i += 4)
      differ += a.pixel(static_cast<int>(i / 4) % a.width, static_cast<int>(i / 4) / a.width) !=
                b.pixel(static_cast<int>(i / 4) % a.width, static_cast<int>(i / 4) / a.width);
    EXPECT_GT(differ, 200u) << type;
  }
}

TEST_F(ContentTest, HudIconsAreOpaqueFramesAroundClearWindows) {
  for (const char* icon : {"Bin\\HUD\\Health.tga", "Bin\\HUD\\Fog.tga"}) {
    SCOPED_TRACE(icon);
    const Tga tga = Picture(icon);
    ASSERT_EQ(tga.width, 50);
    ASSERT_EQ(tga.height, 50);
    for (int i = 0; i < 50; ++i) {
      EXPECT_EQ(tga.alpha(i, 0), 255);
      EXPECT_EQ(tga.alpha(i, 49), 255);
      EXPECT_EQ(tga.alpha(0, i), 255);
      EXPECT_EQ(tga.alpha(49, i), 255);
    }
    EXPECT_EQ(tga.alpha(25, 28), 0);
  }
}

TEST_F(ContentTest, ScreensHaveTheirSizesAndALightTextArea) {
  const Tga briefing = Picture("Bin\\Sprites\\Briefing.tga");
  ASSERT_EQ(briefing.width, 1280);
  ASSERT_EQ(briefing.height, 720);
  // The briefing text is drawn in dark red from (300, 60), 930 wide: it needs a light page.
  int darkest = 255 * 3;
  for (int y = 60; y < 660; ++y)
    for (int x = 300; x < 1230; ++x) {
      const uint32_t p = briefing.pixel(x, y);
      darkest = std::min<int>(darkest, (p & 0xFF) + (p >> 8 & 0xFF) + (p >> 16 & 0xFF));
      ASSERT_EQ(briefing.alpha(x, y), 255);
    }
  EXPECT_GT(darkest, 3 * 150);
  for (const char* screen : {"Bin\\Sprites\\You Are Dead.tga", "Bin\\Sprites\\You Win.tga"}) {
    const Tga tga = Picture(screen);
    EXPECT_TRUE(tga.width > 0 && tga.width <= 1280 && tga.height > 0 && tga.height <= 720)
        << screen;
  }
}

TEST_F(ContentTest, TilesAreOpaqueSquaresOfEveryKind) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(first / "Bin/Tiles")) {
    SCOPED_TRACE(entry.path().string());
    Tga tga;
    std::string why;
    ASSERT_TRUE(ReadTga(entry.path(), tga, why)) << why;
    ASSERT_EQ(tga.width, 64);
    ASSERT_EQ(tga.height, 64);
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 64; ++x) ASSERT_EQ(tga.alpha(x, y), 255);
    names.insert(entry.path().filename().string());
  }
  for (const char* tile : {"Stone Block.tga", "Iron Gate.tga", "Stairs Left.tga",
                           "Stairs Right.tga", "Night Sky.tga", "Wall.tga", "Lit Window.tga"})
    EXPECT_TRUE(names.count(tile)) << tile;
  EXPECT_GE(names.size(), 15u);
}

TEST_F(ContentTest, TwoRunsWriteTheSameBytes) {
  ASSERT_EQ(Generate("--art \"" CONTENT_ART_DIR "\" \"" + second.string() + "\""), 0);
  std::map<std::string, std::string> a;
  size_t files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(first))
    if (entry.is_regular_file()) {
      ++files;
      const fs::path other = second / fs::relative(entry.path(), first);
      ASSERT_TRUE(fs::exists(other)) << other;
      ASSERT_EQ(ReadFile(entry.path()), ReadFile(other)) << entry.path();
    }
  size_t secondFiles = 0;
  for (const auto& entry : fs::recursive_directory_iterator(second))
    secondFiles += entry.is_regular_file();
  EXPECT_EQ(files, secondFiles);
  EXPECT_GT(files, 300u);
}

TEST(ContentSources, AMistakeInASourceIsReportedWithItsLineAndStopsTheRun) {
  const std::string id = std::to_string(getpid());
  const fs::path art = fs::absolute("content-test-broken-art-" + id);
  fs::remove_all(art);
  fs::copy(CONTENT_ART_DIR, art, fs::copy_options::recursive);
  {
    std::ofstream palette(art / "palette.txt", std::ios::app);
    palette << "broken 12345 000000 000000\n";
  }
  const fs::path log = fs::absolute("content-test-broken-" + id + ".log");
  const fs::path out = fs::absolute("content-test-broken-out-" + id);
  const int status =
      std::system((std::string("\"") + CONTENTGEN_PROGRAM + "\" --art \"" + art.string() + "\" \"" +
                   out.string() + "\" 2> \"" + log.string() + "\"")
                      .c_str());
  EXPECT_NE(status, 0);
  const std::string message = ReadFile(log);
  EXPECT_NE(message.find("palette.txt:"), std::string::npos) << message;
  EXPECT_NE(message.find("six hex digits"), std::string::npos) << message;
  EXPECT_FALSE(fs::exists(out));
  fs::remove_all(art);
  fs::remove(log);
}

}  // namespace
