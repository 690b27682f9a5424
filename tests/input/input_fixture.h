// A fresh program start for input tests: the settings file and log in a folder of the test's
// own, a virtual clock, the headless platform and the input module started.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "input/fwkInput.h"

struct virtualJoystick {
  int axes;
  int buttons;
  int hats;
  uint16_t vendor;
  uint16_t product;
  const char* name;
};

class InputTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Attaches SDL virtual joysticks and starts the input module again so it lists them.
  void RestartWithJoysticks(const std::vector<virtualJoystick>& joysticks);
  std::string SettingsText() const;
  std::string LogText() const;

  std::string userData;
  std::string logFile;
};

SDL_Event KeyEvent(SDL_Scancode scancode, bool down, Uint16 mod = KMOD_NONE, bool repeat = false);
SDL_Event MotionEvent(Uint32 window, int x, int y);
SDL_Event ButtonEvent(Uint32 window, Uint8 button, bool down, int x, int y);
SDL_Event WheelEvent(Uint32 window, int x, int y);
// The control events taken from the set, as (code, value) pairs.
std::vector<std::pair<int32_t, int32_t>> TakeControls(int32_t set);
std::vector<std::pair<int32_t, int32_t>> TakeActions(int32_t set);
