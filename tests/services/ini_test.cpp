#include "platform/platform_system.h"
#include "sandbox.h"
#include "services/fwkIni.h"
#include "services/fwkLog.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

namespace {

// The program's start for these modules, with the user's settings file holding content.
Sandbox StartWithUserFile(const std::string& content) {
  Sandbox box = MakeSandbox();
  LogInit();
  IniInit();
  WriteFile(box.userData + "settings.ini", content);
  return box;
}

TEST(IniRead, NamesIgnoreCaseAndTheFirstMatchWins) {
  StartWithUserFile(
      "[Video]\r\nWidth=800\r\nwidth=640\r\n[VIDEO]\r\nHeight=600\r\n[Other]\r\nWidth=1\r\n");
  EXPECT_EQ(IniReadInteger("video", "WIDTH", 0), 800);
  EXPECT_EQ(IniReadInteger("Video", "Height", 77), 77);  // only the first section counts
  EXPECT_EQ(IniReadInteger("other", "width", 0), 1);
}

TEST(IniRead, ValuesAreTrimmedAndLoseOnePairOfQuotes) {
  StartWithUserFile(
      "  [ Names ]  \n"
      "  Plain =   spaced value \t\n"
      "Double=\"  kept inside  \"\n"
      "Single='x'\n"
      "Nested=\"\"twice\"\"\n"
      "Mixed=\"open'\n"
      "Lone=\"\n"
      "Empty=\n"
      "NoEquals\n"
      "Eq=a=b\n");
  EXPECT_EQ(IniReadString("names", "plain", "d"), "spaced value");
  EXPECT_EQ(IniReadString("Names", "Double", "d"), "  kept inside  ");
  EXPECT_EQ(IniReadString("Names", "Single", "d"), "x");
  EXPECT_EQ(IniReadString("Names", "Nested", "d"), "\"twice\"");
  EXPECT_EQ(IniReadString("Names", "Mixed", "d"), "\"open'");
  EXPECT_EQ(IniReadString("Names", "Lone", "d"), "\"");
  EXPECT_EQ(IniReadString("Names", "Empty", "d"), "");
  EXPECT_EQ(IniReadString("Names", "NoEquals", "d"), "d");
  EXPECT_EQ(IniReadString("Names", "Eq", "d"), "a=b");
}

TEST(IniRead, LongValuesAreCutAt2047Characters) {
  StartWithUserFile("[S]\r\nK=" + std::string(5000, 'v') + "\r\n");
  EXPECT_EQ(IniReadString("S", "K", ""), std::string(2047, 'v'));
}

TEST(IniRead, MissingFileSectionOrKeyGiveTheDefault) {
  const Sandbox box = MakeSandbox();
  IniInit();
  EXPECT_FALSE(PlatformFileExists(IniFilePath()));
  EXPECT_EQ(IniReadString("Video", "Mode", "def"), "def");
  EXPECT_EQ(IniReadInteger("Video", "Width", 1280), 1280);
  EXPECT_TRUE(IniReadBool("Video", "Fullscreen", true));
  WriteFile(box.userData + "settings.ini", "Width=5\r\n[Video]\r\n");
  EXPECT_EQ(IniReadInteger("Video", "Width", 1280),
            1280);  // keys before any section belong to none
  EXPECT_EQ(IniReadInteger("Audio", "Width", -1), -1);
}

TEST(IniRead, IntegerEncoding) {
  StartWithUserFile(
      "[Video]\r\nA=-0\r\nB=12px\r\nC=-2147483648\r\nD=2147483648\r\nE=\r\nF= 0042 \r\nG=-\r\n");
  EXPECT_EQ(IniReadInteger("Video", "A", 9), 0);
  EXPECT_EQ(IniReadInteger("Video", "B", 9), 9);
  EXPECT_EQ(IniReadInteger("Video", "C", 9), INT32_MIN);
  EXPECT_EQ(IniReadInteger("Video", "D", 9), 9);
  EXPECT_EQ(IniReadInteger("Video", "E", 9), 9);
  EXPECT_EQ(IniReadInteger("Video", "F", 9), 42);
  EXPECT_EQ(IniReadInteger("Video", "G", 9), 9);
}

TEST(IniRead, BooleanEncoding) {
  StartWithUserFile("[Video]\r\nA=yes\r\nB=YES\r\nC=nO\r\nD=1\r\nE=true\r\nF=\r\n");
  EXPECT_TRUE(IniReadBool("Video", "A", false));
  EXPECT_TRUE(IniReadBool("Video", "B", false));
  EXPECT_FALSE(IniReadBool("Video", "C", true));
  EXPECT_TRUE(IniReadBool("Video", "D", true));
  EXPECT_FALSE(IniReadBool("Video", "D", false));
  EXPECT_FALSE(IniReadBool("Video", "E", false));
  EXPECT_TRUE(IniReadBool("Video", "F", true));
}

TEST(IniFile, FileBesideTheProgramServesUntilTheUserWrites) {
  const Sandbox box = MakeSandbox();
  IniInit();
  WriteFile(box.app + "settings.ini", "[Video]\r\nWidth=1024\r\nHeight=768\r\n");
  EXPECT_EQ(IniFilePath(), box.app + "settings.ini");
  EXPECT_EQ(IniReadInteger("Video", "Width", 0), 1024);

  IniWriteInteger("Video", "Width", 800);
  EXPECT_EQ(IniFilePath(), box.userData + "settings.ini");
  EXPECT_EQ(IniReadInteger("Video", "Width", 0), 800);
  EXPECT_EQ(IniReadInteger("Video", "Height", 720), 720);
  EXPECT_EQ(ReadFile(box.app + "settings.ini"), "[Video]\r\nWidth=1024\r\nHeight=768\r\n");
}

TEST(IniFile, UserDataInAppReadsAndWritesBesideTheProgram) {
  const Sandbox box = MakeSandbox({"-userdatainapp"});
  IniInit();
  IniWriteBool("Video", "Fullscreen", true);
  EXPECT_EQ(IniFilePath(), box.app + "settings.ini");
  EXPECT_EQ(ReadFile(box.app + "settings.ini"), "[Video]\r\nFullscreen=Yes\r\n");
}

TEST(IniWrite, CreatesFileSectionAndKey) {
  const Sandbox box = MakeSandbox();
  IniInit();
  IniWriteInteger("Video", "Width", -640);
  IniWriteBool("Video", "Fullscreen", false);
  IniWriteString("Audio", "Master Volume", "75");
  EXPECT_EQ(ReadFile(box.userData + "settings.ini"),
            "[Video]\r\nWidth=-640\r\nFullscreen=No\r\n\r\n[Audio]\r\nMaster Volume=75\r\n");
  EXPECT_EQ(IniReadInteger("video", "width", 0), -640);
  EXPECT_FALSE(IniReadBool("Video", "Fullscreen", true));
}

TEST(IniWrite, KeepsEveryOtherLine) {
  const Sandbox box = StartWithUserFile(
      "; comment\n"
      "[Video]\n"
      "  width = 1\n"
      "Odd line\n"
      "\n"
      "[Audio]\n"
      "Width=3\n");
  IniWriteInteger("VIDEO", "Width", 2);
  IniWriteString("video", "BPP", "32");
  EXPECT_EQ(ReadFile(box.userData + "settings.ini"),
            "; comment\r\n[Video]\r\nwidth=2\r\nOdd line\r\nBPP=32\r\n\r\n[Audio]\r\nWidth=3\r\n");
  EXPECT_EQ(IniReadInteger("Audio", "Width", 0), 3);
}

TEST(IniWrite, LineBreaksInAValueCannotAddKeys) {
  const Sandbox box = MakeSandbox();
  IniInit();
  IniWriteString("S", "Name", "x\r\n[Video]\r\nFullscreen=Yes");
  EXPECT_FALSE(IniReadBool("Video", "Fullscreen", false));
  EXPECT_EQ(IniReadString("S", "Name", ""), "x  [Video]  Fullscreen=Yes");
}

TEST(IniWrite, FailedWriteIsLoggedAndChangesNothing) {
  const Sandbox box = StartWithUserFile("[Video]\r\nWidth=1\r\n");
  // A folder where the file's temporary twin would go makes the write fail even for root.
  ASSERT_TRUE(PlatformCreateDirectory(box.userData + "settings.ini.tmp"));
  IniWriteInteger("Video", "Width", 2);
  EXPECT_EQ(ReadFile(box.userData + "settings.ini"), "[Video]\r\nWidth=1\r\n");
  EXPECT_EQ(IniReadInteger("Video", "Width", 0), 1);
  const std::string log = ReadFile(LogFolder() + LogFileName());
  EXPECT_NE(log.find("\r\nError: Unable to write to " + box.userData + "settings.ini\r\n"),
            std::string::npos)
      << log;
}

// Read-only means no write bit at all, so these hold for root as well as for the user.
TEST(IniWrite, ReadOnlyFileOrFolderIsLoggedAndStaysAsItWas) {
  for (const bool folderReadOnly : {false, true}) {
    SCOPED_TRACE(folderReadOnly ? "read-only folder" : "read-only file");
    const Sandbox box = StartWithUserFile("[Video]\r\nWidth=1\r\n");
    LogSetFolder(box.root);  // the log cannot live in the read-only folder
    const std::string file = box.userData + "settings.ini";
    const std::string locked = folderReadOnly ? box.userData : file;
    struct stat before {};
    ASSERT_EQ(chmod(locked.c_str(), 0555), 0);
    ASSERT_EQ(stat(file.c_str(), &before), 0);
    IniWriteInteger("Video", "Width", 2);
    IniWriteString("Audio", "Master Volume", "50");
    struct stat after {};
    ASSERT_EQ(stat(file.c_str(), &after), 0);
    chmod(locked.c_str(), 0755);
    EXPECT_EQ(after.st_ino, before.st_ino) << "the file was replaced";
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(ReadFile(file), "[Video]\r\nWidth=1\r\n");
    EXPECT_FALSE(PlatformFileExists(file + ".tmp"));
    const std::vector<std::string> log = ReadLines(LogFolder() + LogFileName());
    EXPECT_EQ(std::count(log.begin(), log.end(), "Error: Unable to write to " + file), 2);
  }
}

// Saving settings that already hold the value leaves the file alone; a file that would come out
// different (a new value, or the line ends the writer uses) is replaced as before.
TEST(IniWrite, AFileThatWouldComeOutTheSameIsNotRewritten) {
  const Sandbox box = StartWithUserFile("[Video]\r\nWidth=1\r\n");
  const std::string file = box.userData + "settings.ini";
  auto inode = [&file] {
    struct stat info {};
    EXPECT_EQ(stat(file.c_str(), &info), 0);
    return info.st_ino;
  };
  const ino_t first = inode();
  IniWriteInteger("Video", "Width", 1);
  IniWriteString("video", "WIDTH", "1");
  EXPECT_EQ(inode(), first);
  IniWriteInteger("Video", "Width", 2);
  EXPECT_NE(inode(), first);
  EXPECT_EQ(ReadFile(file), "[Video]\r\nWidth=2\r\n");

  WriteFile(file, "[Video]\nWidth=2\n");
  IniWriteInteger("Video", "Width", 2);
  EXPECT_EQ(ReadFile(file), "[Video]\r\nWidth=2\r\n");
}

TEST(IniWrite, KeepsThePermissionBitsOfTheFile) {
  const Sandbox box = StartWithUserFile("[Video]\r\nWidth=1\r\n");
  const std::string file = box.userData + "settings.ini";
  ASSERT_EQ(chmod(file.c_str(), 0604), 0);
  IniWriteInteger("Video", "Width", 2);
  struct stat info {};
  ASSERT_EQ(stat(file.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0604u);
  EXPECT_EQ(IniReadInteger("Video", "Width", 0), 2);
}

TEST(IniWrite, SymbolicLinkIsWrittenThroughAndStays) {
  const Sandbox box = MakeSandbox();
  LogInit();
  IniInit();
  ASSERT_TRUE(PlatformCreateDirectory(box.root + "shared"));
  WriteFile(box.root + "shared/real.ini", "[Video]\r\nWidth=1\r\n");
  // A relative link to a relative link: each is taken from the folder the link lies in.
  ASSERT_EQ(symlink("real.ini", (box.root + "shared/alias.ini").c_str()), 0);
  ASSERT_TRUE(PlatformCreateDirectory(box.dataHome + "Nightshade Forge"));
  ASSERT_TRUE(PlatformCreateDirectory(box.userData));
  const std::string link = box.userData + "settings.ini";
  ASSERT_EQ(symlink("../../../shared/alias.ini", link.c_str()), 0);
  IniWriteInteger("Video", "Width", 2);
  struct stat info {};
  ASSERT_EQ(lstat(link.c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode)) << "the link was replaced by a file";
  ASSERT_EQ(lstat((box.root + "shared/alias.ini").c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  EXPECT_EQ(ReadFile(box.root + "shared/real.ini"), "[Video]\r\nWidth=2\r\n");
  EXPECT_EQ(IniReadInteger("Video", "Width", 0), 2);

  // A link whose file is missing gets the file made where it points.
  ASSERT_EQ(std::remove((box.root + "shared/real.ini").c_str()), 0);
  IniWriteBool("Video", "Fullscreen", true);
  EXPECT_EQ(ReadFile(box.root + "shared/real.ini"), "[Video]\r\nFullscreen=Yes\r\n");
  ASSERT_EQ(lstat(link.c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
}

TEST(IniWrite, MissingUserFolderIsLoggedNotThrown) {
  const Sandbox box = MakeSandbox({"-userdatainapp"});
  LogInit();
  PlatformSetExecutablePath(box.root + "gone/sanguor");
  IniInit();
  IniWriteString("S", "K", "V");
  EXPECT_FALSE(PlatformFileExists(box.root + "gone/settings.ini"));
  EXPECT_EQ(IniReadString("S", "K", "default"), "default");
}

}  // namespace
