// Arbitrary bytes as a replay file. Whatever parses must format back to text that parses to
// the same events.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "shell/ReplayFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<replayEvent> events;
  int32_t line = 0;
  std::string problem;
  if (!ReplayParse(text, events, line, problem)) {
    if (line < 1 || problem.empty()) std::abort();
    return 0;
  }
  std::string again;
  for (const replayEvent& event : events) again += ReplayFormat(event) + "\n";
  std::vector<replayEvent> reread;
  if (!ReplayParse(again, reread, line, problem) || reread != events) std::abort();
  return 0;
}
