// The game's sounds on OpenAL Soft's null output: the night loops through play and falls quiet
// for the result screens, the stings play there, and a missing sound costs one line.
#include <gtest/gtest.h>

#include <filesystem>

#include "GameLevels.h"
#include "GameTestSupport.h"
#include "audio/audioInternal.h"
#include "audio/fwkAudio.h"
#include "services/fwkState.h"

namespace {

int32_t SoundStatus(const std::string& name) {
  for (const soundData& sound : Audio().sounds)
    if (sound.name == "Bin\\Sounds\\" + name + ".ogg") return AudioGetStatus(sound.id);
  return -1;
}

std::string SimpleLevel(const std::string& extra) {
  return StandardTiles() + RoomMap(Room(20, 8)) + Lines({"#PC", "3,7"}) + extra;
}

TEST(GameSounds, TheNightLoopsThroughPlayAndTheResultHasItsSting) {
  gameSandbox game;
  game.WriteStandardContent();
  game.Write("Bin\\Maps\\Map1.map",
             SimpleLevel(Lines({"#BRIEFING", "Go.", "#OBJECTIVE", "LOCATION=5,7"})));
  ASSERT_TRUE(game.Start());
  ASSERT_TRUE(AudioAvailable());
  game.Run(2);
  ASSERT_EQ(StateGet(), kStateBriefing);
  EXPECT_EQ(SoundStatus("Night"), kAudioStopped);
  game.Tap(kKeySpace);
  game.Run(1);
  ASSERT_EQ(StateGet(), kStatePlay);
  EXPECT_EQ(SoundStatus("Night"), kAudioPlaying);
  EXPECT_EQ(SoundStatus("You Win"), kAudioStopped);
  game.Press(kKeyRight);
  ASSERT_TRUE(game.RunUntilState(kStateWin, 200));
  EXPECT_EQ(SoundStatus("Night"), kAudioStopped);
  EXPECT_EQ(SoundStatus("You Win"), kAudioPlaying);
  EXPECT_EQ(SoundStatus("You Are Dead"), kAudioStopped);
  EXPECT_EQ(game.Log().find("Error: "), std::string::npos) << game.Log();
}

TEST(GameSounds, AMissingSoundIsLoggedOnceAndTheGameGoesOn) {
  gameSandbox game;
  game.WriteStandardContent();
  std::filesystem::remove(game.app + "Bin/Sounds/Bite.ogg");
  game.Write("Bin\\Maps\\Map1.map", SimpleLevel(Lines({"#OBJECTIVE", "LOCATION=5,7"})));
  ASSERT_TRUE(game.Start());
  game.Run(1);
  EXPECT_EQ(SoundStatus("Night"), kAudioPlaying);
  EXPECT_EQ(SoundStatus("Bite"), -1);
  game.Press(kKeyRight);
  ASSERT_TRUE(game.RunUntilState(kStateWin, 200));
  EXPECT_EQ(SoundStatus("You Win"), kAudioPlaying);
  const std::string log = game.Log();
  const std::string line = "Error: AudioSoundOpen - Unable to open \"Bin\\Sounds\\Bite.ogg\".";
  ASSERT_NE(log.find(line), std::string::npos) << log;
  EXPECT_EQ(log.find("Error: ", log.find(line) + line.size()), std::string::npos) << log;
}

}  // namespace
