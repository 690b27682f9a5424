#include "platform/platform_system.h"
#include "sandbox.h"
#include "services/fwkUtilities.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

TEST(UtilitiesCommandLine, SwitchesAreWholeParametersInAnyCase) {
  MakeSandbox({"-TRACE", "-ver2", "x"});
  EXPECT_TRUE(UtilCommandLineHas("-trace"));
  EXPECT_TRUE(UtilCommandLineHas("-Trace"));
  EXPECT_FALSE(UtilCommandLineHas("-ver"));
  EXPECT_FALSE(UtilCommandLineHas("-trace2"));
  MakeSandbox({"-trace2"});
  EXPECT_FALSE(UtilCommandLineHas("-trace"));
  MakeSandbox({});
  EXPECT_FALSE(UtilCommandLineHas("-trace"));
}

TEST(UtilitiesCommandLine, ValueFollowsTheSwitch) {
  MakeSandbox({"-SLEEP", "-5"});
  EXPECT_EQ(UtilCommandLineValue("-sleep", 0), -5);
  MakeSandbox({"-sleep", "5x"});
  EXPECT_EQ(UtilCommandLineValue("-sleep", 0), 0);
  MakeSandbox({"-sleep"});
  EXPECT_EQ(UtilCommandLineValue("-sleep", 3), 3);
  MakeSandbox({"-sleep", "x", "-sleep", "9"});
  EXPECT_EQ(UtilCommandLineValue("-sleep", 0), 9);
  MakeSandbox({"5", "-sleep"});
  EXPECT_EQ(UtilCommandLineValue("-sleep", 1), 1);
}

TEST(UtilitiesCommandLine, ValueBeyondThirtyTwoBitsGivesTheDefault) {
  MakeSandbox({"-sleep", "2147483648"});
  EXPECT_EQ(UtilCommandLineValue("-sleep", 7), 7);
  MakeSandbox({"-sleep", "-2147483648"});
  EXPECT_EQ(UtilCommandLineValue("-sleep", 7), INT32_MIN);
  MakeSandbox({"-sleep", "000000000000002147483647"});
  EXPECT_EQ(UtilCommandLineValue("-sleep", 7), INT32_MAX);
}

TEST(UtilitiesFolders, AppFolderIsTheExecutablesFolder) {
  const Sandbox box = MakeSandbox();
  EXPECT_EQ(UtilAppFolder(), box.app);
  PlatformSetExecutablePath("C:\\Games\\Sanguor\\Sanguor.exe");
  EXPECT_EQ(UtilAppFolder(), "C:\\Games\\Sanguor\\");
}

TEST(UtilitiesFolders, UserDataFolderIsMadeOneLevelAtATime) {
  const Sandbox box = MakeSandbox();
  EXPECT_EQ(UtilUserDataFolder(), box.userData);
  EXPECT_TRUE(PlatformDirectoryExists(box.userData));
  EXPECT_EQ(UtilUserDataFolder(), box.userData);  // a second call finds it
}

TEST(UtilitiesFolders, UserDataInAppLeavesTheDataHomeAlone) {
  const Sandbox box = MakeSandbox({"-UserDataInApp"});
  EXPECT_EQ(UtilUserDataFolder(), box.app);
  EXPECT_FALSE(PlatformDirectoryExists(box.dataHome));
}

TEST(UtilitiesFolders, FallsBackToTheAppFolderWhenAFolderCannotBeMade) {
  const Sandbox box = MakeSandbox();
  ASSERT_TRUE(PlatformCreateDirectory(box.dataHome));
  WriteFile(box.dataHome + "Nightshade Forge", "a file in the way");
  EXPECT_EQ(UtilUserDataFolder(), box.app);

  const Sandbox other = MakeSandbox();
  WriteFile(other.root + "data", "the data home is a file");
  EXPECT_EQ(UtilUserDataFolder(), other.app);
}

