#include "platform/platform_system.h"
#include "sandbox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>

namespace {

TEST(PlatformClock, VirtualClockMovesOnlyWhenTold) {
  PlatformClockSetVirtual(true, 0xFFFFFFF0u);
  PlatformSetTickPerPass(17);
  EXPECT_EQ(PlatformTickCount(), 0xFFFFFFF0u);
  PlatformSleep(10);
  EXPECT_EQ(PlatformTickCount(), 0xFFFFFFFAu);
  PlatformLoopPass();
  EXPECT_EQ(PlatformTickCount(), 11u);  // wrapped
  PlatformClockAdvance(4);
  EXPECT_EQ(PlatformTickCount(), 15u);
  PlatformClockSetVirtual(false);
  EXPECT_FALSE(PlatformClockIsVirtual());
}

TEST(PlatformProcess, InitReadsTheBackendSwitches) {
  unsetenv("SDL_VIDEODRIVER");
  char program[] = "sanguor";
  char headless[] = "-HEADLESS";
  char tick[] = "-tick";
  char five[] = "5";
  char* argv[] = {program, headless, tick, five, nullptr};
  PlatformInit(4, argv);
  EXPECT_EQ(PlatformArguments(), (std::vector<std::string>{"-HEADLESS", "-tick", "5"}));
  EXPECT_TRUE(PlatformHeadless());
  EXPECT_TRUE(PlatformClockIsVirtual());
  EXPECT_EQ(PlatformTickCount(), 0u);
  EXPECT_EQ(PlatformTickPerPass(), 5u);
  ASSERT_NE(std::getenv("SDL_VIDEODRIVER"), nullptr);
  EXPECT_STREQ(std::getenv("SDL_VIDEODRIVER"), "offscreen");
  PlatformLoopPass();
  EXPECT_EQ(PlatformTickCount(), 5u);
  // The running test program is the executable.
  EXPECT_NE(PlatformExecutablePath().find("services_tests"), std::string::npos);

  char bad[] = "0x";
  char* argv2[] = {program, tick, bad, nullptr};
  PlatformSetTickPerPass(17);
  PlatformInit(3, argv2);
  EXPECT_EQ(PlatformTickPerPass(), 17u);
  PlatformSetHeadless(false);
  PlatformClockSetVirtual(false);
}

TEST(PlatformProcess, VersionStringsAndErrors) {
  EXPECT_EQ(PlatformVersionString("CompanyName"), "Nightshade Forge");
  EXPECT_EQ(PlatformVersionString("ProductName"), "Sanguor");
  EXPECT_EQ(PlatformVersionString("FileVersion"), "");
  errno = EACCES;
  EXPECT_EQ(PlatformLastError(), static_cast<uint32_t>(EACCES));
  EXPECT_EQ(PlatformErrorText(EACCES), "Permission denied");
  EXPECT_EQ(PlatformErrorText(123456), "");
  EXPECT_EQ(PlatformErrorText(0xFFFFFFFFu), "");
  EXPECT_GT(PlatformWorkingSetBytes(), 0u);
  EXPECT_FALSE(PlatformShortDate().empty());
  EXPECT_FALSE(PlatformLongTime().empty());
}

TEST(PlatformFolders, LocalAppDataFollowsXdgAndIsCreated) {
  const Sandbox box = MakeSandbox();
  setenv("XDG_DATA_HOME", (box.root + "deep/data").c_str(), 1);
  EXPECT_EQ(PlatformLocalAppDataFolder(), box.root + "deep/data/");
  EXPECT_TRUE(PlatformDirectoryExists(box.root + "deep/data"));

  setenv("XDG_DATA_HOME", "relative/is/ignored", 1);
  const std::string saved = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
  setenv("HOME", (box.root + "home").c_str(), 1);
  EXPECT_EQ(PlatformLocalAppDataFolder(), box.root + "home/.local/share/");
  if (saved.empty()) {
    unsetenv("HOME");
  } else {
    setenv("HOME", saved.c_str(), 1);
  }
}

TEST(PlatformFolders, FilesFoldersAndListing) {
  const Sandbox box = MakeSandbox();
  WriteFile(box.root + "file", "x");
  EXPECT_TRUE(PlatformFileExists(box.root + "file"));
  EXPECT_FALSE(PlatformDirectoryExists(box.root + "file"));
  EXPECT_FALSE(PlatformCreateDirectory(box.root + "file"));
  EXPECT_FALSE(PlatformCreateDirectory(box.root + "no/such/parent"));
  EXPECT_TRUE(PlatformCreateDirectory(box.root + "made"));
  EXPECT_TRUE(PlatformCreateDirectory(box.root + "made"));
  EXPECT_FALSE(PlatformFileExists(box.root + "made"));
  EXPECT_FALSE(PlatformFileExists(""));
  std::vector<std::string> names = PlatformListFolder(box.root);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"app", "file", "made"}));
  EXPECT_TRUE(PlatformListFolder(box.root + "nothing").empty());

  WriteFile(box.root + "new", "new");
  EXPECT_TRUE(PlatformReplaceFile(box.root + "new", box.root + "file"));
  EXPECT_EQ(ReadFile(box.root + "file"), "new");
  EXPECT_FALSE(PlatformFileExists(box.root + "new"));
  EXPECT_FALSE(PlatformReplaceFile(box.root + "new", box.root + "file"));
}

