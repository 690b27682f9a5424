#include "sandbox.h"

#include "platform/platform_system.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

Sandbox MakeSandbox(const std::vector<std::string>& arguments) {
  const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
  const std::filesystem::path root = std::filesystem::current_path() / "services-sandbox" /
                                     (std::string(info->test_suite_name()) + "." + info->name());
  std::error_code ignored;
  std::filesystem::permissions(root, std::filesystem::perms::all, ignored);
  std::filesystem::remove_all(root, ignored);
  std::filesystem::create_directories(root / "app");

  Sandbox box;
  box.root = root.string() + "/";
  box.app = box.root + "app/";
  box.dataHome = box.root + "data/";
  box.userData = box.dataHome + "Nightshade Forge/Sanguor/";
  setenv("XDG_DATA_HOME", box.dataHome.c_str(), 1);
  PlatformSetArguments(arguments);
  PlatformSetExecutablePath(box.app + "sanguor");
  PlatformClockSetVirtual(false);
  return box;
}

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream content;
  content << file.rdbuf();
  return content.str();
}

void WriteFile(const std::string& path, const std::string& content) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << content;
}

std::vector<std::string> ReadLines(const std::string& path) {
  const std::string content = ReadFile(path);
  std::vector<std::string> lines;
  size_t begin = 0;
  while (begin < content.size()) {
    const size_t end = content.find("\r\n", begin);
    if (end == std::string::npos) {
      lines.push_back(content.substr(begin) + "<no CR LF>");
      break;
    }
    lines.push_back(content.substr(begin, end - begin));
    begin = end + 2;
  }
  return lines;
}
