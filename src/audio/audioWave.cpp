#include "audio/audioWave.h"

#include "services/fwkDataFile.h"

namespace {

uint32_t Le32(const uint8_t* bytes) {
  return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

uint16_t Le16(const uint8_t* bytes) { return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8)); }

// Chunks that are neither "fmt " nor "data" are stepped over; a file of little else is not a
// sound, and the count keeps a hostile file from making the reader walk it byte by byte.
constexpr int32_t kChunksAllowed = 64;

}  // namespace

bool AudioWaveRead(int32_t file, audioWave& wave) {
  auto read = [file](void* destination, int32_t count) {
    return DataFileRead(file, destination, count);
  };
  auto left = [file]() {
    return static_cast<uint32_t>(DataFileSize(file) - DataFilePosition(file));
  };
  uint8_t header[8];
  if (!read(header, 8) || Le32(header + 4) != 0x45564157u) return false;  // "WAVE"
  bool haveFormat = false;
  for (int32_t chunk = 0; chunk < kChunksAllowed; ++chunk) {
    uint8_t chunkHeader[8];
    if (!read(chunkHeader, 8)) return false;
    const uint32_t kind = Le32(chunkHeader);
    const uint32_t size = Le32(chunkHeader + 4);
    if (kind == 0x20746D66u) {  // "fmt "
      if (size < 16 || size > 1024) return false;
      std::vector<uint8_t> format(size + (size & 1));
      if (!read(format.data(), static_cast<int32_t>(format.size()))) return false;
      wave.channels = Le16(format.data() + 2);
      wave.rate = static_cast<int32_t>(Le32(format.data() + 4) & 0x7FFFFFFFu);
      wave.bitsPerSample = Le16(format.data() + 14);
      if (Le16(format.data()) != 1 || (wave.channels != 1 && wave.channels != 2) ||
          (wave.bitsPerSample != 8 && wave.bitsPerSample != 16) || wave.rate < 1000 ||
          wave.rate > 192000)
        return false;
      haveFormat = true;
    } else if (kind == 0x61746164u) {  // "data"
      if (!haveFormat || size > kAudioWaveMaxBytes || size > left()) return false;
      const uint32_t frame = static_cast<uint32_t>(wave.channels * wave.bitsPerSample / 8);
      const uint32_t whole = size - size % frame;
      if (whole == 0) return false;
      wave.samples.resize(whole);
      return read(wave.samples.data(), static_cast<int32_t>(whole));
    } else {
      const uint32_t padded = size + (size & 1);
      if (size > left() || padded > left()) return false;
      if (!DataFileSeek(file, DataFilePosition(file) + static_cast<int32_t>(padded))) return false;
    }
  }
  return false;
}
