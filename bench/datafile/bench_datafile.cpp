// Reading a 64 MiB file through data-file handles (disk, archive entry, memory) against
// plain fread of the same file, and reading lines of a 1 MB text. The files stay in the page
// cache, so the figures compare the reading code, not the disk.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/platform_system.h"
#include "services/fwkDataFile.h"
#include "services/fwkUtilities.h"

namespace fs = std::filesystem;

namespace {

constexpr int32_t bigSize = 64 << 20;

std::string Le(uint32_t value, int bytes) {
  std::string out;
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  return out;
}

struct benchFolder {
  fs::path folder;
  bool memoryLoaded = false;

  benchFolder() {
    folder = fs::temp_directory_path() / ("sanguor-bench-datafile-" + std::to_string(getpid()));
    fs::create_directories(folder);
    std::string big(static_cast<size_t>(bigSize), '\0');
    uint32_t state = 1;
    for (char& c : big) c = static_cast<char>((state = state * 1664525u + 1013904223u) >> 24);
    std::ofstream(folder / "big.bin", std::ios::binary).write(big.data(), bigSize);

    const std::string name = "Archive\\big.bin";
    std::string head = "QZARC" + Le(1, 2) + Le(1, 4) + '\x0A' +
                       Le(static_cast<uint32_t>(11 + 11 + name.size()), 4) + Le(bigSize, 4) +
                       Le(static_cast<uint32_t>(name.size()), 2) + name;
    std::ofstream archive(folder / "data.qza", std::ios::binary);
    archive.write(head.data(), static_cast<std::streamsize>(head.size()));
    archive.write(big.data(), bigSize);
    archive.close();

    std::string text;
    for (int i = 0; text.size() < 1000000; ++i) {
      text += "line " + std::to_string(i) + std::string(static_cast<size_t>(i % 70), 'x') + "\r\n";
    }
    std::ofstream(folder / "text.txt", std::ios::binary) << text;

    PlatformSetArguments({"-userdatainapp"});
    PlatformSetExecutablePath((folder / "bench").string());
    UtilInit();
    DataFileInit();
    // Memory files match their exact name and disk files any case: "BIG.BIN" is the copy
    // held in memory, "big.bin" the file on disk.
    memoryLoaded = DataFileMemoryLoad("BIG.BIN");
  }
  ~benchFolder() {
    DataFileCloseAll();
    fs::remove_all(folder);
  }
};

benchFolder& Folder() {
  static benchFolder folder;
  return folder;
}

void BM_Fread(benchmark::State& state) {
  const std::string path = (Folder().folder / "big.bin").string();
  std::vector<char> block(static_cast<size_t>(state.range(0)));
  for (auto _ : state) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    while (std::fread(block.data(), 1, block.size(), file) == block.size()) {
    }
    std::fclose(file);
  }
  state.SetBytesProcessed(state.iterations() * int64_t{bigSize});
}

void ReadThrough(benchmark::State& state, const std::string& name) {
  Folder();
  std::vector<char> block(static_cast<size_t>(state.range(0)));
  const int32_t count = static_cast<int32_t>(block.size());
  for (auto _ : state) {
    const int32_t handle = DataFileOpen(name);
    if (handle == 0) {
      state.SkipWithError("cannot open");
      return;
    }
    while (DataFileReadPartial(handle, block.data(), count) == count) {
    }
    DataFileClose(handle);
  }
  state.SetBytesProcessed(state.iterations() * int64_t{bigSize});
}

void BM_DataFileDisk(benchmark::State& state) { ReadThrough(state, "big.bin"); }
void BM_DataFileArchive(benchmark::State& state) { ReadThrough(state, "Archive\\big.bin"); }

void BM_DataFileMemory(benchmark::State& state) {
  if (!Folder().memoryLoaded) {
    state.SkipWithError("cannot load");
    return;
  }
  ReadThrough(state, "BIG.BIN");
}

void BM_ReadLine(benchmark::State& state) {
  Folder();
  int64_t bytes = 0;
  for (auto _ : state) {
    const int32_t handle = DataFileOpen("text.txt");
    while (!DataFileEof(handle)) benchmark::DoNotOptimize(DataFileReadLine(handle));
    bytes += DataFileSize(handle);
    DataFileClose(handle);
  }
  state.SetBytesProcessed(bytes);
}

// Baseline for lines: the standard library's own buffered line reader over the same file.
void BM_Getline(benchmark::State& state) {
  const std::string path = (Folder().folder / "text.txt").string();
  int64_t bytes = 0;
  for (auto _ : state) {
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line, '\r')) benchmark::DoNotOptimize(line);
    bytes += static_cast<int64_t>(fs::file_size(path));
  }
  state.SetBytesProcessed(bytes);
}

}  // namespace

BENCHMARK(BM_Fread)->Arg(65536)->Arg(64)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DataFileDisk)->Arg(65536)->Arg(64)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DataFileArchive)->Arg(65536)->Arg(64)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DataFileMemory)->Arg(65536)->Arg(64)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Getline)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadLine)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