TEST(PlatformFolders, FileSizesAndTheCurrentFolder) {
  const Sandbox box = MakeSandbox();
  WriteFile(box.root + "Вампир.qza", "12345");
  EXPECT_EQ(PlatformFileSize(box.root + "Вампир.qza"), 5);
  EXPECT_EQ(PlatformFileSize(box.root + "app"), -1) << "a folder has no file size";
  EXPECT_EQ(PlatformFileSize(box.root + "missing"), -1);
  EXPECT_EQ(PlatformFileSize(""), -1);

  const std::string before = std::filesystem::current_path().string();
  ASSERT_TRUE(PlatformSetCurrentFolder(box.root));
  EXPECT_EQ(PlatformFileSize("Вампир.qza"), 5);
  EXPECT_FALSE(PlatformSetCurrentFolder(box.root + "missing"));
  EXPECT_FALSE(PlatformSetCurrentFolder(""));
  ASSERT_TRUE(PlatformSetCurrentFolder(before));
}

TEST(PlatformFolders, FindPathIgnoresCaseAndSeparators) {
  const Sandbox box = MakeSandbox();
  ASSERT_TRUE(PlatformCreateDirectory(box.root + "Bin"));
  ASSERT_TRUE(PlatformCreateDirectory(box.root + "Bin/Maps"));
  WriteFile(box.root + "Bin/Maps/Map1.map", "");
  EXPECT_EQ(PlatformFindPath(box.root + "bin\\MAPS\\map1.MAP"), box.root + "Bin/Maps/Map1.map");
  EXPECT_EQ(PlatformFindPath(box.root + "Bin/Maps/Map1.map"), box.root + "Bin/Maps/Map1.map");
  EXPECT_EQ(PlatformFindPath(box.root + "BIN\\\\maps\\"), box.root + "Bin/Maps/");
  EXPECT_EQ(PlatformFindPath(box.root + "bin\\maps\\map2.map"), "");
  EXPECT_EQ(PlatformFindPath(box.root + "bin\\map1.map\\x"), "");
  EXPECT_EQ(PlatformFindPath(""), "");
}

TEST(PlatformFolders, FindPathPrefersExactCaseThenByteOrder) {
  const Sandbox box = MakeSandbox();
  for (const char* name : {"data.txt", "DATA.txt", "Data.TXT"}) WriteFile(box.root + name, name);
  EXPECT_EQ(PlatformFindPath(box.root + "Data.TXT"), box.root + "Data.TXT");
  EXPECT_EQ(PlatformFindPath(box.root + "dAtA.tXt"), box.root + "DATA.txt");
}

TEST(PlatformFolders, FindPathRelativeToTheCurrentFolder) {
  const Sandbox box = MakeSandbox();
  ASSERT_TRUE(PlatformCreateDirectory(box.root + "Rel"));
  WriteFile(box.root + "Rel/Thing.Bin", "");
  const std::string relative = box.root.substr(box.root.find("services-sandbox"));
  std::string upper = relative;
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](char c) { return c == '/' ? '\\' : c; });
  EXPECT_EQ(PlatformFindPath(upper + "rel\\thing.bin"), relative + "Rel/Thing.Bin");
}

TEST(PlatformFolders, LibrarySearchListOrder) {
  const Sandbox box = MakeSandbox();
  setenv("LD_LIBRARY_PATH", "/opt/first::/opt/second/", 1);
  const std::vector<std::string> list = PlatformLibrarySearchList();
  unsetenv("LD_LIBRARY_PATH");
  ASSERT_GE(list.size(), 5u);
  EXPECT_EQ(list[0], box.app);
  EXPECT_EQ(list[1], "/opt/first/");
  EXPECT_EQ(list[2], "/opt/second/");
  for (const char* folder : {"/lib/", "/usr/lib/", "/lib64/", "/usr/lib64/"}) {
    EXPECT_NE(std::find(list.begin(), list.end(), folder), list.end()) << folder;
  }
  for (const std::string& folder : list) EXPECT_EQ(folder.back(), '/') << folder;
  EXPECT_EQ(std::count(list.begin(), list.end(), "/usr/lib/"), 1);
}

}  // namespace
