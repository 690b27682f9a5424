// The scripted player's plans: every step as the shipped plans write it, and the lines that
// must be refused rather than played as something else.
#include <gtest/gtest.h>

#include "botPlan.h"

namespace {

TEST(BotPlan, ReadsEveryStepWithCommentsAndBlankLines) {
  std::vector<botStep> steps;
  std::string problem;
  ASSERT_TRUE(
      BotPlanParse("# a plan\n\nright 26 down\nleft 3\r\n  bite 12  # the priest\nmeet 4\nfog\n"
                   "wait 0\nstay\n",
                   steps, problem))
      << problem;
  ASSERT_EQ(steps.size(), 7u);
  EXPECT_EQ(steps[0].verb, botVerb::right);
  EXPECT_EQ(steps[0].number, 26);
  EXPECT_TRUE(steps[0].down);
  EXPECT_EQ(steps[0].line, 3);
  EXPECT_EQ(steps[1].verb, botVerb::left);
  EXPECT_FALSE(steps[1].down);
  EXPECT_EQ(steps[2].verb, botVerb::bite);
  EXPECT_EQ(steps[2].number, 12);
  EXPECT_EQ(steps[3].verb, botVerb::meet);
  EXPECT_EQ(steps[4].verb, botVerb::fog);
  EXPECT_EQ(steps[5].verb, botVerb::wait);
  EXPECT_EQ(steps[6].verb, botVerb::stay);
  EXPECT_EQ(steps[6].line, 9);
}

TEST(BotPlan, RefusesWhatItCannotPlayAndNamesTheLine) {
  for (const char* bad : {"right", "right 26 up", "left -3", "bite 0", "bite 1 2", "fog now",
                          "wait 1000000000", "walk 3", "meet x", "stay 5"}) {
    std::vector<botStep> steps;
    std::string problem;
    EXPECT_FALSE(BotPlanParse(std::string("fog\n") + bad + "\n", steps, problem)) << bad;
    EXPECT_EQ(problem.rfind("line 2 ", 0), 0u) << problem;
  }
}

}  // namespace
