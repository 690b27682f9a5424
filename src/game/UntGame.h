// The game: a side-view tile game in which the player, a vampire, bites the humans of a level,
// turns them and must meet the level's objective before their attacks kill him. The shell
// calls the entry points of shell/GameEntry.h; this header adds the rest of the module's
// public surface.
#pragma once

#include <cstdint>

#include "shell/GameEntry.h"

// Switches the displays between fullscreen and windowed, rebuilding their contexts and assets.
void GameSetFullscreen(bool on);

// Every random choice of the game comes from one generator. GameInit seeds it from the clock
// unless a seed was chosen here; the choice holds for every later GameInit of the run.
void GameSeed(uint32_t seed);
