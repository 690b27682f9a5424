// The game's entry points as the shell calls them.
#pragma once

// Set-up; false stops the start.
bool GameInit();
// One pass; false ends the main loop.
bool GameRun();
// Tear-down after the loop.
void GameCleanup();
// In fullscreen: back to the desktop resolution, then minimise.
void GameMinimize();
