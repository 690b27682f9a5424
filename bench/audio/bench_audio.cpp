// Ogg Vorbis streaming on OpenAL Soft's null output: filling a 64 KiB stream buffer through the
// module (the decoder's callbacks over a data file, then alBufferData) against the library
// decoding the same bytes from memory, and the cost AudioUpdate adds to a main-loop pass.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "audio/apiOggVorbis.h"
#include "audio/audioInternal.h"
#include "audio/fwkAudio.h"
#include "oggEncode.h"
#include "platform/platform_system.h"
#include "services/fwkDataFile.h"
#include "services/fwkIni.h"
#include "services/fwkLog.h"
#include "services/fwkUtilities.h"

namespace {

constexpr int kBufferBytes = 65536;
std::vector<uint8_t> music;  // 20 s of a chord at 44.1 kHz stereo, quality 0.3

struct memorySource {
  const std::vector<uint8_t>* bytes;
  size_t at;
};

size_t MemoryRead(void* destination, size_t size, size_t count, void* source) {
  auto* memory = static_cast<memorySource*>(source);
  const size_t wanted = std::min(size * count, memory->bytes->size() - memory->at);
  std::memcpy(destination, memory->bytes->data() + memory->at, wanted);
  memory->at += wanted;
  return wanted / size;
}

int MemorySeek(void* source, ogg_int64_t offset, int origin) {
  auto* memory = static_cast<memorySource*>(source);
  const int64_t base = origin == 0   ? 0
                       : origin == 1 ? static_cast<int64_t>(memory->at)
                                     : static_cast<int64_t>(memory->bytes->size());
  const int64_t target = base + offset;
  if (target < 0 || target > static_cast<int64_t>(memory->bytes->size())) return -1;
  memory->at = static_cast<size_t>(target);
  return 0;
}

long MemoryTell(void* source) { return static_cast<long>(static_cast<memorySource*>(source)->at); }

// Baseline: the library decoding 64 KiB from memory with callbacks that do nothing else.
void BM_DecodeFromMemory(benchmark::State& state) {
  memorySource source{&music, 0};
  OggVorbis_File file;
  ov.ov_open_callbacks(&source, &file, nullptr, 0,
                       ov_callbacks{MemoryRead, MemorySeek, nullptr, MemoryTell});
  std::vector<char> buffer(kBufferBytes);
  for (auto _ : state) {
    int filled = 0;
    while (filled < kBufferBytes) {
      int link = 0;
      const long got =
          ov.ov_read(&file, buffer.data() + filled, kBufferBytes - filled, 0, 2, 1, &link);
      if (got <= 0) {
        ov.ov_raw_seek(&file, 0);
        continue;
      }
      filled += static_cast<int>(got);
    }
    benchmark::DoNotOptimize(buffer.data());
  }
  ov.ov_clear(&file);
  state.SetBytesProcessed(state.iterations() * kBufferBytes);
}
BENCHMARK(BM_DecodeFromMemory);

// The module: one stream buffer filled through the data file and handed to OpenAL.
void BM_StreamFill(benchmark::State& state) {
  const int32_t id = AudioSoundOpen("music.ogg", kAudioKindMusic, 1.0);
  soundData& sound = Audio().sounds[static_cast<size_t>(AudioSoundFind(id))];
  for (auto _ : state) {
    if (!AudioStreamFill(sound, sound.buffers[0], true)) state.SkipWithError("no bytes");
  }
  int32_t closing = id;
  AudioClose(closing);
  state.SetBytesProcessed(state.iterations() * kBufferBytes);
}
BENCHMARK(BM_StreamFill);

// A main-loop pass's AudioUpdate with ten streams playing and none of their buffers played out:
// what every pass pays for sound.
void BM_UpdateTenStreams(benchmark::State& state) {
  std::vector<int32_t> ids;
  for (int i = 0; i < 10; ++i) {
    ids.push_back(AudioSoundOpen("music.ogg", kAudioKindSound, 1.0));
    AudioSoundPlay(ids.back(), true);
  }
  for (auto _ : state) AudioUpdate();
  for (int32_t id : ids) AudioClose(id);
}
BENCHMARK(BM_UpdateTenStreams);

}  // namespace

int main(int argc, char** argv) {
  setenv("ALSOFT_DRIVERS", "null", 0);
  const std::string folder =
      (std::filesystem::temp_directory_path() / "sanguor-bench-audio").string() + "/";
  std::filesystem::create_directories(folder);
  setenv("XDG_DATA_HOME", folder.c_str(), 1);
  PlatformSetArguments({"-userdatainapp"});
  PlatformSetExecutablePath(folder + "bench");
  std::vector<float> samples(static_cast<size_t>(20 * 44100 * 2));
  for (size_t i = 0; i < samples.size(); ++i) {
    const double t = static_cast<double>(i / 2) / 44100.0;
    samples[i] =
        static_cast<float>(0.2 * (std::sin(2 * M_PI * 146.8 * t) + std::sin(2 * M_PI * 174.6 * t) +
                                  std::sin(2 * M_PI * 220.0 * t)));
  }
  music = OggEncode(samples, 2, 44100, 0.3f, 1);
  std::ofstream(folder + "music.ogg", std::ios::binary)
      .write(reinterpret_cast<const char*>(music.data()),
             static_cast<std::streamsize>(music.size()));
  UtilInit();
  DataFileInit();
  LogInit();
  IniInit();
  AudioInit();
  if (!AudioOggAvailable()) return 1;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  AudioShutdown();
  return 0;
}
