// The real program started headless on hostile content, as a separate process: each case ends
// with the log lines of what could not be used, the shell's exit code and no crash, and the
// program's peak memory stays within a generous bound (a blow-up costs gigabytes).
#include "datafile/archive_writer.h"
#include "hostile/HostileProgram.h"

namespace {

using namespace hostile;

uint32_t Little32(const std::string& bytes, size_t at) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i)
    value |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + i])) << (8 * i);
  return value;
}

struct shippedEntry {
  std::string name;
  uint32_t offset;
  uint32_t size;
};

// The shipped archive's directory, read by the format's layout; end is where it stops.
std::vector<shippedEntry> ShippedDirectory(size_t& end) {
  const std::string head = ReadBytes(SANGUOR_ARCHIVE, 1 << 20);
  std::vector<shippedEntry> entries;
  size_t at = 11;
  for (uint32_t i = 0; i < Little32(head, 7); ++i) {
    const uint8_t length = static_cast<uint8_t>(head.at(at));
    const uint16_t nameLength = static_cast<uint16_t>(static_cast<uint8_t>(head.at(at + 9)) |
                                                      static_cast<uint8_t>(head.at(at + 10)) << 8);
    const size_t name = at + 1 + length;
    entries.push_back(
        {head.substr(name, nameLength), Little32(head, at + 1), Little32(head, at + 5)});
    at = name + nameLength;
  }
  end = at;
  return entries;
}

const std::string kDraculaStand = "Bin\\Sprites\\Dracula\\Vampire Stand\\";

std::string SheetError(const std::string& sheet) {
  return "Error: AnimationOpen - Unable to open animation exposure sheet \"" + sheet + "\".";
}

std::string PictureError(const std::string& picture) {
  return "Error: ModelTextureExtract - Unable to extract image \"" + picture + "\" for model.";
}

// What the game opens before it reads a level, each missing from an archive that has nothing.
void ExpectStartContentMissing(const runResult& run) {
  EXPECT_EQ(
      Count(run,
            "Error: FontOpen - Unable to load font \"Bin\\Fonts\\Menu Description Small.fot\"."),
      1);
  EXPECT_EQ(Count(run, PictureError("Bin\\HUD\\Health.tga")), 1);
  EXPECT_EQ(Count(run, PictureError("Bin\\HUD\\Fog.tga")), 1);
  EXPECT_EQ(Count(run, SheetError(kDraculaStand + "Vampire Stand Right.exp")), 1);
  // The game's nine sounds, each named once.
  EXPECT_EQ(Count(run, "Error: AudioSoundOpen - Unable to open \"Bin\\Sounds\\", true), 9);
  EXPECT_EQ(Errors(run), 16);
}

TEST_F(HostileContent, TruncatedArchiveGivesWhatLiesBeforeTheCut) {
  size_t directoryEnd = 0;
  const std::vector<shippedEntry> entries = ShippedDirectory(directoryEnd);
  // The cut after the fonts, HUD pictures and levels: sprites and tiles lie past it.
  uint32_t cut = UINT32_MAX;
  for (const shippedEntry& entry : entries)
    if (entry.name.rfind("Bin\\Sprites\\", 0) == 0 || entry.name.rfind("Bin\\Tiles\\", 0) == 0)
      cut = std::min(cut, entry.offset);
  for (const shippedEntry& entry : entries) {
    if (entry.name.rfind("Bin\\Sprites\\", 0) != 0 && entry.name.rfind("Bin\\Tiles\\", 0) != 0) {
      ASSERT_LE(entry.offset + entry.size, cut) << entry.name;
    }
  }

  Write("Sanguor.qza", ReadBytes(SANGUOR_ARCHIVE, directoryEnd / 2));
  const runResult inDirectory = Run({"-quit", "600"});
  ExpectCleanEnd(inDirectory);
  ExpectStartContentMissing(inDirectory);

  Write("Sanguor.qza", ReadBytes(SANGUOR_ARCHIVE, cut + 100));
  const runResult inData = Run({"-quit", "600"});
  ExpectCleanEnd(inData);
  EXPECT_EQ(Count(inData, "Error: FontOpen", true), 0);
  EXPECT_EQ(Count(inData, PictureError("Bin\\HUD\\Health.tga")), 0);
  EXPECT_EQ(Count(inData, SheetError(kDraculaStand + "Vampire Stand Right.exp")), 1);
  EXPECT_GE(
      Count(inData, "Error: ModelTextureExtract - Unable to extract image \"Bin\\Tiles\\", true),
      1);
}

