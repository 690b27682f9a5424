// The replay file reader and writer: good files, every kind of malformed line, names with
// blanks and names in any case.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "ShellTestSupport.h"
#include "services/fwkLog.h"
#include "shell/ReplayFile.h"

namespace {

struct parsed {
  bool ok;
  std::vector<replayEvent> events;
  int32_t line;
  std::string problem;
};

parsed Parse(const std::string& text) {
  parsed result{};
  result.ok = ReplayParse(text, result.events, result.line, result.problem);
  return result;
}

TEST(ReplayParse, ReadsCodesNamesQuotedNamesAndSkipsCommentsAndBlankLines) {
  const parsed result = Parse(
      "\xEF\xBB\xBF# recorded by hand\r\n"
      "\r\n"
      "0 32 100\r\n"
      "   # indented comment\n"
      "\t\n"
      "17 \"Left Arrow\" 100\n"
      "17 \"left arrow\"   0\n"
      "34 space -5\n"
      "51 \"E\" 2147483647\n"
      "68 \\ -2147483648\n"
      "68 \"numpad -\" 1");
  ASSERT_TRUE(result.ok) << result.line << ": " << result.problem;
  const std::vector<replayEvent> expected = {
      {0, 32, 100},        {17, 15, 100},       {17, 15, 0}, {34, 104, -5},
      {51, 32, INT32_MAX}, {68, 19, INT32_MIN}, {68, 84, 1}};
  EXPECT_EQ(result.events, expected);
}

TEST(ReplayParse, DigitsAreCodesUnlessQuoted) {
  // The key "0" is code 10; written bare, 0 is no control at all.
  const parsed quoted = Parse("5 \"0\" 100\n6 1 100\n");
  ASSERT_TRUE(quoted.ok);
  EXPECT_EQ(quoted.events, (std::vector<replayEvent>{{5, 10, 100}, {6, 1, 100}}));
  const parsed bare = Parse("5 0 100\n");
  EXPECT_FALSE(bare.ok);
  EXPECT_EQ(bare.line, 1);
}

TEST(ReplayParse, MalformedLinesAreReportedWithTheirNumber) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"10 E", "fields"},
      {"10 E 100 7", "fields"},
      {"-1 E 100", "tick"},
      {"x E 100", "tick"},
      {"4294967296 E 100", "tick"},
      {"10 Eee 100", "unknown control"},
      {"10 Left Arrow 100", "fields"},
      {"10 \"Left Arrow 100", "quote"},
      {"10 \"Left\"Arrow 100", "quote"},
      {"10 E 1.5", "value"},
      {"10 E 2147483648", "value"},
      {"10 E", "fields"},
      {"10 99999999999 1", "out of range"},
      {"5 E 1\n4 E 0", "earlier"},
  };
  for (const auto& [bad, word] : cases) {
    const parsed result = Parse("# header\n\n0 E 100\n" + bad + "\n20 E 0\n");
    EXPECT_FALSE(result.ok) << bad;
    const int32_t expectedLine = bad.find('\n') != std::string::npos ? 5 : 4;
    EXPECT_EQ(result.line, expectedLine) << bad;
    EXPECT_NE(result.problem.find(word), std::string::npos) << bad << " -> " << result.problem;
  }
}

TEST(ReplayFormat, EveryNamedControlReadsBackAsItself) {
  std::string text;
  std::vector<replayEvent> written;
  for (int32_t code = 1; code <= 130; ++code) {
    written.push_back({static_cast<uint32_t>(code * 3), code, code - 60});
    text += ReplayFormat(written.back()) + "\n";
  }
  EXPECT_NE(text.find("\"Left Arrow\""), std::string::npos);
  EXPECT_NE(text.find("\n30 10 -50\n"), std::string::npos) << "the key 0 is written as its code";
  const parsed result = Parse(text);
  ASSERT_TRUE(result.ok) << result.line << ": " << result.problem;
  EXPECT_EQ(result.events, written);
}

class ReplayFiles : public testing::Test {
 protected:
  void SetUp() override { box = ShellStart(); }
  void TearDown() override { ShellStop(); }
  std::string Write(const std::string& name, const std::string& text) {
    const std::string path = box.root + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  shellSandbox box;
};

TEST_F(ReplayFiles, MalformedFileLogsOneLineNamingFileAndLine) {
  const std::string path = Write("bad.replay", "0 E 100\n\n# fine so far\n40 Nothing 100\n");
  std::vector<replayEvent> events;
  EXPECT_FALSE(ReplayRead(path, events));
  EXPECT_TRUE(events.empty());
  const std::string log = ReadWholeFile(LogFolder() + LogFileName());
  EXPECT_NE(log.find("Error: ReplayRead - Replay file \"" + path +
                     "\" line 4: unknown control \"Nothing\"."),
            std::string::npos)
      << log;
}

TEST_F(ReplayFiles, MissingFileIsLogged) {
  std::vector<replayEvent> events;
  EXPECT_FALSE(ReplayRead(box.root + "absent.replay", events));
  EXPECT_NE(ReadWholeFile(LogFolder() + LogFileName()).find("Unable to open replay file"),
            std::string::npos);
}

TEST_F(ReplayFiles, WrittenFileReadsBack) {
  const std::string path = box.root + "out.replay";
  replayWriter writer;
  ASSERT_TRUE(writer.Open(path));
  const std::vector<replayEvent> events = {
      {0, 104, 100}, {17, 104, 0}, {34, 119, 300}, {34, 15, 100}};
  for (const replayEvent& event : events) writer.Add(event);
  writer.Close();
  std::vector<replayEvent> read;
  ASSERT_TRUE(ReplayRead(path, read));
  EXPECT_EQ(read, events);
  EXPECT_FALSE(writer.Open(box.root + "no-such-folder/out.replay"));
}

}  // namespace
