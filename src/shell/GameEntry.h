// The game's entry points as the shell calls them.
#pragma once

#include <cstdint>

// Set-up; false stops the start.
bool GameInit();
// One pass; false ends the main loop.
bool GameRun();
// Tear-down after the loop.
void GameCleanup();
// In fullscreen: back to the desktop resolution, then minimise.
void GameMinimize();
// The player pressed the fullscreen key (Alt+Enter or F11): the next pass switches between
// the window and fullscreen.
void GameFullscreenKey();
// Seeds the game's random numbers in place of the clock (the "-seed" switch).
void GameSeed(uint32_t seed);
// The level number the game starts at in place of the first (the "-level" switch).
void GameStartLevel(int32_t level);
