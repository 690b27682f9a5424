#include "platform/platform_system.h"
#include "sandbox.h"
#include "services/fwkLog.h"
#include "services/fwkState.h"

#include <gtest/gtest.h>

namespace {

// What the handlers saw, in order: "enter 2 from 1", "update 1", "leave 1 for 2".
std::vector<std::string> events;
// Set by a test: what the update handler of state 1 does.
std::vector<int32_t> switchesInUpdate;
bool resetOnEnter = false;

void Enter(int32_t id, int32_t previous) {
  events.push_back("enter " + std::to_string(id) + " from " + std::to_string(previous));
  if (resetOnEnter) StateTimerReset();
}
void Enter1(int32_t previous) { Enter(1, previous); }
void Enter2(int32_t previous) { Enter(2, previous); }
void Enter3(int32_t previous) { Enter(3, previous); }
void Update1() {
  events.push_back("update 1 in " + std::to_string(StateGet()));
  for (int32_t id : switchesInUpdate) StateSet(id);
  events.push_back("update 1 done in " + std::to_string(StateGet()));
}
void Update2() { events.push_back("update 2"); }
void Leave1(int32_t next) { events.push_back("leave 1 for " + std::to_string(next)); }

class StateMachine : public testing::Test {
 protected:
  void SetUp() override {
    box = MakeSandbox();
    LogInit();
    StateInit();
    PlatformClockSetVirtual(true, 1000);
    events.clear();
    switchesInUpdate.clear();
    resetOnEnter = false;
    ASSERT_TRUE(StateSetEnterHandler(1, Enter1));
    ASSERT_TRUE(StateSetUpdateHandler(1, Update1));
    ASSERT_TRUE(StateSetLeaveHandler(1, Leave1));
    ASSERT_TRUE(StateSetEnterHandler(2, Enter2));
    ASSERT_TRUE(StateSetUpdateHandler(2, Update2));
    ASSERT_TRUE(StateSetEnterHandler(3, Enter3));
  }
  void TearDown() override { StateFinal(); }

  std::string LogText() { return ReadFile(LogFolder() + LogFileName()); }

