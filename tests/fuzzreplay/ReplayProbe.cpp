// A fuzz target for the corpus replay itself: it needs its initialiser to have run, carries a
// custom mutator as structure-aware targets do, and fails on an input that begins with "boom".
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

namespace {

bool initialised = false;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  initialised = true;
  return 0;
}

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize,
                                          unsigned int seed) {
  return LLVMFuzzerMutate(data, size, maxSize);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!initialised) std::abort();
  if (size >= 4 && std::memcmp(data, "boom", 4) == 0) std::abort();
  return 0;
}
