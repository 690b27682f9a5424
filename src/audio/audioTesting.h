// Tests only: the library names the next AudioInit looks for in place of the system's, so that
// a missing OpenAL or Ogg Vorbis library can be had on a machine that has both.
#pragma once

#include <string>
#include <vector>

void AudioTestSetLibraries(const std::string& openal, const std::vector<std::string>& oggVorbis);
