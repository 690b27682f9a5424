// Patch folders "PATCH" + six digits, on disk or inside archives, override every other copy
// of a name; the highest number wins.
#include <fstream>
#include <sstream>

#include "archive_writer.h"
#include "datafile_fixture.h"
#include "services/fwkDataFile.h"
#include "services/fwkLog.h"

using PatchTest = DataFileTest;

TEST_F(PatchTest, DiskPatchThreeBeatsArchivePatchTwoUntilItIsRemoved) {
  Write("Patch000003/Maps/Map1.map", "patch 3 on disk");
  Write("a.qza", ArchiveBytes({{"PATCH000002\\Maps\\Map1.map", "patch 2 in archive"},
                               {"Maps\\Map1.map", "unpatched in archive"}}));
  Write("PATCH000001/Maps/Map1.map", "patch 1 on disk");
  Write("Maps/Map1.map", "unpatched on disk");
  Start();
  EXPECT_EQ(DataFileResolveName("Maps\\Map1.map"), "PATCH000003\\Maps\\Map1.map");
  EXPECT_EQ(ReadFile("Maps\\Map1.map"), "patch 3 on disk");
  Remove("Patch000003/Maps/Map1.map");
  EXPECT_EQ(DataFileResolveName("Maps\\Map1.map"), "PATCH000002\\Maps\\Map1.map");
  EXPECT_EQ(ReadFile("maps\\map1.MAP"), "patch 2 in archive");
  EXPECT_EQ(DataFileResolveName("Maps\\Other.map"), "Maps\\Other.map");
}

TEST_F(PatchTest, OnlyElevenCharacterNamesWithAPositiveNumberArePatches) {
  Write("Patch12345/x.txt", "ten characters");
  Write("Patch000000/x.txt", "patch zero");
  Write("Patch-00001/x.txt", "negative");
  Write("Patch0000010/x.txt", "twelve characters");
  Write("PatchABCDEF/x.txt", "letters");
  Write("x.txt", "unpatched");
  Start();
  EXPECT_EQ(ReadFile("x.txt"), "unpatched");
  EXPECT_EQ(DataFileResolveName("x.txt"), "x.txt");
}

TEST_F(PatchTest, PatchNamesAreMatchedWithoutRegardToCase) {
  Write("patch000007/Gfx/Bat.bmp", "lower-case patch folder");
  Write("a.qza", ArchiveBytes({{"patch000009\\Gfx\\Vamp.bmp", "lower-case archive patch"}}));
  Write("Gfx/Vamp.bmp", "unpatched");
  Start();
  EXPECT_EQ(DataFileResolveName("gfx\\bat.bmp"), "PATCH000007\\gfx\\bat.bmp");
  EXPECT_EQ(ReadFile("gfx\\bat.bmp"), "lower-case patch folder");
  EXPECT_EQ(ReadFile("Gfx\\Vamp.bmp"), "lower-case archive patch");
}

TEST_F(PatchTest, PatchFolderThatIsAFileStillCountsButAFolderInsideIsNotAFile) {
  // Files and folders named like patches both enter the list; only files are read.
  Write("PATCH000005", "a file, not a folder");
  Write("PATCH000004/Sub/Name.txt", "patch 4");
  Write("PATCH000006/Sub/Name.txt/inner", "folder named like the file");
  Start();
  EXPECT_EQ(ReadFile("Sub\\Name.txt"), "patch 4");
}

TEST_F(PatchTest, MemoryFilesAreKeptUnderTheirPatchedName) {
  Write("PATCH000001/Fonts/A.fot", "patched font");
  Write("Fonts/A.fot", "plain font");
  Start();
  ASSERT_TRUE(DataFileMemoryLoad("Fonts\\A.fot"));
  Remove("PATCH000001/Fonts/A.fot");
  // The patch file is gone from disk, so the name resolves to the plain file again.
  EXPECT_EQ(ReadFile("Fonts\\A.fot"), "plain font");
  EXPECT_EQ(ReadFile("PATCH000001\\Fonts\\A.fot"), "patched font");
}

TEST_F(PatchTest, LowLevelLogNamesDiskFilesUnderTheirPatchedName) {
  Write("Patch000002/Maps/Map2.map", "patched");
  Write("a.qza", ArchiveBytes({{"Maps\\Map3.map", "archived"}}));
  Write("Maps/Map4.map", "plain");
  Start({"-logLow"});
  LogInit();
  LogSetFolder(folder.string());
  LogSetFileName("results.log");
  EXPECT_EQ(ReadFile("maps\\map2.map"), "patched");
  EXPECT_EQ(ReadFile("Maps\\Map3.map"), "archived");
  EXPECT_EQ(ReadFile("Maps\\Map4.map"), "plain");

  std::ifstream log(Path("results.log"), std::ios::binary);
  std::stringstream text;
  text << log.rdbuf();
  const std::string contents = text.str();
  EXPECT_NE(contents.find("File \"PATCH000002\\maps\\map2.map\" read from disk.\r\n"),
            std::string::npos)
      << contents;
  EXPECT_NE(contents.find("File \"Maps\\Map4.map\" read from disk.\r\n"), std::string::npos)
      << contents;
  EXPECT_EQ(contents.find("Map3"), std::string::npos) << contents;
}

TEST_F(PatchTest, WithoutLowLevelSwitchNothingIsLogged) {
  Write("Maps/Map4.map", "plain");
  Start();
  LogInit();
  LogSetFolder(folder.string());
  LogSetFileName("results.log");
  EXPECT_EQ(ReadFile("Maps\\Map4.map"), "plain");
  EXPECT_FALSE(std::ifstream(Path("results.log")).good());
}
