// Control sets and actions: posting, values, queues, bindings and the built-in set.
#include "input_fixture.h"

namespace {

class ControlSets : public InputTest {};

TEST_F(ControlSets, NamesAreUniqueWithoutRegardToCase) {
  const int32_t game = InputControlSetNew("Game", true);
  EXPECT_GT(game, 0);
  EXPECT_EQ(InputControlSetNew("game", true), 0);
  EXPECT_EQ(InputControlSetNew("MENU CONTROLS", false), 0);
  EXPECT_EQ(InputControlSetFind("gAmE"), game);
  EXPECT_TRUE(InputControlSetExists("GAME"));
  EXPECT_EQ(InputControlSetFind("Nothing"), -1);
  EXPECT_FALSE(InputControlSetExists("Nothing"));
  // Ids keep counting: the built-in set took 1.
  EXPECT_EQ(InputControlSetFind("Menu Controls"), 1);
  EXPECT_EQ(game, 2);
  EXPECT_EQ(InputControlSetNew("Other", false), 3);
}

TEST_F(ControlSets, ActivationNeedsAnExistingSet) {
  EXPECT_EQ(InputControlSetActive(), -1);
  InputControlSetActivate(99);
  EXPECT_EQ(InputControlSetActive(), -1);
  const int32_t game = InputControlSetNew("Game", true);
  InputControlSetActivate(game);
  EXPECT_EQ(InputControlSetActive(), game);
  InputControlSetActivate(0);
  EXPECT_EQ(InputControlSetActive(), game);
}

TEST_F(ControlSets, LevelControlsReplaceAndMovementControlsAccumulate) {
  const int32_t set = InputControlSetNew("Game", false);
  InputControlPost(set, 11, 100);
  InputControlPost(set, 11, 40);
  EXPECT_EQ(InputControlValue(set, 11), 40);
  for (ControlCode code = 119; code <= 126; ++code) {
    InputControlPost(set, code, 300);
    InputControlPost(set, code, 200);
    EXPECT_EQ(InputControlValue(set, code), 500) << code;
  }
  InputControlPost(set, 118, 300);
  InputControlPost(set, 118, 200);
  EXPECT_EQ(InputControlValue(set, 118), 200);
  // Accumulated values stop at the largest 32-bit value instead of wrapping negative.
  InputControlPost(set, 125, INT32_MAX);
  EXPECT_EQ(InputControlValue(set, 125), INT32_MAX);
}

TEST_F(ControlSets, CodesBelowOneAndUnknownSetsChangeNothing) {
  const int32_t set = InputControlSetNew("Game", false);
  InputControlPost(set, 0, 100);
  InputControlPost(set, -3, 100);
  InputControlPost(77, 11, 100);
  EXPECT_TRUE(TakeControls(set).empty());
  EXPECT_EQ(InputControlValue(77, 11), 0);
  EXPECT_EQ(InputControlValue(set, 0), 0);
  EXPECT_EQ(InputControlValue(set, 5000), 0);
  inputBuffer buffer;
  buffer.events.push_back({1, 2, 3});
  InputControlEventsTake(77, buffer);
  EXPECT_TRUE(buffer.events.empty());
}

TEST_F(ControlSets, ValuesGrowForJoystickCodesButNotWithoutLimit) {
  const int32_t set = InputControlSetNew("Game", false);
  InputControlPost(set, 300, 100);
  EXPECT_EQ(InputControlValue(set, 300), 100);
  EXPECT_EQ(InputControlValue(set, 299), 0);
  InputControlPost(set, INT32_MAX, 100);
  EXPECT_EQ(InputControlValue(set, INT32_MAX), 0);
  EXPECT_EQ(TakeControls(set), (std::vector<std::pair<int32_t, int32_t>>{{300, 100}}));
}

TEST_F(ControlSets, TheThousandAndFirstControlEventDropsTheOldest) {
  const int32_t set = InputControlSetNew("Game", false);
  for (int32_t i = 0; i < 1001; ++i) InputControlPost(set, 11, i);
  inputBuffer buffer;
  InputControlEventsTake(set, buffer);
  ASSERT_EQ(buffer.events.size(), 1000u);
  EXPECT_EQ(buffer.events.front().value, 1);
  EXPECT_EQ(buffer.events.back().value, 1000);
  EXPECT_EQ(buffer.events.back().handled, 0);
  InputControlEventsTake(set, buffer);
  EXPECT_TRUE(buffer.events.empty());
}

TEST_F(ControlSets, AxesAreMovementWheelsHatsAndJoystickAxes) {
  for (ControlCode code = 1; code <= 118; ++code) EXPECT_FALSE(InputControlIsAxis(code)) << code;
  for (ControlCode code = 119; code <= 126; ++code) EXPECT_TRUE(InputControlIsAxis(code)) << code;
  EXPECT_FALSE(InputControlIsAxis(127));       // joystick 1, button 1
  EXPECT_FALSE(InputControlIsAxis(126 + 32));  // button 32
  EXPECT_TRUE(InputControlIsAxis(126 + 33));   // hat
  EXPECT_TRUE(InputControlIsAxis(126 + 45));   // Z-axis Up
  EXPECT_FALSE(InputControlIsAxis(126 + 46));  // joystick 2, button 1
  EXPECT_TRUE(InputControlIsAxis(126 + 90));
  EXPECT_FALSE(InputControlIsAxis(0));
}

TEST_F(ControlSets, DirectionalControlsFollowTheMouseMetrics) {
  const std::vector<ControlCode> all = {120, 121, 126, 119, 125, 124, 122, 123};
  for (size_t n = 0; n < all.size(); ++n)
    EXPECT_EQ(InputAxisControl(static_cast<int32_t>(n)), all[n]);
  EXPECT_EQ(InputAxisControl(8), 0);
  EXPECT_EQ(InputAxisControl(-1), 0);
  PlatformSetMouseMetrics(false, false, true);
  EXPECT_EQ(InputAxisControl(4), 122);
  PlatformSetMouseMetrics(false, false, false);
  EXPECT_EQ(InputAxisControl(3), 119);
  EXPECT_EQ(InputAxisControl(4), 0);
}

class Actions : public InputTest {};

TEST_F(Actions, ActionsHaveIdsFromOneCounterAndUniqueNamesPerSet) {
  const int32_t game = InputControlSetNew("Game", true);
  const int32_t other = InputControlSetNew("Other", true);
  const int32_t bite = InputActionNew(game, "Bite");
  EXPECT_EQ(bite, InputMenuActions().selectItemSecondary + 1);
  EXPECT_EQ(InputActionNew(game, "BITE"), 0);
  EXPECT_EQ(InputActionNew(99, "Bite"), 0);
  const int32_t otherBite = InputActionNew(other, "Bite");
  EXPECT_EQ(otherBite, bite + 1);
  EXPECT_EQ(InputActionFind(game, "bite"), bite);
  EXPECT_EQ(InputActionFind(game, "Power"), 0);
  EXPECT_EQ(InputActionFind(99, "Bite"), 0);
  EXPECT_EQ(InputActionCount(game), 1);
  EXPECT_EQ(InputActionCount(99), 0);
  EXPECT_EQ(InputActionByIndex(game, 0), bite);
  EXPECT_EQ(InputActionByIndex(game, 1), -1);
  EXPECT_EQ(InputActionByIndex(game, -1), -1);
  EXPECT_EQ(InputActionByIndex(99, 0), -1);
  EXPECT_EQ(InputActionName(otherBite), "Bite");
  EXPECT_EQ(InputActionName(9999), "");
}

TEST_F(Actions, ACodeMovesToTheActionItIsBoundToLast) {
  const int32_t game = InputControlSetNew("Game", true);
  const int32_t bite = InputActionNew(game, "Bite");
  const int32_t power = InputActionNew(game, "Power");
  InputActionBind(bite, 98, 100);  // S
  InputActionBind(bite, 32, 100);  // E
  InputActionBind(bite, 11, 100);  // A
  InputActionBind(power, 32, 70);
  EXPECT_EQ(InputActionOfControl(game, 32), power);
  EXPECT_EQ(InputActionBinding(bite, 0), 98);
  EXPECT_EQ(InputActionBinding(bite, 1), 11);
  EXPECT_EQ(InputActionBinding(bite, 2), 0);
  EXPECT_EQ(InputActionBinding(power, 0), 32);
  EXPECT_EQ(InputActionBinding(power, -1), 0);
  EXPECT_EQ(InputActionOfControl(game, 113), -1);
  EXPECT_EQ(InputActionOfControl(99, 32), -1);
  // Another set binds the same code on its own.
  const int32_t other = InputControlSetNew("Other", false);
  const int32_t use = InputActionNew(other, "Use");
  InputActionBind(use, 32, 100);
  EXPECT_EQ(InputActionOfControl(game, 32), power);
  EXPECT_EQ(InputActionOfControl(other, 32), use);
}

TEST_F(Actions, BindingAgainKeepsTheFirstScale) {
  const int32_t game = InputControlSetNew("Game", true);
  const int32_t bite = InputActionNew(game, "Bite");
  InputActionBind(bite, 32, 50);
  InputActionBind(bite, 32, 100);
  InputActionBind(9999, 32, 100);
  InputControlSetActivate(game);
  InputControlPost(game, 32, 100);
  InputControlPost(game, 32, 0);
  EXPECT_EQ(TakeActions(game), (std::vector<std::pair<int32_t, int32_t>>{{bite, 50}, {bite, 0}}));
}

TEST_F(Actions, EventsAreScaledAndTruncatedTowardZero) {
  const int32_t game = InputControlSetNew("Game", true);
  const int32_t walk = InputActionNew(game, "Walk");
  InputActionBind(walk, 120, 33);
  InputControlPost(game, 120, 250);   // 82.5
  InputControlPost(game, 120, -250);  // -82.5
  InputControlPost(game, 120, INT32_MAX);
  EXPECT_EQ(TakeActions(game),
            (std::vector<std::pair<int32_t, int32_t>>{{walk, 82}, {walk, -82}, {walk, 708669603}}));
}

TEST_F(Actions, ValueIsTheLargestBoundControlAndNeverNegative) {
  const int32_t game = InputControlSetNew("Game", true);
  const int32_t walk = InputActionNew(game, "Walk");
  EXPECT_EQ(InputActionValue(walk), 0);
  InputActionBind(walk, 11, 50);
  InputActionBind(walk, 98, 50);
  InputControlPost(game, 11, 100);
  InputControlPost(game, 98, 60);
  EXPECT_EQ(InputActionValue(walk), 100);  // the scale is not applied
  InputControlPost(game, 11, 0);
  EXPECT_EQ(InputActionValue(walk), 60);
  InputControlPost(game, 98, -40);
  EXPECT_EQ(InputActionValue(walk), 0);
  InputActionUnbindAll(walk);
  EXPECT_EQ(InputActionBinding(walk, 0), 0);
  EXPECT_EQ(InputActionValue(9999), 0);
}

TEST_F(Actions, AWheelActionCountsNotches) {
  const int32_t game = InputControlSetNew("Game", true);
  const int32_t zoom = InputActionNew(game, "Zoom");
  InputActionBind(zoom, 125, 100);
  InputControlSetActivate(game);
  InputMessage(0, PLATFORM_WM_MOUSEWHEEL, PlatformMakeLong(0, 120), 0);
  InputMessage(0, PLATFORM_WM_MOUSEWHEEL, PlatformMakeLong(0, 240), 0);
  InputMessage(0, PLATFORM_WM_MOUSEWHEEL, PlatformMakeLong(0, 120), 0);
  EXPECT_EQ(InputActionValue(zoom), 300);
}

TEST_F(Actions, EventQueuesKeepHandledFlagsUntilCleared) {
  const int32_t game = InputControlSetNew("Game", true);
  const int32_t bite = InputActionNew(game, "Bite");
  InputActionBind(bite, 32, 100);
  InputControlPost(game, 32, 100);
  InputControlPost(game, 32, 0);
  InputActionEventMarkHandled(game, 1);
  InputActionEventMarkHandled(game, 2);
  InputActionEventMarkHandled(game, -1);
  InputActionEventMarkHandled(99, 0);
  inputBuffer buffer;
  InputActionEventsRead(game, buffer, false);
  ASSERT_EQ(buffer.events.size(), 2u);
  EXPECT_EQ(buffer.events[0].handled, 0);
  EXPECT_EQ(buffer.events[1].handled, 1);
  InputActionEventsRead(game, buffer, true);
  EXPECT_EQ(buffer.events.size(), 2u);
  InputActionEventsTake(game, buffer);
  EXPECT_TRUE(buffer.events.empty());
  InputActionEventsRead(99, buffer, false);
  EXPECT_TRUE(buffer.events.empty());
}

TEST_F(Actions, TheThousandAndFirstActionEventDropsTheOldest) {
  const int32_t game = InputControlSetNew("Game", true);
  const int32_t bite = InputActionNew(game, "Bite");
  InputActionBind(bite, 32, 100);
  for (int32_t i = 0; i < 1001; ++i) InputControlPost(game, 32, i);
  inputBuffer buffer;
  InputActionEventsTake(game, buffer);
  ASSERT_EQ(buffer.events.size(), 1000u);
  EXPECT_EQ(buffer.events.front().value, 1);
  EXPECT_EQ(buffer.events.back().value, 1000);
}

TEST_F(Actions, TheMenuSetWithoutJoysticks) {
  const int32_t menu = InputControlSetFind("Menu Controls");
  ASSERT_EQ(menu, 1);
  EXPECT_EQ(InputControlSetActive(), -1);
  const inputMenuActions& ids = InputMenuActions();
  EXPECT_EQ(InputActionCount(menu), 5);
  EXPECT_EQ(InputActionName(ids.scrollUp), "Scroll Up");
  EXPECT_EQ(InputActionName(ids.scrollDown), "Scroll Down");
  EXPECT_EQ(InputActionName(ids.exit), "Exit");
  EXPECT_EQ(InputActionName(ids.selectItem), "Select Item");
  EXPECT_EQ(InputActionName(ids.selectItemSecondary), "Select Item Secondary");
  for (int32_t i = 0; i < 5; ++i) EXPECT_EQ(InputActionByIndex(menu, i), ids.scrollUp + i);
  auto bindings = [](int32_t action) {
    std::vector<ControlCode> codes;
    for (int32_t k = 0; InputActionBinding(action, k) != 0; ++k)
      codes.push_back(InputActionBinding(action, k));
    return codes;
  };
  EXPECT_EQ(bindings(ids.scrollUp), (std::vector<ControlCode>{125, 92}));
  EXPECT_EQ(bindings(ids.scrollDown), (std::vector<ControlCode>{124, 91}));
  EXPECT_EQ(bindings(ids.exit), (std::vector<ControlCode>{36}));
  EXPECT_EQ(bindings(ids.selectItem), (std::vector<ControlCode>{114, 34}));
  EXPECT_EQ(bindings(ids.selectItemSecondary), (std::vector<ControlCode>{116}));
}

}  // namespace
