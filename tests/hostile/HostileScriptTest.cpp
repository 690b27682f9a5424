// Level packs whose script was built to take the machine: the real program plays level 1 headless
// with the pack's patch folder beside it and must end by itself at its quit time, within the
// memory bound, with a small log. Each pack aims at one of the script's limits; each run is a
// separate process, killed (and failed) if it outlives a wall-clock bound.
#include <gtest/gtest.h>

#include "HostileProgram.h"
#include "script/scriptVmc.h"
#include "vmcAsm.h"

namespace {

using namespace hostile;

// Game time of each run: past the briefing into about 200 play steps.
const std::string kQuit = "4000";
constexpr auto kWallBound = std::chrono::seconds(120);
constexpr uintmax_t kLogBound = 10u * 1024u * 1024u;

class HostileScript : public HostileContent {
 protected:
  void SetUp() override {
    HostileContent::SetUp();
    UseShippedArchive();
    // Space ends the briefing: the level's play, and its script's threads, begin.
    Write("space.replay", "300 Space 100\n400 Space 0\n");
    // A pack that gets past the limits must not take the shared machine with it. Sanitizer
    // builds reserve their shadow memory as address space, so they go without the cap.
    if (SANGUOR_PEAK_MEMORY_MB <= 512) addressSpaceCap = rlim_t{4} << 30;
  }
  void WriteScriptBytes(const std::vector<uint8_t>& bytes) {
    Write("PATCH000001\\Bin\\Scripts\\Map1.vmc", std::string(bytes.begin(), bytes.end()));
  }
  void WriteScript(const std::string& text) {
    std::vector<uint8_t> bytes;
    std::vector<std::string> errors;
    ASSERT_TRUE(VmcAssemble(text, "pack.vasm", bytes, errors)) << errors[0];
    WriteScriptBytes(bytes);
  }
  // count labels, each set by index to a text of 65535 characters by one of threads threads,
  // each thread yielding after every label it sets. The labels are added to the container
  // directly: the assembler takes long over thousands of declarations.
  void WriteLabelScript(int32_t count, int32_t threads) {
    std::string text = ".object l0, label\n.end\n";
    for (int32_t t = 0; t < threads; ++t) text += ".thread t" + std::to_string(t) + "\n";
    for (int32_t t = 0; t < threads; ++t) {
      text += "t" + std::to_string(t) + ":\n push \"" + std::string(65535, 'w') + "\"\n";
      for (int32_t i = t; i < count; i += threads)
        text += " set " + std::to_string(i) + ", 3, [0]\n yield\n";
      text += " return\n";
    }
    std::vector<uint8_t> bytes;
    std::vector<std::string> errors;
    ASSERT_TRUE(VmcAssemble(text, "pack.vasm", bytes, errors)) << errors[0];
    vmcProgram program;
    std::string reason;
    ASSERT_TRUE(VmcRead(bytes, program, reason));
    for (int32_t i = 1; i < count; ++i) {
      program.objects.push_back(program.objects[0]);
      program.objects.back().name = "l" + std::to_string(i);
    }
    WriteScriptBytes(VmcWrite(program));
  }
  // A camera whose children name "x" the given number of times, and that many boxes named
  // "x" (the assembler refuses a name declared twice; the container does not).
  void WriteCameraScript(int32_t count) {
    std::vector<uint8_t> bytes;
    std::vector<std::string> errors;
    ASSERT_TRUE(VmcAssemble(".object cam, camera\n.end\n.thread t\nt:\n jump t\n", "pack.vasm",
                            bytes, errors));
    vmcProgram program;
    std::string reason;
    ASSERT_TRUE(VmcRead(bytes, program, reason));
    program.objects[0].children.assign(static_cast<size_t>(count), "x");
    vmcObject box;
    box.name = "x";
    box.kind = 1;
    program.objects.insert(program.objects.begin(), static_cast<size_t>(count), box);
    WriteScriptBytes(VmcWrite(program));
  }
  runResult Run() {
    fs::remove_all(root / "home");
    const runResult run = HostileContent::Run(
        {"-replay", (root / "app/space.replay").string(), "-quit", kQuit}, kWallBound);
    if (run.exitCode == -1)
      ADD_FAILURE() << "the program did not end by itself within " << kWallBound.count() << " s";
    return run;
  }
  // The quit time reached with the normal clean-up, within the memory and log bounds.
  static void ExpectCleanEnd(const runResult& run) {
    HostileContent::ExpectCleanEnd(run);
    EXPECT_LT(run.logBytes, kLogBound);
    EXPECT_EQ(Count(run, "Error: ScriptExecute - Instruction limit", true) > 0 ||
                  Count(run, "Error: ScriptOpen", true) > 0 ||
                  Count(run, "Error: ScriptExecute - Script", true) > 0,
              true)
        << "the pack's script never met a limit";
  }
  static std::string Refused(const std::string& reason) {
    return "Error: ScriptOpen - Invalid script file \"Bin\\Scripts\\Map1.vmc\": " + reason + ".";
  }
  static std::string Reached(const std::string& limit) {
    return "Error: ScriptExecute - Script \"Bin\\Scripts\\Map1.vmc\" reached its " + limit +
           " limit, thread ";
  }
};

// A mat of 4096 x 4096 cells (16 Mi, the most a mat may have) in 257 runs.
std::string BigMat() {
  std::string bytes = "MAT";
  bytes += '\x01';
  bytes += '\x00';
  const auto i32 = [&bytes](uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>((v >> shift) & 0xFFu);
  };
  i32(4096);
  i32(4096);
  bytes += '\x01';
  i32(0xFF000000u);
  bytes += '\x01';
  bytes += 'a';
  for (int32_t run = 0; run < 257; ++run) bytes += std::string("\xFF\xFF\x00", 3);
  return bytes;
}

TEST_F(HostileScript, LabelsSetToHugeTexts) {
  // 4000 labels each set to 65535 characters by 32 threads, a label per thread a step: with
  // each label's line, 500 MB without a limit. (65534 labels cost the same per label; the walks
  // over that many objects are another pack's.)
  WriteLabelScript(4000, 32);
  const runResult run = Run();
  ExpectCleanEnd(run);
  EXPECT_EQ(Count(run, Reached("text"), true), 1);
}

TEST_F(HostileScript, StackStringsEmptiedByMultiplyingIn250Threads) {
  // Each thread empties one more 65535-character string a step, as long as the step's budget
  // lets it run.
  WriteScript(
      ".thread t\nt:\n push 0\nspawn:\n fork fill\n add 1, [0]\n jlt [0], 249, spawn\nfill:\n push \"\"\n"
      " call grow\n yield\n jump fill\ngrow:\n add \"" +
      std::string(65535, 'm') +
      "\", [base-1]\n mul 0, [base-1]\n"
      " return\n");
  ExpectCleanEnd(Run());
}

TEST_F(HostileScript, StateVariablesWithoutEnd) {
  // Fifty fresh variables of 65000 characters a step.
  WriteScript(
      ".thread t\nt:\n push 0\nagain:\n push \"" + std::string(65000, 'v') +
      "\"\n push \"name\"\n"
      " add [0], [2]\n push 4\n builtin 32\n pop\n pop\n pop\n add 1, [0]\n push [0]\n mod 50, [1]\n"
      " jne [1], 0, next\n yield\nnext:\n pop\n jump again\n");
  const runResult run = Run();
  ExpectCleanEnd(run);
  EXPECT_EQ(Count(run, Reached("state variable"), true), 1);
}

TEST_F(HostileScript, ImageFramesNamingOneBigMat) {
  Write("PATCH000001\\Bin\\Mats\\big.mat", BigMat());
  std::string text = ".object pic, image\n    frameset\n";
  for (int32_t i = 0; i < 2000; ++i)
    text += "    frame \"f\"\n    mat \"Bin\\\\Mats\\\\big.mat\"\n";
  WriteScript(text + ".end\n.thread t\nt:\n jump t\n");
  ExpectCleanEnd(Run());
}

TEST_F(HostileScript, MatSetAgainAndAgain) {
  Write("PATCH000001\\Bin\\Mats\\big.mat", BigMat());
  WriteScript(
      ".object m, mat\n.end\n.thread t\nt:\n set m, 3, \"Bin\\\\Mats\\\\big.mat\"\n jump t\n");
  ExpectCleanEnd(Run());
}

TEST_F(HostileScript, SubstringSearchOfLongTexts) {
  WriteScript(".thread t\nt:\n push false\n push \"" + std::string(32768, 'a') + "\"\n push \"" +
              std::string(16382, 'a') + "b\"\nagain:\n builtin 38\n jump again\n");
  ExpectCleanEnd(Run());
}

TEST_F(HostileScript, CameraWhoseChildrenNameEveryObject) {
  // 65534 children each naming 65534 objects: the file is refused before anything is built.
  WriteCameraScript(65534);
  const runResult run = Run();
  ExpectCleanEnd(run);
  EXPECT_EQ(Count(run, Refused("too many camera children")), 1);
}

}  // namespace
