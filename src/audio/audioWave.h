// PCM WAV files: the RIFF "WAVE" container with a "fmt " chunk of format 1 (8- or 16-bit, mono or
// stereo) and a "data" chunk. Other chunks are skipped.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct audioWave {
  int32_t channels = 0;
  int32_t bitsPerSample = 0;
  int32_t rate = 0;
  std::vector<uint8_t> samples;  // whole sample frames
};

// The largest sample data a sound may hold in memory.
constexpr uint32_t kAudioWaveMaxBytes = 64u << 20;

// Reads the data file from its position after the first four bytes ("RIFF"). False for anything
// it cannot play; a chunk never claims more memory than the file has bytes left.
bool AudioWaveRead(int32_t file, audioWave& wave);
