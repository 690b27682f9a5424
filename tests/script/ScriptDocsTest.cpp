// The examples of docs/scripts.md, taken from the page itself, assemble and do what the page
// says they do.
#include <fstream>
#include <sstream>

#include "script/ScriptTestSupport.h"
#include "services/fwkState.h"

namespace {

// The indented block that follows the heading.
std::string ExampleAfter(const std::string& heading) {
  std::ifstream in(SANGUOR_DOCS_FILE);
  std::stringstream whole;
  whole << in.rdbuf();
  std::istringstream lines(whole.str());
  std::string line;
  bool found = false;
  std::string block;
  while (std::getline(lines, line)) {
    if (!found) {
      found = line == heading;
      continue;
    }
    if (line.rfind("    ", 0) == 0) {
      block += line.substr(4) + "\n";
    } else if (!block.empty() && !line.empty()) {
      break;
    } else if (!block.empty()) {
      block += "\n";
    }
  }
  return block;
}

using Docs = ScriptTest;

TEST_F(Docs, TheFirstScriptCountsSteps) {
  const std::string example = ExampleAfter("## A first script");
  ASSERT_NE(example.find("builtin 31"), std::string::npos);
  StateSetUpdateHandler(4, [] {});
  StateSet(4);
  const int32_t id = Load(example);
  ScriptRoutineRun(id, 1, "AppScriptEnter");
  for (int i = 0; i < 7; ++i) ScriptStep(id);
  EXPECT_EQ(StateVariableGetInteger(4, "STEPS"), 7);
}

TEST_F(Docs, TheRoutineExampleLeavesTheLength) {
  const std::string example = ExampleAfter("## Routines");
  ASSERT_NE(example.find("builtin 23"), std::string::npos);
  EXPECT_EQ(Run(example + "callapp Report"), (std::vector<std::string>{"i:5"}));
}

TEST_F(Docs, TheObjectDeclarationAssembles) {
  const std::string example = ExampleAfter("## Objects");
  ASSERT_NE(example.find(".object"), std::string::npos);
  const int32_t id =
      Load(example + ".thread t\nt:\n get okButton, layer\n callapp Report\n return\n");
  ScriptStep(id);
  EXPECT_EQ(reported, (std::vector<std::string>{"i:3"}));
}

}  // namespace
