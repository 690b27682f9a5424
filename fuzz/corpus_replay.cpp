// Replays every committed input of one fuzz target once through its entry point, in the ordinary
// build without libFuzzer, so that the test suite (and its sanitizer run) covers the seed corpora
// and the regression files in seconds. Usage: TARGET FUZZ_FOLDER TARGET_NAME; the inputs are the
// files of FUZZ_FOLDER/*/corpus/TARGET_NAME/ and FUZZ_FOLDER/*/regressions/TARGET_NAME/.
#include <signal.h>
#if !defined(_WIN32)
#include <unistd.h>
#endif

#include <algorithm>
#include <csignal>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" __attribute__((weak)) void __sanitizer_set_death_callback(void (*callback)());

// A custom mutator calls libFuzzer's own mutator, which this build does not link; a replay never
// mutates, so nothing calls this definition.
extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize) { return size; }

namespace {

namespace fs = std::filesystem;

// Seconds one input may take; far above what any input needs, so only a hang reaches it.
constexpr unsigned kSecondsPerInput = 60;

// The input being replayed, kept where a signal handler can write it without allocating.
char current[4096] = "";

void WriteError(const char* text) {
  const ssize_t ignored = write(STDERR_FILENO, text, std::strlen(text));
  (void)ignored;
}

// A sanitizer's death callback and the abort that follows it both report; once is enough.
volatile sig_atomic_t reported = 0;

void ReportCurrent() {
  if (reported) return;
  reported = 1;
  WriteError("\nfuzz replay failed on input: ");
  WriteError(current);
  WriteError("\n");
}

#if defined(_WIN32)
// Windows has neither SIGALRM nor sigaction: a hang is left to the test runner's time limit.
void OnSignal(int signal) {
  ReportCurrent();
  ::signal(signal, SIG_DFL);
  raise(signal);
}

void CatchSignals() {
  for (int signal : {SIGSEGV, SIGILL, SIGFPE, SIGABRT}) ::signal(signal, OnSignal);
}

void StartInputTimer() {}
void StopInputTimer() {}
#else
void OnSignal(int signal) {
  if (signal == SIGALRM) WriteError("\nfuzz replay: the input ran out of time");
  ReportCurrent();
  ::signal(signal == SIGALRM ? SIGABRT : signal, SIG_DFL);
  raise(signal == SIGALRM ? SIGABRT : signal);
}

// Only where no sanitizer handles the signal already; a sanitizer reports through its death
// callback instead.
void CatchSignals() {
  for (int signal : {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT, SIGALRM}) {
    struct sigaction previous {};
    sigaction(signal, nullptr, &previous);
    if (previous.sa_handler != SIG_DFL) continue;
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
  }
  if (__sanitizer_set_death_callback != nullptr) __sanitizer_set_death_callback(ReportCurrent);
}

void StartInputTimer() { alarm(kSecondsPerInput); }
void StopInputTimer() { alarm(0); }
#endif

std::vector<fs::path> FilesOf(const fs::path& folder) {
  std::vector<fs::path> files;
  std::error_code error;
  if (!fs::is_directory(folder, error)) return files;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder))
    if (entry.is_regular_file()) files.push_back(entry.path());
  return files;
}

std::vector<fs::path> Inputs(const fs::path& fuzzFolder, const std::string& target) {
  std::vector<fs::path> inputs;
  for (const fs::directory_entry& module : fs::directory_iterator(fuzzFolder)) {
    if (!module.is_directory()) continue;
    for (const char* kind : {"corpus", "regressions"}) {
      const std::vector<fs::path> files = FilesOf(module.path() / kind / target);
      inputs.insert(inputs.end(), files.begin(), files.end());
    }
  }
  std::sort(inputs.begin(), inputs.end());
  return inputs;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s FUZZ_FOLDER TARGET_NAME\n", argv[0]);
    return 2;
  }
  const std::vector<fs::path> inputs = Inputs(argv[1], argv[2]);
  if (inputs.empty()) {
    std::fprintf(stderr, "no corpus or regression files for %s under %s\n", argv[2], argv[1]);
    return 1;
  }
  CatchSignals();
  if (LLVMFuzzerInitialize != nullptr) LLVMFuzzerInitialize(&argc, &argv);
  for (const fs::path& input : inputs) {
    const std::string name = input.string();
    std::snprintf(current, sizeof current, "%s", name.c_str());
    std::ifstream file(input, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(file)),
                                  std::istreambuf_iterator<char>());
    // A block of exactly the input's size, so a read past its end is a read out of bounds.
    const std::unique_ptr<uint8_t[]> data(new uint8_t[bytes.size() + (bytes.empty() ? 1 : 0)]);
    std::copy(bytes.begin(), bytes.end(), data.get());
    StartInputTimer();
    LLVMFuzzerTestOneInput(data.get(), bytes.size());
    StopInputTimer();
  }
  std::printf("%s: %zu inputs replayed\n", argv[2], inputs.size());
  return 0;
}
