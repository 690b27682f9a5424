// A script's own budget: the text its threads and objects hold together (by the memory it takes),
// the objects, children, frames and mats a file may declare, the mats shared between objects,
// the state variables scripts write, and the step's charge for the work of routines and
// attributes. Each case is a script built to pass the limit.
#include <malloc.h>

#include <algorithm>
#include <string>

#include "script/ScriptTestSupport.h"
#include "script/scriptVmc.h"
#include "services/fwkState.h"

namespace {

using Budget = ScriptTest;
using Reports = std::vector<std::string>;

int32_t Count(const std::vector<std::string>& lines, const std::string& text) {
  return static_cast<int32_t>(std::count(lines.begin(), lines.end(), text));
}

std::string LimitLine(const std::string& limit, int32_t thread) {
  return "Error: ScriptExecute - Script \"test.vmc\" reached its " + limit + " limit, thread " +
         std::to_string(thread) + " ended.";
}

std::string Refused(const std::string& reason) {
  return "Error: ScriptOpen - Invalid script file \"test.vmc\": " + reason + ".";
}

std::string Objects(int32_t count, const std::string& kind, const std::string& name = "o") {
  std::string text;
  for (int32_t i = 0; i < count; ++i)
    text += ".object " + name + std::to_string(i) + ", " + kind + "\n.end\n";
  return text;
}

#ifdef __GLIBC__
size_t HeapInUse() { return mallinfo2().uordblks; }

TEST_F(Budget, StringsClearedByMultiplyingGiveTheirMemoryBack) {
  // 4000 slots that each held 65535 characters before "mul 0" emptied them.
  const int32_t id = Load(
      ".thread t\nt:\n push 0\nagain:\n push \"\"\n call fill\n add 1, [0]\n jlt [0], 4000, again\n"
      " push \"done\"\n callapp Report\n yield\nfill:\n add \"" +
      std::string(65535, 'x') + "\", [base-1]\n mul 0, [base-1]\n return\n");
  ScriptSetStepLimit(100000000);
  const size_t before = HeapInUse();
  ScriptStep(id);
  ASSERT_EQ(reported, (Reports{"s:done"}));
  EXPECT_LT(HeapInUse() - before, 16u * 1024u * 1024u) << "empty strings kept their buffers";
}
#endif

TEST_F(Budget, AllThreadsOfAScriptShareOneTextLimit) {
  // Twenty threads each fill their stack with 15 strings of 65535 characters (just under the
  // thread's 1 MiB); together they pass the script's 16 MiB.
  const std::string big = std::string(65535, 'x');
  ScriptSetStepLimit(10000000);
  const int32_t id = Load(
      ".thread t\nt:\n push 0\nspawn:\n fork fill\n add 1, [0]\n jlt [0], 20, spawn\n return\n"
      "fill:\n push 0\nnext:\n push \"" +
      big +
      "\"\n add 1, [base+1]\n jlt [base+1], 15, next\n"
      " push \"full\"\n callapp Report\n yield\n");
  ScriptStep(id);
  const int32_t full = static_cast<int32_t>(reported.size());
  EXPECT_GE(full, 15);
  EXPECT_LT(full, 20);
  const std::vector<std::string> lines = LogLines();
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                          [](const std::string& line) {
                            return line.find("reached its text limit") != std::string::npos;
                          }),
            1);
}

TEST_F(Budget, LabelTextsCountAgainstTheScriptsText) {
  // 300 labels each given 65535 characters: every one also holds its one unwrapped line.
  std::string code =
      Objects(300, "label") + ".thread t\nt:\n push \"" + std::string(65535, 'y') + "\"\n";
  for (int32_t i = 0; i < 300; ++i)
    code += " set o" + std::to_string(i) + ", 3, [0]\n push " + std::to_string(i) +
            "\n callapp Report\n pop\n";
  code += " return\n";
  const int32_t id = Load(code);
  ASSERT_NE(id, 0);
  ScriptSetStepLimit(10000000);
  ScriptStep(id);
  ASSERT_FALSE(reported.empty());
  EXPECT_LT(reported.size(), 300u);
  EXPECT_GT(reported.size(), 100u);
  EXPECT_EQ(Count(LogLines(), LimitLine("text", ScriptThreadId(id, 0) + 1)), 1);
  EXPECT_EQ(ScriptThreadCount(id), 1) << "the thread faulted";
}

