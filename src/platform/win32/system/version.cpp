// Version strings from the executable's version resource (the StringFileInfo block).
#include <windows.h>

#include <cstdio>
#include <vector>

#include "platform/platform_system.h"

std::string PlatformVersionString(const std::string& name) {
  if (name != "CompanyName" && name != "ProductName") return "";
  const std::string path = PlatformExecutablePath();
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
  if (size == 0) return "";
  std::vector<char> block(size);
  if (!GetFileVersionInfoA(path.c_str(), 0, size, block.data())) return "";

  // The strings are kept per language and code page; the first translation listed is the one.
  char table[9] = "040904b0";
  void* translation = nullptr;
  UINT translationBytes = 0;
  if (VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &translation, &translationBytes) &&
      translationBytes >= 4) {
    const WORD* words = static_cast<const WORD*>(translation);
    std::snprintf(table, sizeof table, "%04x%04x", words[0], words[1]);
  }
  const std::string query = std::string("\\StringFileInfo\\") + table + "\\" + name;
  void* value = nullptr;
  UINT characters = 0;
  if (!VerQueryValueA(block.data(), query.c_str(), &value, &characters) || value == nullptr)
    return "";
  std::string text(static_cast<const char*>(value), characters);
  // The count includes the terminating zero where the resource compiler stored one.
  while (!text.empty() && text.back() == '\0') text.pop_back();
  return text;
}
