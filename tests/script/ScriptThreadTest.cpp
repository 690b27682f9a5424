// Threads, events, fork and yield, waits and resumes, pausing and the per-step limit.
#include "script/ScriptTestSupport.h"
#include "services/fwkState.h"

namespace {

using Reports = std::vector<std::string>;
using Threads = ScriptTest;

const char* kHandler = R"(
.event handler
handler:
    push [base-1]        ; the event code
    callapp Report
    pop
    push [base-2]        ; the event name
    callapp Report
    pop
    return
)";

TEST_F(Threads, EventsReachTheHandlerAndLeaveTheStackAsItWas) {
  const int32_t id = Load(kHandler);
  ScriptRoutineRun(id, 1, "AppScriptEnter");
  EXPECT_EQ(reported, (Reports{"i:1", "s:APPSCRIPTENTER"}));
  EXPECT_TRUE(ScriptThreadStack(id, 0).empty());
  EXPECT_FALSE(ScriptIsWaiting(id));
  ScriptRoutineRun(id, -4, "okButton");
  EXPECT_EQ(reported.size(), 4u);
  EXPECT_EQ(reported[3], "s:OKBUTTON");
}

TEST_F(Threads, AHandlerThatYieldsWaitsForResumes) {
  const int32_t id = Load(R"(
.event handler
handler:
    push "first"
    callapp Report
    yield
    push "second"
    callapp Report
    yield
    pop
    pop
    return
)");
  ScriptRoutineRun(id, 7, "wait");
  EXPECT_TRUE(ScriptIsWaiting(id));
  // The event values stay under the handler's own while it waits.
  EXPECT_EQ(ScriptThreadStack(id, 0).size(), 3u);
  ScriptRoutineRun(id, 8, "refused");
  EXPECT_EQ(reported, (Reports{"s:first"}));
  ScriptStep(id);  // the game resumes instead of stepping; a step leaves the handler alone
  EXPECT_EQ(reported.size(), 1u);
  ScriptThreadResume(id, -1);
  EXPECT_EQ(reported, (Reports{"s:first", "s:second"}));
  ScriptThreadResume(id, -1);
  EXPECT_FALSE(ScriptIsWaiting(id));
  // The handler popped its two values; the event's two stay, as no pop ran after it.
  const std::vector<parameter> stack = ScriptThreadStack(id, 0);
  ASSERT_EQ(stack.size(), 2u);
  EXPECT_EQ(Describe(stack[0]), "s:WAIT");
  EXPECT_EQ(Describe(stack[1]), "i:7");
  ScriptRoutineRun(id, 9, "again");
  EXPECT_EQ(reported.back(), "s:first");
}

TEST_F(Threads, ForkedThreadsRunInTheNextStepAndEndThere) {
  // The forking thread jumps to the target; the new thread goes on after the fork.
  const int32_t id = Load(R"(
.event handler
handler:
    push 5
    fork forker
    push "child"
    callapp Report
    pop
    push [base+0]
    callapp Report
    pop
    pop
    return
forker:
    add 1, [base+0]
    callapp Report
    pop
    return
)");
  ScriptRoutineRun(id, 1, "go");
  EXPECT_EQ(reported, (Reports{"i:6"}));
  ASSERT_EQ(ScriptThreadCount(id), 2);
  EXPECT_TRUE(ScriptThreadStack(id, 0).empty());
  // The child has its own copy of the stack as it was at the fork, event values included.
  EXPECT_EQ(ScriptThreadStack(id, 1).size(), 3u);
  ScriptStep(id);
  EXPECT_EQ(reported, (Reports{"i:6", "s:child", "i:5"}));
  EXPECT_EQ(ScriptThreadCount(id), 1);
}

TEST_F(Threads, YieldingThreadsKeepTurnsAcrossSteps) {
  const int32_t id = Load(R"(
.thread counter
.thread once
counter:
    push 0
again:
    add 1, [0]
    callapp Report
    yield
    jlt [0], 3, again
    return
once:
    push "once"
    callapp Report
    return
)");
  ASSERT_EQ(ScriptThreadCount(id), 3);
  ScriptStep(id);
  EXPECT_EQ(reported, (Reports{"i:1", "s:once"}));
  EXPECT_EQ(ScriptThreadCount(id), 2);
  ScriptStep(id);
  ScriptStep(id);
  EXPECT_EQ(reported, (Reports{"i:1", "s:once", "i:2", "i:3"}));
  EXPECT_EQ(ScriptThreadCount(id), 2);
  ScriptStep(id);
  EXPECT_EQ(ScriptThreadCount(id), 1);
  // Resuming a thread by id that is gone does nothing.
  ScriptThreadResume(id, 12345);
}