TEST(UtilitiesFolders, FallsBackWhenTheProductFolderCannotBeMade) {
  const Sandbox box = MakeSandbox();
  ASSERT_TRUE(PlatformCreateDirectory(box.dataHome));
  ASSERT_TRUE(PlatformCreateDirectory(box.dataHome + "Nightshade Forge"));
  WriteFile(box.dataHome + "Nightshade Forge/Sanguor", "");
  EXPECT_EQ(UtilUserDataFolder(), box.app);
}

TEST(UtilitiesIntegers, IntegerTextRules) {
  for (const char* text : {"0", "-12", "007", "-0", "99999999999999"})
    EXPECT_TRUE(UtilIsInteger(text)) << text;
  for (const char* text : {"", "-", "1-2", "+3", " 1", "1 ", "--1", "12px", "0x10"}) {
    EXPECT_FALSE(UtilIsInteger(text)) << text;
  }
  for (const char* text : {"1", "007", "99999999999999"})
    EXPECT_TRUE(UtilIsPositiveInteger(text)) << text;
  for (const char* text : {"000000", "0", "-5", "-0", "", "x"})
    EXPECT_FALSE(UtilIsPositiveInteger(text)) << text;
}

TEST(UtilitiesIntegers, ClampTakesTheBoundsInEitherOrder) {
  EXPECT_EQ(UtilClamp(5, 10, 0), 5);
  EXPECT_EQ(UtilClamp(-3, 10, 0), 0);
  EXPECT_EQ(UtilClamp(11, 0, 10), 10);
  EXPECT_EQ(UtilClamp(INT32_MIN, INT32_MAX, -1), -1);
  EXPECT_EQ(UtilClamp(4, 4, 4), 4);
}

TEST(UtilitiesArrays, StringInArrayLooksAtTheFirstCountOnly) {
  const utilArrayString names = {"Alpha", "Beta", "Gamma"};
  EXPECT_TRUE(UtilStringInArray("Beta", names, 2));
  EXPECT_FALSE(UtilStringInArray("Gamma", names, 2));
  EXPECT_FALSE(UtilStringInArray("beta", names, 3));
  EXPECT_FALSE(UtilStringInArray("Alpha", names, 0));
  EXPECT_FALSE(UtilStringInArray("Alpha", names, -4));
  EXPECT_TRUE(UtilStringInArray("Gamma", names, 99));  // a count past the end stops at the end
  EXPECT_FALSE(UtilStringInArray("", {}, 5));
}

TEST(UtilitiesArrays, StringSortsAreOrdinal) {
  utilArrayString names = {"b", "B", "a", "\xE9", "A", "ab"};
  UtilSortStrings(names);
  EXPECT_EQ(names, (utilArrayString{"A", "B", "a", "ab", "b", "\xE9"}));
  UtilSortStringsDescending(names);
  EXPECT_EQ(names, (utilArrayString{"\xE9", "b", "ab", "a", "B", "A"}));

  utilArrayString one = {"only"};
  UtilSortStrings(one);
  EXPECT_EQ(one, utilArrayString{"only"});
  utilArrayString none;
  UtilSortStringsDescending(none);
  EXPECT_TRUE(none.empty());
}

TEST(UtilitiesArrays, PairSortIsStableBySignedKey) {
  std::vector<utilPair> pairs = {{3, 1}, {-1, 2}, {3, 3}, {INT32_MIN, 4}, {-1, 5}, {0, 6}};
  UtilSortPairs(pairs);
  const std::vector<std::pair<int32_t, int32_t>> expected = {{INT32_MIN, 4}, {-1, 2}, {-1, 5},
                                                             {0, 6},         {3, 1},  {3, 3}};
  ASSERT_EQ(pairs.size(), expected.size());
  for (size_t i = 0; i < pairs.size(); ++i) {
    EXPECT_EQ(pairs[i].key, expected[i].first) << i;
    EXPECT_EQ(pairs[i].value, expected[i].second) << i;
  }
}

}  // namespace
