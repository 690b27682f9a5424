// Folders and file-system queries, and the places the dynamic loader looks for libraries.
#include "platform/platform_system.h"

#include <dirent.h>
#include <glob.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "platform/common/system/folder_list.h"

namespace {

std::string WithSeparator(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') return home;
  const passwd* entry = getpwuid(getuid());
  if (entry != nullptr && entry->pw_dir != nullptr && entry->pw_dir[0] == '/') return entry->pw_dir;
  return "";
}

// Like the Windows shell folder call with its create flag: missing levels are made.
bool CreateFolderPath(const std::string& path) {
  for (size_t slash = path.find('/', 1); slash != std::string::npos;
       slash = path.find('/', slash + 1)) {
    PlatformCreateDirectory(path.substr(0, slash));
  }
  return PlatformCreateDirectory(path);
}

std::string Trimmed(const std::string& line) {
  const auto first = line.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  const auto last = line.find_last_not_of(" \t\r");
  return line.substr(first, last - first + 1);
}

void AddUnique(std::vector<std::string>& list, const std::string& folder) {
  if (folder.empty()) return;
  const std::string entry = WithSeparator(folder);
  if (std::find(list.begin(), list.end(), entry) == list.end()) list.push_back(entry);
}

// Reads one ld.so.conf-style file: folder lines and "include" lines with glob patterns.
// depth bounds include cycles.
void ReadLoaderConfig(const std::string& path, std::vector<std::string>& list, int depth) {
  if (depth > 8) return;
  std::ifstream file(path);
  std::string line;
  while (std::getline(file, line)) {
    const auto hash = line.find('#');
    if (hash != std::string::npos) line.erase(hash);
    line = Trimmed(line);
    if (line.empty()) continue;
    if (line.rfind("include", 0) == 0 && line.size() > 7 && (line[7] == ' ' || line[7] == '\t')) {
      std::string pattern = Trimmed(line.substr(8));
      if (!pattern.empty() && pattern[0] != '/') {
        pattern = path.substr(0, path.find_last_of('/') + 1) + pattern;
      }
      glob_t found{};
      if (glob(pattern.c_str(), 0, nullptr, &found) == 0) {
        for (size_t i = 0; i < found.gl_pathc; ++i)
          ReadLoaderConfig(found.gl_pathv[i], list, depth + 1);
      }
      globfree(&found);
    } else if (line[0] == '/') {
      AddUnique(list, line);
    }
  }
}

const char* MultiarchTriplet() {
#if defined(__x86_64__)
  return "x86_64-linux-gnu";
#elif defined(__aarch64__)
  return "aarch64-linux-gnu";
#elif defined(__i386__)
  return "i386-linux-gnu";
#elif defined(__arm__)
  return "arm-linux-gnueabihf";
#else
  return "";
#endif
}

}  // namespace

char PlatformPathSeparator() { return '/'; }

std::string PlatformLocalAppDataFolder() {
  std::string folder;
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  // The XDG rules ignore a relative value.
  if (dataHome != nullptr && dataHome[0] == '/') {
    folder = dataHome;
  } else {
    const std::string home = HomeFolder();
    if (home.empty()) return "";
    folder = WithSeparator(home) + ".local/share";
  }
  if (!CreateFolderPath(folder)) return "";
  return WithSeparator(folder);
}

bool PlatformDirectoryExists(const std::string& path) {
  struct stat info {};
  return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool PlatformFileExists(const std::string& path) {
  struct stat info {};
  return !path.empty() && stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

int64_t PlatformFileSize(const std::string& path) {
  struct stat info {};
  if (path.empty() || stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return -1;
  return static_cast<int64_t>(info.st_size);
}

bool PlatformSetCurrentFolder(const std::string& path) {
  return !path.empty() && chdir(path.c_str()) == 0;
}

bool PlatformCreateDirectory(const std::string& path) {
  if (path.empty()) return false;
  mkdir(path.c_str(), 0777);
  return PlatformDirectoryExists(path);
}

bool PlatformReplaceFile(const std::string& from, const std::string& to) {
  struct stat kept {};
  if (stat(to.c_str(), &kept) == 0 && S_ISREG(kept.st_mode)) {
    // Only root may give a file away; for anyone else the owner is already theirs.
    if (chown(from.c_str(), kept.st_uid, kept.st_gid) != 0 && geteuid() == 0) return false;
    if (chmod(from.c_str(), kept.st_mode & 07777) != 0) return false;
  }
  return std::rename(from.c_str(), to.c_str()) == 0;
}

std::string PlatformWriteTarget(const std::string& path) {
  std::string target = path;
  // The same bound on chained links as the system's own path lookup.
  for (int depth = 0; depth < 40; ++depth) {
    struct stat info {};
    if (lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return target;
    std::string link(static_cast<size_t>(info.st_size > 0 ? info.st_size : 0) + 256, '\0');
    const ssize_t length = readlink(target.c_str(), link.data(), link.size());
    if (length <= 0 || static_cast<size_t>(length) >= link.size()) return target;
    link.resize(static_cast<size_t>(length));
    if (link[0] == '/') {
      target = link;
    } else {
      const auto slash = target.find_last_of('/');
      target = (slash == std::string::npos ? std::string() : target.substr(0, slash + 1)) + link;
    }
  }
  return target;
}

bool PlatformCanReplaceFile(const std::string& path) {
  const auto writable = [](const std::string& entry) {
    struct stat info {};
    if (stat(entry.c_str(), &info) != 0) return false;
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return false;
    return access(entry.c_str(), W_OK) == 0;
  };
  const auto slash = path.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "."
                             : slash == 0               ? "/"
                                                        : path.substr(0, slash);
  if (!writable(folder)) return false;
  struct stat info {};
  return stat(path.c_str(), &info) != 0 || writable(path);
}

std::FILE* PlatformCreateNewFile(const std::string& path) {
  return std::fopen(path.c_str(), "wbx");
}

std::vector<std::string> PlatformListFolder(const std::string& folder) {
  std::vector<std::string> names;
  DIR* directory = opendir(folder.empty() ? "." : folder.c_str());
  if (directory == nullptr) return names;
  while (const dirent* entry = readdir(directory)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  closedir(directory);
  return names;
}

std::vector<std::string> PlatformLibrarySearchList() {
  std::vector<std::string> list;
  const std::string executable = PlatformExecutablePath();
  const auto slash = executable.find_last_of('/');
  if (slash != std::string::npos) AddUnique(list, executable.substr(0, slash + 1));

  if (const char* libraryPath = std::getenv("LD_LIBRARY_PATH")) {
    ForEachListedFolder(libraryPath, ":;",
                        [&list](const std::string& folder) { AddUnique(list, folder); });
  }

  ReadLoaderConfig("/etc/ld.so.conf", list, 0);
  const std::string triplet = MultiarchTriplet();
  for (const char* base : {"/lib", "/usr/lib", "/lib64", "/usr/lib64"}) {
    AddUnique(list, base);
    if (!triplet.empty()) AddUnique(list, std::string(base) + "/" + triplet);
  }
  return list;
}
