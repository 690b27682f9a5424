// The Win32 system part through the platform contract, against the real system calls (Wine
// in CI): the version resource, the registry, folders and files, libraries, errors and clocks.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/platform_system.h"
#include "platform/win32/system/win32_user_folder.h"

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

void WriteAll(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// A fresh folder under the build folder for one test.
std::string Scratch(const std::string& name) {
  const std::string folder = "win32-system-" + name;
  std::string command = "rmdir /s /q " + folder + " >nul 2>nul";
  std::system(command.c_str());
  EXPECT_TRUE(PlatformCreateDirectory(folder));
  return folder + "\\";
}

}  // namespace

TEST(Win32System, VersionStringsComeFromTheProgramsOwnResource) {
  PlatformSetExecutablePath("");
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  PlatformSetExecutablePath(path);
  EXPECT_EQ(PlatformVersionString("CompanyName"), "Nightshade Forge");
  EXPECT_EQ(PlatformVersionString("ProductName"), "Sanguor");
  EXPECT_EQ(PlatformVersionString("FileVersion"), "") << "only the two names are offered";
  PlatformSetExecutablePath("C:\\no\\such\\program.exe");
  EXPECT_EQ(PlatformVersionString("CompanyName"), "");
  PlatformSetExecutablePath(path);
}

// Windows shows these in the file's properties and Apps & Features; they come from VERSION.
TEST(Win32System, VersionResourceCarriesTheProjectVersion) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> block(size);
  ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, block.data()));
  void* value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(
      VerQueryValueA(block.data(), "\\StringFileInfo\\040904b0\\ProductVersion", &value, &length));
  EXPECT_STREQ(static_cast<const char*>(value), SANGUOR_VERSION);
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", &value, &length));
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
  const std::string numbers = std::to_string(HIWORD(fixed->dwProductVersionMS)) + "." +
                              std::to_string(LOWORD(fixed->dwProductVersionMS)) + "." +
                              std::to_string(HIWORD(fixed->dwProductVersionLS));
  EXPECT_EQ(numbers, SANGUOR_VERSION);
}

