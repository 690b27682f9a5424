// Content names paths as Windows does: `\` between names and letters in any case. On a
// case-sensitive file system each name is looked up in its folder without regard to case.
#include "platform/platform_system.h"

#include <sys/stat.h>

#include <algorithm>

namespace {

bool Exists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0;
}

bool SameIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

// The entry of folder (written with a trailing '/', or "" for the current folder) whose
// name matches: the exact name first, else the first case-insensitive match in byte order.
std::string MatchName(const std::string& folder, const std::string& name) {
  if (name == "." || name == ".." || Exists(folder + name)) return name;
  std::vector<std::string> candidates;
  for (const std::string& entry : PlatformListFolder(folder)) {
    if (SameIgnoringCase(entry, name)) candidates.push_back(entry);
  }
  if (candidates.empty()) return "";
  return *std::min_element(candidates.begin(), candidates.end());
}

}  // namespace

std::string PlatformFindPath(const std::string& path) {
  if (path.empty()) return "";
  std::string native = path;
  std::replace(native.begin(), native.end(), '\\', '/');
  if (Exists(native)) return native;

  std::string result = native[0] == '/' ? "/" : "";
  size_t begin = 0;
  while (begin < native.size()) {
    size_t end = native.find('/', begin);
    if (end == std::string::npos) end = native.size();
    const std::string name = native.substr(begin, end - begin);
    if (!name.empty()) {
      const std::string found = MatchName(result, name);
      if (found.empty()) return "";
      result += found;
      if (end < native.size()) result += '/';
    }
    begin = end + 1;
  }
  return Exists(result.empty() ? "." : result) ? result : "";
}
