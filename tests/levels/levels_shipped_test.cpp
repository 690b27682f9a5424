// The shipped content as the build packs it: the levels check clean, the archive holds every
// path the program opens, the levels use every objective rule, and packing is repeatable.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "game/gameText.h"
#include "levelRead.h"

namespace fs = std::filesystem;

namespace {

// Runs a shell command; its standard output, and its exit status in status.
std::string Shell(const std::string& command, int& status) {
  std::string output;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) {
    status = -1;
    return output;
  }
  char block[4096];
  size_t got;
  while ((got = std::fread(block, 1, sizeof block, pipe)) > 0) output.append(block, got);
  status = pclose(pipe);
  return output;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::set<std::string> ArchiveNames() {
  int status = 0;
  std::istringstream listing(
      Shell(std::string("'") + QZA_PROGRAM + "' list '" + CONTENT_ARCHIVE + "'", status));
  EXPECT_EQ(status, 0);
  std::set<std::string> names;
  std::string line;
  while (std::getline(listing, line)) {
    const size_t tab = line.find('\t');
    if (tab != std::string::npos) names.insert(line.substr(tab + 1));
  }
  return names;
}

int LevelCount() {
  int count = 0;
  while (fs::exists(fs::path(CONTENT_STAGE) / "Bin" / "Maps" /
                    ("Map" + std::to_string(count + 1) + ".map")))
    ++count;
  return count;
}

levelData ShippedLevel(int number) {
  const std::string bytes = ReadFile(fs::path(CONTENT_STAGE) / "Bin" / "Maps" /
                                     ("Map" + std::to_string(number) + ".map"));
  return LevelReadBytes(bytes, [](const std::string&) { return true; });
}

TEST(ShippedLevelsTest, TheCheckerFindsNothingInTheStageOrTheArchive) {
  int status = 0;
  const std::string stage =
      Shell(std::string("'") + LEVELCHECK_PROGRAM + "' '" + CONTENT_STAGE + "'", status);
  EXPECT_EQ(status, 0) << stage;
  EXPECT_EQ(stage, "");
  // The program folder: the levels and pictures come out of Sanguor.qza.
  const std::string archive = Shell(std::string("'") + LEVELCHECK_PROGRAM + "' '" +
                                        fs::path(CONTENT_ARCHIVE).parent_path().string() + "'",
                                    status);
  EXPECT_EQ(status, 0) << archive;
  EXPECT_EQ(archive, "");
}

TEST(ShippedLevelsTest, TheCheckerFailsOnABrokenLevel) {
  const fs::path folder = fs::temp_directory_path() /
                          ("sanguor-levels-broken-" + std::to_string(getpid())) / "Bin" / "Maps";
  fs::create_directories(folder);
  std::ofstream(folder / "Map1.map", std::ios::binary)
      << "#TILES\r\n1 SPACE Tiles\\Night Sky.tga\r\n#MAP\r\n1,1\r\n";
  int status = 0;
  const std::string output = Shell(std::string("'") + LEVELCHECK_PROGRAM + "' --data '" +
                                       CONTENT_STAGE + "' '" + (folder / "Map1.map").string() + "'",
                                   status);
  EXPECT_NE(status, 0);
  EXPECT_NE(output.find("Map1.map: no usable player start"), std::string::npos) << output;
  fs::remove_all(folder.parent_path().parent_path());
}

TEST(ShippedLevelsTest, LevelsFollowOneAnotherAndUseEveryRule) {
  const int count = LevelCount();
  ASSERT_GE(count, 6);
  bool objectiveHuman = false;
  bool location = false;
  bool vamps = false;
  bool nubile = false;
  std::string briefings;
  for (int number = 1; number <= count; ++number) {
    const levelData level = ShippedLevel(number);
    EXPECT_FALSE(level.briefing.empty()) << "level " << number;
    briefings += level.briefing;
    location = location || level.objectiveColumn > 0;
    vamps = vamps || level.vampsPercent > 0;
    for (const levelHuman& human : level.humans) {
      objectiveHuman = objectiveHuman || human.objective;
      nubile = nubile || GameUpper(human.type) == "NUBILE";
    }
    // Something to win by: a level without any objective is won at once.
    EXPECT_TRUE(level.objectiveColumn > 0 || level.vampsPercent > 0 ||
                std::any_of(level.humans.begin(), level.humans.end(),
                            [](const levelHuman& h) { return h.objective; }))
        << "level " << number;
  }
  EXPECT_TRUE(objectiveHuman && location && vamps && nubile);
  for (const char* key : {"A (left)", "D (right)", "hold E", "Hold S", "Q"})
    EXPECT_NE(briefings.find(key), std::string::npos) << key;
}

TEST(ShippedArchiveTest, HoldsEveryPathTheProgramOpens) {
  const std::set<std::string> names = ArchiveNames();
  std::vector<std::string> wanted = {
      "Bin\\Fonts\\Menu Description Small.fot",
      "Bin\\HUD\\Health.tga",
      "Bin\\HUD\\Fog.tga",
      "Bin\\Sprites\\Briefing.tga",
      "Bin\\Sprites\\You Are Dead.tga",
      "Bin\\Sprites\\You Win.tga",
      "Bin\\Sprites\\Dracula\\Vampire Stand\\Vampire Stand Right.exp",
      "Bin\\Sprites\\Dracula\\Vampire Stand\\Vampire Stand Left.exp",
      "Bin\\Sprites\\Dracula\\Vampire Walk\\Vampire Walk Right.exp",
      "Bin\\Sprites\\Dracula\\Vampire Walk\\Vampire Walk Left.exp",
      "Bin\\Sprites\\Dracula\\Vampire Hit\\Vampire Hit Left.exp",
      "Bin\\Sprites\\Dracula\\Vampire Hit\\Vampire Hit Right.exp",
      "Bin\\Sprites\\Dracula\\Vampire Collapse\\Vampire Collapse.exp",
      "Bin\\Sprites\\Dracula\\Fog\\Fog 1.exp",
      "Bin\\Sprites\\Dracula\\Fog\\Fog 2.exp",
      "Bin\\Sounds\\Night.ogg",
      "Bin\\Sounds\\Bite.ogg",
      "Bin\\Sounds\\Human Suspicious.ogg",
      "Bin\\Sounds\\Human Attack.ogg",
      "Bin\\Sounds\\Player Hit.ogg",
      "Bin\\Sounds\\Collapse.ogg",
      "Bin\\Sounds\\Fog.ogg",
      "Bin\\Sounds\\You Win.ogg",
      "Bin\\Sounds\\You Are Dead.ogg"};
  std::set<std::string> types;
  for (int number = 1; number <= LevelCount(); ++number) {
    wanted.push_back("Bin\\Maps\\Map" + std::to_string(number) + ".map");
    const levelData level = ShippedLevel(number);
    for (const levelTile& tile : level.tiles) wanted.push_back("Bin\\" + tile.path);
    for (const levelHuman& human : level.humans) types.insert(human.type);
  }
  EXPECT_GE(types.size(), 4u);
  for (const std::string& type : types) {
    for (const char* sheet :
         {"Stand\\Stand Right", "Stand\\Stand Left", "Walk\\Walk Right", "Walk\\Walk Left",
          "Vampire Stand\\Vampire Stand Right", "Vampire Stand\\Vampire Stand Left",
          "Vampire Walk\\Vampire Walk Right", "Vampire Walk\\Vampire Walk Left",
          "Attack\\Attack Right", "Attack\\Attack Left", "Vamped\\Vamped",
          "Vampire Hit\\Vampire Hit Left", "Vampire Hit\\Vampire Hit Right",
          "Vampire Collapse\\Vampire Collapse"})
      wanted.push_back("Bin\\Sprites\\" + type + "\\" + sheet + ".exp");
  }
  for (const std::string& name : wanted) EXPECT_TRUE(names.count(name)) << name;
  // The level after the last one must be missing: that is how the game ends.
  EXPECT_FALSE(names.count("Bin\\Maps\\Map" + std::to_string(LevelCount() + 1) + ".map"));
}

TEST(ShippedArchiveTest, PackingAgainGivesTheSameBytes) {
  const fs::path folder =
      fs::temp_directory_path() / ("sanguor-content-again-" + std::to_string(getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  int status = 0;
  // The build's own packing command, pointed at a stage and an archive of the test's.
  std::string command = PACK_COMMAND;
  command.insert(command.find(" -P "), " '-DSTAGE=" + (folder / "stage").string() +
                                           "' '-DARCHIVE=" + (folder / "again.qza").string() + "'");
  const std::string output = Shell(command, status);
  ASSERT_EQ(status, 0) << output;
  const std::string again = ReadFile(folder / "again.qza");
  EXPECT_GT(again.size(), 1000000u);
  EXPECT_TRUE(again == ReadFile(CONTENT_ARCHIVE)) << "the archive differs from the build's";
  fs::remove_all(folder);
}

}  // namespace
