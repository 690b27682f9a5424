// Reading through handles: the same bytes, positions and end states from disk, archive and
// memory, lines, seeks, memory files and handle numbers.
#include <filesystem>
#include <random>

#include "archive_writer.h"
#include "datafile_fixture.h"
#include "platform/platform_system.h"
#include "services/fwkDataFile.h"

using ReadTest = DataFileTest;

namespace {

// Opens name three ways: from disk, from an archive and from memory.
struct threeSources {
  int32_t disk, archive, memory;
};

}  // namespace

class SourcesTest : public DataFileTest {
 protected:
  threeSources OpenAll(const std::string& bytes) {
    Write("Disk/Data.bin", bytes);
    Write("a.qza",
          ArchiveBytes({{"before", "xxxx"}, {"Archive\\Data.bin", bytes}, {"after", "yyyy"}}));
    Write("Memory/Data.bin", bytes);
    Start();
    EXPECT_TRUE(DataFileMemoryLoad("Memory\\Data.bin"));
    Remove("Memory/Data.bin");
    threeSources s{DataFileOpen("disk\\data.bin"), DataFileOpen("archive\\data.bin"),
                   DataFileOpen("Memory\\Data.bin")};
    EXPECT_GT(s.disk, 0);
    EXPECT_GT(s.archive, 0);
    EXPECT_GT(s.memory, 0);
    return s;
  }
};

TEST_F(SourcesTest, RandomReadsAndSeeksAgreeWithTheBytesOnEverySource) {
  const std::string bytes = Pattern(300000, 7);
  const threeSources s = OpenAll(bytes);
  std::mt19937 random(42);
  for (int32_t handle : {s.disk, s.archive, s.memory}) {
    SCOPED_TRACE(handle);
    EXPECT_EQ(DataFileSize(handle), 300000);
    int64_t expected = 0;
    std::string block(70000, '\0');
    for (int step = 0; step < 400; ++step) {
      if (random() % 8 == 0) {
        expected = random() % 310000;
        ASSERT_TRUE(DataFileSeek(handle, static_cast<int32_t>(expected)));
      }
      // Sizes around the buffer's 4096 and 2048 marks as well as large ones.
      const int32_t sizes[] = {1, 3, 2047, 2048, 2049, 4095, 4096, 4097, 8192, 65536};
      const int32_t want =
          random() % 2 ? sizes[random() % 10] : static_cast<int32_t>(random() % 70000);
      const int32_t got = DataFileReadPartial(handle, block.data(), want);
      const int64_t left = std::max<int64_t>(0, 300000 - expected);
      ASSERT_EQ(got, std::min<int64_t>(want, left));
      ASSERT_EQ(block.compare(0, static_cast<size_t>(got), bytes,
                              static_cast<size_t>(std::min<int64_t>(expected, 300000)),
                              static_cast<size_t>(got)),
                0);
      expected += got;
      ASSERT_EQ(DataFilePosition(handle), expected);
      ASSERT_EQ(DataFileEof(handle), expected >= 300000);
    }
  }
}

TEST_F(SourcesTest, ReadingMoreThanRemainsDeliversTheRestAndFails) {
  const threeSources s = OpenAll("0123456789");
  for (int32_t handle : {s.disk, s.archive, s.memory}) {
    SCOPED_TRACE(handle);
    char head[4];
    ASSERT_TRUE(DataFileRead(handle, head, 4));
    char rest[20] = {};
    EXPECT_FALSE(DataFileRead(handle, rest, 20));
    EXPECT_EQ(std::string(rest), "456789");
    EXPECT_TRUE(DataFileEof(handle));
    EXPECT_EQ(DataFilePosition(handle), 10);
    EXPECT_EQ(DataFileReadPartial(handle, rest, 5), 0);
  }
}

TEST_F(SourcesTest, SeekPastTheEndSucceedsAndNegativeSeekIsRefused) {
  const threeSources s = OpenAll("abcdef");
  for (int32_t handle : {s.disk, s.archive, s.memory}) {
    SCOPED_TRACE(handle);
    char byte = 0;
    EXPECT_TRUE(DataFileSeek(handle, 100));
    EXPECT_EQ(DataFilePosition(handle), 100);
    EXPECT_TRUE(DataFileEof(handle));
    EXPECT_EQ(DataFileReadPartial(handle, &byte, 1), 0);
    EXPECT_TRUE(DataFileSeek(handle, 2));
    EXPECT_FALSE(DataFileSeek(handle, -1));
    EXPECT_FALSE(DataFileSeek(handle, INT32_MIN));
    EXPECT_EQ(DataFilePosition(handle), 2);
    EXPECT_TRUE(DataFileRead(handle, &byte, 1));
    EXPECT_EQ(byte, 'c');
    EXPECT_TRUE(DataFileSeek(handle, INT32_MAX));
    EXPECT_EQ(DataFileReadPartial(handle, &byte, 1), 0);
  }
}

