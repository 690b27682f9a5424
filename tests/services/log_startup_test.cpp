// The program's start order: modules started before the log write through it. Its own
// program, because it needs a process in which the log has never been used.
#include "platform/platform_system.h"
#include "sandbox.h"
#include "services/fwkLog.h"
#include "services/fwkUtilities.h"

#include <gtest/gtest.h>

namespace {

TEST(LogStartup, ModulesStartedBeforeTheLogKeepTheirLines) {
  const Sandbox box = MakeSandbox({"-VER"});
  PlatformCreateDirectory(box.dataHome);
  PlatformCreateDirectory(box.dataHome + "Nightshade Forge");
  PlatformCreateDirectory(box.userData);
  WriteFile(box.userData + "results.log", "last run\r\n");

  UtilInit();
  LogError("DataFileInit - something failed");
  LogInit();
  LogVersionAdd("fwkMath - Version Alpha.0");
  std::vector<std::string> lines = ReadLines(box.userData + "results.log");
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[3], "Framework Versions:");
  EXPECT_EQ(lines[4], "    fwkUtilities - Version 1.0");
  EXPECT_EQ(lines[5], "Error: DataFileInit - something failed");
  EXPECT_EQ(lines[6], "    fwkLog - Version 1.0");
  EXPECT_EQ(lines[7], "    fwkMath - Version Alpha.0");

  LogInit();  // a second start is a new run
  lines = ReadLines(box.userData + "results.log");
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[4], "    fwkLog - Version 1.0");
}

}  // namespace
