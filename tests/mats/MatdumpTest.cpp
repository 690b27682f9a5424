// The matdump tool on mats written by the tests: its listing and its failures.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "ToolRun.h"
#include "mats/MatTestFile.h"

namespace {

class Matdump : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = std::filesystem::current_path() / ("matdump-test-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
  }
  void TearDown() override { std::filesystem::remove_all(folder); }

  toolRun Dump(const std::string& bytes) {
    std::ofstream(folder / "grid.mat", std::ios::binary) << bytes;
    return RunTool("matdump", (folder / "grid.mat").string(), folder / "stderr.txt");
  }

  std::filesystem::path folder;
};

TEST_F(Matdump, ListsSizeEntriesAndCells) {
  matTestFile file = MatTestSmall();
  file.width = 4;
  file.entries.push_back({0x0000000Au, ""});
  file.entries.push_back({0xDEADBEEFu, "two words"});
  file.runs = {{3, 3}, {2, 2}, {0, 1}, {1, 1}};
  const toolRun result = Dump(file.Bytes());
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out,
            "width 4 height 2 entries 4\n"
            "entry 0 FF102030 A\n"
            "entry 1 80405060 B\n"
            "entry 2 0000000A \n"
            "entry 3 DEADBEEF two words\n"
            "3 3 3 2\n"
            "2 1 0 0\n");
  EXPECT_EQ(result.err, "");
}

TEST_F(Matdump, FailuresPrintTheLogLineAndExitWithOne) {
  matTestFile file = MatTestSmall();
  file.minor = 1;
  toolRun result = Dump(file.Bytes());
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "MatOpenRaw - Unsupported mat minor version \"1\".\n");

  file = MatTestSmall();
  file.height = -1;
  result = Dump(file.Bytes());
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "MatOpen - Invalid mat size \"3 x -1\" in \"grid.mat\".\n");

  file = MatTestSmall();
  file.runs.clear();
  result = Dump(file.Bytes());
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_NE(result.err.find("no runs"), std::string::npos) << result.err;
}

}  // namespace
