// Switches that drive a whole run from the command line, for tests and for playing back games:
// "-tick N" (the virtual clock advances N ms per main-loop pass), "-seed N" (the game's random
// numbers), "-level N" (the level the game starts at), "-record FILE" and "-replay FILE" (control changes of the active control set),
// "-shot MS[,MS...]" (screenshots) and "-quit MS" (the end of the run). They act at the start
// of main-loop passes, by program time: the virtual clock's own value, or with the real clock
// the milliseconds since RunControlStart. "-drawall" turns headless fast-forward off (see
// RunControlPictureSeen).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "shell/ReplayFile.h"

using runSeedFunction = void (*)(uint32_t seed);
using runLevelFunction = void (*)(int32_t level);

// Reads the switches, the replay file and opens the record file, seeds the game through seed
// and the first level through level, and installs the main-loop pass hook. False (after one log
// line) when a switch or the replay file is malformed: the game must not start.
bool RunControlStart(runSeedFunction seed, runLevelFunction level = nullptr);
// Writes the last recorded changes, closes the record file and removes the pass hook.
void RunControlFinish();

// Milliseconds since the program started, as described above.
uint32_t RunControlProgramTime();

// What the switches asked for (after RunControlStart).
struct runSettings {
  bool seedGiven = false;
  uint32_t seed = 0;
  int32_t level = 0;  // 0: the game's own first level
  std::string recordPath;
  std::string replayPath;
  std::vector<uint32_t> shots;  // ascending
  bool quitGiven = false;
  uint32_t quitTime = 0;
  bool drawAll = false;
};
// Parses the switches from a parameter list; false with a message naming the bad switch.
bool RunControlParse(const std::vector<std::string>& arguments, runSettings& settings,
                     std::string& problem);

// The work of one pass; the pass hook calls it with the program time.
void RunControlPass(uint32_t programTime);

// Whether a picture drawn now can be seen. With the virtual clock nobody watches a headless
// run, so only a screenshot sees a picture: it takes the last one drawn before the pass it falls
// due in. The caller says within how many passes from now it surely draws its next picture
// (1: the next pass draws); the picture drawn now is seen only when the next screenshot falls
// due before that picture would replace it, so a run draws one picture per screenshot, with the
// same logic and the same screenshots. Passes are taken to be as long as the last one (a
// headless run's passes are the tick plus the game's fixed sleep). True in every other case: a
// window, the real clock, "-drawall", the first pass, or a run RunControlStart did not set up.
bool RunControlPictureSeen(uint32_t nextPictureWithin = 1);
// The number of passes (at least 1) that take at least ms of program time, as far as the run
// knows: for RunControlPictureSeen when the next picture waits for a span of time.
uint32_t RunControlPassesFor(uint32_t ms);
