// The per-user data folder under a user name the ANSI code page may not hold.
#include <shlobj.h>
#include <windows.h>
#include <sddl.h>

#include "platform/win32/system/win32_user_folder.h"

namespace {

std::wstring KnownFolder(int id) {
  wchar_t folder[MAX_PATH] = {};
  if (FAILED(
          SHGetFolderPathW(nullptr, id | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, folder)))
    return L"";
  return folder;
}

// The account's security identifier as text ("S-1-5-21-..."), which is ASCII.
std::string UserSidText() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return "";
  std::string text;
  DWORD size = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  std::string buffer(size, '\0');
  if (size > 0 && GetTokenInformation(token, TokenUser, buffer.data(), size, &size)) {
    char* sid = nullptr;
    if (ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &sid)) {
      text = sid;
      LocalFree(sid);
    }
  }
  CloseHandle(token);
  return text;
}

}  // namespace

std::string Win32AnsiPath(const std::wstring& path) {
  if (path.empty()) return "";
  const int length = static_cast<int>(path.size());
  BOOL lossy = FALSE;
  const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.data(), length, nullptr,
                                       0, nullptr, &lossy);
  if (size <= 0 || lossy) return "";
  std::string text(size, '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.data(), length, text.data(), size, nullptr,
                      &lossy);
  return lossy ? "" : text;
}

std::string Win32AnsiFolder(const std::wstring& folder) {
  std::string ansi = Win32AnsiPath(folder);
  if (!ansi.empty() || folder.empty()) return ansi;
  wchar_t shortPath[MAX_PATH] = {};
  const DWORD length = GetShortPathNameW(folder.c_str(), shortPath, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return "";
  return Win32AnsiPath(shortPath);
}

std::string Win32UserDataFolder() {
  const std::wstring local = KnownFolder(CSIDL_LOCAL_APPDATA);
  std::string ansi = Win32AnsiFolder(local);
  if (!ansi.empty() || local.empty()) return ansi;
  // Everyone may make folders in the all-users data folder, and the maker owns what it makes.
  const std::string common = Win32AnsiFolder(KnownFolder(CSIDL_COMMON_APPDATA));
  const std::string sid = UserSidText();
  if (common.empty() || sid.empty()) return "";
  // The program's own company and product folders follow inside, as under %LOCALAPPDATA%.
  std::string own = common + "\\" + sid;
  CreateDirectoryA(own.c_str(), nullptr);
  return own;
}
