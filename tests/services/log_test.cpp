#include "platform/platform_system.h"
#include "sandbox.h"
#include "services/fwkLog.h"
#include "services/fwkUtilities.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

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

TEST(Log, AFloodOfOneLineKeepsTenCopiesAndItsCount) {
  StartLog({});
  LogWrite("before");
  for (int i = 0; i < 1000; ++i) LogError("again");
  LogWrite("after");
  LogWrite("after");
  const Lines lines = ReadLines(LogPath());
  ASSERT_EQ(lines.size(), 3u + 1 + 10 + 1 + 2);
  EXPECT_EQ(lines[3], "before");
  EXPECT_EQ(Lines(lines.begin() + 4, lines.begin() + 14), Lines(10, "Error: again"));
  EXPECT_EQ(lines[14], "... the last line was repeated 990 times");
  EXPECT_EQ(lines[15], "after");
  EXPECT_EQ(lines[16], "after");
}

// 12 MB of lines offered: the log stops short of its limit with a line that says so, keeping the
// first lines; a new log starts afresh.
TEST(Log, OneRunWritesAtMostTheLimit) {
  StartLog({});
  const std::string filler(4000, 'x');
  for (int i = 0; i < 3000; ++i) LogWrite(std::to_string(i) + filler);
  EXPECT_LE(std::filesystem::file_size(LogPath()), kLogLimitBytes);
  const Lines lines = ReadLines(LogPath());
  EXPECT_EQ(lines[3], "0" + filler);
  EXPECT_GT(lines.size(), 2000u);
  EXPECT_EQ(lines.back(), "... the log has reached its limit of " + std::to_string(kLogLimitBytes) +
                              " bytes: the lines after this one are left out");
  LogInit();
  LogWrite("fresh");
  EXPECT_EQ(ReadLines(LogPath()).back(), "fresh");
}

// A child process writes and exits: the count still held back is written at the program's end.
TEST(Log, TheProgramsEndWritesWhatWasHeldBack) {
  const auto inChild = [](void (*work)()) {
    const pid_t child = fork();
    if (child == 0) {
      work();
      std::exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
  };
  StartLog({});
  inChild([] {
    for (int i = 0; i < 50; ++i) LogWrite("same");
  });
  Lines lines = ReadLines(LogPath());
  ASSERT_EQ(lines.size(), 3u + 10 + 1);
  EXPECT_EQ(lines.back(), "... the last line was repeated 40 times");

  LogInit();
  inChild([] {
    const std::string filler(4000, 'x');
    for (int i = 0; i < 3000; ++i) LogWrite(std::to_string(i) + filler);
  });
  lines = ReadLines(LogPath());
  EXPECT_LE(std::filesystem::file_size(LogPath()), kLogLimitBytes);
  const size_t written = lines.size() - 3 - 2;  // less the start-up block, the notice and the count
  EXPECT_EQ(lines.back(), "... " + std::to_string(3000 - written) + " lines were left out");
}

}  // namespace
