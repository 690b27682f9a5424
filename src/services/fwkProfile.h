// Reading and writing single keys of a Windows-style INI file with the semantics of the
// system's private-profile calls (internal to the settings module).
#pragma once

#include <string>

// Longest value a read returns, as the profile read buffer of 2048 bytes allows.
constexpr size_t profileValueLimit = 2047;

// The value of key in the first section named section (names compared without regard to
// case; the first matching key wins), trimmed of blanks and one pair of quotes; def when
// the file, section or key is missing.
std::string ProfileRead(const std::string& path, const std::string& section, const std::string& key,
                        const std::string& def);
// Sets key in section, creating file, section and key as needed and keeping every other
// line. The file is replaced in one step, keeping its permission bits; a symbolic link stays
// and the file it names is replaced. False when the file or its folder is read-only or the
// write failed (nothing changed then).
bool ProfileWrite(const std::string& path, const std::string& section, const std::string& key,
                  const std::string& value);
