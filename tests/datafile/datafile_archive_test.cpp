// Archives: which copy of a name is read, damaged and hostile archives, and how handles share
// one archive file.
#include "archive_writer.h"
#include "datafile_fixture.h"
#include "services/fwkDataFile.h"
#include "services/fwkDataFileArchive.h"

using ArchiveTest = DataFileTest;

TEST_F(ArchiveTest, EntriesAreFoundWithoutRegardToCaseAndExtraBytesAreSkipped) {
  Write("Data.QzA", ArchiveBytes({{"Gfx\\Tiles.bmp", "tiles"},
                                  {"Maps\\Map1.map", "level one", 17},
                                  {"long", "extra", 255}}));
  Start();
  EXPECT_EQ(ReadFile("gfx\\TILES.BMP"), "tiles");
  EXPECT_EQ(ReadFile("MAPS\\map1.MAP"), "level one");
  EXPECT_EQ(ReadFile("LONG"), "extra");
  EXPECT_EQ(ReadFile("Gfx/Tiles.bmp"), "<not found>");
}

TEST_F(ArchiveTest, FirstArchiveByUpperCaseNameWinsAndArchiveBeatsDisk) {
  // By raw bytes "B.qza" sorts before "a.qza"; upper-cased, "A.QZA" comes first.
  Write("B.qza", ArchiveBytes({{"same.txt", "from B"}, {"onlyb.txt", "B only"}}));
  Write("a.qza", ArchiveBytes({{"SAME.TXT", "from a"}}));
  Write("same.txt", "from disk");
  Write("disk.txt", "disk only");
  Start();
  EXPECT_EQ(ReadFile("same.txt"), "from a");
  EXPECT_EQ(ReadFile("onlyb.txt"), "B only");
  EXPECT_EQ(ReadFile("disk.txt"), "disk only");
}

TEST_F(ArchiveTest, DamagedArchivesKeepTheEntriesReadBeforeTheFault) {
  // A directory cut inside its third name. Data may lie anywhere in the file, so the two
  // whole entries point into the header: the magic and the version.
  std::string cut = "QZARC" + Le16(1) + Le32(3);
  cut += std::string(1, 10) + Le32(0) + Le32(5) + Le16(3) + "one";
  cut += std::string(1, 10) + Le32(5) + Le32(2) + Le16(3) + "two";
  cut += std::string(1, 10) + Le32(0) + Le32(1) + Le16(5) + "thr";
  Write("cut.qza", cut);
  const std::string whole = ArchiveBytes({{"three", "archived"}});
  Write("badmagic.qza", "QZARX" + whole.substr(5));
  Write("lowermagic.qza", "qzarc" + whole.substr(5));
  Write("shortheader.qza", "QZARC\x01");
  Write("shortentry.qza", "QZARC" + Le16(1) + Le32(1) + std::string(1, 10) + Le32(0));
  Write("empty.qza", "");
  Write("three", "from disk");
  Start();
  EXPECT_EQ(ReadFile("one"), "QZARC");
  EXPECT_EQ(ReadFile("two"), Le16(1));
  EXPECT_EQ(ReadFile("three"), "from disk");
  EXPECT_EQ(DataFileArchiveReadDirectory(Path("cut.qza")).fault, archiveFault::truncated);
  EXPECT_EQ(DataFileArchiveReadDirectory(Path("badmagic.qza")).fault, archiveFault::badMagic);
  EXPECT_EQ(DataFileArchiveReadDirectory(Path("lowermagic.qza")).fault, archiveFault::badMagic);
  EXPECT_EQ(DataFileArchiveReadDirectory(Path("shortheader.qza")).fault, archiveFault::truncated);
  EXPECT_EQ(DataFileArchiveReadDirectory(Path("shortentry.qza")).fault, archiveFault::truncated);
  EXPECT_EQ(DataFileArchiveReadDirectory(Path("missing.qza")).fault, archiveFault::cannotOpen);
}

TEST_F(ArchiveTest, VersionsUpToHighByteOneAreRead) {
  Write("a.qza", ArchiveBytes({{"v0", "zero"}}, 0));
  Write("b.qza", ArchiveBytes({{"v511", "high"}}, 0x1FF));
  Write("c.qza", ArchiveBytes({{"v512", "refused"}}, 0x200));
  Start();
  EXPECT_EQ(ReadFile("v0"), "zero");
  EXPECT_EQ(ReadFile("v511"), "high");
  EXPECT_EQ(ReadFile("v512"), "<not found>");
}

TEST_F(ArchiveTest, EntryCountsAreTrustedOnlyAsFarAsTheBytesGo) {
  Write("a.qza", ArchiveBytes({{"x", "x data"}, {"y", "y data"}}, 1, 0x7FFFFFFF));
  Write("b.qza", ArchiveBytes({{"z", "never"}}, 1, 0));
  Write("c.qza", ArchiveBytes({{"w", "never"}}, 1, -5));
  Start();
  EXPECT_EQ(ReadFile("x"), "x data");
  EXPECT_EQ(ReadFile("y"), "y data");
  EXPECT_EQ(ReadFile("z"), "<not found>");
  EXPECT_EQ(ReadFile("w"), "<not found>");
}

