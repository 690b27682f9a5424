// Registry values as text. A key path that starts with a root's name ("HKEY_LOCAL_MACHINE\..."
// or its short form "HKLM\...") is read under that root; any other is tried under each root in
// turn.
#include <windows.h>

#include <cstring>
#include <vector>

#include "platform/platform_system.h"

namespace {

HKEY RootKey(const std::string& name) {
  struct rootName {
    const char* longName;
    const char* shortName;
    HKEY key;
  };
  static const rootName roots[] = {{"HKEY_LOCAL_MACHINE", "HKLM", HKEY_LOCAL_MACHINE},
                                   {"HKEY_CURRENT_USER", "HKCU", HKEY_CURRENT_USER},
                                   {"HKEY_CLASSES_ROOT", "HKCR", HKEY_CLASSES_ROOT},
                                   {"HKEY_USERS", "HKU", HKEY_USERS},
                                   {"HKEY_CURRENT_CONFIG", "HKCC", HKEY_CURRENT_CONFIG}};
  for (const rootName& root : roots) {
    if (_stricmp(name.c_str(), root.longName) == 0 || _stricmp(name.c_str(), root.shortName) == 0)
      return root.key;
  }
  return nullptr;
}

std::string ValueAsText(DWORD type, const std::vector<BYTE>& data, DWORD bytes) {
  switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ: {
      std::string text(reinterpret_cast<const char*>(data.data()), bytes);
      const auto end = text.find('\0');
      return end == std::string::npos ? text : text.substr(0, end);
    }
    case REG_DWORD:
      if (bytes >= sizeof(DWORD)) {
        DWORD value = 0;
        std::memcpy(&value, data.data(), sizeof value);
        return std::to_string(value);
      }
      return "";
    case REG_QWORD:
      if (bytes >= sizeof(ULONGLONG)) {
        ULONGLONG value = 0;
        std::memcpy(&value, data.data(), sizeof value);
        return std::to_string(value);
      }
      return "";
    default: return "";
  }
}

std::string ReadValue(HKEY root, const std::string& subKey, const std::string& valueName) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, subKey.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return "";
  DWORD type = 0;
  DWORD bytes = 0;
  std::string text;
  if (RegQueryValueExA(key, valueName.c_str(), nullptr, &type, nullptr, &bytes) == ERROR_SUCCESS &&
      bytes > 0 && bytes <= 64 * 1024) {
    std::vector<BYTE> data(bytes);
    if (RegQueryValueExA(key, valueName.c_str(), nullptr, &type, data.data(), &bytes) ==
        ERROR_SUCCESS) {
      text = ValueAsText(type, data, bytes);
    }
  }
  RegCloseKey(key);
  return text;
}

}  // namespace

std::string PlatformRegistryRead(const std::string& keyPath, const std::string& valueName) {
  const auto slash = keyPath.find('\\');
  if (HKEY root = RootKey(keyPath.substr(0, slash))) {
    return ReadValue(root, slash == std::string::npos ? "" : keyPath.substr(slash + 1), valueName);
  }
  for (HKEY root : {HKEY_CLASSES_ROOT, HKEY_CURRENT_CONFIG, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE,
                    HKEY_USERS}) {
    std::string text = ReadValue(root, keyPath, valueName);
    if (!text.empty()) return text;
  }
  return "";
}
