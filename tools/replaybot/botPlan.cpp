#include "botPlan.h"

#include <sstream>

namespace {

bool Number(const std::string& word, int32_t& out) {
  if (word.empty() || word.size() > 9) return false;
  out = 0;
  for (char c : word) {
    if (c < '0' || c > '9') return false;
    out = out * 10 + (c - '0');
  }
  return true;
}

}  // namespace

bool BotPlanParse(const std::string& text, std::vector<botStep>& steps, std::string& problem) {
  steps.clear();
  std::istringstream lines(text);
  std::string line;
  int32_t number = 0;
  while (std::getline(lines, line)) {
    ++number;
    const size_t hash = line.find('#');
    if (hash != std::string::npos) line.erase(hash);
    std::istringstream words(line);
    std::vector<std::string> word;
    for (std::string w; words >> w;) word.push_back(w);
    if (word.empty()) continue;
    botStep step;
    step.line = number;
    const std::string& verb = word[0];
    bool good = true;
    if (verb == "right" || verb == "left") {
      step.verb = verb == "right" ? botVerb::right : botVerb::left;
      good = (word.size() == 2 || (word.size() == 3 && word[2] == "down")) &&
             Number(word[1], step.number);
      step.down = word.size() == 3;
    } else if (verb == "bite" || verb == "meet" || verb == "wait") {
      step.verb = verb == "bite" ? botVerb::bite : verb == "meet" ? botVerb::meet : botVerb::wait;
      good =
          word.size() == 2 && Number(word[1], step.number) && (verb == "wait" || step.number > 0);
    } else if (verb == "fog" || verb == "stay") {
      step.verb = verb == "fog" ? botVerb::fog : botVerb::stay;
      good = word.size() == 1;
    } else {
      good = false;
    }
    if (!good) {
      problem = "line " + std::to_string(number) + " is not a step: \"" + line + "\"";
      return false;
    }
    steps.push_back(step);
  }
  return true;
}
