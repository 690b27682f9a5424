// Instructions per second of the interpreter on two loops: integer arithmetic with compares,
// and pushes and pops of a string, against the integer loop written in C++. Each step runs 100 000 instructions of the loop
// and yields; the figure times 2 gives the cost of a step that reaches the 200 000 limit.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "platform/platform_system.h"
#include "script/fwkScript.h"
#include "services/fwkLog.h"
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

void BM_IntegerLoop(benchmark::State& state) {
    Run(state, "push 0", "add 3, [0]\n mul 5, [0]");
}
BENCHMARK(BM_IntegerLoop)->Unit(benchmark::kMillisecond);

void BM_StringLoop(benchmark::State& state) {
    Run(state, "push \"\"", "push \"word\"\n pop");
}
BENCHMARK(BM_StringLoop)->Unit(benchmark::kMillisecond);

// A step that copies 64 KiB strings until the limit ends the thread: the cost charged for long
// strings keeps it near the cost of a step of short instructions at the limit.
void BM_LongStringStepAtTheLimit(benchmark::State& state) {
    PlatformSetArguments({"-userdatainapp"});
    LogInit();
    StateInit();
    ScriptInit();
    const std::string text = ".thread t\nt:\n push \"" + std::string(65535, 'x') + "\"\nloop:\n push [0]\n pop\n jump loop\n";
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
