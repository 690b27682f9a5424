// Folders and the file system on Windows: the per-user data folder, files replaced in one step,
// the read-only attribute, folder listings and the library search order.
#include <shlobj.h>
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>

#include "platform/common/system/folder_list.h"
#include "platform/platform_system.h"
#include "platform/win32/system/win32_user_folder.h"

namespace {

std::string WithSeparator(std::string folder) {
  if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder += '\\';
  return folder;
}

DWORD Attributes(const std::string& path) {
  return path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(path.c_str());
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

void AddUnique(std::vector<std::string>& list, const std::string& folder) {
  if (folder.empty()) return;
  const std::string entry = WithSeparator(folder);
  const auto same = [&entry](const std::string& other) {
    return _stricmp(other.c_str(), entry.c_str()) == 0;
  };
  if (std::none_of(list.begin(), list.end(), same)) list.push_back(entry);
}

}  // namespace

char PlatformPathSeparator() { return '\\'; }

std::string PlatformLocalAppDataFolder() {
  const std::string folder = Win32UserDataFolder();
  return PlatformDirectoryExists(folder) ? WithSeparator(folder) : "";
}

bool PlatformDirectoryExists(const std::string& path) {
  const DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool PlatformFileExists(const std::string& path) {
  const DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

int64_t PlatformFileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (path.empty() || !GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return -1;
  }
  return (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool PlatformSetCurrentFolder(const std::string& path) {
  return !path.empty() && SetCurrentDirectoryA(path.c_str()) != 0;
}

bool PlatformCreateDirectory(const std::string& path) {
  if (path.empty()) return false;
  return CreateDirectoryA(path.c_str(), nullptr) != 0 || PlatformDirectoryExists(path);
}

bool PlatformReplaceFile(const std::string& from, const std::string& to) {
  // ReplaceFile keeps the replaced file's attributes and security descriptor; a file that is
  // not there yet is simply moved into place.
  if (PlatformFileExists(to) && ReplaceFileA(to.c_str(), from.c_str(), nullptr,
                                             REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
    return true;
  }
  return MoveFileExA(from.c_str(), to.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

std::string PlatformWriteTarget(const std::string& path) {
  const DWORD attributes = Attributes(path);
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
    return path;
  HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return path;
  char target[MAX_PATH * 4] = {};
  const DWORD length = GetFinalPathNameByHandleA(file, target, sizeof target, FILE_NAME_NORMALIZED);
  CloseHandle(file);
  if (length == 0 || length >= sizeof target) return path;
  std::string resolved(target, length);
  // The final path comes back in the "\\?\" form the ordinary calls do not need.
  if (resolved.rfind("\\\\?\\", 0) == 0) resolved.erase(0, 4);
  return resolved;
}

bool PlatformCanReplaceFile(const std::string& path) {
  const DWORD file = Attributes(path);
  if (file != INVALID_FILE_ATTRIBUTES && (file & FILE_ATTRIBUTE_READONLY) != 0) return false;
  // Windows ignores the read-only attribute of folders for the files inside them.
  return PlatformDirectoryExists(FolderOf(path));
}

std::FILE* PlatformCreateNewFile(const std::string& path) {
  // The Windows C library ignores fopen's "x": the exclusive creation is asked of the file itself.
  const int descriptor =
      _open(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
  if (descriptor < 0) return nullptr;
  std::FILE* file = _fdopen(descriptor, "wb");
  if (file == nullptr) _close(descriptor);
  return file;
}

std::vector<std::string> PlatformListFolder(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA((WithSeparator(folder) + "*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = entry.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(search, &entry));
  FindClose(search);
  return names;
}

std::string PlatformFindPath(const std::string& path) {
  // Windows file systems match names without regard to case already.
  std::string native = path;
  std::replace(native.begin(), native.end(), '/', '\\');
  return Attributes(native) != INVALID_FILE_ATTRIBUTES ? native : "";
}

std::vector<std::string> PlatformLibrarySearchList() {
  // The order LoadLibrary searches in: the program folder, the system folders, then PATH.
  std::vector<std::string> list;
  AddUnique(list, FolderOf(PlatformExecutablePath()));
  char folder[MAX_PATH] = {};
  const UINT systemLength = GetSystemDirectoryA(folder, MAX_PATH);
  if (systemLength > 0 && systemLength < MAX_PATH) AddUnique(list, folder);
  const UINT windowsLength = GetWindowsDirectoryA(folder, MAX_PATH);
  if (windowsLength > 0 && windowsLength < MAX_PATH) AddUnique(list, folder);
  if (const char* paths = std::getenv("PATH")) {
    ForEachListedFolder(paths, ";", [&list](const std::string& entry) { AddUnique(list, entry); });
  }
  return list;
}
