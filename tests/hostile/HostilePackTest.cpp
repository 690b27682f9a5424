// Level packs built to take the machine, each a patch folder beside the program whose level 1
// script (and what it names) replaces the shipped one. Each plays level 1 headless to its quit
// time and must end by itself within a wall-time bound measured against the plain level, under
// the memory bound, with a log under 10 MB.
#include <cstdint>
#include <string>
#include <vector>

#include "hostile/HostileProgram.h"
#include "vmcAsm.h"

namespace {

using namespace hostile;

constexpr uintmax_t kLogBoundBytes = 10'000'000;
// Program time each pack plays (17 ms a pass): Space leaves the briefing at 300 ms, then about 70
// play steps, every one drawn.
constexpr const char* kQuitTime = "1500";

const std::string kFont = "Bin\\\\Fonts\\\\Menu Description Small.fot";

class HostilePack : public HostileContent {
 protected:
  void SetUp() override {
    HostileContent::SetUp();
    UseShippedArchive();
    Write("leave-briefing.replay", "300 Space 100\n350 Space 0\n");
  }
  // The level 1 script of the pack, from its text form.
  void WriteScript(const std::string& text) {
    std::vector<uint8_t> bytes;
    std::vector<std::string> errors;
    ASSERT_TRUE(VmcAssemble(text, "pack.vasm", bytes, errors)) << errors.front();
    Write("PATCH000001\\Bin\\Scripts\\Map1.vmc", std::string(bytes.begin(), bytes.end()));
  }
  runResult RunPack(std::chrono::seconds wallLimit) {
    const std::string replay = (root / "app/leave-briefing.replay").string();
    return Run({"-replay", replay, "-drawall", "-quit", kQuitTime}, wallLimit);
  }
  // The same level with a script that only waits, as the measure of the packs: its wall time
  // and peak memory on this machine, now.
  runResult PlayPlain() {
    WriteScript(".thread idle\nidle:\n    yield\n    jump idle\n");
    const runResult waited = RunPack(std::chrono::seconds(600));
    ExpectCleanEnd(waited);
    return waited;
  }
  // Plays the pack in place after the plain level: a clean end within 30 s of wall time more
  // than three times the plain level took (a pack that freezes the game is stopped there), the
  // log within its bound, and (unless the pack may be refused by a limit) its script loaded.
  runResult Play(const std::string& pack, bool mayBeRefused = false) {
    plain = PlayPlain();
    WriteScript(pack);
    const auto bound = std::chrono::seconds(30 + static_cast<int64_t>(3 * plain.seconds));
    const runResult run = RunPack(bound);
    ExpectCleanEnd(run);
    EXPECT_LT(run.logBytes, kLogBoundBytes);
    if (!mayBeRefused) {
      EXPECT_EQ(Count(run, "Error: ScriptOpen", true), 0);
    }
    RecordProperty("seconds", std::to_string(run.seconds));
    RecordProperty("plain_seconds", std::to_string(plain.seconds));
    return run;
  }
  runResult plain;
};

// Every object kind's walk per step (hit test, drawing, timed update) over 65 535 objects: the
// most a script declares. Each walk once asked, per object, whether some camera names it.
TEST_F(HostilePack, SixtyFiveThousandObjectsKeepTheStepLinear) {
  std::string text;
  for (int32_t i = 0; i < 65535; ++i)
    text += ".object o" + std::to_string(i) +
            ", button\n    prop flag1, true\n    prop flag2, true\n.end\n";
  Play(text);
}

// A label with a font and a wrap width whose text is set to 65 000 line breaks a hundred times a
// step: the wrapping once copied what was left of the text after each break it took off (30 ms a
// wrap, 3 s a step), and is now linear (under 1 ms a wrap).
TEST_F(HostilePack, LabelWrappedOverThousandsOfLineBreaks) {
  std::string breaks;
  for (int32_t i = 0; i < 65000; ++i) breaks += "\\n";
  Play(".object lbl, label\n    font \"" + kFont +
       "\"\n    prop wrap, 300\n    prop flag, true\n    prop colour, 0xFFFFFFFF\n.end\n"
       ".thread main\nmain:\n    push \"" +
       breaks +
       "\"\n    push 0\nstep:\n    move 0, [1]\nagain:\n    set lbl, 3, [0]\n    add 1, [1]\n"
       "    jlt [1], 100, again\n    yield\n    jump step\n");
}

// A 1 x 1 mat followed by 24 million runs (72 MB): the runs past its one cell are read and
// checked, not kept. Kept, they took 96 MB, and more while the list of runs grew (the program
// peaked 86 MB higher than the plain level). A limit on the size of the mats a script opens may
// refuse the script instead; either way the memory stays.
TEST_F(HostilePack, MatRunsPastTheGridCostNoMemory) {
  const std::string head = std::string("MAT\x01\x00", 5) +
                           std::string("\x01\x00\x00\x00\x01\x00\x00\x00", 8) +
                           std::string("\x01\xFF\x00\x00\xFF\x04wall", 10);
  std::string mat = head;
  mat.reserve(head.size() + 3 * 24'000'000);
  for (int32_t i = 0; i < 24'000'000; ++i) mat.append("\x01\x00\x00", 3);
  Write("PATCH000001\\Bin\\Mats\\Big.mat", mat);
  const runResult run =
      Play(".object m, mat\n    prop flag, true\n    prop mat, \"Bin\\\\Mats\\\\Big.mat\"\n.end\n",
           true);
  EXPECT_LT(run.peakMb, plain.peakMb + 12) << "the plain level peaked at " << plain.peakMb << " MB";
  EXPECT_EQ(Count(run, "Error: MatOpen", true), 0);
}

// `L: set btn, 2, 0; jump L` writes the frame-clamp error until the step's instruction limit
// ends the thread, and a second thread writes it 60 000 times every step: the log keeps the
// first lines of the flood and its count, not the flood.
TEST_F(HostilePack, LogFloodIsCollapsedAndBounded) {
  const runResult run = Play(
      ".object btn, button\n.end\n"
      ".thread flood\n.thread steady\n"
      "flood:\nL:  set btn, 2, 0\n    jump L\n"
      "steady:\n    push 0\nstep:\n    move 0, [0]\nmore:\n    set btn, 2, 0\n"
      "    add 1, [0]\n    jlt [0], 60000, more\n    yield\n    jump step\n");
  const std::string clamp =
      "Error: ScriptCodeObjectButtonAttributeSet - Script attempted to set invalid frame number.  Clamping to "
      "first frame.";
  const auto first = std::find(run.log.begin(), run.log.end(), clamp);
  ASSERT_NE(first, run.log.end());
  ASSERT_GT(run.log.end() - first, 10);
  EXPECT_EQ(std::count(first, first + 10, clamp), 10);
  const std::string repeated = "... the last line was repeated ";
  ASSERT_EQ(first[10].rfind(repeated, 0), 0u) << first[10];
  // Each logged line costs the step 100 instructions: about 2000 copies before the step's limit.
  EXPECT_GT(std::stoll(first[10].substr(repeated.size())), 1'000);
  EXPECT_LT(run.logBytes, 1'000'000u);
}

}  // namespace
