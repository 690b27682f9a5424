// The 32-bit millisecond tick counter. Real mode reads the monotonic clock; virtual mode
// (headless runs and tests) moves only when the program sleeps or finishes a loop pass, so
// a run is the same every time.
#include "platform/platform_system.h"

#include <chrono>
#include <thread>

namespace {

constexpr uint32_t defaultTickPerPass = 17;

bool clockVirtual = false;
uint32_t virtualNow = 0;
uint32_t tickPerPass = defaultTickPerPass;

uint32_t RealTicks() {
  const auto since = std::chrono::steady_clock::now().time_since_epoch();
  // Truncation to 32 bits is the wrap the callers expect.
  return static_cast<uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

}  // namespace

uint32_t PlatformTickCount() { return clockVirtual ? virtualNow : RealTicks(); }

void PlatformSleep(uint32_t ms) {
  if (clockVirtual) {
    virtualNow += ms;
    return;
  }
  if (ms == 0) {
    std::this_thread::yield();
    return;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void PlatformRestFor(uint32_t ms) {
  if (clockVirtual || ms == 0) return;
  const uint32_t start = RealTicks();
  // A sleep may overshoot; it stops a millisecond short and the last one is given up in
  // slices, so the tick the caller waits for is met rather than passed.
  if (ms > 1) std::this_thread::sleep_for(std::chrono::milliseconds(ms - 1));
  while (RealTicks() - start < ms) std::this_thread::yield();
}

bool PlatformClockIsVirtual() { return clockVirtual; }

void PlatformClockSetVirtual(bool isVirtual, uint32_t start) {
  clockVirtual = isVirtual;
  virtualNow = start;
}

void PlatformClockAdvance(uint32_t ms) {
  if (clockVirtual) virtualNow += ms;
}

uint32_t PlatformTickPerPass() { return tickPerPass; }

void PlatformSetTickPerPass(uint32_t ms) { tickPerPass = ms; }

void PlatformLoopPass() {
  if (clockVirtual) virtualNow += tickPerPass;
}
