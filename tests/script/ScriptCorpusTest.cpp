// The fuzz targets' seed corpora, replayed through the same checks the fuzz targets make, so
// every seed keeps loading, running and assembling without harm in the ordinary test run.
#include <filesystem>
#include <fstream>
#include <iterator>

#include "script/ScriptTestSupport.h"
#include "script/scriptVmc.h"
#include "vmcAsm.h"

namespace {

std::vector<std::filesystem::path> Seeds(const std::string& target) {
  std::vector<std::filesystem::path> files;
  for (const auto& entry :
       std::filesystem::directory_iterator(std::string(SANGUOR_FUZZ_FOLDER) + "/corpus/" + target))
    files.push_back(entry.path());
  return files;
}

std::vector<uint8_t> Bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
}

using Corpus = ScriptTest;

TEST_F(Corpus, LoaderSeedsLoadAndRun) {
  const auto seeds = Seeds("fuzz_script_load");
  ASSERT_GE(seeds.size(), 3u);
  int32_t loaded = 0;
  for (const auto& seed : seeds) {
    const int32_t id = ScriptOpenBytes(seed.filename().string(), Bytes(seed));
    if (id == 0) continue;
    ++loaded;
    ScriptRoutineRun(id, 1, "AppScriptEnter");
    for (int i = 0; i < 3; ++i) {
      if (ScriptIsWaiting(id))
        ScriptThreadResume(id, -1);
      else
        ScriptStep(id);
    }
    ScriptClose(id);
  }
  EXPECT_GE(loaded, 3);
}

TEST_F(Corpus, CodeSeedsRunAsTheCodeTargetRunsThem) {
  const auto seeds = Seeds("fuzz_script_code");
  ASSERT_GE(seeds.size(), 3u);
  ScriptSetStepLimit(20000);
  for (const auto& seed : seeds) {
    const std::vector<uint8_t> bytes = Bytes(seed);
    if (bytes.size() < 2) continue;
    vmcProgram program;
    program.version = bytes[0] < 128 ? 9 : 8;
    program.code.assign(bytes.begin() + 1, bytes.end());
    program.routineNames = {"Report", "Unknown"};
    program.hasEventHandler = true;
    program.threadEntries = {0};
    program.objects.resize(2);
    program.objects[1].kind = kVmcKindList;
    const int32_t id = ScriptOpenBytes("code.vmc", VmcWrite(program));
    ASSERT_GT(id, 0) << seed;
    ScriptRoutineRun(id, 1, "AppScriptEnter");
    for (int i = 0; i < 4; ++i) {
      if (ScriptIsWaiting(id))
        ScriptThreadResume(id, -1);
      else
        ScriptStep(id);
    }
    EXPECT_LE(ScriptThreadCount(id), 256);
    ScriptClose(id);
  }
}

TEST_F(Corpus, AssemblerSeedsAssembleOrFailWithALine) {
  const auto seeds = Seeds("fuzz_script_asm");
  ASSERT_GE(seeds.size(), 3u);
  for (const auto& seed : seeds) {
    const std::vector<uint8_t> text = Bytes(seed);
    std::vector<uint8_t> out;
    std::vector<std::string> errors;
    if (VmcAssemble(std::string(text.begin(), text.end()), "seed", out, errors)) {
      EXPECT_GT(ScriptOpenBytes("seed.vmc", out), 0) << seed;
    } else {
      ASSERT_FALSE(errors.empty());
      EXPECT_EQ(errors[0].rfind("seed:", 0), 0u) << errors[0];
    }
  }
}

}  // namespace
