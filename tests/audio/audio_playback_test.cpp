// Sounds on OpenAL Soft's null output: statuses through play, pause, resume and close, the
// application's pause and resume, shared emitters, and the module switched off.
#include <gtest/gtest.h>

#include "audio/apiOpenal.h"
#include "audio/audioInternal.h"
#include "audio/audioTesting.h"
#include "audio/fwkAudio.h"
#include "audio_fixture.h"
#include "platform/platform_system.h"

namespace {

class AudioPlayback : public testing::Test {
 protected:
  void SetUp() override {
    AudioTestSetLibraries("", {});
    box = AudioStart();
    ASSERT_TRUE(AudioAvailable()) << "OpenAL Soft's null output must open (ALSOFT_DRIVERS=null)";
    // Long enough to be playing still when each test looks.
    wave = PutSound(box, "tone.wav", WaveBytes(Tone(3.0, 22050), 22050));
  }
  void TearDown() override { AudioStop(); }
  Sandbox box;
  std::string wave;
};

TEST_F(AudioPlayback, StatusFollowsPlayPauseResumeStopAndClose) {
  int32_t id = AudioSoundOpen(wave, kAudioKindSound, 1.0);
  ASSERT_EQ(id, 1);
  EXPECT_EQ(AudioGetStatus(id), kAudioStopped);  // no emitter yet
  AudioSoundPlay(id, false);
  EXPECT_EQ(AudioGetStatus(id), kAudioPlaying);
  AudioResume(id);  // playing: left alone
  EXPECT_EQ(AudioGetStatus(id), kAudioPlaying);
  AudioPause(id);
  EXPECT_EQ(AudioGetStatus(id), kAudioPaused);
  AudioResume(id);
  EXPECT_EQ(AudioGetStatus(id), kAudioPlaying);
  AudioStop(id);
  EXPECT_EQ(AudioGetStatus(id), kAudioStopped);
  AudioResume(id);  // a stopped sound does not start
  EXPECT_EQ(AudioGetStatus(id), kAudioStopped);
  ALint buffer = -1;
  al.alGetSourcei(Audio().emitters[0].source, AL_BUFFER, &buffer);
  EXPECT_EQ(buffer, 0);  // stop detaches the buffers
  AudioSoundPlay(id, true);
  EXPECT_EQ(AudioGetStatus(id), kAudioPlaying);
  AudioClose(id);
  EXPECT_EQ(id, -1);
  EXPECT_EQ(AudioGetStatus(1), kAudioStopped);
  EXPECT_TRUE(Audio().emitters.empty());
  EXPECT_TRUE(LogLinesWith("Error").empty());
}

TEST_F(AudioPlayback, PausePlayingRemembersExactlyTheSoundsThatPlayed) {
  const int32_t a = AudioSoundOpen(wave, kAudioKindSound, 1.0);
  const int32_t b = AudioSoundOpen(wave, kAudioKindMusic, 1.0);
  int32_t c = AudioSoundOpen(wave, kAudioKindVoice, 1.0);
  const int32_t silent = AudioSoundOpen(wave, kAudioKindSound, 1.0);
  for (int32_t id : {a, b, c}) AudioSoundPlay(id, true);
  AudioPause(b);
  AudioPausePlaying();
  EXPECT_EQ(Audio().paused, (std::vector<int32_t>{a, c}));
  EXPECT_EQ(AudioGetStatus(a), kAudioPaused);
  AudioClose(c);  // closed while paused: skipped on resume
  AudioResumePaused();
  EXPECT_EQ(AudioGetStatus(a), kAudioPlaying);
  EXPECT_EQ(AudioGetStatus(b), kAudioPaused);  // was paused already, stays paused
  EXPECT_EQ(AudioGetStatus(silent), kAudioStopped);
  // The full-screen switch's pair resumes every paused emitter, whoever paused it.
  AudioPauseAll();
  EXPECT_EQ(AudioGetStatus(a), kAudioPaused);
  AudioResumeAll();
  EXPECT_EQ(AudioGetStatus(a), kAudioPlaying);
  EXPECT_EQ(AudioGetStatus(b), kAudioPlaying);
}

TEST_F(AudioPlayback, ClosingKeepsIdsAndIndexesInStep) {
  int32_t ids[5];
  for (int32_t& id : ids) id = AudioSoundOpen(wave, kAudioKindSound, 1.0);
  for (int32_t id : ids) AudioSoundPlay(id, true);
  int32_t second = ids[1];
  int32_t fourth = ids[3];
  AudioClose(second);
  AudioClose(fourth);
  EXPECT_EQ(AudioSoundFind(ids[0]), 0);
  EXPECT_EQ(AudioSoundFind(ids[1]), -1);
  EXPECT_EQ(AudioSoundFind(ids[2]), 1);
  EXPECT_EQ(AudioSoundFind(ids[4]), 2);
  EXPECT_EQ(AudioSoundFind(99), -1);
  // Every remaining sound still owns the emitter that points back at it.
  ASSERT_EQ(Audio().emitters.size(), 3u);
  for (size_t i = 0; i < Audio().sounds.size(); ++i) {
    const int32_t emitter = Audio().sounds[i].emitter;
    ASSERT_GE(emitter, 0);
    EXPECT_EQ(Audio().emitters[static_cast<size_t>(emitter)].sound, static_cast<int32_t>(i));
    EXPECT_EQ(AudioGetStatus(Audio().sounds[i].id), kAudioPlaying);
  }
  // Ids are never reused.
  EXPECT_EQ(AudioSoundOpen(wave, kAudioKindSound, 1.0), 6);
  int32_t missing = 42;
  AudioClose(missing);
  EXPECT_EQ(missing, -1);
  AudioCloseAll();
  EXPECT_TRUE(Audio().sounds.empty());
  EXPECT_TRUE(Audio().emitters.empty());
}

TEST_F(AudioPlayback, ClosingASharedEmitterLeavesTheOtherSoundsWithoutOne) {
  int32_t first = AudioSoundOpen(wave, kAudioKindSound, 1.0);
  const int32_t second = AudioSoundOpen(wave, kAudioKindSound, 1.0);
  const int32_t third = AudioSoundOpen(wave, kAudioKindSound, 1.0);
  const int32_t own = AudioSoundOpen(wave, kAudioKindSound, 1.0);
  AudioSoundPlay(first, true);
  AudioSoundPlay(own, true);
  // Sounds that share an emitter are something the table allows; these two borrow the first's.
  Audio().sounds[1].emitter = Audio().sounds[0].emitter;
  Audio().sounds[2].emitter = Audio().sounds[0].emitter;
  AudioClose(first);
  EXPECT_EQ(LogLinesWith("Error: AudioClose - Additional sounds using same emitter.").size(), 2u);
  EXPECT_EQ(AudioGetStatus(second), kAudioStopped);
  EXPECT_EQ(AudioGetStatus(third), kAudioStopped);
  EXPECT_EQ(Audio().sounds[0].emitter, -1);
  // The unrelated sound, whose emitter moved down a place, plays on undisturbed.
  EXPECT_EQ(Audio().sounds[2].emitter, 0);
  EXPECT_EQ(AudioGetStatus(own), kAudioPlaying);
}

TEST_F(AudioPlayback, MissingAndUnreadableFilesAreLoggedOnceEach) {
  EXPECT_EQ(AudioSoundOpen("Bin\\Sounds\\Nothing.ogg", kAudioKindSound, 1.0), -1);
  const std::string text = PutSound(box, "text.wav", "RIFF....WAVEjunk");
  EXPECT_EQ(AudioSoundOpen(text, kAudioKindSound, 1.0), -1);
  const std::vector<std::string> errors = LogLinesWith("Error");
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[0], "Error: AudioSoundOpen - Unable to open \"Bin\\Sounds\\Nothing.ogg\".");
  EXPECT_EQ(errors[1], "Error: AudioSoundOpen - Unable to read sound \"text.wav\".");
  EXPECT_TRUE(Audio().sounds.empty());
  // The failed opens used ids; the next sound gets a new one.
  EXPECT_EQ(AudioSoundOpen(wave, kAudioKindSound, 1.0), 2);
}

