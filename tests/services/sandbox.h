// A fresh folder tree per test under the build folder, with the program's folder, the
// per-user data home and the command line all pointed into it, so no test touches the
// real home folder or sees another test's files.
#pragma once

#include <string>
#include <vector>

struct Sandbox {
  std::string root;      // ends in '/'
  std::string app;       // the program folder, ends in '/'
  std::string dataHome;  // XDG_DATA_HOME, ends in '/'
  std::string userData;  // dataHome + company + product folders, ends in '/'
};

// Makes the tree for the running test, sets the arguments, the executable path
// (app + "sanguor"), XDG_DATA_HOME and the real clock. Does not start any module.
Sandbox MakeSandbox(const std::vector<std::string>& arguments = {});

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& content);
// Lines of a file whose lines end in CR LF (the last one included).
std::vector<std::string> ReadLines(const std::string& path);
