// Process start-up and identity: arguments, executable path, the backend's own switches,
// version strings and the (absent) registry.
#include "platform/platform_system.h"

#include <SDL.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#endif

#include "platform/common/headless.h"
#include "platform/common/system/switches.h"

namespace {

// Start-up touches some 75 MB of fresh memory (the offscreen buffers, textures, pictures read
// and decoded), and a page fault for every 4 kB of it was the largest part of its time. The
// heap is given room for all of it at once, on 2 MB pages where the kernel offers them on
// request, and keeps it: blocks up to 32 MB come from there, and what is freed is reused
// rather than given back and faulted in again.
void HeapOnLargePages() {
#if defined(__GLIBC__)
  constexpr size_t kBlock = 30u << 20;
  constexpr size_t kBlocks = 4;
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
#if defined(MADV_HUGEPAGE)
  void* blocks[kBlocks] = {};
  for (void*& block : blocks) block = std::malloc(kBlock);
  constexpr uintptr_t kLarge = 2u << 20;
  const uintptr_t begin = (reinterpret_cast<uintptr_t>(blocks[0]) + kLarge - 1) & ~(kLarge - 1);
  const uintptr_t end = reinterpret_cast<uintptr_t>(sbrk(0)) & ~(kLarge - 1);
  // Only when the blocks did come from the heap's own end: never advise memory beyond them.
  if (blocks[0] != nullptr && end > begin && end - begin <= kBlocks * kBlock + kLarge)
    madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
  for (void* block : blocks) std::free(block);
#endif
#endif
}

}  // namespace

std::string PlatformSystemExecutablePath() {
  std::string buffer(4096, '\0');
  const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (length <= 0 || static_cast<size_t>(length) >= buffer.size()) return "";
  buffer.resize(static_cast<size_t>(length));
  return buffer;
}

void PlatformInit(int argc, char** argv) {
  HeapOnLargePages();
  PlatformSetExecutablePath(PlatformSystemExecutablePath());
  PlatformStoreCommandLine(argc, argv);
}

void PlatformShutdown() { SDL_Quit(); }

void PlatformSetHeadless(bool isHeadless) {
  HeadlessRecord(isHeadless);
  if (isHeadless) {
    // SDL reads the driver when its video part starts, which is always after this.
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    PlatformClockSetVirtual(true, 0);
  }
}

std::string PlatformVersionString(const std::string& name) {
  if (name == "CompanyName") return "Nightshade Forge";
  if (name == "ProductName") return "Sanguor";
  return "";
}

std::string PlatformRegistryRead(const std::string&, const std::string&) { return ""; }
