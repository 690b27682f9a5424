// A headless game in a folder tree of its own: tests write small levels, exposure sheets and
// TGA frames, start the real modules and the game on the virtual clock, post keys into the
// active control set and read back the presented picture.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/UntGameTesting.h"

// Control codes of the default keys.
constexpr int32_t kKeyBite = 32;
constexpr int32_t kKeyDown = 98;
constexpr int32_t kKeyLeft = 11;
constexpr int32_t kKeyPower = 95;
constexpr int32_t kKeyRight = 29;
constexpr int32_t kKeySpace = 104;

struct testFrame {
  int32_t width = 8;
  int32_t height = 16;
  uint32_t colour = 0xFFFF0000u;
  std::string attributes;  // CR LF separated attribute lines
};

class gameSandbox {
 public:
  // A fresh program folder for the running test.
  gameSandbox();
  ~gameSandbox();
  std::string app;  // ends in '/'
  int32_t videoWidth = 640;
  int32_t videoHeight = 480;

  // Writes a file under the program folder; the name uses '\' as content paths do.
  void Write(const std::string& name, const std::string& bytes) const;
  // A TGA picture of one colour (0xAARRGGBB), 32 bits, top row first.
  void WriteTga(const std::string& name, int32_t width, int32_t height, uint32_t colour) const;
  // A sheet whose frames are written beside it as "<sheet name> N.tga".
  void WriteSheet(const std::string& name, const std::vector<testFrame>& frames) const;
  // Every sheet of a figure folder under Bin\Sprites: standing and walking in both looks,
  // one-frame standing, two-frame walking; the bite, attack, hit and collapse sequences with
  // the given number of frames each.
  void WriteFigure(const std::string& type, uint32_t colour, int32_t sequenceFrames = 3) const;
  // Dracula, a "Guard", a "Nubile", the fog, tiles 1..5 (BLOCK, SPACE, LEFT, RIGHT, BLOCKNPC)
  // and the HUD pictures.
  void WriteStandardContent() const;

  // Starts the modules and the game (GameInit); false when GameInit failed.
  bool Start(const std::vector<std::string>& arguments = {});
  // Ends the game (GameCleanup) and the modules.
  void Stop();
  // Main-loop passes: GameRun and the clock's advance per pass (17 ms).
  void Run(int32_t passes);
  // Passes until the state is reached (at most limit passes); true when it was.
  bool RunUntilState(int32_t state, int32_t limit = 2000);
  // Passes until the play state has made n more steps.
  void Steps(int32_t n);
  // Loads level 1 and enters play (past the briefing, if any) without drawing.
  void EnterPlay();
  // Play steps without drawing: the clock moves 17 ms, then the step's logic runs.
  void LogicSteps(int32_t n);
  void Press(int32_t code) const;
  void Release(int32_t code) const;
  void Tap(int32_t code) const;
  // The picture as last presented, 0xAARRGGBB, top row first.
  std::vector<uint32_t> Picture(int32_t& width, int32_t& height) const;
  uint32_t PixelAt(int32_t x, int32_t y) const;
  std::string Log() const;

 private:
  bool started_ = false;
};

// A level file's text from lines (joined with CR LF).
std::string Lines(const std::vector<std::string>& lines);
// The tile lines of the standard content.
std::string StandardTiles();