TEST_F(HostileContent, ArchiveWhoseDirectoryPointsPastItsEndIsPassedOver) {
  const std::string sheet = kDraculaStand + "Vampire Stand Right.exp";
  // "A" sorts before the shipped archive, so each of its names would be found first.
  const std::string hostile = ArchiveBytes({
      {"Bin\\Fonts\\Menu Description Small.fot", "", 10, 0x7FFFFFF0, 100},
      {"Bin\\HUD\\Health.tga", "", 10, 40, 0x7FFFFFFF},
      {"Bin\\HUD\\Fog.tga", "", 10, -5, 10},
      {sheet, "1.0\r\n1\r\n", 10, std::nullopt, 1 << 20},
  });
  Write("A.qza", hostile);
  const runResult alone = Run({"-quit", "600"});
  ExpectCleanEnd(alone);
  ExpectStartContentMissing(alone);

  // With the shipped archive beside it, every name comes from there: no level 999, so the
  // game ends right after its start, having opened only what the hostile archive names.
  UseShippedArchive();
  const runResult beside = Run({"-level", "999", "-quit", "600"});
  ExpectCleanEnd(beside);
  EXPECT_EQ(Errors(beside), 0);
}

TEST_F(HostileContent, LevelNaming1024MissingPicturesLogsEachOnce) {
  UseShippedArchive();
  std::vector<std::string> level = {"#TILES"};
  for (int32_t tile = 1; tile <= 1025; ++tile)
    level.push_back(std::to_string(tile) + " BLOCK Tiles\\Missing " + std::to_string(tile) +
                    ".tga");
  level.push_back("#MAP");
  for (int32_t row = 0; row < 31; ++row) {
    std::string line;
    for (int32_t column = 0; column < 31; ++column)
      line += (column ? "," : "") + std::to_string((row * 29 + column) % 1025 + 1);
    level.push_back(line);
  }
  for (const char* line : {"#PC", "2,2", "#NPC", "TYPE=VILLAGER", "LOCATION=3,2"})
    level.push_back(line);
  Write("PATCH000001\\Bin\\Maps\\Map1.map", Lines(level));

  const runResult run = Run({"-quit", "600"});
  ExpectCleanEnd(run);
  for (int32_t tile = 1; tile <= 1024; ++tile)
    EXPECT_EQ(Count(run, PictureError("Bin\\Tiles\\Missing " + std::to_string(tile) + ".tga")), 1)
        << tile;
  EXPECT_EQ(Count(run, PictureError("Bin\\Tiles\\Missing 1025.tga")), 0)
      << "tile numbers above 1024 are passed over";
  EXPECT_EQ(Errors(run), 1024);
}

TEST_F(HostileContent, ExposureSheetClaiming100000FramesIsRefused) {
  UseShippedArchive();
  Write("PATCH000001\\Bin\\Maps\\Map1.map", Lines({"#TILES", "1 BLOCK Tiles\\Brick Block.tga",
                                                   "#MAP", "1,1,1,1", "1,1,1,1", "#PC", "2,1"}));
  std::string frames;
  for (int32_t frame = 0; frame < 100000; ++frame) frames += "Vampire Stand Right 1.tga\r\n0\r\n";
  const std::string right = kDraculaStand + "Vampire Stand Right.exp";
  const std::string left = kDraculaStand + "Vampire Stand Left.exp";
  Write("PATCH000001\\" + right, "1.0\r\n100000\r\n" + frames);
  // A count within the bound, but the sheet holds one frame of it.
  Write("PATCH000001\\" + left, "1.0\r\n1000\r\nVampire Stand Left 1.tga\r\n0\r\n");

  const runResult run = Run({"-quit", "600"});
  ExpectCleanEnd(run);
  EXPECT_EQ(
      Count(run, "Error: AnimationOpen - Invalid frame count \"100000\" in exposure sheet \"" +
                     right + "\"."),
      1);
  EXPECT_EQ(Count(run, "Error: AnimationOpen - Unexpected end of exposure sheet \"" + left + "\"."),
            1);
  EXPECT_EQ(Errors(run), 2);
}

}  // namespace
