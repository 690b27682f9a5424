// Process, clock, folder and file-system services of the platform contract.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Called once by the program entry before any module starts. Reads the backend's own
// switches: "-headless" (windows that never reach the desktop: SDL's offscreen video driver, or
// hidden Win32 windows; and the virtual clock) and
// "-tick N" (the virtual clock, also in a window, advancing N ms per main-loop pass; 17 ms
// when only "-headless" is given).
void PlatformInit(int argc, char** argv);
void PlatformShutdown();

// Command-line parameters without the program path, exactly as passed.
const std::vector<std::string>& PlatformArguments();
// Full path of the running executable.
std::string PlatformExecutablePath();
// Tests and tools stand in for a real start: set the parameters and the executable path
// (which fixes the program folder, and so the data folder) without a command line.
void PlatformSetArguments(const std::vector<std::string>& arguments);
void PlatformSetExecutablePath(const std::string& path);

// The 32-bit millisecond tick counter; wraps like GetTickCount.
uint32_t PlatformTickCount();
// Real clock: sleeps; 0 gives up the rest of the time slice. Virtual clock: advances the clock
// by ms and returns at once.
void PlatformSleep(uint32_t ms);
// Real clock: returns once the tick count has moved on by ms, resting rather than spinning.
// Virtual clock: returns at once and leaves the clock alone, so runs stay the same.
void PlatformRestFor(uint32_t ms);
// True when "-headless" was given (or a test chose headless).
bool PlatformHeadless();
void PlatformSetHeadless(bool headless);
// The virtual clock starts at 0 and moves only through PlatformSleep and PlatformLoopPass.
bool PlatformClockIsVirtual();
void PlatformClockSetVirtual(bool isVirtual, uint32_t start = 0);
void PlatformClockAdvance(uint32_t ms);
uint32_t PlatformTickPerPass();
void PlatformSetTickPerPass(uint32_t ms);
// Called once per main-loop pass; advances a virtual clock by the tick per pass.
void PlatformLoopPass();

// Folders. Paths returned use the platform's separator; folders end in one.
char PlatformPathSeparator();
// The per-user local application data folder, created when missing ("" when it cannot be
// found or made): Linux: $XDG_DATA_HOME, else ~/.local/share.
std::string PlatformLocalAppDataFolder();
bool PlatformDirectoryExists(const std::string& path);
bool PlatformFileExists(const std::string& path);
// Size in bytes of the file at path; -1 when it is missing or is a folder. Paths are in the
// system's own narrow encoding (UTF-8 on Linux, the ANSI code page on Windows).
int64_t PlatformFileSize(const std::string& path);
// Makes path the process's current folder; false when it cannot.
bool PlatformSetCurrentFolder(const std::string& path);
// Creates one folder level; true when the folder exists afterwards.
bool PlatformCreateDirectory(const std::string& path);
// Puts the file from in the place of the file to in one step (to may exist); false on failure.
// The file keeps the permission bits (and, where the system allows, the owner) to had.
bool PlatformReplaceFile(const std::string& from, const std::string& to);
// The file a write to path lands on: symbolic links followed to the file they name, which may
// not exist yet; path itself when it is no link.
std::string PlatformWriteTarget(const std::string& path);
// Whether the file at path may be replaced by a new one: the file, when it exists, and its
// folder must both be writable. A file or folder that grants writing to nobody counts as
// read-only even for a user whose rights would let the write through (as the read-only
// attribute binds administrators on Windows).
bool PlatformCanReplaceFile(const std::string& path);
// Creates the file for writing in binary only when no entry of that name exists, in one step, so
// a name taken at the same moment by another program is never overwritten; nullptr otherwise
// (errno is EEXIST when the name was taken).
std::FILE* PlatformCreateNewFile(const std::string& path);
// Names (without folder) of the entries of a folder, files and folders alike, unsorted.
std::vector<std::string> PlatformListFolder(const std::string& folder);
// Maps a path as content names it (`\` or `/` between names, letters in any case) to the
// path of an existing entry, matching each name without regard to case where the file
// system would not; "" when nothing matches.
std::string PlatformFindPath(const std::string& path);

// Version resource strings of the executable: "CompanyName", "ProductName", others "".
std::string PlatformVersionString(const std::string& name);
// Registry value as text; always "" off Windows. A key path beginning with a root's name
// ("HKEY_CURRENT_USER\Software\...", or "HKCU\...") is read under that root only; a path
// without one under HKEY_CLASSES_ROOT, HKEY_CURRENT_CONFIG, HKEY_CURRENT_USER,
// HKEY_LOCAL_MACHINE and HKEY_USERS in this order, the first root with a non-empty value giving
// it. "" when no root has one.
std::string PlatformRegistryRead(const std::string& keyPath, const std::string& valueName);
// Folders searched for a shared library, in order (program folder first).
std::vector<std::string> PlatformLibrarySearchList();
// Shared libraries loaded at run time: a handle (0 when the library cannot be loaded), the
// address of an exported name (nullptr when absent), and release.
uintptr_t PlatformLibraryLoad(const std::string& fileName);
void* PlatformLibrarySymbol(uintptr_t library, const std::string& name);
void PlatformLibraryFree(uintptr_t library);
// File names of the audio libraries on this system: OpenAL, then the Ogg, Vorbis and
// Vorbisfile libraries in the order they depend on each other.
std::string PlatformOpenalLibraryName();
std::vector<std::string> PlatformOggVorbisLibraryNames();

// The calling thread's last system error code and its text ("" when the system has none).
uint32_t PlatformLastError();
std::string PlatformErrorText(uint32_t code);
// Working-set (resident) size of the process in bytes; 0 when unknown.
uint64_t PlatformWorkingSetBytes();
// The system's short date and long time for now, in the user's locale formats.
std::string PlatformShortDate();
std::string PlatformLongTime();
