// The game's sounds, each made from code: a content path and the samples at kSynthRate.
#pragma once

#include <string>
#include <vector>

#include "synth.h"

struct gameSoundRecipe {
  const char* path;  // content path in the archive
  soundBuffer (*make)();
  float quality;  // Vorbis quality
};

const std::vector<gameSoundRecipe>& GameSoundRecipes();
