// Places the heap so that a library's thread-local block starts 16 bytes into a page, keeps a
// heap block reachable only through it, and exits; with "leak" it also loses 77 bytes.
#include <dlfcn.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The size glibc asks malloc for when the library's block is first used.
constexpr size_t blockSize = sizeof(void* [3]);
constexpr uintptr_t pageSize = 4096;

// The heap blocks used to move the allocator along; a plain array, so they stay reachable
// after static destructors have run, when the leak checker looks.
void* spacers[1 << 16];

// Takes blocks of the library block's size until the next one starts 16 bytes into a page.
void PlaceNextBlock() {
  spacers[0] = malloc(blockSize);
  spacers[1] = malloc(blockSize);
  const intptr_t stride = static_cast<char*>(spacers[1]) - static_cast<char*>(spacers[0]);
  size_t count = 2;
  while ((reinterpret_cast<uintptr_t>(spacers[count - 1]) + stride) % pageSize != 16 &&
         count < sizeof(spacers) / sizeof(spacers[0])) {
    spacers[count++] = malloc(blockSize);
  }
}

// Out of line, so the only copy of the pointer left is the one in the thread-local block.
__attribute__((noinline)) void** FillSlots(void** (*slots)()) {
  void** block = slots();
  block[0] = malloc(100);
  return block;
}

// Overwrites the stack the calls above used.
__attribute__((noinline)) void ScrubStack() {
  volatile char junk[1 << 16];
  for (size_t at = 0; at < sizeof(junk); ++at) junk[at] = 0;
}

}  // namespace

int main(int argc, char** argv) {
  const char* options = getenv("ASAN_OPTIONS");
  if (options == nullptr || strstr(options, "intercept_tls_get_addr=0") == nullptr) {
    fprintf(stderr, "ASAN_OPTIONS lacks intercept_tls_get_addr=0 (make test-asan sets it)\n");
  }
  PlaceNextBlock();
  void* library = dlopen(THREAD_LOCAL_LIBRARY, RTLD_NOW);
  if (library == nullptr) {
    fprintf(stderr, "%s\n", dlerror());
    return 2;
  }
  auto slots = reinterpret_cast<void** (*)()>(dlsym(library, "ThreadLocalSlots"));
  void** block = FillSlots(slots);
  if (reinterpret_cast<uintptr_t>(block) % pageSize != 16) {
    fprintf(stderr, "The thread-local block landed at %p, not 16 bytes into a page\n",
            static_cast<void*>(block));
    return 3;
  }
  ScrubStack();
  if (argc > 1 && strcmp(argv[1], "leak") == 0) {
    void* lost = malloc(77);
    fprintf(stderr, "lost %p\n", lost);
  }
  return 0;
}
