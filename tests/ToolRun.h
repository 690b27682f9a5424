// Runs one of the project's tools from the build's bin folder, as a user would from a shell,
// and keeps what it printed on each stream and its exit code.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

struct toolRun {
  int status = -1;
  std::string out;
  std::string err;
};

// ARGUMENTS are passed through the shell; standard error goes through ERRORS_FILE.
inline toolRun RunTool(const std::string& tool, const std::string& arguments, const std::filesystem::path& errorsFile) {
  const std::string program = (std::filesystem::current_path() / "bin" / tool).string();
  toolRun result;
  FILE* pipe = popen((program + " " + arguments + " 2>" + errorsFile.string()).c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) result.out += buffer;
  const int status = pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::stringstream text;
  text << std::ifstream(errorsFile).rdbuf();
  result.err = text.str();
  return result;
}