TEST_F(SourcesTest, LinesEndAtCarriageReturnAndLineFeedsAreDropped) {
  const threeSources s = OpenAll("a\r\nb");
  for (int32_t handle : {s.disk, s.archive, s.memory}) {
    SCOPED_TRACE(handle);
    EXPECT_EQ(DataFileReadLine(handle), "a");
    EXPECT_EQ(DataFileReadLine(handle), "b");
    EXPECT_TRUE(DataFileEof(handle));
    EXPECT_EQ(DataFileReadLine(handle), "");
  }
}

TEST_F(SourcesTest, LongTextReadsLineByLineAcrossBufferRefills) {
  std::string text, expectedLines;
  std::vector<std::string> lines;
  for (int i = 0; i < 3000; ++i) {
    std::string line = "line " + std::to_string(i) + std::string(static_cast<size_t>(i % 97), 'x');
    lines.push_back(line);
    // LF alone inside a line is dropped; CR alone ends one as CR LF does.
    text += i % 3 == 0 ? line.substr(0, 2) + "\n" + line.substr(2) + "\r" : line + "\r\n";
  }
  const threeSources s = OpenAll(text);
  for (int32_t handle : {s.disk, s.archive, s.memory}) {
    SCOPED_TRACE(handle);
    for (const std::string& line : lines) ASSERT_EQ(DataFileReadLine(handle), line);
    // The last line's LF is still unread; the next line read drops it and finds nothing.
    EXPECT_FALSE(DataFileEof(handle));
    EXPECT_EQ(DataFileReadLine(handle), "");
    EXPECT_TRUE(DataFileEof(handle));
    EXPECT_EQ(DataFilePosition(handle), static_cast<int32_t>(text.size()));
  }
}

TEST_F(ReadTest, LineFeedOnlyTextIsOneLine) {
  Write("unix.txt", "one\ntwo\nthree\n");
  Start();
  const int32_t handle = DataFileOpen("unix.txt");
  EXPECT_EQ(DataFileReadLine(handle), "onetwothree");
  EXPECT_TRUE(DataFileEof(handle));
}

TEST_F(ReadTest, DiskPathsMatchWithoutRegardToCaseAndEitherSeparator) {
  Write("Gfx/Tiles/Grass.BMP", "grass");
  Start();
  EXPECT_EQ(ReadFile("gfx\\tiles\\grass.bmp"), "grass");
  EXPECT_EQ(ReadFile("GFX/TILES/GRASS.BMP"), "grass");
  EXPECT_EQ(ReadFile("Gfx\\Tiles"), "<not found>");
  EXPECT_EQ(ReadFile("Gfx\\Tiles\\Missing.bmp"), "<not found>");
  EXPECT_EQ(ReadFile(""), "<not found>");
  EXPECT_EQ(ReadFile(Path("Gfx/Tiles/Grass.BMP")), "grass");
}

TEST_F(ReadTest, DataFolderIsTheProgramFolderNotTheCurrentFolder) {
  Write("here.txt", "data folder");
  Start();
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path("/");
  EXPECT_EQ(ReadFile("here.txt"), "data folder");
  std::filesystem::current_path(previous);
}

TEST_F(ReadTest, DiskSizeIsTheFilesCurrentSizeAndACutFileEndsEarly) {
  const std::string bytes = Pattern(20000, 5);
  Write("grow.bin", bytes);
  Start();
  const int32_t handle = DataFileOpen("grow.bin");
  EXPECT_EQ(DataFileSize(handle), 20000);
  std::filesystem::resize_file(Path("grow.bin"), 9000);
  EXPECT_EQ(DataFileSize(handle), 9000);
  std::string all(20000, '\0');
  EXPECT_EQ(DataFileReadPartial(handle, all.data(), 20000), 9000);
  EXPECT_TRUE(DataFileEof(handle));
  EXPECT_EQ(all.substr(0, 9000), bytes.substr(0, 9000));

#if !defined(_WIN32)
  // A file removed from its folder while open stays readable, as the open file it is. Windows
  // refuses to remove a file that is open.
  const int32_t removed = DataFileOpen("grow.bin");
  Remove("grow.bin");
  EXPECT_EQ(DataFileSize(removed), 9000);
  EXPECT_EQ(ReadRest(removed), bytes.substr(0, 9000));
#endif
}

