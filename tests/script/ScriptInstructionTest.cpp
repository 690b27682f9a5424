// Every instruction and conversion, run as start-up threads of assembled scripts.
#include "script/ScriptTestSupport.h"

namespace {

using Reports = std::vector<std::string>;

struct instructionCase {
  const char* body;
  Reports expected;
};

// Each case leaves values on the stack and reports them with "callapp Report".
const instructionCase kCases[] = {
    // Move keeps the destination's type and converts the source.
    {"push 0\n move \"42\", [0]\n callapp Report", {"i:42"}},
    {"push 0\n move \"12a\", [0]\n callapp Report", {"i:0"}},
    {"push 0\n move \"-7\", [0]\n callapp Report", {"i:-7"}},
    {"push 0\n move \"99999999999\", [0]\n callapp Report", {"i:0"}},
    {"push false\n move \"True\", [0]\n callapp Report", {"b:true"}},
    {"push false\n move \"yes\", [0]\n callapp Report", {"b:false"}},
    {"push \"\"\n move true, [0]\n callapp Report", {"s:true"}},
    {"push \"\"\n move -15, [0]\n callapp Report", {"s:-15"}},
    {"push 0\n move true, [0]\n callapp Report", {"i:1"}},
    {"push false\n move 2, [0]\n callapp Report", {"b:true"}},
    // Integer arithmetic wraps in 32 bits; division and modulo by zero give 0.
    {"push 2147483647\n add 1, [0]\n callapp Report", {"i:-2147483648"}},
    {"push 10\n sub 15, [0]\n callapp Report", {"i:-5"}},
    {"push 12\n and 10, [0]\n callapp Report\n or 1, [0]\n callapp Report", {"i:8", "i:9"}},
    {"push 65536\n mul 65536, [0]\n callapp Report", {"i:0"}},
    {"push -7\n div 2, [0]\n callapp Report\n push -7\n mod 2, [1]\n callapp Report",
     {"i:-3", "i:-1"}},
    {"push 7\n div 0, [0]\n callapp Report\n push 7\n mod 0, [1]\n callapp Report", {"i:0", "i:0"}},
    {"push -2147483648\n div -1, [0]\n callapp Report\n push -2147483648\n mod -1, [1]\n callapp Report",
     {"i:-2147483648", "i:0"}},
    // Boolean arithmetic.
    {"push false\n add 0, [0]\n callapp Report\n add 1, [0]\n callapp Report",
     {"b:false", "b:true"}},
    {"push true\n sub 1, [0]\n callapp Report\n sub 1, [0]\n callapp Report",
     {"b:false", "b:true"}},
    {"push true\n and \"TRUE\", [0]\n callapp Report\n and 0, [0]\n callapp Report\n or \"true\", [0]\n callapp Report",
     {"b:true", "b:false", "b:true"}},
    {"push true\n mul 5, [0]\n callapp Report\n mul 0, [0]\n callapp Report",
     {"b:true", "b:false"}},
    {"push true\n div 3, [0]\n callapp Report\n push true\n mod 0, [1]\n callapp Report",
     {"b:true", "b:false"}},
    // String arithmetic.
    {"push \"ab\"\n add 12, [0]\n add true, [0]\n callapp Report", {"s:ab12true"}},
    {"push \"abc\"\n sub 1, [0]\n callapp Report", {"s:ab"}},
    {"push \"abc\"\n sub 5, [0]\n callapp Report", {"s:"}},
    {"push \"abc\"\n sub -2, [0]\n callapp Report", {"s:abc"}},
    {"push \"xyzabc\"\n sub \"abc\", [0]\n callapp Report", {"s:xyz"}},
    {"push \"abcx\"\n sub \"abc\", [0]\n callapp Report\n push \"abcabc\"\n sub \"abc\", [1]\n callapp Report",
     {"s:abcx", "s:abcabc"}},
    {"push \"true\"\n and true, [0]\n callapp Report\n or false, [0]\n callapp Report\n and 0, [0]\n callapp Report",
     {"s:TRUE", "s:TRUE", "s:FALSE"}},
    {"push \"abc\"\n mul 2, [0]\n callapp Report\n push \"abc\"\n div 2, [1]\n callapp Report\n push \"x\"\n mod 2, [2]\n callapp Report",
     {"s:", "s:", "s:"}},
    // Not on each type.
    {"push 0\n not [0]\n callapp Report", {"i:-1"}},
    {"push true\n not [0]\n callapp Report", {"b:false"}},
    {"push \"TRUE\"\n not [0]\n callapp Report\n push \"nonsense\"\n not [1]\n callapp Report",
     {"s:FALSE", "s:TRUE"}},
    // Comparisons follow the source's type.
    {"push 5\n jlt [0], \"10\", yes\n push \"no\"\n callapp Report\n return\nyes:\n push \"yes\"\n callapp Report",
     {"s:yes"}},
    {"jgt \"b\", \"a\", yes\n push \"no\"\n callapp Report\n return\nyes:\n push \"yes\"\n callapp Report",
     {"s:yes"}},
    {"jgt \"B\", \"a\", yes\n push \"no\"\n callapp Report\n return\nyes:\n push \"yes\"\n callapp Report",
     {"s:no"}},
    {"jeq \"10\", 10, yes\n push \"no\"\n callapp Report\n return\nyes:\n push \"yes\"\n callapp Report",
     {"s:yes"}},
    {"jeq true, \"TRUE\", yes\n push \"no\"\n callapp Report\n return\nyes:\n push \"yes\"\n callapp Report",
     {"s:yes"}},
    {"jne 3, 3, yes\n jge 3, 3, a\n return\na:\n jle 2, 3, b\n return\nb:\n push \"all\"\n callapp Report\n return\nyes:\n push \"wrong\"\n callapp Report",
     {"s:all"}},
    // Push copies a slot; pop drops the top.
    {"push 1\n push 2\n push [0]\n callapp Report\n pop\n callapp Report", {"i:1", "i:2"}},
    // Call and return keep the base: [base-1] is the value pushed last before the call.
    {"push 4\n call square\n callapp Report\n return\nsquare:\n mul [base-1], [base-1]\n return",
     {"i:16"}},
    {"push 1\n call inner\n callapp Report\n return\ninner:\n push 10\n call deeper\n add [base+0], [base-1]\n pop\n return\n"
     "deeper:\n add [base-1], [base-2]\n return",
     {"i:21"}},
    // Opcode 35 does nothing; an absolute reference past the bottom counts from slot 0.
    {"nop\n push \"x\"\n push [0]\n callapp Report", {"s:x"}},
};

class Instructions : public ScriptTest, public testing::WithParamInterface<size_t> {};

TEST_P(Instructions, GiveTheirResults) {
  const instructionCase& c = kCases[GetParam()];
  EXPECT_EQ(Run(c.body), c.expected) << c.body;
}

INSTANTIATE_TEST_SUITE_P(Script, Instructions, testing::Range<size_t>(0, std::size(kCases)));

using Faults = ScriptTest;

// Each body faults at its second line: the thread ends there, silently, and what it pushed
// before stays as it was.
TEST_F(Faults, EndTheThreadWhereTheyHappen) {
  const char* faults[] = {
      "pop\n pop",                    // empty stack
      "nop\n add 1, [5]",             // destination past the top
      "nop\n push [base-1]",          // below the bottom
      "nop\n move 1, [7:5]",          // any other mode is absolute: past the top
      "nop\n callapp 3",              // routine index past the names
      "nop\n builtin 43",             // no such built-in
      "nop\n callapp Missing",        // not registered (logged)
      "nop\n jump 100000",            // target outside the code
      "nop\n .byte 2",                // not an instruction
      "nop\n .byte 0x7F",             // opcode 63 with flag A
      "nop\n .byte 5, 0\n .int32 0",  // not without flag A
      "nop\n .byte 17\n .literal 1\n .byte 0\n .int32 0",  // move without flag B
      "nop\n .byte 25, 1, 2",  // boolean literal that is neither 0 nor 1
      "nop\n .byte 25, 9",     // unknown literal type
      "nop\n get 0, 1",        // no object 0
  };
  for (const char* body : faults) {
    reported.clear();
    const std::string text = std::string(".thread main\nmain:\n push \"kept\"\n") + body +
                             "\n push \"after\"\n callapp Report\n return\n";
    const int32_t id = Load(text);
    ASSERT_GT(id, 0) << body;
    ScriptStep(id);
    EXPECT_TRUE(reported.empty()) << body;
    EXPECT_EQ(ScriptThreadCount(id), 1) << body;
    ScriptClose(id);
  }
  const std::vector<std::string> lines = LogLines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(),
            "Error: ScriptAppRoutineRun - App routine \"MISSING\" has not been registered.");
}