TEST_F(Budget, DeclarationsPastTheLimitsRefuseTheFile) {
  // 64 objects named "x" in a camera's 64 children make 4096 entries; one more passes. The
  // assembler refuses a name declared twice, the container does not.
  const auto camera = [this](int32_t named) {
    vmcProgram program;
    std::string reason;
    EXPECT_TRUE(VmcRead(Assemble(".object cam, camera\n.end\n"), program, reason));
    for (int32_t i = 0; i < 64; ++i) program.objects[0].children.push_back("x");
    vmcObject x;
    x.name = "x";
    x.kind = 1;
    program.objects.insert(program.objects.end(), static_cast<size_t>(named), x);
    return ScriptOpenBytes("test.vmc", VmcWrite(program));
  };
  EXPECT_NE(camera(64), 0);
  EXPECT_EQ(camera(65), 0);
  std::string frames = ".object pic, image\n    frameset\n";
  for (int32_t i = 0; i < 4097; ++i) frames += "    frame \"f\"\n";
  EXPECT_EQ(Load(frames + ".end\n"), 0);
  std::string mats = ".object pic, image\n    frameset\n";
  for (int32_t i = 0; i < 65; ++i)
    mats += "    frame \"f\"\n    mat \"missing" + std::to_string(i) + ".mat\"\n";
  EXPECT_EQ(Load(mats + ".end\n"), 0);
  const std::vector<std::string> lines = LogLines();
  EXPECT_EQ(Count(lines, Refused("too many camera children")), 1);
  EXPECT_EQ(Count(lines, Refused("too many frames")), 1);
  EXPECT_EQ(Count(lines, Refused("too many mat files")), 1);
}

TEST_F(Budget, AMatNamedByManyFramesIsOpenedOnce) {
  std::string code = ".object pic, image\n    frameset\n";
  for (int32_t i = 0; i < 2000; ++i)
    code += "    frame \"f\"\n    mat \"Bin\\\\Mats\\\\gone.mat\"\n";
  code +=
      ".end\n.object m, mat\n.end\n.thread t\nt:\n push 0\nagain:\n set m, 3, \"Bin\\\\Mats\\\\gone.mat\"\n"
      " add 1, [0]\n jlt [0], 1000, again\n push 0\nfresh:\n push \"other\"\n add [1], [2]\n set m, 3, [2]\n"
      " pop\n add 1, [1]\n push [1]\n callapp Report\n pop\n jump fresh\n";
  const int32_t id = Load(code);
  ASSERT_NE(id, 0);
  ScriptStep(id);
  const std::vector<std::string> lines = LogLines();
  EXPECT_EQ(Count(lines, "Error: MatOpenRaw - Unable to open \"Bin\\Mats\\gone.mat\"."), 1);
  // 64 files in all: the one above and 63 fresh names; the 64th fresh name faults.
  EXPECT_EQ(reported.size(), 63u);
  EXPECT_EQ(Count(lines, LimitLine("mat", ScriptThreadId(id, 0) + 1)), 1);
}

TEST_F(Budget, StateVariablesScriptsWriteAreBounded) {
  StateSetEnterHandler(4, [](int32_t) {});
  const int32_t id = Load(
      ".thread t\nt:\n push 0\nagain:\n push 1\n push \"v\"\n add [0], [2]\n push 4\n builtin 31\n"
      " pop\n pop\n pop\n add 1, [0]\n push [0]\n callapp Report\n pop\n jump again\n");
  ScriptStep(id);
  EXPECT_EQ(reported.size(), 256u);
  EXPECT_EQ(StateVariableGetInteger(4, "V255"), 1);
  EXPECT_EQ(Count(LogLines(), LimitLine("state variable", ScriptThreadId(id, 0) + 1)), 1);
  // Writing a variable again takes nothing more; long texts count against the text limit.
  const int32_t again =
      Load(".thread t\nt:\n push 2\n push \"v0\"\n push 4\n builtin 31\n push \"" +
           std::string(60000, 's') +
           "\"\n push \"v1\"\n push 4\n builtin 32\n push \"ok\"\n"
           " callapp Report\n return\n");
  reported.clear();
  ScriptStep(again);
  EXPECT_EQ(reported, (Reports{"s:ok"}));
  EXPECT_EQ(StateVariableGetInteger(4, "V0"), 2);
}

TEST_F(Budget, SubstringSearchesAreChargedForTheirComparisons) {
  // Each search can compare a 16383-character pattern at 16386 places of the text: one such
  // search costs more than the whole step.
  ScriptSetStepLimit(2000);
  const int32_t id = Load(".thread t\nt:\n push false\n push \"" + std::string(32768, 'a') +
                          "\"\n push \"" + std::string(16382, 'a') +
                          "b\"\nagain:\n builtin 38\n push 0\n callapp Report\n pop\n"
                          " jump again\n");
  ScriptStep(id);
  EXPECT_TRUE(reported.empty());
  // A search of an honest size costs next to nothing.
  reported.clear();
  const int32_t small =
      Load(".thread t\nt:\n push false\n push \"" + std::string(1000, 'a') +
           "\"\n push \"ab\"\n push 0\nagain:\n pop\n builtin 38\n push 0\n callapp Report\n"
           " jump again\n");
  ScriptStep(small);
  EXPECT_GT(reported.size(), 50u);
}

TEST_F(Budget, ReSortingLayersIsChargedPerObject) {
  ScriptSetStepLimit(100000);
  const int32_t id = Load(Objects(4000, "box") +
                          ".thread t\nt:\n push 0\nagain:\n set o1, layer, [0]\n add 1, [0]\n"
                          " push 0\n callapp Report\n pop\n jump again\n");
  ScriptStep(id);
  // 4000 objects per sort: about 25 sorts fit in 100 000 instructions.
  EXPECT_GE(reported.size(), 10u);
  EXPECT_LE(reported.size(), 30u);
}

}  // namespace
