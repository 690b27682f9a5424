// The per-user data folder as a path in the ANSI code page, which every narrow call takes.
#pragma once

#include <string>

// The wide path in the ANSI code page; "" when a character has no exact form there (the "?"
// the system would put in its place names no folder).
std::string Win32AnsiPath(const std::wstring& path);
// The ANSI form of folder, else of its short (8.3) name; "" when neither can be written.
std::string Win32AnsiFolder(const std::wstring& folder);
// %LOCALAPPDATA%, created when missing. A user name the code page cannot hold is reached
// through the folder's short name; where the volume keeps no short names, a folder of the
// user's own under the all-users data folder, named by the account's security identifier.
std::string Win32UserDataFolder();
