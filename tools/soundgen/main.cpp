// soundgen: makes every sound of the game from code and writes them as Ogg Vorbis files under
// the output folder (content paths with `\` become folders). The same program always gives the
// same bytes. With --wav, 16-bit PCM WAV files are written next to them for listening.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "oggEncode.h"
#include "sounds.h"

namespace {

std::string DiskPath(const std::string& folder, std::string path) {
  for (char& c : path)
    if (c == '\\') c = '/';
  return folder + "/" + path;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

std::vector<uint8_t> Wave(const soundBuffer& samples) {
  std::vector<uint8_t> bytes;
  auto u32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  auto u16 = [&](uint32_t v) {
    for (int i = 0; i < 2; ++i) bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  const uint32_t data = static_cast<uint32_t>(samples.size() * 2);
  bytes.insert(bytes.end(), {'R', 'I', 'F', 'F'});
  u32(36 + data);
  bytes.insert(bytes.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  u32(16);
  u16(1);
  u16(1);
  u32(kSynthRate);
  u32(kSynthRate * 2);
  u16(2);
  u16(16);
  bytes.insert(bytes.end(), {'d', 'a', 't', 'a'});
  u32(data);
  for (const float sample : samples) {
    const float clipped = sample > 1.0f ? 1.0f : sample < -1.0f ? -1.0f : sample;
    u16(static_cast<uint16_t>(static_cast<int16_t>(clipped * 32767.0f)));
  }
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  std::string folder;
  bool wav = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--wav") {
      wav = true;
    } else {
      folder = arg;
    }
  }
  if (folder.empty()) {
    std::cerr << "usage: soundgen [--wav] OUTPUT-FOLDER\n";
    return 2;
  }
  int32_t serial = 1;
  for (const gameSoundRecipe& recipe : GameSoundRecipes()) {
    const soundBuffer samples = recipe.make();
    const std::string path = DiskPath(folder, recipe.path);
    const std::vector<uint8_t> ogg = OggEncode(samples, 1, kSynthRate, recipe.quality, serial++);
    if (ogg.empty() || !WriteFile(path, ogg) ||
        (wav && !WriteFile(path.substr(0, path.size() - 4) + ".wav", Wave(samples)))) {
      std::cerr << "soundgen: cannot write " << path << "\n";
      return 1;
    }
  }
  return 0;
}