  Sandbox box;
};

TEST_F(StateMachine, RegistrationRules) {
  EXPECT_FALSE(StateSetEnterHandler(1, Enter2));
  EXPECT_FALSE(StateSetUpdateHandler(0, Update2));
  EXPECT_FALSE(StateSetUpdateHandler(-3, Update2));
  EXPECT_FALSE(StateSetEnterMethod(1, {[](void*, int32_t) {}, nullptr}));
  EXPECT_TRUE(StateSetLeaveHandler(2, Leave1));
  EXPECT_FALSE(StateSetLeaveMethod(2, {[](void*, int32_t) {}, nullptr}));
  EXPECT_EQ(StateGet(), 0);
  EXPECT_FALSE(StateIsPaused());
}

TEST_F(StateMachine, SwitchRunsLeaveThenEnter) {
  StateSet(1);
  StateSet(2);
  StateSet(0);
  EXPECT_EQ(StateGet(), 0);
  EXPECT_EQ(events,
            (std::vector<std::string>{"enter 1 from 0", "leave 1 for 2", "enter 2 from 1"}));
}

TEST_F(StateMachine, SwitchToTheCurrentStateDoesNothing) {
  StateSet(1);
  PlatformClockAdvance(40);
  StateSet(1);
  EXPECT_EQ(events.size(), 1u);
  EXPECT_EQ(StateTime(1), 40u);
}

TEST_F(StateMachine, SwitchToAnUnknownStateChangesNothing) {
  StateSet(1);
  PlatformClockAdvance(100);
  StateSet(42);
  PlatformClockAdvance(50);
  EXPECT_EQ(StateGet(), 1);
  EXPECT_EQ(events, std::vector<std::string>{"enter 1 from 0"});
  EXPECT_EQ(StateTime(1), 150u);  // no interval counted twice
  StateSet(2);
  EXPECT_EQ(StateTime(1), 150u);
}

TEST_F(StateMachine, UpdateHandlerSwitchesAfterItReturnsAndOnlyToTheLastRequest) {
  StateSet(1);
  events.clear();
  switchesInUpdate = {3, 2};
  StateRun();
  EXPECT_EQ(StateGet(), 2);
  EXPECT_EQ(events, (std::vector<std::string>{"update 1 in 1", "update 1 done in 1",
                                              "leave 1 for 2", "enter 2 from 1"}));
  StateRun();
  EXPECT_EQ(events.back(), "update 2");
}

TEST_F(StateMachine, SwitchToNoStateInsideUpdateIsIgnored) {
  StateSet(1);
  switchesInUpdate = {2, 0};
  StateRun();
  EXPECT_EQ(StateGet(), 1);
}

TEST_F(StateMachine, RunWithoutAStateDoesNothing) {
  StateRun();
  EXPECT_TRUE(events.empty());
  StateSet(3);
  StateRun();  // no update handler
  EXPECT_EQ(StateGet(), 3);
}

TEST_F(StateMachine, TimeAccumulatesOverVisits) {
  StateSet(1);
  PlatformClockAdvance(30);
  EXPECT_EQ(StateTime(1), 30u);
  StateSet(2);
  PlatformClockAdvance(500);
  EXPECT_EQ(StateTime(1), 30u);
  EXPECT_EQ(StateTime(2), 500u);
  StateSet(1);
  PlatformClockAdvance(12);
  EXPECT_EQ(StateTime(1), 42u);
  EXPECT_EQ(StateTime(2), 500u);
  EXPECT_EQ(StateTime(99), 0u);
}

TEST_F(StateMachine, ResetInEnterStartsFromZero) {
  StateSet(1);
  PlatformClockAdvance(30);
  StateSet(2);
  resetOnEnter = true;
  StateSet(1);
  PlatformClockAdvance(5);
  EXPECT_EQ(StateTime(1), 5u);
}

TEST_F(StateMachine, PauseFreezesTimeAndStaysWithTheState) {
  StateSet(1);
  PlatformClockAdvance(10);
  StateTimerPause();
  EXPECT_TRUE(StateIsPaused());
  PlatformClockAdvance(1000);
  EXPECT_EQ(StateTime(1), 10u);
  StateTimerPause();  // pausing twice keeps the time
  EXPECT_EQ(StateTime(1), 10u);

  StateSet(2);  // leaving a paused state banks nothing more
  PlatformClockAdvance(7);
  EXPECT_FALSE(StateIsPaused());
  StateSet(1);
  EXPECT_TRUE(StateIsPaused());
  PlatformClockAdvance(100);
  EXPECT_EQ(StateTime(1), 10u);
  StateTimerResume();
  PlatformClockAdvance(3);
  EXPECT_EQ(StateTime(1), 13u);
}

TEST_F(StateMachine, TimeSurvivesTheClockWrap) {
  PlatformClockSetVirtual(true, 0xFFFFFF00u);
  StateSet(1);
  PlatformClockAdvance(0x180);
  EXPECT_EQ(StateTime(1), 0x180u);
}

TEST_F(StateMachine, ObjectMethodsGetTheirObject) {
  struct Counter {
    int entered = 0;
    int updated = 0;
    int32_t leftFor = 0;
  } counter;
  ASSERT_TRUE(StateSetEnterMethod(
      7, {[](void* o, int32_t) { static_cast<Counter*>(o)->entered++; }, &counter}));
  ASSERT_TRUE(
      StateSetUpdateMethod(7, {[](void* o) { static_cast<Counter*>(o)->updated++; }, &counter}));
  ASSERT_TRUE(StateSetLeaveMethod(
      7, {[](void* o, int32_t next) { static_cast<Counter*>(o)->leftFor = next; }, &counter}));
  StateSet(7);
  StateRun();
  StateRun();
  StateSet(3);
  EXPECT_EQ(counter.entered, 1);
  EXPECT_EQ(counter.updated, 2);
  EXPECT_EQ(counter.leftFor, 3);
}

TEST_F(StateMachine, SaveNames) {
  EXPECT_TRUE(StateSetSaveName(1, "Title"));
  EXPECT_FALSE(StateSetSaveName(2, "tItLe"));
  EXPECT_TRUE(StateSetSaveName(1, "title"));  // a state may take its own name again
  EXPECT_FALSE(StateSetSaveName(0, "x"));
  EXPECT_FALSE(StateSetSaveName(-4, "x"));
  EXPECT_FALSE(StateSetSaveName(50, "x"));
  EXPECT_FALSE(StateSetSaveName(2, ""));  // state 3 still holds the empty name
  const std::string log = LogText();
  EXPECT_NE(
      log.find("\r\nError: StateSetSaveName - Another state already has the name \"TITLE\".\r\n"),
      std::string::npos);
  EXPECT_NE(log.find("\r\nError: StateSetSaveName - stateId -4 is invalid.\r\n"),
            std::string::npos);
  EXPECT_NE(log.find("\r\nError: StateSetSaveName - State doesn't exist.\r\n"), std::string::npos);
  EXPECT_NE(log.find("\r\nError: StateSetSaveName - Another state already has the name \"\".\r\n"),
            std::string::npos);
}

TEST_F(StateMachine, VariablesIgnoreCaseAndConvert) {
  StateVariableSetString(1, "Mood", "tRuE");
  EXPECT_TRUE(StateVariableGetBool(1, "MOOD"));
  EXPECT_EQ(StateVariableGetInteger(1, "mood"), 0);
  EXPECT_EQ(StateVariableGet(1, "mood").name, "MOOD");
  EXPECT_EQ(StateVariableGet(1, "mood").kind, stateVarString);

  StateVariableSetInteger(1, "mood", -12);  // replaces kind and value
  EXPECT_EQ(StateVariableGetString(1, "Mood"), "-12");
  EXPECT_TRUE(StateVariableGetBool(1, "Mood"));
  StateVariableSetBool(1, "Flag", false);
  EXPECT_EQ(StateVariableGetString(1, "flag"), "false");
  EXPECT_EQ(StateVariableGetInteger(1, "flag"), 0);
  StateVariableSetBool(1, "Flag", true);
  EXPECT_EQ(StateVariableGetString(1, "flag"), "true");
  EXPECT_EQ(StateVariableGetInteger(1, "flag"), 1);
  StateVariableSetString(1, "Count", "-0042");
  EXPECT_EQ(StateVariableGetInteger(1, "count"), -42);
  StateVariableSetString(1, "Count", "99999999999");
  EXPECT_EQ(StateVariableGetInteger(1, "count"), 0);
  StateVariableSetString(1, "Count", "12px");
  EXPECT_EQ(StateVariableGetInteger(1, "count"), 0);
  EXPECT_FALSE(StateVariableGetBool(1, "count"));
}

TEST_F(StateMachine, MissingVariablesAndStates) {
  StateVariableSetInteger(77, "Ghost", 5);  // no record: nothing happens
  EXPECT_EQ(StateVariableGet(77, "Ghost").kind, stateVarEmpty);
  EXPECT_EQ(StateVariableGetInteger(77, "Ghost"), 0);
  EXPECT_FALSE(
      PlatformFileExists(LogFolder() + LogFileName()));  // nothing logged for a missing state

  EXPECT_EQ(StateVariableGetString(1, "Absent"), "");
  EXPECT_NE(LogText().find(
                "\r\nError: StateVariableGet - Variable \"Absent\" doesn't exist for state.\r\n"),
            std::string::npos);
}

TEST_F(StateMachine, FinalForgetsEverything) {
  StateSet(1);
  StateFinal();
  EXPECT_EQ(StateGet(), 0);
  EXPECT_EQ(StateTime(1), 0u);
  EXPECT_TRUE(StateSetEnterHandler(1, Enter1));
}

}  // namespace
