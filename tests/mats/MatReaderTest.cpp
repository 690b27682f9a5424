// Mat files written by the tests from the format's table, read through the data-file module.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "graphics/fwkMat.h"
#include "mats/MatTestFile.h"
#include "platform/platform_system.h"
#include "services/fwkDataFile.h"
#include "services/fwkLog.h"

namespace {

class MatReader : public ::testing::Test {
 protected:
  void SetUp() override {
    // ctest runs the cases of one program side by side: each process has its own folder and log.
    folder = std::filesystem::current_path() / ("mat-test-data-" + std::to_string(getpid()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / "Bin" / "Mats");
    setenv("XDG_DATA_HOME", folder.c_str(), 1);
    PlatformSetArguments({"-ver"});
    PlatformSetExecutablePath((folder / "sanguor").string());
    DataFileInit();
    LogInit();
    LogSetFolder(folder.string() + "/");
    LogSetFileName("test.log");
    LogStartInfoWrite();
    std::filesystem::remove(folder / "test.log");
  }
  void TearDown() override {
    DataFileCloseAll();
    std::filesystem::remove_all(folder);
  }

  void Write(const std::string& bytes) {
    std::ofstream out(folder / "Bin" / "Mats" / "test.mat", std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  std::string TakeLog() {
    std::stringstream text;
    text << std::ifstream(folder / "test.log", std::ios::binary).rdbuf();
    std::filesystem::remove(folder / "test.log");
    return text.str();
  }

  static constexpr const char* name = "Bin\\Mats\\test.mat";
  std::filesystem::path folder;
};

std::vector<uint8_t> Cells(std::initializer_list<int> values) {
  return {values.begin(), values.end()};
}

void ExpectEmpty(const matRaw& raw) {
  EXPECT_TRUE(raw.entries.empty());
  EXPECT_EQ(raw.width, 0);
  EXPECT_EQ(raw.height, 0);
  EXPECT_TRUE(raw.runs.empty());
}

void ExpectEmpty(const matData& mat) {
  EXPECT_TRUE(mat.entries.empty());
  EXPECT_EQ(mat.width, 0);
  EXPECT_EQ(mat.height, 0);
  EXPECT_TRUE(mat.cells.empty());
}

TEST_F(MatReader, ReadsTheFileAndExpandsItsRunsRowByRow) {
  Write(MatTestSmall().Bytes());
  const matRaw raw = MatOpenRaw(name);
  ASSERT_EQ(raw.entries.size(), 2u);
  EXPECT_EQ(raw.entries[0].name, "A");
  EXPECT_EQ(raw.entries[0].colour, 0xFF102030u);
  EXPECT_EQ(raw.entries[1].name, "B");
  EXPECT_EQ(raw.entries[1].colour, 0x80405060u);
  EXPECT_EQ(raw.width, 3);
  EXPECT_EQ(raw.height, 2);
  ASSERT_EQ(raw.runs.size(), 2u);
  EXPECT_EQ(raw.runs[0].length, 4);
  EXPECT_EQ(raw.runs[1].index, 1);
  EXPECT_TRUE(MatRawIsUsable(raw));

  const matData mat = MatOpen(name);
  EXPECT_EQ(mat.width, 3);
  EXPECT_EQ(mat.height, 2);
  ASSERT_EQ(mat.entries.size(), 2u);
  EXPECT_EQ(mat.entries[1].name, "B");
  EXPECT_EQ(mat.cells, Cells({0, 0, 0, 0, 1, 1}));
  EXPECT_EQ(TakeLog(), "");
}

TEST_F(MatReader, RunsShortOfTheGridLeaveZerosAndLongOnesAreCutAtTheLastCell) {
  matTestFile file = MatTestSmall();
  file.entries.push_back({0, "C"});
  file.runs = {{1, 2}, {0, 1}, {2, 1}};
  Write(file.Bytes());
  EXPECT_EQ(MatOpen(name).cells, Cells({2, 1, 1, 0, 0, 0})) << "a run of length 0 writes nothing";

  file.runs = {{5, 1}, {65535, 2}, {7, 1}};
  Write(file.Bytes());
  EXPECT_EQ(MatOpen(name).cells, Cells({1, 1, 1, 1, 1, 2}));

  file.runs = {{2, 2}};
  file.width = 1;
  file.height = 3;
  Write(file.Bytes());
  EXPECT_EQ(MatOpen(name).cells, Cells({2, 2, 0}));
  EXPECT_EQ(TakeLog(), "");
}

// What a file holds past its grid is read and checked, not kept: a 1-cell mat with a million runs
// holds one of them, and a bad index after the last cell still refuses the file.
TEST_F(MatReader, RunsPastTheGridAreCheckedButNotKept) {
  matTestFile file = MatTestSmall();
  file.runs = {{0, 1}, {4, 0}, {0, 1}, {2, 1}, {7, 0}, {0, 0}, {65535, 1}};
  Write(file.Bytes());
  const matRaw raw = MatOpenRaw(name);
  ASSERT_EQ(raw.runs.size(), 3u) << "the first run, then the runs that fill cells";
  EXPECT_EQ(raw.runs[0].length, 0);
  EXPECT_EQ(raw.runs[1].length, 4);
  EXPECT_EQ(raw.runs[2].index, 1);
  EXPECT_EQ(MatOpen(name).cells, Cells({0, 0, 0, 0, 1, 1}));

  file.runs = {{0, 1}};
  Write(file.Bytes());
  EXPECT_TRUE(MatRawIsUsable(MatOpenRaw(name))) << "a file whose runs are all empty keeps one";

  file.runs = {{6, 0}, {3, 1}, {1, 2}};
  Write(file.Bytes());
  ExpectEmpty(MatOpenRaw(name));
  EXPECT_EQ(TakeLog(), "Error: MatOpenRaw - Invalid mat run index \"2\".\r\n");

  file.width = 1;
  file.height = 1;
  file.runs.assign(1'000'000, {1, 1});
  Write(file.Bytes());
  EXPECT_EQ(MatOpenRaw(name).runs.size(), 1u);
  EXPECT_EQ(MatOpen(name).cells, Cells({1}));
  EXPECT_EQ(TakeLog(), "");
}

TEST_F(MatReader, NamesOfLengthZeroAndFullLength) {
  matTestFile file = MatTestSmall();
  file.entries = {{1, ""}, {2, std::string(255, 'n')}, {3, "last"}};
  Write(file.Bytes());
  const matRaw raw = MatOpenRaw(name);
  ASSERT_EQ(raw.entries.size(), 3u);
  EXPECT_EQ(raw.entries[0].name, "");
  EXPECT_EQ(raw.entries[1].name, std::string(255, 'n'));
  EXPECT_EQ(raw.entries[2].name, "last");
  EXPECT_EQ(raw.entries[2].colour, 3u);
}

TEST_F(MatReader, AFileWithoutRunsIsReadWithoutAMessageButIsNotUsable) {
  matTestFile file = MatTestSmall();
  file.runs.clear();
  Write(file.Bytes());
  const matRaw raw = MatOpenRaw(name);
  EXPECT_EQ(raw.entries.size(), 2u);
  EXPECT_EQ(raw.width, 3);
  EXPECT_FALSE(MatRawIsUsable(raw));
  ExpectEmpty(MatOpen(name));
  EXPECT_EQ(TakeLog(), "");
}

TEST_F(MatReader, UsableNeedsBothSizesAnEntryAndARun) {
  matRaw raw;
  raw.width = -2;
  raw.height = 1;
  raw.entries.resize(1);
  raw.runs.resize(1);
  EXPECT_TRUE(MatRawIsUsable(raw));
  EXPECT_FALSE(MatRawIsUsable(matRaw{raw.entries, 0, 1, raw.runs}));
  EXPECT_FALSE(MatRawIsUsable(matRaw{raw.entries, 1, 0, raw.runs}));
  EXPECT_FALSE(MatRawIsUsable(matRaw{{}, 1, 1, raw.runs}));
  EXPECT_FALSE(MatRawIsUsable(matRaw{raw.entries, 1, 1, {}}));
}

// Each damaged file gives its one line and an empty mat, from MatOpenRaw and from MatOpen.
TEST_F(MatReader, EveryFailureLogsItsLineAndGivesAnEmptyMat) {
  const std::string whole = MatTestSmall().Bytes();
  // "MAT" 1 0, width at 5, height at 9, count at 13, entry 1 at 14 (colour, length, "A"),
  // entry 2 at 20, runs from 26.
  struct damaged {
    std::string bytes;
    std::string line;
  };
  auto with = [](auto change) {
    matTestFile file = MatTestSmall();
    change(file);
    return file.Bytes();
  };
  const std::vector<damaged> cases = {
      {"MA", "Unable to read mat header."},
      {"MAt\x01", "Unrecognized mat header."},
      {"MAT", "Unable to read mat major version."},
      {with([](matTestFile& f) { f.major = 2; }), "Unsupported mat major version \"2\"."},
      {whole.substr(0, 4), "Unable to read mat minor version."},
      {with([](matTestFile& f) { f.minor = 1; }), "Unsupported mat minor version \"1\"."},
      {whole.substr(0, 8), "Unable to read mat width."},
      {with([](matTestFile& f) { f.width = 0; }), "No mat width."},
      {whole.substr(0, 12), "Unable to read mat height."},
      {with([](matTestFile& f) { f.height = 0; }), "No mat height."},
      {whole.substr(0, 13), "Unable to read mat entry count."},
      {with([](matTestFile& f) { f.entries.clear(); }), "No mat entries."},
      {whole.substr(0, 17), "Unable to read mat color for entry \"1\"."},
      {whole.substr(0, 18), "Unable to read mat name length for entry \"1\"."},
      {whole.substr(0, 19), "Unable to read mat name for entry \"1\"."},
      {whole.substr(0, 25), "Unable to read mat name for entry \"2\"."},
      {whole.substr(0, 20), "Unable to read mat color for entry \"2\"."},
      {whole.substr(0, 27), "Unable to read mat run length."},
      {whole.substr(0, 28), "Unable to read mat run index."},
      {whole.substr(0, whole.size() - 1), "Unable to read mat run index."},
      {with([](matTestFile& f) {
         f.runs.push_back({1, 2});
       }),
       "Invalid mat run index \"2\"."},
      {with([](matTestFile& f) {
         f.runs.insert(f.runs.begin(), {0, 255});
       }),
       "Invalid mat run index \"255\"."},
  };
  for (const damaged& file : cases) {
    Write(file.bytes);
    ExpectEmpty(MatOpenRaw(name));
    EXPECT_EQ(TakeLog(), "Error: MatOpenRaw - " + file.line + "\r\n") << file.line;
    ExpectEmpty(MatOpen(name));
    EXPECT_EQ(TakeLog(), "Error: MatOpenRaw - " + file.line + "\r\n") << file.line;
  }
  ExpectEmpty(MatOpen("Bin\\Mats\\missing.mat"));
  EXPECT_EQ(TakeLog(), "Error: MatOpenRaw - Unable to open \"Bin\\Mats\\missing.mat\".\r\n");
}

// The format only forbids sizes of 0; MatOpen refuses what it cannot expand before allocating.
TEST_F(MatReader, NegativeAndOversizedGridsAreRefusedByTheExpansion) {
  const std::vector<std::pair<int32_t, int32_t>> refused = {
      {-3, 2},      {3, -2}, {-3, -2}, {INT32_MIN, 1}, {4097, 4096}, {INT32_MAX, INT32_MAX},
      {1, 16777217}};
  for (const auto& [width, height] : refused) {
    matTestFile file = MatTestSmall();
    file.width = width;
    file.height = height;
    Write(file.Bytes());
    const matRaw raw = MatOpenRaw(name);
    EXPECT_EQ(raw.width, width) << "the raw mat holds the file's numbers";
    EXPECT_EQ(TakeLog(), "");
    ExpectEmpty(MatOpen(name));
    const std::string size = "\"" + std::to_string(width) + " x " + std::to_string(height) + "\"";
    const bool negative = width < 0 || height < 0;
    EXPECT_EQ(TakeLog(),
              negative
                  ? "Error: MatOpen - Invalid mat size " + size + " in \"" + name + "\".\r\n"
                  : "Error: MatOpen - Mat size " + size + " too large in \"" + name + "\".\r\n");
  }
  matTestFile file = MatTestSmall();
  file.width = 1;
  file.height = static_cast<int32_t>(matMaxCells);
  Write(file.Bytes());
  const matData largest = MatOpen(name);
  EXPECT_EQ(largest.cells.size(), static_cast<size_t>(matMaxCells));
  EXPECT_EQ(largest.cells[5], 1);
  EXPECT_EQ(largest.cells.back(), 0);
}

TEST_F(MatReader, StartUpRegistersTheVersion) {
  MatInit();
  EXPECT_NE(TakeLog().find("    fwkMat - Version 1.0\r\n"), std::string::npos);
}

}  // namespace
