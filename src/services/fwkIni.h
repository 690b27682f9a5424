// The settings file "settings.ini": typed reads with a default and typed writes of single
// keys. No cache: every call goes to the file.
#pragma once

#include <cstdint>
#include <string>

void IniInit();
bool IniReadBool(const std::string& section, const std::string& key, bool def);
int32_t IniReadInteger(const std::string& section, const std::string& key, int32_t def);
std::string IniReadString(const std::string& section, const std::string& key,
                          const std::string& def);
// Writes always go to the user's file; a failed write is logged and otherwise ignored.
void IniWriteBool(const std::string& section, const std::string& key, bool value);
void IniWriteInteger(const std::string& section, const std::string& key, int32_t value);
void IniWriteString(const std::string& section, const std::string& key, const std::string& value);
// The file reads come from: the user's file, else the one beside the executable, else the
// (missing) user's file.
std::string IniFilePath();