TEST_F(Faults, ReadsNeverPassTheEndOfTheCode) {
  // The int32 of a push literal is cut short by the end of the code.
  const int32_t id = Load(".thread main\nmain:\n push 7\n callapp Report\n .byte 25, 0, 1, 2, 3\n");
  ASSERT_GT(id, 0);
  ScriptStep(id);
  EXPECT_EQ(reported, (std::vector<std::string>{"i:7"}));
  EXPECT_EQ(ScriptThreadCount(id), 1);
}

TEST_F(Faults, FlagBOfPushIsIgnored) {
  // 0xD9: opcode 25 with both flags; the source is the stack reference of flag A.
  EXPECT_EQ(Run("push 41\n .byte 0xD9, 0\n .int32 0\n add 1, [1]\n callapp Report"),
            (std::vector<std::string>{"i:42"}));
}

TEST_F(Faults, StringsCannotGrowWithoutBound) {
  // Doubling a string runs into the string limit long before memory does.
  reported.clear();
  const int32_t id =
      Load(".thread main\nmain:\n push \"x\"\nloop:\n add [0], [0]\n callapp Report\n jump loop\n");
  ScriptStep(id);
  EXPECT_EQ(reported.size(), 15u);  // 2^16 would pass 65535 characters
  EXPECT_EQ(ScriptThreadCount(id), 1);
}

TEST_F(Faults, AThreadsStackHoldsAtMostOneMebibyteOfText) {
  const int32_t id = Load(R"(
.thread t
t:
    push 0          ; [0] copies made
    push "x"        ; [1] the text, doubled to 32768 characters
    push 0          ; [2] doublings
double:
    add [1], [1]
    add 1, [2]
    jlt [2], 15, double
copies:
    push [1]
    add 1, [0]
    push [0]
    callapp Report
    pop
    jump copies
)");
  ScriptStep(id);
  ASSERT_EQ(reported.size(), 31u);
  EXPECT_EQ(reported.back(), "i:31");
  EXPECT_EQ(ScriptThreadCount(id), 1);
}

TEST_F(Faults, OldVersionsCarryShortStrings) {
  const std::string longText(300, 'a');
  EXPECT_EQ(Run("push 0\n push \"" + longText + "\"\n builtin 23\n pop\n callapp Report")[0],
            "i:300");
  EXPECT_EQ(Run("push \"" + std::string(255, 'b') + "\"\n callapp Report", 8)[0],
            "s:" + std::string(255, 'b'));
}

}  // namespace
