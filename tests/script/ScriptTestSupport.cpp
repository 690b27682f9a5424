#include "script/ScriptTestSupport.h"

#include "services/fwkLog.h"
#include "services/fwkState.h"
#include "vmcAsm.h"

std::vector<std::string> reported;

std::string Describe(const parameter& value) {
  if (value.type == kScriptTypeInteger) return "i:" + std::to_string(value.integer);
  if (value.type == kScriptTypeBoolean)
    return std::string("b:") + (value.boolean ? "true" : "false");
  return "s:" + value.string;
}

namespace {

int32_t Report(int32_t scriptId, int32_t threadId) {
  for (int32_t i = 0; i < ScriptThreadCount(scriptId); ++i) {
    if (ScriptThreadId(scriptId, i) != threadId) continue;
    const std::vector<parameter> stack = ScriptThreadStack(scriptId, i);
    reported.push_back(stack.empty() ? "empty" : Describe(stack.back()));
  }
  return 1;
}

}  // namespace

void ScriptTest::SetUp() {
  box = MakeSandbox();
  LogInit();
  StateInit();
  ScriptInit();
  ScriptAppRoutineRegister("Report", Report);
  ScriptSetStepLimit(kScriptStepLimitDefault);
  reported.clear();
}

void ScriptTest::TearDown() {
  ScriptFinal();
  StateFinal();
}

std::vector<uint8_t> ScriptTest::Assemble(const std::string& text) {
  std::vector<uint8_t> bytes;
  std::vector<std::string> errors;
  const bool ok = VmcAssemble(text, "test.vasm", bytes, errors);
  EXPECT_TRUE(ok) << (errors.empty() ? std::string() : errors[0]);
  return bytes;
}

int32_t ScriptTest::Load(const std::string& text, const std::string& fileName) {
  return ScriptOpenBytes(fileName, Assemble(text));
}

std::vector<std::string> ScriptTest::Run(const std::string& body, int32_t version) {
  reported.clear();
  const int32_t id = Load(".version " + std::to_string(version) + "\n.thread main\nmain:\n" + body +
                          "\n    return\n");
  ScriptStep(id);
  EXPECT_EQ(ScriptThreadCount(id), 1) << "the thread did not end";
  ScriptClose(id);
  return reported;
}

std::vector<std::string> ScriptTest::LogLines() const {
  return ReadLines(LogFolder() + LogFileName());
}
