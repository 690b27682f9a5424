// Message boxes and the keep-awake pulse of the platform contract.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform_video.h"

// Message box flags and answers use the Windows encoding, so callers pass the box types the
// shell's texts are written for (0x40 information with OK, 0x24 question with Yes/No).
constexpr uint32_t kPlatformBoxOk = 0x00;
constexpr uint32_t kPlatformBoxYesNo = 0x04;
constexpr uint32_t kPlatformBoxIconQuestion = 0x20;
constexpr uint32_t kPlatformBoxIconInformation = 0x40;
constexpr int32_t kPlatformAnswerOk = 1;
constexpr int32_t kPlatformAnswerYes = 6;
constexpr int32_t kPlatformAnswerNo = 7;

// Shows a modal box and returns the button chosen. In a window session this is a real box;
// headless, the box is written to standard error and answered with its default button (the
// first: OK or Yes), except that a Yes/No box is answered No when the command line has
// "-answerno". Every box is recorded, in both modes.
int32_t PlatformMessageBox(const std::string& text, const std::string& caption, uint32_t flags);

struct platformMessageBoxRecord {
  std::string text;
  std::string caption;
  uint32_t flags;
  int32_t answer;
};
// The boxes shown since the last clear, oldest first.
const std::vector<platformMessageBoxRecord>& PlatformMessageBoxHistory();
void PlatformMessageBoxHistoryClear();

// Keeps the screen saver and display power saving from starting. The caller decides how often;
// every pulse is counted so tests can see when one was sent.
void PlatformKeepAwakePulse();
// Ends the hold of the last pulse once it is older than a pulse interval with some margin;
// the message pump calls it.
void PlatformKeepAwakeLapse();
// True while the screen saver is held off.
bool PlatformKeepAwakeHeld();
uint32_t PlatformKeepAwakePulseCount();
void PlatformKeepAwakePulseCountReset();

// A picture shown in a window that carries no OpenGL context (the launcher): width x height
// pixels, top row first, 0x00RRGGBB, drawn from the window's top-left corner. The window keeps
// it; PlatformWindowPaintPicture shows it again (after the window was covered). An empty
// picture forgets the window's picture.
void PlatformWindowSetPicture(platformWindow window, int32_t width, int32_t height,
                              const std::vector<uint32_t>& pixels);
void PlatformWindowPaintPicture(platformWindow window);
// The picture the window keeps; false when it has none.
bool PlatformWindowPicture(platformWindow window, int32_t& width, int32_t& height,
                           std::vector<uint32_t>& pixels);