// Every program carries the game's manifest: aware of each monitor's scale, made for Windows 7 to
// 11, and allowed long paths.
TEST(Win32System, TheManifestMakesTheProgramAwareOfEachMonitorsScale) {
  HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
  ASSERT_NE(found, nullptr);
  const std::string manifest(static_cast<const char*>(LockResource(LoadResource(nullptr, found))),
                             SizeofResource(nullptr, found));
  for (
      const char* part :
      {"<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">PerMonitorV2",
       "true/pm</dpiAware>", "<longPathAware", ">true</longPathAware>",
       "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"}) {
    EXPECT_NE(manifest.find(part), std::string::npos) << part;
  }
  using threadContext = HANDLE(WINAPI*)();
  using awarenessOf = int(WINAPI*)(HANDLE);
  const HMODULE user32 = GetModuleHandleA("user32.dll");
  const auto context = reinterpret_cast<threadContext>(
      reinterpret_cast<void*>(GetProcAddress(user32, "GetThreadDpiAwarenessContext")));
  const auto awareness = reinterpret_cast<awarenessOf>(
      reinterpret_cast<void*>(GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext")));
  ASSERT_NE(context, nullptr);
  ASSERT_NE(awareness, nullptr);
  EXPECT_EQ(awareness(context()), 2) << "DPI_AWARENESS_PER_MONITOR_AWARE";
}

TEST(Win32System, RegistryValuesReadAsText) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Sanguor Tests", 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const char text[] = "C:\\Games\\Sanguor";
  RegSetValueExA(key, "Folder", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text);
  const DWORD number = 1234;
  RegSetValueExA(key, "Count", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
  RegCloseKey(key);

  EXPECT_EQ(PlatformRegistryRead("HKEY_CURRENT_USER\\Software\\Sanguor Tests", "Folder"),
            "C:\\Games\\Sanguor");
  EXPECT_EQ(PlatformRegistryRead("HKCU\\Software\\Sanguor Tests", "Count"), "1234");
  EXPECT_EQ(PlatformRegistryRead("HKCU\\Software\\Sanguor Tests", "Missing"), "");
  EXPECT_EQ(PlatformRegistryRead("HKCU\\Software\\No Such Key", "Folder"), "");
  EXPECT_EQ(PlatformRegistryRead("HKEY_NOWHERE\\Software", "Folder"), "");
  EXPECT_FALSE(PlatformRegistryRead("HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion",
                                    "CurrentVersion")
                   .empty());

  // Without a root, the roots are tried in turn: HKEY_CLASSES_ROOT before HKEY_CURRENT_USER.
  EXPECT_EQ(PlatformRegistryRead("Software\\Sanguor Tests", "Folder"), "C:\\Games\\Sanguor");
  EXPECT_EQ(PlatformRegistryRead("Software\\Sanguor Tests", "FOLDER"), "C:\\Games\\Sanguor")
      << "names in any case";
  ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, "Software\\Sanguor Tests", 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const char classes[] = "from the classes root";
  RegSetValueExA(key, "Folder", 0, REG_SZ, reinterpret_cast<const BYTE*>(classes), sizeof classes);
  const char empty[] = "";
  RegSetValueExA(key, "Count", 0, REG_SZ, reinterpret_cast<const BYTE*>(empty), sizeof empty);
  RegCloseKey(key);
  EXPECT_EQ(PlatformRegistryRead("Software\\Sanguor Tests", "Folder"), classes);
  EXPECT_EQ(PlatformRegistryRead("Software\\Sanguor Tests", "Count"), "1234")
      << "an empty value passes on";
  EXPECT_EQ(
      PlatformRegistryRead("Software\\Microsoft\\Windows NT\\CurrentVersion", "CurrentVersion"),
      PlatformRegistryRead("HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion",
                           "CurrentVersion"));
  EXPECT_EQ(PlatformRegistryRead("Software\\No Such Key", "Folder"), "");
  RegDeleteKeyA(HKEY_CLASSES_ROOT, "Software\\Sanguor Tests");
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Sanguor Tests");
}

// Narrow paths are in the ANSI code page: a name the code page holds works in every call, and a
// name it cannot hold is reached through its short form.
TEST(Win32System, FolderNamesInTheCodePage) {
  std::string name;
  for (const wchar_t* candidate :
       {L"Caf\u00e9", L"\u0418\u0433\u0440\u044b", L"\u30b2\u30fc\u30e0"}) {
    name = Win32AnsiPath(candidate);
    if (!name.empty()) break;
  }
  ASSERT_FALSE(name.empty()) << "code page " << GetACP() << " holds none of the names";
  ASSERT_TRUE(std::any_of(name.begin(), name.end(), [](char c) {
    return static_cast<unsigned char>(c) >= 0x80;
  })) << "the name must leave ASCII";
  const std::string folder = Scratch("codepage") + name;
  ASSERT_TRUE(PlatformCreateDirectory(folder));
  WriteAll(folder + "\\data.qza", "12345");
  EXPECT_EQ(PlatformFileSize(folder + "\\data.qza"), 5);
  EXPECT_EQ(PlatformFileSize(folder), -1) << "a folder has no file size";
  EXPECT_EQ(PlatformFileSize(folder + "\\missing.qza"), -1);

  char before[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, before);
  ASSERT_TRUE(PlatformSetCurrentFolder(folder));
  EXPECT_EQ(PlatformFileSize("data.qza"), 5) << "the folder is the current one";
  EXPECT_FALSE(PlatformSetCurrentFolder(folder + "\\missing"));
  ASSERT_TRUE(PlatformSetCurrentFolder(before));

  // A name outside the code page (Japanese under a European or Cyrillic one, Cyrillic under a
  // Japanese one) has no narrow form of its own.
  const std::wstring foreign =
      GetACP() == 932 ? L"\u0418\u0433\u0440\u044b" : L"\u5438\u8840\u9b3c";
  wchar_t here[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, here);
  const std::wstring wide =
      std::wstring(here) + L"\\win32-system-codepage\\" + foreign + L" folder";
  ASSERT_TRUE(CreateDirectoryW(wide.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
  EXPECT_EQ(Win32AnsiPath(wide), "");
  const std::string reached = Win32AnsiFolder(wide);
  ASSERT_FALSE(reached.empty()) << "no short name";
  EXPECT_TRUE(PlatformDirectoryExists(reached));
  WriteAll(reached + "\\settings.ini", "kept");
  EXPECT_EQ(GetFileAttributesW((wide + L"\\settings.ini").c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u)
      << "the short name is the same folder";
}

TEST(Win32System, FoldersAndFiles) {
  EXPECT_EQ(PlatformPathSeparator(), '\\');
  const std::string appData = PlatformLocalAppDataFolder();
  ASSERT_FALSE(appData.empty());
  EXPECT_EQ(appData.back(), '\\');
  EXPECT_TRUE(PlatformDirectoryExists(appData));

  const std::string folder = Scratch("files");
  EXPECT_TRUE(PlatformCreateDirectory(folder + "Sub"));
  EXPECT_TRUE(PlatformCreateDirectory(folder + "Sub")) << "an existing folder is success";
  EXPECT_FALSE(PlatformCreateDirectory(folder + "No\\Such\\Parent"));
  WriteAll(folder + "settings.ini", "old");
  WriteAll(folder + "settings.new", "new");
  EXPECT_TRUE(PlatformFileExists(folder + "settings.ini"));
  EXPECT_FALSE(PlatformFileExists(folder + "Sub"));
  EXPECT_FALSE(PlatformDirectoryExists(folder + "settings.ini"));

  ASSERT_TRUE(PlatformReplaceFile(folder + "settings.new", folder + "settings.ini"));
  EXPECT_EQ(ReadAll(folder + "settings.ini"), "new");
  EXPECT_FALSE(PlatformFileExists(folder + "settings.new"));
  WriteAll(folder + "fresh.new", "fresh");
  ASSERT_TRUE(PlatformReplaceFile(folder + "fresh.new", folder + "fresh.ini"))
      << "a new file is moved into place";
  EXPECT_EQ(ReadAll(folder + "fresh.ini"), "fresh");
  EXPECT_FALSE(PlatformReplaceFile(folder + "missing.new", folder + "fresh.ini"));
  EXPECT_EQ(ReadAll(folder + "fresh.ini"), "fresh") << "a failed replace keeps the old file";

  EXPECT_TRUE(PlatformCanReplaceFile(folder + "settings.ini"));
  EXPECT_TRUE(PlatformCanReplaceFile(folder + "not-yet.ini"));
  SetFileAttributesA((folder + "settings.ini").c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_FALSE(PlatformCanReplaceFile(folder + "settings.ini"));
  SetFileAttributesA((folder + "settings.ini").c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_FALSE(PlatformCanReplaceFile(folder + "No\\Such\\settings.ini"));
  EXPECT_EQ(PlatformWriteTarget(folder + "settings.ini"), folder + "settings.ini");

  std::FILE* made = PlatformCreateNewFile(folder + "shot.bmp");
  ASSERT_NE(made, nullptr);
  std::fputs("a\nb", made);
  std::fclose(made);
  EXPECT_EQ(ReadAll(folder + "shot.bmp"), "a\nb") << "written in binary, no CR added";
  errno = 0;
  EXPECT_EQ(PlatformCreateNewFile(folder + "shot.bmp"), nullptr)
      << "an existing name is never overwritten";
  EXPECT_EQ(errno, EEXIST);
  EXPECT_EQ(ReadAll(folder + "shot.bmp"), "a\nb");
  DeleteFileA((folder + "shot.bmp").c_str());

  std::vector<std::string> names = PlatformListFolder(folder);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Sub", "fresh.ini", "settings.ini"}));
  EXPECT_TRUE(PlatformListFolder(folder + "Nothing").empty());

  EXPECT_EQ(PlatformFindPath(folder + "SETTINGS.INI"), folder + "SETTINGS.INI");
  std::string forward = folder + "sub";
  std::replace(forward.begin(), forward.end(), '\\', '/');
  EXPECT_EQ(PlatformFindPath(forward), folder + "sub") << "content names folders with either slash";
  EXPECT_EQ(PlatformFindPath(folder + "nothing.txt"), "");
}

TEST(Win32System, LibrariesLoadByNameAndFollowTheSearchOrder) {
  const uintptr_t kernel = PlatformLibraryLoad("kernel32.dll");
  ASSERT_NE(kernel, 0u);
  EXPECT_NE(PlatformLibrarySymbol(kernel, "GetTickCount"), nullptr);
  EXPECT_EQ(PlatformLibrarySymbol(kernel, "NoSuchFunction"), nullptr);
  PlatformLibraryFree(kernel);
  EXPECT_EQ(PlatformLibraryLoad("no-such-library.dll"), 0u);
  EXPECT_EQ(PlatformLibraryLoad(""), 0u);
  EXPECT_EQ(PlatformOpenalLibraryName(), "OpenAL32.dll");
  EXPECT_EQ(PlatformOggVorbisLibraryNames().back(), "libvorbisfile.dll");

  PlatformSetExecutablePath("C:\\Games\\Sanguor\\sanguor.exe");
  const std::vector<std::string> search = PlatformLibrarySearchList();
  ASSERT_GE(search.size(), 2u);
  EXPECT_EQ(search[0], "C:\\Games\\Sanguor\\") << "the program folder first";
  char system[MAX_PATH] = {};
  GetSystemDirectoryA(system, MAX_PATH);
  EXPECT_EQ(_stricmp(search[1].c_str(), (std::string(system) + "\\").c_str()), 0);

  // PATH comes last, split at each semicolon; empty entries and entries differing only in case
  // from one already listed are left out.
  const char* oldPath = std::getenv("PATH");
  const std::string kept = oldPath != nullptr ? oldPath : "";
  _putenv_s("PATH", "C:\\One;;C:\\Two\\;c:\\one;");
  const std::vector<std::string> withPath = PlatformLibrarySearchList();
  _putenv_s("PATH", kept.c_str());
  ASSERT_GE(withPath.size(), 3u);
  EXPECT_EQ(withPath[withPath.size() - 2], "C:\\One\\");
  EXPECT_EQ(withPath.back(), "C:\\Two\\");
  EXPECT_EQ(std::count(withPath.begin(), withPath.end(), ""), 0);
}

TEST(Win32System, ErrorsMemoryAndLocaleTexts) {
  EXPECT_EQ(GetFileAttributesA("C:\\no\\such\\file.txt"), INVALID_FILE_ATTRIBUTES);
  const uint32_t code = PlatformLastError();
  EXPECT_TRUE(code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) << code;
  const std::string text = PlatformErrorText(ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(text.empty());
  EXPECT_NE(text.back(), '\n');
  EXPECT_EQ(PlatformErrorText(0xDEADBEEF), "");
  EXPECT_GT(PlatformWorkingSetBytes(), 1024u * 1024u);
  EXPECT_FALSE(PlatformShortDate().empty());
  EXPECT_FALSE(PlatformLongTime().empty());
}

TEST(Win32System, SwitchesChooseHeadlessAndTheVirtualClock) {
  char program[] = "sanguor.exe";
  char headless[] = "-HEADLESS";
  char tick[] = "-tick";
  char five[] = "5";
  char* argv[] = {program, headless, tick, five};
  PlatformInit(4, argv);
  EXPECT_EQ(PlatformArguments(), (std::vector<std::string>{"-HEADLESS", "-tick", "5"}));
  EXPECT_TRUE(PlatformHeadless());
  EXPECT_TRUE(PlatformClockIsVirtual());
  EXPECT_EQ(PlatformTickCount(), 0u);
  PlatformLoopPass();
  PlatformSleep(100);
  EXPECT_EQ(PlatformTickCount(), 105u) << "the virtual clock moves only by passes and sleeps";
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  EXPECT_EQ(PlatformExecutablePath(), path);
  PlatformShutdown();

  PlatformClockSetVirtual(false);
  const uint32_t before = PlatformTickCount();
  PlatformRestFor(20);
  EXPECT_GE(PlatformTickCount() - before, 20u) << "the real clock rests at least as long as asked";
}
