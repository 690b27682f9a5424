// The qza tool run as a program: packing round trips, listing, hostile and damaged archives,
// and cat reading through the data-file module.
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "archive_writer.h"
#include "datafile_fixture.h"
#include "services/fwkDataFile.h"

namespace fs = std::filesystem;

namespace {

struct runResult {
  int exitCode;
  std::string output;
  std::string errors;
};

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

class QzaTest : public DataFileTest {
 protected:
  runResult Run(const std::string& arguments) {
    const std::string out = Path("stdout.txt"), err = Path("stderr.txt");
    const std::string command =
        std::string(QZA_PATH) + " " + arguments + " >'" + out + "' 2>'" + err + "'";
    const int status = std::system(command.c_str());
    runResult result{WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(out), Slurp(err)};
    fs::remove(out);
    fs::remove(err);
    return result;
  }
  std::string Quoted(const std::string& relative) { return "'" + Path(relative) + "'"; }
};

TEST_F(QzaTest, PackAndExtractRoundTripAFolderByteForByte) {
  Write("src/readme.txt", "hello\r\n");
  Write("src/Gfx/Tiles/big.bin", Pattern(200000, 9));
  Write("src/Gfx/empty.bin", "");
  Write("src/Maps/Map1.map", "map");
  ASSERT_EQ(Run("pack " + Quoted("src") + " " + Quoted("out.qza")).exitCode, 0);

  const runResult list = Run("list " + Quoted("out.qza"));
  EXPECT_EQ(list.exitCode, 0);
  // Byte order of the stored names: upper-case letters sort before lower-case ones.
  EXPECT_EQ(list.output,
            "200000\tGfx\\Tiles\\big.bin\n0\tGfx\\empty.bin\n3\tMaps\\Map1.map\n7\treadme.txt\n");

  ASSERT_EQ(Run("extract " + Quoted("out.qza") + " " + Quoted("copy")).exitCode, 0);
  size_t files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(Path("src"))) {
    if (!entry.is_regular_file()) continue;
    ++files;
    const fs::path copy = Path("copy") / entry.path().lexically_relative(Path("src"));
    EXPECT_EQ(Slurp(copy), Slurp(entry.path())) << copy;
  }
  EXPECT_EQ(files, 4u);

  // Packing again gives the same archive.
  ASSERT_EQ(Run("pack " + Quoted("src") + " " + Quoted("again.qza")).exitCode, 0);
  EXPECT_EQ(Slurp(Path("again.qza")), Slurp(Path("out.qza")));
}

TEST_F(QzaTest, PackedArchiveIsReadByTheProgramAndCatShowsWhatItReads) {
  Write("src/Gfx/Tiles/big.bin", Pattern(100000, 4));
  ASSERT_EQ(Run("pack " + Quoted("src") + " " + Quoted("data/content.qza")).exitCode, 1);
  fs::create_directories(Path("data"));
  ASSERT_EQ(Run("pack " + Quoted("src") + " " + Quoted("data/content.qza")).exitCode, 0);
  Write("data/PATCH000001/readme.txt", "patched");

  const runResult big = Run("cat " + Quoted("data") + " 'gfx\\tiles\\BIG.bin'");
  EXPECT_EQ(big.exitCode, 0);
  EXPECT_EQ(big.output, Pattern(100000, 4));
  EXPECT_EQ(Run("cat " + Quoted("data") + " 'readme.txt'").output, "patched");
  const runResult missing = Run("cat " + Quoted("data") + " 'nothing.txt'");
  EXPECT_NE(missing.exitCode, 0);
  EXPECT_NE(missing.errors.find("nothing.txt"), std::string::npos);

  fs::rename(Path("data/content.qza"), Path("content.qza"));
  Start();
  EXPECT_EQ(ReadFile("Gfx\\Tiles\\big.bin"), Pattern(100000, 4));
}

TEST_F(QzaTest, PackingIntoTheFolderItselfLeavesTheArchiveOut) {
  Write("src/a.txt", "a");
  Write("src/b.txt", "b");
  ASSERT_EQ(Run("pack " + Quoted("src") + " " + Quoted("src/self.qza")).exitCode, 0);
  ASSERT_EQ(Run("pack " + Quoted("src") + " " + Quoted("src/self.qza")).exitCode, 0);
  EXPECT_EQ(Run("list " + Quoted("src/self.qza")).output, "1\ta.txt\n1\tb.txt\n");
}

TEST_F(QzaTest, DamagedArchivesFailWithOneLineAndNothingWritten) {
  const std::string good = ArchiveBytes({{"a.txt", "aaa"}, {"b.txt", "bbb"}});
  Write("cut.qza", good.substr(0, 20));
  Write("magic.qza", "NOTQZ" + good.substr(5));
  Write("version.qza", "QZARC" + Le16(0x200) + good.substr(7));
  Write("outside.qza", ArchiveBytes({{"a.txt", "aaa", 10, std::nullopt, 5000}}));
  for (const char* name : {"cut.qza", "magic.qza", "version.qza", "outside.qza", "missing.qza"}) {
    SCOPED_TRACE(name);
    const runResult list = Run(std::string("list ") + Quoted(name));
    EXPECT_NE(list.exitCode, 0);
    EXPECT_EQ(list.output, "");
    EXPECT_EQ(std::count(list.errors.begin(), list.errors.end(), '\n'), 1) << list.errors;
    EXPECT_NE(Run(std::string("extract ") + Quoted(name) + " " + Quoted("out")).exitCode, 0);
    EXPECT_FALSE(fs::exists(Path("out")));
  }
}

TEST_F(QzaTest, ExtractRefusesNamesThatLeaveTheFolder) {
  for (const char* name : {"..\\escape.txt", "a\\..\\..\\escape.txt", "/tmp/escape.txt",
                           "\\escape.txt", "C:\\escape.txt", "a\\\\b.txt", ""}) {
    SCOPED_TRACE(name);
    Write("hostile.qza", ArchiveBytes({{"fine.txt", "fine"}, {name, "hostile"}}));
    const runResult result = Run("extract " + Quoted("hostile.qza") + " " + Quoted("out/inner"));
    EXPECT_NE(result.exitCode, 0);
    EXPECT_NE(result.errors.find("refusing"), std::string::npos);
    EXPECT_FALSE(fs::exists(Path("out")));
  }
  EXPECT_FALSE(fs::exists("/tmp/escape.txt"));
}

TEST_F(QzaTest, ExtractWritesTheFirstOfNamesThatDifferOnlyInCase) {
  Write("dup.qza", ArchiveBytes({{"Name.txt", "first"}, {"NAME.TXT", "second"}}));
  EXPECT_EQ(Run("extract " + Quoted("dup.qza") + " " + Quoted("out")).exitCode, 0);
  EXPECT_EQ(Slurp(Path("out/Name.txt")), "first");
  EXPECT_FALSE(fs::exists(Path("out/NAME.TXT")));
}

TEST_F(QzaTest, BadArgumentsPrintUsage) {
  for (const char* arguments : {"", "pack", "list a b", "frobnicate x", "cat onlyone"}) {
    const runResult result = Run(arguments);
    EXPECT_NE(result.exitCode, 0);
    EXPECT_NE(result.errors.find("usage: qza"), std::string::npos);
  }
}
