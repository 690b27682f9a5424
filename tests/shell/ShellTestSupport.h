// Shared set-up of the shell tests: a headless start of every module in a folder tree of its
// own (program folder, user data folder, log), with the virtual clock, the default virtual
// monitor and a scriptable stand-in for the game.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct shellSandbox {
  std::string root;      // ends in '/'
  std::string app;       // the program folder, ends in '/'
  std::string userData;  // the user data folder ("-userdatainapp": the program folder)
};

// Makes a fresh tree for the running test, copies the launcher picture into its program folder,
// points the platform at it (headless, virtual clock from clockStart, accelerated OpenGL) with
// the given switches plus "-userdatainapp", then starts every module.
shellSandbox ShellStart(const std::vector<std::string>& arguments = {}, uint32_t clockStart = 0);
// Stops the modules and the video part.
void ShellStop();

std::string ReadWholeFile(const std::string& path);
// Lines of a CR LF text file.
std::vector<std::string> ReadLogLines(const std::string& path);

// The game the tests run in place of the real one. Its GameInit opens "Primary" through the
// shell and makes state 4 current (state 6 ends the game, 3 is the fatal error); GameRun calls
// the pass function (when set) and then runs the states, and ends the loop in state 6 or 3.
struct scriptedGame {
  bool initResult = true;
  std::function<void(int32_t pass)> onPass;  // pass counts GameRun calls from 1
  std::function<void()> onCleanup;
  int32_t display = -1;
  int32_t initCalls = 0;
  int32_t runCalls = 0;
  int32_t cleanupCalls = 0;
  int32_t minimizeCalls = 0;
  int32_t fullscreenKeys = 0;
};
extern scriptedGame testGame;
void ScriptedGameReset();