TEST_F(ArchiveTest, EntriesWhoseDataLiesOutsideTheArchiveAreLeftOut) {
  Write("a.qza", ArchiveBytes({{"past", "abc", 10, std::nullopt, 1000},
                               {"negsize", "abc", 10, std::nullopt, -1},
                               {"negoffset", "abc", 10, -20, std::nullopt},
                               {"wrap", "abc", 10, 0x7FFFFFF0, 0x7FFFFFF0},
                               {"good", "fine"}}));
  Write("b.qza", ArchiveBytes({{"past", "from b"}}));
  Write("negsize", "from disk");
  Start();
  EXPECT_EQ(ReadFile("past"), "from b");
  EXPECT_EQ(ReadFile("negsize"), "from disk");
  EXPECT_EQ(ReadFile("negoffset"), "<not found>");
  EXPECT_EQ(ReadFile("wrap"), "<not found>");
  EXPECT_EQ(ReadFile("good"), "fine");

  const archiveDirectoryInfo info = DataFileArchiveReadDirectory(Path("a.qza"));
  EXPECT_EQ(info.fault, archiveFault::none);
  ASSERT_EQ(info.entries.size(), 5u);
  EXPECT_FALSE(info.entries[0].inside);
  EXPECT_TRUE(info.entries[4].inside);
}

TEST_F(ArchiveTest, HugeNameLengthInAShortFileEndsTheDirectory) {
  std::string bytes = ArchiveBytes({{"first", "1"}}, 1, 2);
  bytes += std::string(1, 10) + Le32(0) + Le32(0) + Le16(0xFFFF) + "short";
  Write("a.qza", bytes);
  Start();
  EXPECT_EQ(ReadFile("first"), "1");
  const archiveDirectoryInfo info = DataFileArchiveReadDirectory(Path("a.qza"));
  EXPECT_EQ(info.fault, archiveFault::truncated);
  EXPECT_EQ(info.entries.size(), 1u);
}

TEST_F(ArchiveTest, ZeroSizeEntryIsAtItsEndAtOnce) {
  Write("a.qza", ArchiveBytes({{"empty", ""}, {"next", "xyz"}}));
  Start();
  const int32_t handle = DataFileOpen("empty");
  ASSERT_GT(handle, 0);
  EXPECT_TRUE(DataFileEof(handle));
  EXPECT_EQ(DataFileSize(handle), 0);
  char byte;
  EXPECT_EQ(DataFileReadPartial(handle, &byte, 1), 0);
  EXPECT_EQ(DataFileReadLine(handle), "");
}

TEST_F(ArchiveTest, InterleavedReadsOfTwoEntriesEachGetTheirOwnBytes) {
  const std::string first = Pattern(20000, 1);
  const std::string second = Pattern(30000, 2);
  Write("a.qza", ArchiveBytes({{"first", first}, {"second", second}}));
  Start();
  const int32_t a = DataFileOpen("first");
  const int32_t b = DataFileOpen("second");
  ASSERT_GT(a, 0);
  ASSERT_GT(b, 0);
  std::string gotA, gotB;
  char block[7000];
  size_t step = 1;
  while (!DataFileEof(a) || !DataFileEof(b)) {
    const int32_t want = static_cast<int32_t>(step++ * 977 % sizeof block) + 1;
    gotA.append(block, static_cast<size_t>(DataFileReadPartial(a, block, want)));
    gotB.append(block, static_cast<size_t>(DataFileReadPartial(b, block, want / 2 + 1)));
  }
  EXPECT_EQ(gotA, first);
  EXPECT_EQ(gotB, second);
}

TEST_F(ArchiveTest, ArchiveFileIsOpenExactlyWhileAHandleReadsIt) {
  Write("a.qza", ArchiveBytes({{"x", "xx"}, {"y", "yy"}}));
  Start();
  const std::string path = Path("a.qza");
  EXPECT_EQ(OpenDescriptors(path), 0);
  const int32_t x = DataFileOpen("x");
  const int32_t y = DataFileOpen("y");
  EXPECT_EQ(OpenDescriptors(path), 1);
  DataFileClose(x);
  EXPECT_EQ(OpenDescriptors(path), 1);
  DataFileClose(y);
  EXPECT_EQ(OpenDescriptors(path), 0);
  EXPECT_EQ(ReadFile("y"), "yy");
  EXPECT_EQ(OpenDescriptors(path), 0);
  const int32_t again = DataFileOpen("x");
  EXPECT_EQ(OpenDescriptors(path), 1);
  DataFileCloseAll();
  EXPECT_EQ(OpenDescriptors(path), 0);
  EXPECT_TRUE(DataFileEof(again));
}

TEST_F(ArchiveTest, MissingArchiveFileFallsBackToDiskAndUsesUpAHandleNumber) {
  Write("a.qza", ArchiveBytes({{"name.txt", "archived"}}));
  Write("Name.TXT", "on disk");
  Start();
  const int32_t first = DataFileOpen("name.txt");
  DataFileClose(first);
  Remove("a.qza");
  const int32_t second = DataFileOpen("name.txt");
  EXPECT_EQ(second, first + 2);
  EXPECT_EQ(ReadRest(second), "on disk");
}

TEST_F(ArchiveTest, ArchiveCutShortAfterStartGivesAShortReadNotAHang) {
  const std::string data = Pattern(50000, 3);
  const std::string bytes = ArchiveBytes({{"big", data}});
  Write("a.qza", bytes);
  Start();
  Write("a.qza", bytes.substr(0, bytes.size() - 30000));
  const int32_t handle = DataFileOpen("big");
  ASSERT_GT(handle, 0);
  EXPECT_EQ(DataFileSize(handle), 50000);
  std::string all(50000, '\0');
  EXPECT_FALSE(DataFileRead(handle, all.data(), 50000));
  EXPECT_EQ(DataFileReadPartial(handle, all.data(), 10), 0);
  EXPECT_EQ(DataFilePosition(handle), 20000);
  EXPECT_EQ(all.substr(0, 20000), data.substr(0, 20000));
}