TEST_F(Threads, NothingRunsWhileTheApplicationIsPaused) {
  StateSetUpdateHandler(1, [] {});
  StateSet(1);
  const int32_t id =
      Load(".thread t\nt:\n push 1\n callapp Report\n yield\n callapp Report\n return\n");
  StateTimerPause();
  ScriptStep(id);
  EXPECT_TRUE(reported.empty());
  StateTimerResume();
  ScriptStep(id);
  EXPECT_EQ(reported.size(), 1u);
  StateTimerPause();
  ScriptThreadResume(id, ScriptThreadId(id, 1));
  EXPECT_EQ(reported.size(), 1u);
  StateTimerResume();
  ScriptThreadResume(id, ScriptThreadId(id, 1));
  EXPECT_EQ(reported.size(), 2u);
}

TEST_F(Threads, HeldThreadsWaitWhileEventsStillArrive) {
  const int32_t id =
      Load(std::string(kHandler) +
           ".thread t\nt:\n push 0\nagain:\n add 1, [0]\n callapp Report\n yield\n jump again\n");
  ScriptStep(id);
  EXPECT_EQ(reported, (Reports{"i:1"}));
  ScriptThreadsHold(id, true);
  ScriptStep(id);
  ScriptStep(id);
  ScriptRoutineRun(id, 2, "menu");
  EXPECT_EQ(reported, (Reports{"i:1", "i:2", "s:MENU"}));
  ScriptThreadsHold(id, false);
  ScriptStep(id);
  EXPECT_EQ(reported.back(), "i:2");
  EXPECT_EQ(reported.size(), 4u);
}

TEST_F(Threads, AStepThatRunsTooLongEndsTheThreadAndTheGameGoesOn) {
  ScriptSetStepLimit(1000);
  const int32_t id = Load(R"(
.thread spin
.thread later
.event handler
spin:
    jump spin
later:
    push "later"
    callapp Report
    return
handler:
    jump handler
)");
  ScriptStep(id);
  const std::vector<std::string> lines = LogLines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(),
            "Error: ScriptExecute - Instruction limit reached in script \"test.vmc\", thread " +
                std::to_string(ScriptThreadId(id, 0) + 1) + " ended.");
  // The spinning thread is gone; the one behind it waits for the next step's budget.
  EXPECT_EQ(ScriptThreadCount(id), 2);
  EXPECT_TRUE(reported.empty());
  ScriptStep(id);
  EXPECT_EQ(reported, (Reports{"s:later"}));
  // A handler that never ends is ended too, and the event thread takes events again.
  ScriptRoutineRun(id, 1, "spin");
  EXPECT_FALSE(ScriptIsWaiting(id));
  EXPECT_EQ(LogLines().size(), lines.size() + 1);
  ScriptRoutineRun(id, 1, "spin");
  EXPECT_EQ(LogLines().size(), lines.size() + 2);
}

TEST_F(Threads, ForksAreBoundedAndEveryForkedChildCountsAgainstTheStep) {
  const int32_t id = Load(".thread t\nt:\n fork t\n jump t\n");
  for (int i = 0; i < 5; ++i) ScriptStep(id);
  EXPECT_LE(ScriptThreadCount(id), 256);
}

TEST_F(Threads, StackOperationsRefuseSuspendedThreads) {
  const int32_t id = Load(".event h\nh:\n yield\n return\n");
  ScriptStackPush(ScriptFind(id), 0, ScriptInteger(3));
  EXPECT_TRUE(ScriptStackPop(ScriptFind(id), 0));
  EXPECT_FALSE(ScriptStackPop(ScriptFind(id), 0));
  ScriptRoutineRun(id, 1, "x");
  ScriptStackPush(ScriptFind(id), 0, ScriptInteger(3));
  EXPECT_EQ(ScriptThreadStack(id, 0).size(), 2u);
  EXPECT_FALSE(ScriptStackPop(ScriptFind(id), 0));
  EXPECT_EQ(ScriptThreadNew(ScriptFind(id)), 1);
  EXPECT_EQ(ScriptThreadNew(-1), -1);
}

}  // namespace
