// The assembler: exact encodings of hand-written forms, and errors that name file and line.
#include "script/ScriptTestSupport.h"
#include "script/scriptVmc.h"
#include "vmcAsm.h"

namespace {

std::vector<uint8_t> Code(const std::string& text) {
  std::vector<uint8_t> bytes;
  std::vector<std::string> errors;
  EXPECT_TRUE(VmcAssemble(text, "code.vasm", bytes, errors)) << (errors.empty() ? "" : errors[0]);
  vmcProgram program;
  std::string reason;
  EXPECT_TRUE(VmcRead(bytes, program, reason)) << reason;
  return program.code;
}

std::string FirstError(const std::string& text) {
  std::vector<uint8_t> bytes;
  std::vector<std::string> errors;
  EXPECT_FALSE(VmcAssemble(text, "bad.vasm", bytes, errors)) << text;
  return errors.empty() ? std::string() : errors[0];
}

using Bytes = std::vector<uint8_t>;

TEST(Assembler, EncodesEveryOperandForm) {
  EXPECT_EQ(Code("push 258"), (Bytes{25, 0, 2, 1, 0, 0}));
  EXPECT_EQ(Code("push -1"), (Bytes{25, 0, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(Code("push 0x10"), (Bytes{25, 0, 16, 0, 0, 0}));
  EXPECT_EQ(Code("push TRUE"), (Bytes{25, 1, 1}));
  EXPECT_EQ(Code("push \"a\\x41\\n\""), (Bytes{25, 2, 3, 0, 'a', 'A', '\n'}));
  EXPECT_EQ(Code(".version 8\npush \"ab\""), (Bytes{25, 2, 2, 'a', 'b'}));
  EXPECT_EQ(Code("push [3]"), (Bytes{25 | 0x40, 0, 3, 0, 0, 0}));
  EXPECT_EQ(Code("push [base+2]"), (Bytes{25 | 0x40, 2, 2, 0, 0, 0}));
  EXPECT_EQ(Code("push [ base - 1 ]"), (Bytes{25 | 0x40, 1, 1, 0, 0, 0}));
  EXPECT_EQ(Code("push [base]"), (Bytes{25 | 0x40, 2, 0, 0, 0, 0}));
  EXPECT_EQ(Code("push [9:4]"), (Bytes{25 | 0x40, 9, 4, 0, 0, 0}));
  EXPECT_EQ(Code("add 1, [0]"), (Bytes{18 | 0x80, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Code("MOVE [1], [base+0]"), (Bytes{17 | 0xC0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 0}));
  EXPECT_EQ(Code("not [0]"), (Bytes{5 | 0x40, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Code("top: jeq [0], 1, top"),
            (Bytes{12 | 0x40, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Code("jne 1, [0], 7"), (Bytes{11 | 0x80, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 7, 0, 0, 0}));
  EXPECT_EQ(Code("nop\nhere:\ncall here\njump here\nfork here"),
            (Bytes{35, 1, 1, 0, 0, 0, 10, 1, 0, 0, 0, 37, 1, 0, 0, 0}));
  EXPECT_EQ(Code("return\npop\nyield\nbuiltin 300"), (Bytes{0, 26, 36, 32, 44, 1}));
  EXPECT_EQ(Code(".routine A\ncallapp B\ncallapp A\ncallapp 7"),
            (Bytes{31, 1, 0, 31, 0, 0, 31, 7, 0}));
  EXPECT_EQ(
      Code(
          ".object a, box\n.end\n.object \"b c\", label\n.end\nset \"b c\", 3, \"x\"\nget a, layer\nset 1, 255, [base-1]"),
      (Bytes{33, 1, 0, 3, 2, 1, 0, 'x', 34, 0, 0, 255, 33 | 0x40, 1, 0, 255, 1, 1, 0, 0, 0}));
  EXPECT_EQ(Code(".const LIMIT, 3\n.const NAME, \"n\"\npush LIMIT\npush NAME"),
            (Bytes{25, 0, 3, 0, 0, 0, 25, 2, 1, 0, 'n'}));
  EXPECT_EQ(Code(".byte 1, 0xFF, -1\n.int16 0x1234\nx: .int32 x, -2\n.literal false"),
            (Bytes{1, 255, 255, 0x34, 0x12, 5, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF, 1, 0}));
}

TEST(Assembler, ErrorsNameFileAndLine) {
  EXPECT_EQ(FirstError("nop\n  frobnicate 3"), "bad.vasm:2: unknown instruction frobnicate");
  EXPECT_EQ(FirstError("jump nowhere"), "bad.vasm:1: unknown label nowhere");
  EXPECT_EQ(FirstError("a:\na:"), "bad.vasm:2: label a defined twice");
  EXPECT_EQ(FirstError("add 1, 2"), "bad.vasm:1: add needs a stack reference as destination");
  EXPECT_EQ(FirstError("push 1, 2"), "bad.vasm:1: push takes 1 operand");
  EXPECT_EQ(FirstError("push \"open"), "bad.vasm:1: string not closed");
  EXPECT_EQ(FirstError("push [base*2]"), "bad.vasm:1: bad stack reference [base*2]");
  EXPECT_EQ(FirstError("push 4294967296"), "bad.vasm:1: number 4294967296 does not fit 32 bits");
  EXPECT_EQ(FirstError(".version 8\n\npush \"" + std::string(256, 'x') + "\""),
            "bad.vasm:3: string longer than 255 characters");
  EXPECT_EQ(FirstError("nop\n.version 9"), "bad.vasm:2: .version comes before the code");
  EXPECT_EQ(FirstError(".object a, widget\n.end"), "bad.vasm:1: unknown object kind widget");
  EXPECT_EQ(FirstError(".object a, box\nlayer 1"), "bad.vasm:1: .object without .end");
  EXPECT_EQ(FirstError(".object a, box\nmodel \"x\"\n.end"),
            "bad.vasm:2: model belongs to a frame: write frame first");
  EXPECT_EQ(FirstError("get nothing, 1"), "bad.vasm:1: unknown object nothing");
  EXPECT_EQ(FirstError("get 0, 256"), "bad.vasm:1: an attribute must be a number from 0 to 255");
  EXPECT_EQ(FirstError(".event start\nnop"), "bad.vasm:1: unknown label start");
  EXPECT_EQ(FirstError("nop\n.thread end\nend:"),
            "bad.vasm:2: an entry point lies at the end of the code, where nothing follows");
  EXPECT_EQ(FirstError("push \"\\q\""), "bad.vasm:1: unknown escape \\q");
}

TEST(Assembler, EveryFaultIsReportedOnceAndNothingIsWritten) {
  std::vector<uint8_t> bytes;
  std::vector<std::string> errors;
  EXPECT_FALSE(
      VmcAssemble(".version 8\npush NOPE\njump nowhere\npush \"" + std::string(300, 'y') + "\"\n",
                  "twice.vasm", bytes, errors));
  EXPECT_EQ(errors, (std::vector<std::string>{"twice.vasm:2: unknown constant NOPE",
                                              "twice.vasm:4: string longer than 255 characters"}));
  EXPECT_TRUE(bytes.empty());
}

}  // namespace
