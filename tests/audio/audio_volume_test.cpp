// The five volumes: read from the settings file, clamped, applied to every emitter's gain as
// OpenAL reports it back, and written at shutdown as whole percentages.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "audio/apiOpenal.h"
#include "audio/audioInternal.h"
#include "audio/audioTesting.h"
#include "audio/fwkAudio.h"
#include "audio_fixture.h"
#include "services/fwkIni.h"

namespace {

float Gain(int32_t soundId) {
  const int32_t index = AudioSoundFind(soundId);
  const int32_t emitter = Audio().sounds[static_cast<size_t>(index)].emitter;
  float gain = -1.0f;
  al.alGetSourcef(Audio().emitters[static_cast<size_t>(emitter)].source, AL_GAIN, &gain);
  return gain;
}

class AudioVolumes : public testing::Test {
 protected:
  void SetUp() override { AudioTestSetLibraries("", {}); }
  void TearDown() override {
    if (AudioAvailable()) AudioStop();
  }
};

TEST_F(AudioVolumes, SettingsAreReadClampedAndDefaultTo100) {
  AudioStart(
      "[Audio]\r\nApp Volume=40\r\nMaster Volume=150\r\nMusic Volume=-5\r\nSound Volume=loud\r\n"
      "Voice Volume=99999999999999\r\n");
  EXPECT_FLOAT_EQ(AudioVolumeGetApp(), 0.4f);
  EXPECT_FLOAT_EQ(Audio().volumeMaster, 1.0f);
  EXPECT_FLOAT_EQ(AudioVolumeGetMusic(), 0.0f);
  EXPECT_FLOAT_EQ(AudioVolumeGetSound(), 1.0f);
  EXPECT_FLOAT_EQ(AudioVolumeGetVoice(), 1.0f);
}

TEST_F(AudioVolumes, GainIsMasterTimesGroupTimesAppTimesOwnOnEveryEmitter) {
  const Sandbox box = AudioStart("[Audio]\r\nMaster Volume=50\r\nApp Volume=80\r\n");
  const std::string wave = PutSound(box, "tone.wav", WaveBytes(Tone(2.0, 22050), 22050));
  const int32_t music = AudioSoundOpen(wave, kAudioKindMusic, 0.5);
  const int32_t voice = AudioSoundOpen(wave, kAudioKindVoice, 1.0);
  const int32_t seven = AudioSoundOpen(wave, 7, 1.0);
  AudioVolumeSetMusic(0.25);
  AudioVolumeSetVoice(0.75);
  AudioVolumeSetSound(0.1);
  // Emitters made after the change get the rule too.
  for (int32_t id : {music, voice, seven}) AudioSoundPlay(id, true);
  EXPECT_FLOAT_EQ(Gain(music), 0.5f * 0.25f * 0.8f * 0.5f);
  EXPECT_FLOAT_EQ(Gain(voice), 0.5f * 0.75f * 0.8f);
  EXPECT_FLOAT_EQ(Gain(seven), 0.5f * 0.1f * 0.8f);  // any other kind follows the sound volume
  AudioVolumeSetApp(0.0);
  for (int32_t id : {music, voice, seven}) EXPECT_EQ(Gain(id), 0.0f);
  AudioVolumeSetApp(2.0);
  EXPECT_FLOAT_EQ(Gain(voice), 0.5f * 0.75f);
}

TEST_F(AudioVolumes, SetClampsAboveOneBelowZeroAndNotANumber) {
  AudioStart();
  AudioVolumeSetMusic(1.7);
  EXPECT_EQ(AudioVolumeGetMusic(), 1.0f);
  AudioVolumeSetMusic(-0.2);
  EXPECT_EQ(AudioVolumeGetMusic(), 0.0f);
  AudioVolumeSetSound(0.6);
  AudioVolumeSetSound(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(AudioVolumeGetSound(), 0.0f);
  double value = 0.3;
  AudioVolumeClamp(value);
  EXPECT_EQ(value, 0.3);
}

TEST_F(AudioVolumes, ShutdownWritesPercentagesWithHalvesToEven) {
  const Sandbox box = AudioStart("[Audio]\r\nMaster Volume=33\r\n");
  AudioVolumeSetApp(0.5);
  AudioVolumeSetMusic(0.125);  // 12.5 goes to 12
  AudioVolumeSetSound(0.375);  // 37.5 goes to 38
  AudioVolumeSetVoice(0.0);
  AudioStop();
  EXPECT_EQ(IniReadString("Audio", "App Volume", ""), "50");
  EXPECT_EQ(IniReadString("Audio", "Master Volume", ""), "33");
  EXPECT_EQ(IniReadString("Audio", "Music Volume", ""), "12");
  EXPECT_EQ(IniReadString("Audio", "Sound Volume", ""), "38");
  EXPECT_EQ(IniReadString("Audio", "Voice Volume", ""), "0");
}

}  // namespace
