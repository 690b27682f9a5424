#include "services/fwkIni.h"

#include "platform/platform_system.h"
#include "services/fwkLog.h"
#include "services/fwkProfile.h"
#include "services/fwkText.h"
#include "services/fwkUtilities.h"

namespace {

const std::string fileName = "settings.ini";
std::string userFolder;
bool initialised = false;

std::string UserFilePath() {
  if (!initialised) {
    userFolder = UtilUserDataFolder();
    initialised = true;
  }
  return userFolder + fileName;
}

}  // namespace

void IniInit() {
  LogVersionAdd("fwkIni - Version 1.0");
  userFolder = UtilUserDataFolder();
  initialised = true;
}

std::string IniFilePath() {
  std::string user = UserFilePath();
  if (PlatformFileExists(user)) return user;
  std::string beside = UtilAppFolder() + fileName;
  if (PlatformFileExists(beside)) return beside;
  return user;
}

std::string IniReadString(const std::string& section, const std::string& key,
                          const std::string& def) {
  return ProfileRead(IniFilePath(), section, key, def);
}

bool IniReadBool(const std::string& section, const std::string& key, bool def) {
  const std::string answer = TextUpper(IniReadString(section, key, def ? "Yes" : "No"));
  if (answer == "YES") return true;
  if (answer == "NO") return false;
  return def;
}

int32_t IniReadInteger(const std::string& section, const std::string& key, int32_t def) {
  int32_t value = def;
  return TextToInteger(IniReadString(section, key, std::to_string(def)), value) ? value : def;
}

void IniWriteString(const std::string& section, const std::string& key, const std::string& value) {
  const std::string path = UserFilePath();
  if (!ProfileWrite(path, section, key, value)) LogError("Unable to write to " + path);
}

void IniWriteBool(const std::string& section, const std::string& key, bool value) {
  IniWriteString(section, key, value ? "Yes" : "No");
}

void IniWriteInteger(const std::string& section, const std::string& key, int32_t value) {
  IniWriteString(section, key, std::to_string(value));
}
