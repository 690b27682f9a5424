// Runs one of the project's tools from the build's bin folder, as a user would from a shell,
// and keeps what it printed on each stream and its exit code.
#pragma once

#if !defined(_WIN32)
#include <sys/wait.h>
#endif

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
inline toolRun RunTool(const std::string& tool, const std::string& arguments,
                       const std::filesystem::path& errorsFile) {
  const std::string program = (std::filesystem::current_path() / "bin" / tool).string();
  toolRun result;
  const std::string command = program + " " + arguments + " 2>" + errorsFile.string();
#if defined(_WIN32)
  // The Windows C library gives the exit code itself, and reads the pipe in binary mode only
  // when asked, so the tools' output arrives as they wrote it.
  FILE* pipe = _popen(command.c_str(), "rb");
#else
  FILE* pipe = popen(command.c_str(), "r");
#endif
  if (pipe == nullptr) return result;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) result.out += buffer;
#if defined(_WIN32)
  result.status = _pclose(pipe);
#else
  const int status = pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
  std::stringstream text;
  text << std::ifstream(errorsFile).rdbuf();
  result.err = text.str();
  return result;
}
