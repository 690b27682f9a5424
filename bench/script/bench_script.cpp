// Instructions per second of the interpreter on two loops: integer arithmetic with compares,
// and pushes and pops of a string, against the integer loop written in C++. Each step runs 100 000 instructions of the loop
// and yields; the figure times 2 gives the cost of a step that reaches the 200 000 limit.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/platform_system.h"
#include "script/fwkScript.h"
#include "services/fwkDataFile.h"
#include "services/fwkLog.h"
#include "services/fwkUtilities.h"
#include "services/fwkState.h"
#include "vmcAsm.h"

namespace {

constexpr int32_t kInstructionsPerStep = 100000;

// body runs 4 instructions per pass, including the loop's own add and compare.
int32_t Load(const std::string& setup, const std::string& body) {
  const std::string text = ".thread t\nt:\n" + setup + "\nouter:\n push 0\nloop:\n" + body +
                           "\n add 1, [1]\n jlt [1], " + std::to_string(kInstructionsPerStep / 4) +
                           ", loop\n pop\n yield\n jump outer\n";
  std::vector<uint8_t> bytes;
  std::vector<std::string> errors;
  if (!VmcAssemble(text, "bench.vasm", bytes, errors)) return 0;
  return ScriptOpenBytes("bench.vmc", bytes);
}

void Run(benchmark::State& state, const std::string& setup, const std::string& body) {
  PlatformSetArguments({"-userdatainapp"});
  LogInit();
  StateInit();
  ScriptInit();
  ScriptSetStepLimit(10 * kInstructionsPerStep);
  const int32_t id = Load(setup, body);
  if (id == 0) {
    state.SkipWithError("the benchmark script does not assemble");
    return;
  }
  for (auto _ : state) ScriptStep(id);
  state.SetItemsProcessed(state.iterations() * kInstructionsPerStep);
  ScriptFinal();
  StateFinal();
}

void BM_IntegerLoop(benchmark::State& state) { Run(state, "push 0", "add 3, [0]\n mul 5, [0]"); }
BENCHMARK(BM_IntegerLoop)->Unit(benchmark::kMillisecond);

void BM_StringLoop(benchmark::State& state) { Run(state, "push \"\"", "push \"word\"\n pop"); }
BENCHMARK(BM_StringLoop)->Unit(benchmark::kMillisecond);

// A step that copies 64 KiB strings until the limit ends the thread: the cost charged for long
// strings keeps it near the cost of a step of short instructions at the limit.
void BM_LongStringStepAtTheLimit(benchmark::State& state) {
  PlatformSetArguments({"-userdatainapp"});
  LogInit();
  StateInit();
  ScriptInit();
  const std::string text = ".thread t\nt:\n push \"" + std::string(65535, 'x') +
                           "\"\nloop:\n push [0]\n pop\n jump loop\n";
  std::vector<uint8_t> bytes;
  std::vector<std::string> errors;
  VmcAssemble(text, "long.vasm", bytes, errors);
  for (auto _ : state) {
    state.PauseTiming();
    const int32_t id = ScriptOpenBytes("long.vmc", bytes);
    state.ResumeTiming();
    ScriptStep(id);
    state.PauseTiming();
    ScriptClose(id);
    state.ResumeTiming();
  }
  ScriptFinal();
  StateFinal();
}
BENCHMARK(BM_LongStringStepAtTheLimit)->Unit(benchmark::kMillisecond);

// Steps of loops built to make one instruction do as much work as it can: each runs one step
// with the step limit given as the argument (the default 200 000 shows the worst step a script
// can cause; a lower one lets a build without the work charges finish a step, to be scaled).
void HostileStep(benchmark::State& state, const std::string& text) {
  PlatformSetArguments({"-userdatainapp"});
  LogInit();
  StateInit();
  ScriptInit();
  ScriptSetStepLimit(static_cast<int32_t>(state.range(0)));
  std::vector<uint8_t> bytes;
  std::vector<std::string> errors;
  if (!VmcAssemble(text, "hostile.vasm", bytes, errors)) {
    state.SkipWithError("the benchmark script does not assemble");
    return;
  }
  for (auto _ : state) {
    state.PauseTiming();
    const int32_t id = ScriptOpenBytes("hostile.vmc", bytes);
    state.ResumeTiming();
    ScriptStep(id);
    state.PauseTiming();
    ScriptClose(id);
    state.ResumeTiming();
  }
  ScriptFinal();
  StateFinal();
}

void BM_SearchStep(benchmark::State& state) {
  HostileStep(state, ".thread t\nt:\n push false\n push \"" + std::string(32768, 'a') +
                         "\"\n push \"" + std::string(16382, 'a') +
                         "b\"\nagain:\n builtin 38\n jump again\n");
}
BENCHMARK(BM_SearchStep)->Arg(200000)->Arg(2000)->Unit(benchmark::kMillisecond);

void BM_LowerCaseStep(benchmark::State& state) {
  HostileStep(state, ".thread t\nt:\n push \"\"\n push \"" + std::string(65535, 'A') +
                         "\"\nagain:\n builtin 42\n jump again\n");
}
BENCHMARK(BM_LowerCaseStep)->Arg(200000)->Arg(2000)->Unit(benchmark::kMillisecond);

void BM_LabelTextStep(benchmark::State& state) {
  HostileStep(state, ".object l, label\n.end\n.thread t\nt:\n push \"" + std::string(65535, 'w') +
                         "\"\nagain:\n set l, 3, [0]\n jump again\n");
}
BENCHMARK(BM_LabelTextStep)->Arg(200000)->Arg(2000)->Unit(benchmark::kMillisecond);

void BM_LayerStep(benchmark::State& state) {
  std::string objects;
  for (int32_t i = 0; i < 4000; ++i) objects += ".object o" + std::to_string(i) + ", box\n.end\n";
  HostileStep(
      state,
      objects + ".thread t\nt:\n push 0\nagain:\n set o1, layer, [0]\n add 1, [0]\n jump again\n");
}
BENCHMARK(BM_LayerStep)->Arg(200000)->Arg(2000)->Unit(benchmark::kMillisecond);

// A 4096 x 4096 mat (the largest) set on a Mat object again and again: beside the program, in
// Bin\Mats, while the benchmark runs.
void BM_MatSetStep(benchmark::State& state) {
  PlatformSetArguments({"-userdatainapp"});
  const std::string folder = UtilAppFolder() + "Bin/Mats/";
  std::filesystem::create_directories(folder);
  std::string mat = std::string("MAT\x01\x00", 5);
  for (uint32_t value : {4096u, 4096u})
    for (int shift = 0; shift < 32; shift += 8) mat += static_cast<char>((value >> shift) & 0xFFu);
  mat += std::string("\x01\x00\x00\x00\xFF\x01", 6) + "a";
  for (int32_t run = 0; run < 257; ++run) mat += std::string("\xFF\xFF\x00", 3);
  std::ofstream(folder + "bench-big.mat", std::ios::binary) << mat;
  DataFileInit();
  HostileStep(
      state,
      ".object m, mat\n.end\n.thread t\nt:\n set m, 3, \"Bin\\\\Mats\\\\bench-big.mat\"\n jump t\n");
  std::filesystem::remove(folder + "bench-big.mat");
}
BENCHMARK(BM_MatSetStep)->Arg(200000)->Arg(20)->Unit(benchmark::kMillisecond);

// The baseline: the integer loop's work in C++, through memory as the interpreter's slots are.
void BM_NativeIntegerLoop(benchmark::State& state) {
  for (auto _ : state) {
    volatile int32_t value = 0;
    for (volatile int32_t i = 0; i < kInstructionsPerStep / 4; i = i + 1) {
      value = static_cast<int32_t>(static_cast<uint32_t>(value) + 3u);
      value = static_cast<int32_t>(static_cast<uint32_t>(value) * 5u);
    }
    benchmark::DoNotOptimize(value);
  }
  state.SetItemsProcessed(state.iterations() * kInstructionsPerStep);
}
BENCHMARK(BM_NativeIntegerLoop)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
