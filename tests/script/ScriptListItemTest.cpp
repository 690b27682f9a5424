// A list's item texts, values and states through assembled scripts: the item is named by an
// index reference in each of its forms, arrays grow with their filler, and bad indexes fault.
#include "script/ScriptTestSupport.h"
#include "script/scriptVmc.h"
#include "vmcAsm.h"

namespace {

using Reports = std::vector<std::string>;

const char* kList = ".object lst, list\n.end\n.object plain, box\n.end\n.const SECOND, 1\n";

class ListItems : public ScriptTest {
 protected:
  Reports RunList(const std::string& body) {
    reported.clear();
    const int32_t id = Load(std::string(kList) + ".thread main\nmain:\n" + body + "\n    return\n");
    EXPECT_GT(id, 0) << body;
    ScriptStep(id);
    EXPECT_EQ(ScriptThreadCount(id), 1) << "the thread did not end: " << body;
    ScriptClose(id);
    return reported;
  }
};

TEST_F(ListItems, AnIndexReferenceNamesTheItemInEveryMode) {
  // Mode 3 (a number or a constant), mode 0 (slot n), mode 2 (base + n), mode 1 (base - n).
  EXPECT_EQ(RunList("set lst, 5, \"zero\", 0\n get lst, 5, 0\n callapp Report\n"
                    " set lst, 5, \"one\", SECOND\n get lst, 5, 1\n callapp Report"),
            (Reports{"s:zero", "s:one"}));
  EXPECT_EQ(RunList("push 2\n push \"3\"\n set lst, 5, \"two\", [0]\n set lst, 5, \"three\", [1]\n"
                    " get lst, 5, 2\n callapp Report\n get lst, 5, [1]\n callapp Report"),
            (Reports{"s:two", "s:three"}));
  EXPECT_EQ(
      RunList(
          "push 4\n call named\n get lst, 5, 4\n callapp Report\n get lst, 5, 3\n callapp Report\n"
          " return\nnamed:\n push 3\n set lst, 5, \"by base-1\", [base-1]\n"
          " set lst, 5, \"by base+0\", [base+0]\n return"),
      (Reports{"s:by base-1", "s:by base+0"}));
}

TEST_F(ListItems, ArraysGrowWithTheirFillerAndKeepTheirTypes) {
  // Values grow with -1, states with 0, texts with empty strings; reading past the end gives
  // the same filler. Texts are stored as text, values and states as integers.
  EXPECT_EQ(RunList("set lst, 15, \"12\", 2\n set lst, 16, true, 3\n set lst, 5, 42, 1\n"
                    " get lst, 20, 0\n callapp Report\n get lst, 20, 2\n callapp Report\n"
                    " get lst, 21, 1\n callapp Report\n get lst, 21, 3\n callapp Report\n"
                    " get lst, 5, 0\n callapp Report\n get lst, 5, 1\n callapp Report\n"
                    " get lst, 20, 4000\n callapp Report\n get lst, 21, 9\n callapp Report"),
            (Reports{"i:-1", "i:12", "i:0", "i:1", "s:", "s:42", "i:-1", "i:0"}));
  // Replacing a text keeps the others.
  EXPECT_EQ(RunList("set lst, 5, \"a\", 0\n set lst, 5, \"b\", 1\n set lst, 5, \"c\", 0\n"
                    " get lst, 5, 0\n callapp Report\n get lst, 5, 1\n callapp Report"),
            (Reports{"s:c", "s:b"}));
}

TEST_F(ListItems, BadIndexesFaultTheThread) {
  const char* faults[] = {
      "set lst, 5, \"x\", -1",       // a negative item
      "push -3\n get lst, 20, [1]",  // a negative item from a slot
      "get lst, 21, [9]",            // a slot past the top
      "set lst, 16, 1, [4:0]",       // a mode that is none of 0 to 3
      "set lst, 15, 1, 4096",        // past the item limit
      ".byte 34, 0, 0, 5, 3, 1, 0",  // the index reference cut short by the end of the code
  };
  for (const char* body : faults) {
    EXPECT_EQ(RunList(std::string("push \"kept\"\n") + body + "\n push \"after\"\n callapp Report"),
              Reports{})
        << body;
  }
}

TEST_F(ListItems, OneListsTextsHaveALimit) {
  // 32 texts of 32768 characters are 1 MiB: the next character is a fault.
  EXPECT_EQ(RunList(R"(
    push "x"
    push 0
double:
    add [0], [0]
    add 1, [1]
    jlt [1], 15, double
    move 0, [1]
fill:
    set lst, 5, [0], [1]
    add 1, [1]
    jlt [1], 32, fill
    push [1]
    callapp Report
    set lst, 5, "y", 32
    push "after"
    callapp Report)"),
            (Reports{"i:32"}));
}

TEST(ListItemAssembly, TheIndexIsWrittenAfterTheOtherOperands) {
  std::vector<uint8_t> bytes;
  std::vector<std::string> errors;
  ASSERT_TRUE(VmcAssemble(std::string(kList) + "set lst, 5, \"a\", [base-2]\nget 0, 20, 7",
                          "a.vasm", bytes, errors));
  vmcProgram program;
  std::string reason;
  ASSERT_TRUE(VmcRead(bytes, program, reason));
  EXPECT_EQ(program.code, (std::vector<uint8_t>{33, 0, 0, 5,  2, 1, 0, 'a', 1, 2, 0, 0, 0,  //
                                                34, 0, 0, 20, 3, 7, 0, 0,   0}));
  const auto firstError = [](const std::string& text) {
    std::vector<uint8_t> out;
    std::vector<std::string> messages;
    EXPECT_FALSE(VmcAssemble(std::string(kList) + text, "b.vasm", out, messages));
    return messages.empty() ? std::string() : messages[0];
  };
  EXPECT_EQ(firstError("set lst, 15, 1"),
            "b.vasm:6: list attribute 15 names an item: add its index");
  EXPECT_EQ(firstError("get plain, 0, 1"),
            "b.vasm:6: attribute 0 of this object takes no item index");
  EXPECT_EQ(firstError("get lst, 6, 1"),
            "b.vasm:6: attribute 6 of this object takes no item index");
  EXPECT_EQ(firstError("get lst, 5, \"x\""),
            "b.vasm:6: a list item's index is a number or a stack reference");
  EXPECT_EQ(firstError("get lst"), "b.vasm:6: get takes 2 operands (3 with a list item's index)");
}

}  // namespace
