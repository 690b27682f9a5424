// The exposure-sheet reader on arbitrary sheets, held and not held.
#include <cstdlib>

#include "GameFuzzFolder.h"
#include "game/UntGameTesting.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  GameFuzzWrite("Fuzz.exp", data, size);
  cycle c;
  const bool hold = size > 0 && (data[0] & 1) != 0;
  const bool loaded = AnimationOpen(c, "Fuzz.exp", hold);
  if (loaded != c.loaded || (loaded && c.frames.empty())) std::abort();
  // The same sheet again: a held one is reused, another is read afresh with the same result.
  if (AnimationOpen(c, "Fuzz.exp", hold) != loaded) std::abort();
  AnimationFree(c);
  return 0;
}
