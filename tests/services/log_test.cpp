#include "platform/platform_system.h"
#include "sandbox.h"
#include "services/fwkLog.h"
#include "services/fwkUtilities.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace {

using Lines = std::vector<std::string>;

std::string LogPath() { return LogFolder() + LogFileName(); }

// Starts the log the way the program does, for the given command line.
Sandbox StartLog(const std::vector<std::string>& arguments) {
  Sandbox box = MakeSandbox(arguments);
  LogInit();
  return box;
}

TEST(Log, LivesInTheUserDataFolder) {
  const Sandbox box = StartLog({});
  EXPECT_EQ(LogFolder(), box.userData);
  EXPECT_EQ(LogFileName(), "results.log");
}

TEST(Log, NothingWrittenMeansNoFile) {
  StartLog({});
  EXPECT_FALSE(PlatformFileExists(LogPath()));
}

TEST(Log, StartInfoSwitchWritesOnlyTheStartupBlock) {
  const Sandbox box = StartLog({"-StartInfo", "-sleep", "5"});
  const Lines lines = ReadLines(LogPath());
  ASSERT_EQ(lines.size(), 5u);
  const std::string head = "Application \"" + box.app + "sanguor\" started on ";
  EXPECT_EQ(lines[0].substr(0, head.size()), head);
  EXPECT_NE(lines[0].find(" at ", head.size()), std::string::npos);
  const std::string tail = " (version " SANGUOR_VERSION ")";
  EXPECT_EQ(lines[0].substr(lines[0].size() - tail.size()), tail);
  EXPECT_EQ(lines[1], "Parameters:");
  EXPECT_EQ(lines[2], "    -StartInfo");
  EXPECT_EQ(lines[3], "    -sleep");
  EXPECT_EQ(lines[4], "    5");
}

TEST(Log, FirstLineOfEveryLogIsTheStartupBlock) {
  StartLog({});
  LogTraceBegin("Quiet - ");  // tracing is off: no line, no indent
  LogWrite("first");
  LogError("broken");
  LogStartInfoWrite();  // already written: no second block
  const Lines lines = ReadLines(LogPath());
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[1], "Parameters:");
  EXPECT_EQ(lines[2], "    (None)");
  EXPECT_EQ(lines[3], "first");
  EXPECT_EQ(lines[4], "Error: broken");
}

TEST(Log, EachRunStartsAFreshLog) {
  StartLog({});
  LogWrite("from the last run");
  LogInit();
  EXPECT_FALSE(PlatformFileExists(LogPath()));
  LogWrite("now");
  const Lines lines = ReadLines(LogPath());
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[3], "now");
}

TEST(Log, NestedTimersStoppedFromBelowReportInnerFirst) {
  StartLog({});
  PlatformClockSetVirtual(true, 1000);
  LogTimerStart("A");
  PlatformClockAdvance(5);
  LogTimerStart("B");
  PlatformClockAdvance(7);
  LogTimerStop("a");
  LogTimerStop("B");  // stack is empty: writes nothing
  const Lines lines = ReadLines(LogPath());
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[3], "Time (ms): 7\t      B");
  EXPECT_EQ(lines[4], "Time (ms): 12\t    A");
}

TEST(Log, StoppingAnUnknownTimerReportsAndDropsAll) {
  StartLog({});
  PlatformClockSetVirtual(true, 0xFFFFFFF0u);  // differences survive the wrap
  LogTimerStart("outer");
  LogTimerStart("middle");
  PlatformClockAdvance(0x20);
  LogTimerStart("inner");
  LogTimerStop("middle");
  LogTimerStop("nothing");
  const Lines lines = ReadLines(LogPath());
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[3], "Time (ms): 0\t        inner");
  EXPECT_EQ(lines[4], "Time (ms): 32\t      middle");
  EXPECT_EQ(lines[5], "Time (ms): 32\t    outer");
}

TEST(Log, TraceIndentsEverythingBetweenBeginAndEnd) {
  StartLog({"-trace"});
  LogTraceBegin("Outer - ");
  LogTraceBegin("Inner - ");
  LogError("failed");
  LogTraceEnd("Inner - ");
  LogWrite("back");
  LogTraceEnd("Outer - ");
  LogTraceEnd("Stray - ");
  LogWrite("flat");
  const Lines lines = ReadLines(LogPath());
  const Lines expected = {"Outer - Begin", "  Inner - Begin", "    Error: failed", "  Inner - End",
                          "  back",        "Outer - End",     "Stray - End",       "flat"};
  ASSERT_EQ(lines.size(), 3 + expected.size());
  EXPECT_EQ(Lines(lines.begin() + 3, lines.end()), expected);
}

TEST(Log, StartupBlockCarriesNoTraceIndent) {
  StartLog({"-trace"});
  LogTraceBegin("Deep - ");  // the block is written before this line
  const Lines lines = ReadLines(LogPath());
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[1], "Parameters:");
  EXPECT_EQ(lines[2], "    -trace");
}

TEST(Log, MemoryLineNamesTheWorkingSet) {
  StartLog({});
  LogMemory("Loaded");
  const Lines lines = ReadLines(LogPath());
  ASSERT_EQ(lines.size(), 4u);
  const std::string head = "Loaded (Memory Usage = ";
  ASSERT_EQ(lines[3].substr(0, head.size()), head);
  ASSERT_EQ(lines[3].back(), ')');
  const std::string number = lines[3].substr(head.size(), lines[3].size() - head.size() - 1);
  EXPECT_TRUE(UtilIsPositiveInteger(number)) << number;
}

TEST(Log, WindowsErrorTextComesFromTheSystem) {
  errno = ENOENT;
  EXPECT_EQ(LogWindowsError(), "No such file or directory");
  errno = 98765;
  EXPECT_EQ(LogWindowsError(), "Unrecognized windows error code: 98765");
}

TEST(Log, SetFolderAddsOneSeparator) {
  const Sandbox box = StartLog({});
  LogSetFolder(box.root + "elsewhere");
  EXPECT_EQ(LogFolder(), box.root + "elsewhere/");
  LogSetFolder("C:\\logs\\");
  EXPECT_EQ(LogFolder(), "C:\\logs\\");
  LogSetFolder("");
  EXPECT_EQ(LogFolder(), "");
}

TEST(Log, UnwritableFolderLosesLinesSilently) {
  const Sandbox box = StartLog({});
  LogSetFolder(box.root + "missing");
  LogWrite("lost");
  LogError("lost too");
  EXPECT_FALSE(PlatformDirectoryExists(box.root + "missing"));
  LogSetFolder(box.root);
  LogSetFileName("other.log");
  LogWrite("kept");
  const Lines lines = ReadLines(box.root + "other.log");
  ASSERT_EQ(lines.size(), 1u);  // the start-up block was tried (and lost) already
  EXPECT_EQ(lines[0], "kept");
}

}  // namespace
