// The real program, run headless through the first level's replay, heard through OpenAL Soft's
// wave writer; and run without any output device.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>

#include "../services/sandbox.h"

namespace {

namespace fs = std::filesystem;

class AudioProgram : public testing::Test {
 protected:
  void SetUp() override {
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    home = fs::absolute("audio-sandbox").string() + "/" + info->name() + "-" +
           std::to_string(getpid());
    fs::remove_all(home);
    fs::create_directories(home + "/Nightshade Forge/Sanguor");
  }
  // Plays the first level's replay until shortly after its bite (1.7 s into the replay). The wave
  // writer mixes at the pace of the real clock, so the run draws every pass ("-drawall"): on the
  // software renderer the tests use, that keeps the run about as long in wall time as in program
  // time, where fast-forward would end it before the writer had mixed anything.
  int Run(const std::string& environment) {
    const std::string command =
        "cd '" + fs::path(SANGUOR_PROGRAM).parent_path().string() + "' && XDG_DATA_HOME='" + home +
        "' " + environment + " './sanguor' -headless -seed 1 -level 1 -replay '" + SANGUOR_REPLAYS +
        "/Map1-win.replay' -quit 2200 -drawall 2>/dev/null >/dev/null";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  // Runs the program with the wave writer and returns the loudest sample it wrote.
  float PeakOfWaveRun() {
    const std::string wave = home + "/out.wav";
    WriteFile(home + "/alsoft.conf", "[general]\ndrivers=wave\n[wave]\nfile=" + wave + "\n");
    EXPECT_EQ(Run("ALSOFT_DRIVERS=wave ALSOFT_CONF='" + home + "/alsoft.conf'"), 0);
    const std::string bytes = ReadFile(wave);
    const size_t data = bytes.find("data");
    EXPECT_NE(data, std::string::npos);
    if (data == std::string::npos) return -1.0f;
    // The writer's format: 32-bit float samples.
    float peak = 0.0f;
    for (size_t at = data + 8; at + 4 <= bytes.size(); at += 4) {
      float sample;
      std::memcpy(&sample, bytes.data() + at, 4);
      peak = std::max(peak, std::fabs(sample));
    }
    return peak;
  }
  std::string Settings() { return home + "/Nightshade Forge/Sanguor/settings.ini"; }
  std::string Log() { return ReadFile(home + "/Nightshade Forge/Sanguor/results.log"); }
  std::string home;
};

TEST_F(AudioProgram, APlayedLevelIsHeardAndAppVolumeZeroSilencesIt) {
  EXPECT_GT(PeakOfWaveRun(), 0.05f);
  EXPECT_EQ(Log().find("Error"), std::string::npos) << Log();
  EXPECT_NE(ReadFile(Settings()).find("[Audio]\r\nApp Volume=100\r\n"), std::string::npos);
  WriteFile(Settings(), "[Audio]\r\nApp Volume=0\r\n");
  EXPECT_EQ(PeakOfWaveRun(), 0.0f);
  EXPECT_NE(ReadFile(Settings()).find("App Volume=0\r\n"), std::string::npos);
}

TEST_F(AudioProgram, WithoutADeviceTheGameRunsSilentWithOneLine) {
  EXPECT_EQ(Run("ALSOFT_DRIVERS=none"), 0);
  const std::string log = Log();
  const std::string line =
      "Error: OpenAL found no sound output device.  Audio playback is not possible.\r\n";
  ASSERT_NE(log.find(line), std::string::npos) << log;
  // OpenAL is there: the line for a missing library would send the player looking for the wrong thing.
  EXPECT_EQ(log.find("OpenAL is not installed"), std::string::npos) << log;
  EXPECT_EQ(log.find("Error", log.find(line) + line.size()), std::string::npos) << log;
  EXPECT_NE(log.find("GameCleanup - End"), std::string::npos);
  EXPECT_EQ(ReadFile(Settings()).find("[Audio]"), std::string::npos);
}

}  // namespace
