// A scripted player's plan: one step a line, each kept until its goal is met.
//
//   right C [down]   hold D (and S) until the player stands in column C or further right
//   left C [down]    hold A (and S) until the player stands in column C or further left
//   bite N           walk to human N (counted from 1 in the level's order) and hold E until
//                    he is turned; a bite that is broken off is started again
//   meet N           stand in front of human N without biting, until the level ends (to be killed)
//   fog              let go of Q once (fog form on or off)
//   wait MS          stand still for MS milliseconds
//   stay             stand still until the level ends (to be killed, or to end a plan)
//
// '#' starts a comment; blank lines are skipped.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class botVerb { right, left, bite, meet, fog, wait, stay };

struct botStep {
  botVerb verb = botVerb::stay;
  int32_t number = 0;  // column, human or milliseconds
  bool down = false;
  int32_t line = 0;
};

// False with a message naming the line when a line is not a step.
bool BotPlanParse(const std::string& text, std::vector<botStep>& steps, std::string& problem);
