// Arbitrary bytes as a plan: a refusal names a line; an accepted plan's steps come from
// ascending lines and carry numbers the player can act on.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "botPlan.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<botStep> steps;
  std::string problem;
  if (!BotPlanParse(text, steps, problem)) {
    if (problem.rfind("line ", 0) != 0) std::abort();
    return 0;
  }
  int32_t line = 0;
  for (const botStep& step : steps) {
    if (step.line <= line || step.number < 0) std::abort();
    if (step.verb == botVerb::bite && step.number == 0) std::abort();
    line = step.line;
  }
  return 0;
}