TEST(AudioErrors, TextsForEveryCode) {
  EXPECT_EQ(AudioErrorText(0), "There is not currently an error.  Error = 0");
  EXPECT_EQ(AudioErrorText(40961),
            "A bad name (ID) was passed to an OpenAL function.  Error = 40961");
  EXPECT_EQ(AudioErrorText(40964), "The requested operation is not valid.  Error = 40964");
  EXPECT_EQ(AudioErrorText(40965),
            "The requested operation resulted in OpenAL running out of memory.  Error = 40965");
  EXPECT_EQ(AudioErrorText(7), "Unrecgoznied OpenAL error 7.");
}

TEST(AudioOff, WithoutOpenALEveryOperationIsANoOpAndOneLineIsLogged) {
  AudioTestSetLibraries("libopenal-not-here.so.1", {});
  Sandbox box = AudioStart("[Audio]\r\nVoice Volume=80\r\n");
  EXPECT_FALSE(AudioAvailable());
  EXPECT_EQ(al.alGetError, nullptr);  // nothing resolved, so nothing can be called
  EXPECT_EQ(AudioGetStatus(1), kAudioStopped);
  EXPECT_EQ(AudioSoundOpen("tone.wav", kAudioKindSound, 1.0), -1);
  EXPECT_EQ(AudioVolumeGetVoice(), 0.0f);
  AudioVolumeSetVoice(0.3);
  AudioPausePlaying();
  AudioResumePaused();
  int32_t id = 5;
  AudioClose(id);
  EXPECT_EQ(id, -1);
  AudioStop();
  AudioTestSetLibraries("", {});
  const std::vector<std::string> errors = LogLinesWith("Error");
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], "Error: OpenAL is not installed.  Audio playback is not possible.");
  // Nothing was written at shutdown.
  EXPECT_EQ(ReadFile(box.userData + "settings.ini"), "[Audio]\r\nVoice Volume=80\r\n");
}

TEST(AudioOff, WithoutVorbisfileOggIsSilentAndWaveStillPlays) {
  std::vector<std::string> names = PlatformOggVorbisLibraryNames();
  names.back() = "libvorbisfile-not-here.so.3";
  AudioTestSetLibraries("", names);
  Sandbox box = AudioStart();
  ASSERT_TRUE(AudioAvailable());
  EXPECT_FALSE(AudioOggAvailable());
  const std::string ogg = PutSound(box, "tone.ogg", OggBytes(Tone(0.5, 22050), 22050));
  const std::string wave = PutSound(box, "tone.wav", WaveBytes(Tone(2.0, 22050), 22050));
  EXPECT_EQ(AudioSoundOpen(ogg, kAudioKindSound, 1.0), -1);
  const int32_t id = AudioSoundOpen(wave, kAudioKindSound, 1.0);
  AudioSoundPlay(id, false);
  EXPECT_EQ(AudioGetStatus(id), kAudioPlaying);
  AudioStop();
  AudioTestSetLibraries("", {});
  const std::vector<std::string> errors = LogLinesWith("Error");
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], "Error: Ogg Vorbis is not installed.  Ogg Vorbis playback is not possible.");
}

}  // namespace