TEST_F(ReadTest, HandlesComeFromACounterAndUnknownHandlesGiveNeutralValues) {
  Write("a.txt", "a");
  Start();
  const int32_t first = DataFileOpen("a.txt");
  EXPECT_EQ(first, 1);
  EXPECT_EQ(DataFileOpen("missing.txt"), 0);
  const int32_t second = DataFileOpen("a.txt");
  EXPECT_EQ(second, 2);
  DataFileClose(first);
  EXPECT_EQ(DataFileOpen("a.txt"), 3);
  char byte;
  for (int32_t handle : {first, 0, -1, 99}) {
    EXPECT_EQ(DataFilePosition(handle), -1);
    EXPECT_EQ(DataFileSize(handle), 0);
    EXPECT_TRUE(DataFileEof(handle));
    EXPECT_EQ(DataFileReadPartial(handle, &byte, 1), 0);
    EXPECT_FALSE(DataFileRead(handle, &byte, 1));
    EXPECT_FALSE(DataFileSeek(handle, 0));
    EXPECT_EQ(DataFileReadLine(handle), "");
    DataFileClose(handle);
  }
  EXPECT_EQ(ReadRest(second), "a");
  Start();
  EXPECT_EQ(DataFileOpen("a.txt"), 1);
}

TEST_F(ReadTest, MemoryFilesAreFoundOnlyUnderTheExactNameTheyWereLoadedWith) {
  Write("Fonts/Big.fot", "font bytes");
  Start();
  EXPECT_TRUE(DataFileMemoryLoad("Fonts\\Big.fot"));
  EXPECT_TRUE(DataFileMemoryLoad("Fonts\\Big.fot"));
  EXPECT_FALSE(DataFileMemoryLoad("Fonts\\None.fot"));
  Remove("Fonts/Big.fot");
  EXPECT_EQ(ReadFile("Fonts\\Big.fot"), "font bytes");
  EXPECT_EQ(ReadFile("fonts\\big.fot"), "<not found>");
  const int32_t open = DataFileOpen("Fonts\\Big.fot");
  DataFileMemoryFree("fonts\\big.fot");
  EXPECT_FALSE(DataFileEof(open));
  DataFileMemoryFree("Fonts\\Big.fot");
  EXPECT_TRUE(DataFileEof(open));
  EXPECT_EQ(DataFilePosition(open), -1);
  EXPECT_EQ(ReadFile("Fonts\\Big.fot"), "<not found>");
}

TEST_F(ReadTest, FreeingOneMemoryFileLeavesHandlesOnLaterOnesReadingTheirOwnBytes) {
  Write("one", "first file");
  Write("two", "second file");
  Write("three", "third file");
  Start();
  ASSERT_TRUE(DataFileMemoryLoad("one"));
  ASSERT_TRUE(DataFileMemoryLoad("two"));
  ASSERT_TRUE(DataFileMemoryLoad("three"));
  const int32_t onOne = DataFileOpen("one");
  const int32_t onThree = DataFileOpen("three");
  char head[6];
  ASSERT_TRUE(DataFileRead(onThree, head, 6));
  DataFileMemoryFree("one");
  EXPECT_EQ(DataFilePosition(onOne), -1);
  EXPECT_EQ(ReadRest(onThree), "file");
  Remove("two");
  EXPECT_EQ(ReadFile("two"), "second file");
  DataFileCloseAll();
  Remove("three");
  EXPECT_EQ(ReadFile("three"), "<not found>");
}

TEST_F(ReadTest, MemoryLoadOfAnArchiveEntry) {
  Write("a.qza", ArchiveBytes({{"Sounds\\Bite.ogg", "ogg bytes"}}));
  Start();
  ASSERT_TRUE(DataFileMemoryLoad("Sounds\\Bite.ogg"));
  const int32_t handle = DataFileOpen("Sounds\\Bite.ogg");
  EXPECT_EQ(DataFileSize(handle), 9);
  EXPECT_EQ(OpenDescriptors(Path("a.qza")), 0);
  EXPECT_EQ(ReadRest(handle), "ogg bytes");
}

TEST_F(ReadTest, LibraryIsFoundAsPassedOrInTheProgramFolder) {
  Write("libthing.so.1", "");
  Start();
  EXPECT_TRUE(UtilLibraryExists("libthing.so.1"));
  EXPECT_TRUE(UtilLibraryExists(Path("libthing.so.1")));
  EXPECT_FALSE(UtilLibraryExists("libnothing.so.1"));
  EXPECT_FALSE(UtilLibraryExists(""));
}
