// Application routines with their registration, the parameter protocol and the built-ins
// that need no objects or audio.
#include "audio/apiOggVorbis.h"
#include "audio/apiOpenal.h"
#include "audio/fwkAudio.h"
#include "input/fwkInput.h"
#include "platform/platform_system.h"
#include "script/ScriptTestSupport.h"
#include "services/fwkIni.h"
#include "services/fwkState.h"
#include "services/fwkUtilities.h"

namespace {

using Reports = std::vector<std::string>;
using Routines = ScriptTest;

int32_t Sum(int32_t scriptId, int32_t threadId) {
  // P1 and P2 in, P3 out.
  ScriptParamSetInt(scriptId, threadId, 3,
                    ScriptParamInt(scriptId, threadId, 1) + ScriptParamInt(scriptId, threadId, 2));
  return 1;
}

int32_t Failing(int32_t, int32_t) { return 0; }

int32_t Counter(void* object, int32_t scriptId, int32_t threadId) {
  int32_t& count = *static_cast<int32_t*>(object);
  ++count;
  return ScriptParamSetString(scriptId, threadId, 1, "call " + std::to_string(count)) == 1 ? 1 : 0;
}

TEST_F(Routines, ApplicationRoutinesAreFoundByNameInAnyCase) {
  EXPECT_TRUE(ScriptAppRoutineRegister("sum", Sum));
  int32_t count = 0;
  EXPECT_TRUE(ScriptAppRoutineRegisterMethod("Counter", Counter, &count));
  EXPECT_FALSE(ScriptAppRoutineRegister("", Sum));
  EXPECT_FALSE(ScriptAppRoutineRegister("none", nullptr));
  EXPECT_EQ(Run("push 0\n push 20\n push 22\n callapp SUM\n pop\n pop\n callapp Report\n"
                "push 0\n callapp counter\n callapp Report\n callapp counter\n callapp Report"),
            (Reports{"i:42", "s:call 1", "s:call 2"}));
  EXPECT_EQ(count, 2);
  // A routine that fails faults its caller; one that is taken away is logged when called.
  ScriptAppRoutineRegister("Sum", Failing);
  EXPECT_TRUE(Run("callapp Sum\n push 1\n callapp Report").empty());
  ScriptAppRoutineUnregister("SUM");
  EXPECT_TRUE(Run("callapp Sum\n push 1\n callapp Report").empty());
  EXPECT_EQ(LogLines().back(),
            "Error: ScriptAppRoutineRun - App routine \"SUM\" has not been registered.");
}

int32_t CloseCaller(int32_t scriptId, int32_t) {
  ScriptClose(scriptId);
  return 1;
}

TEST_F(Routines, ARoutineMayCloseTheScriptThatCalledIt) {
  ScriptAppRoutineRegister("Close", CloseCaller);
  const int32_t first = Load(".thread t\nt:\n push 1\n callapp Report\n return\n", "first.vmc");
  const int32_t closing = Load(
      ".thread a\n.thread b\n.event e\na:\n callapp Close\n push 1\n callapp Report\n return\n"
      "b:\n push 2\n callapp Report\n return\ne:\n callapp Close\n return\n",
      "closing.vmc");
  const int32_t last = Load(".event e\ne:\n push 3\n callapp Report\n pop\n return\n", "last.vmc");
  ScriptStep(closing);
  EXPECT_EQ(ScriptFind(closing), -1);
  EXPECT_TRUE(reported.empty());
  ScriptStep(first);
  ScriptRoutineRun(last, 1, "x");
  EXPECT_EQ(reported, (Reports{"i:1", "i:3"}));
  const int32_t again = Load(".event e\ne:\n callapp Close\n return\n", "again.vmc");
  ScriptRoutineRun(again, 1, "x");
  EXPECT_EQ(ScriptFind(again), -1);
  EXPECT_EQ(ScriptFind(last), 1);
}

TEST_F(Routines, ParametersOutsideTheStackReadAsNothingAndStoreNothing) {
  ScriptAppRoutineRegister("Sum", Sum);
  // Nothing pushed: both inputs read 0, the result has nowhere to go, and the call succeeds.
  EXPECT_EQ(Run("callapp Sum\n push \"on\"\n callapp Report"), (Reports{"s:on"}));
  EXPECT_EQ(ScriptParamInt(99, 1, 1), 0);
  EXPECT_EQ(ScriptParamSetInt(99, 1, 1, 5), 0);
  EXPECT_EQ(ScriptParamString(99, 1, 1), "");
}

TEST_F(Routines, TextBuiltins) {
  EXPECT_EQ(Run("push 0\n push \"hello\"\n builtin 23\n pop\n callapp Report"), (Reports{"i:5"}));
  const char* substring =
      "push \"\"\n push %d\n push %d\n push \"abcdef\"\n builtin 25\n pop\n pop\n pop\n callapp Report";
  auto sub = [&](int start, int count) {
    char text[200];
    std::snprintf(text, sizeof text, substring, count, start);
    return Run(text);
  };
  EXPECT_EQ(sub(2, 3), (Reports{"s:bcd"}));
  EXPECT_EQ(sub(0, 2), (Reports{"s:ab"}));
  EXPECT_EQ(sub(9, 2), (Reports{"s:"}));
  EXPECT_EQ(sub(5, 99), (Reports{"s:ef"}));
  EXPECT_EQ(Run("push 0\n push 65\n builtin 33\n pop\n callapp Report"), (Reports{"s:A"}));
  EXPECT_EQ(Run("push 0\n push \"ell\"\n push \"hello\"\n builtin 38\n pop\n pop\n callapp Report"),
            (Reports{"b:false"}));
  EXPECT_EQ(Run("push 0\n push \"hello\"\n push \"ell\"\n builtin 38\n pop\n pop\n callapp Report"),
            (Reports{"b:true"}));
  EXPECT_EQ(Run("push 0\n push \"MiXeD 1\"\n builtin 42\n pop\n callapp Report"),
            (Reports{"s:mixed 1"}));
  EXPECT_EQ(Run("push 0\n push 30\n builtin 41\n pop\n callapp Report\n"
                "push 0\n push -4\n builtin 41\n pop\n callapp Report"),
            (Reports{"i:5", "i:0"}));
}

TEST_F(Routines, RandomNumbersStayInRange) {
  std::string body;
  for (int i = 0; i < 20; ++i)
    body += "push -1\n push 3\n builtin 0\n pop\n callapp Report\n pop\n";
  body +=
      "push -1\n push 0\n builtin 0\n pop\n callapp Report\n pop\n push -1\n push -5\n builtin 0\n pop\n callapp Report";
  const Reports values = Run(body);
  ASSERT_EQ(values.size(), 22u);
  for (size_t i = 0; i < 20; ++i)
    EXPECT_TRUE(values[i] == "i:0" || values[i] == "i:1" || values[i] == "i:2") << values[i];
  EXPECT_EQ(values[20], "i:0");
  EXPECT_EQ(values[21], "i:0");
}

TEST_F(Routines, StateBuiltinsReadAndWriteVariablesAndTime) {
  PlatformClockSetVirtual(true, 1000);
  StateSetUpdateHandler(4, [] {});
  StateSet(4);
  PlatformClockAdvance(250);
  StateVariableSetInteger(4, "Score", 17);
  EXPECT_EQ(Run("push true\n push \"Seen\"\n push 4\n builtin 30\n pop\n pop\n pop\n"
                "push 3\n push \"lives\"\n push 4\n builtin 31\n pop\n pop\n pop\n"
                "push \"Fred\"\n push \"name\"\n push 4\n builtin 32\n pop\n pop\n pop\n"
                "push 0\n push \"score\"\n push 4\n builtin 28\n pop\n pop\n callapp Report\n pop\n"
                "push 0\n push 0\n builtin 1\n callapp Report"),
            (Reports{"i:17", "i:" + std::to_string(StateTime(4))}));
  EXPECT_TRUE(StateVariableGetBool(4, "SEEN"));
  EXPECT_EQ(StateVariableGetInteger(4, "Lives"), 3);
  EXPECT_EQ(StateVariableGetString(4, "NAME"), "Fred");
  EXPECT_EQ(
      Run("push \"\"\n push \"name\"\n push 4\n builtin 29\n pop\n pop\n callapp Report\n pop\n"
          "push 0\n push \"seen\"\n push 4\n builtin 27\n pop\n pop\n callapp Report"),
      (Reports{"s:Fred", "b:true"}));
}

TEST_F(Routines, InputBuiltinsReachTheControlSets) {
  InputInit();
  const int32_t set = InputControlSetNew("Script Set", false);
  const int32_t action = InputActionNew(set, "Jump");
  const std::string s = std::to_string(set);
  const std::string a = std::to_string(action);
  EXPECT_EQ(
      Run("push 0\n push \"script set\"\n builtin 17\n pop\n callapp Report\n pop\n"
          "push 0\n push " +
          s +
          "\n builtin 18\n pop\n callapp Report\n pop\n"
          "push 50\n push 32\n push " +
          a +
          "\n builtin 9\n pop\n pop\n pop\n"
          "push 0\n push 0\n push " +
          a +
          "\n builtin 11\n pop\n pop\n callapp Report\n pop\n"
          "push 0\n push 32\n push " +
          s +
          "\n builtin 15\n pop\n pop\n callapp Report\n pop\n"
          "push 0\n push 0\n push " +
          s +
          "\n builtin 12\n pop\n pop\n callapp Report\n pop\n"
          "push 0\n push " +
          a +
          "\n builtin 13\n pop\n callapp Report\n pop\n"
          "push " +
          a +
          "\n builtin 10\n pop\n"
          "push 0\n push 0\n push " +
          a +
          "\n builtin 11\n pop\n pop\n callapp Report\n pop\n"
          "push 0\n push 1\n builtin 16\n pop\n callapp Report"),
      (Reports{"i:" + s, "i:1", "i:32", "i:" + a, "i:" + a, "s:Jump",
               "i:" + std::to_string(InputActionBinding(action, 0)), "s:" + InputControlName(1)}));
  InputFinal();
}

TEST_F(Routines, VolumeBuiltinsSpeakPercentages) {
  UtilInit();
  IniInit();
  AudioInit();
  ASSERT_TRUE(AudioAvailable());
  // Set music, sound, application and voice volume, then read each back.
  EXPECT_EQ(
      Run("push 25\n builtin 3\n pop\n push 50\n builtin 8\n pop\n push 75\n builtin 22\n pop\n"
          "push 140\n builtin 36\n pop\n"
          "push 0\n builtin 2\n callapp Report\n builtin 7\n callapp Report\n builtin 21\n callapp Report\n"
          "builtin 35\n callapp Report"),
      (Reports{"i:25", "i:50", "i:75", "i:100"}));
  EXPECT_FLOAT_EQ(AudioVolumeGetMusic(), 0.25f);
  EXPECT_FLOAT_EQ(AudioVolumeGetVoice(), 1.0f);
  AudioShutdown();
  OggVorbisFree();
  OpenalFree();
}

TEST_F(Routines, Builtin24RaisesOnTheNamedScriptOnly) {
  const int32_t receiver = Load(R"(
.event handler
handler:
    push [base-1]
    callapp Report
    pop
    return
)",
                                "Bin\\Scripts\\Menu.vmc");
  const int32_t sender = Load(R"(
.thread t
.event handler
t:
    push "hello"
    push 12
    push "menu"
    builtin 24
    push "Sender"
    builtin 24
    return
handler:
    push "sender got one"
    callapp Report
    return
)",
                              "Bin\\Scripts\\sender.vmc");
  ScriptStep(sender);
  EXPECT_EQ(reported, (Reports{"i:12"}));
  EXPECT_GT(receiver, 0);
}

}  // namespace
