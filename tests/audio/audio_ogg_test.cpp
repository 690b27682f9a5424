// Ogg Vorbis through the decoder's callbacks over data files: their arithmetic and seek origins,
// late calls for closed sounds, and the streams that keep a sound's four buffers queued.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "audio/apiOpenal.h"
#include "audio/audioInternal.h"
#include "audio/audioTesting.h"
#include "audio/fwkAudio.h"
#include "audio_fixture.h"

namespace {

constexpr ALenum kBufferSize = 0x2004;  // AL_SIZE

class AudioOgg : public testing::Test {
 protected:
  void SetUp() override {
    AudioTestSetLibraries("", {});
    box = AudioStart();
    ASSERT_TRUE(AudioOggAvailable());
    bytes = OggBytes(Tone(0.5, 22050), 22050);
    path = PutSound(box, "half.ogg", bytes);
  }
  void TearDown() override { AudioStop(); }
  ALint Queued(int32_t id) {
    ALint queued = -1;
    al.alGetSourcei(Source(id), AL_BUFFERS_QUEUED, &queued);
    return queued;
  }
  ALuint Source(int32_t id) {
    return Audio()
        .emitters[static_cast<size_t>(
            Audio().sounds[static_cast<size_t>(AudioSoundFind(id))].emitter)]
        .source;
  }
  Sandbox box;
  std::string bytes;
  std::string path;
};

TEST_F(AudioOgg, ReadCountsWholeElementsAndSeekHonoursEveryOrigin) {
  int32_t id = AudioSoundOpen(path, kAudioKindSound, 1.0);
  ASSERT_GT(id, 0);
  const int64_t size = static_cast<int64_t>(bytes.size());
  ASSERT_EQ(AudioOggSeek(&id, -10, 2), 0);
  EXPECT_EQ(AudioOggTell(&id), size - 10);
  char destination[12] = {};
  EXPECT_EQ(AudioOggRead(destination, 4, 3, &id), 2u);  // 10 bytes: two whole elements
  EXPECT_EQ(std::string(destination, 10), bytes.substr(bytes.size() - 10));
  EXPECT_EQ(AudioOggTell(&id), size);
  ASSERT_EQ(AudioOggSeek(&id, 0, 2), 0);
  EXPECT_EQ(AudioOggTell(&id), size);
  EXPECT_EQ(AudioOggRead(destination, 1, 12, &id), 0u);
  ASSERT_EQ(AudioOggSeek(&id, -6, 1), 0);
  EXPECT_EQ(AudioOggTell(&id), size - 6);
  // Only the offset's low 32 bits count.
  ASSERT_EQ(AudioOggSeek(&id, (int64_t{1} << 32) + 5, 0), 0);
  EXPECT_EQ(AudioOggTell(&id), 5);
  EXPECT_EQ(AudioOggRead(destination, 0, 12, &id), 0u);
  EXPECT_EQ(AudioOggRead(destination, 4, 0, &id), 0u);
  EXPECT_TRUE(LogLinesWith("Error").empty());
  EXPECT_EQ(AudioOggSeek(&id, 0, 3), -1);
  EXPECT_EQ(AudioOggSeek(&id, -1, 0), -1);
  EXPECT_EQ(
      LogLinesWith("Error: AudioOggSeek - Unable to seek to position in \"half.ogg\".").size(), 2u);
  EXPECT_EQ(AudioOggTell(&id), 5);
}

TEST_F(AudioOgg, LateCallbacksAfterCloseAreLoggedAndFail) {
  int32_t id = AudioSoundOpen(path, kAudioKindSound, 1.0);
  AudioSoundPlay(id, true);
  int32_t late = id;
  AudioClose(id);
  char destination[8];
  EXPECT_EQ(AudioOggRead(destination, 1, 8, &late), 0u);
  EXPECT_EQ(AudioOggSeek(&late, 0, 0), -1);
  EXPECT_EQ(AudioOggTell(&late), -1);
  EXPECT_EQ(AudioOggClose(&late), 0);
  const std::vector<std::string> errors = LogLinesWith("Error");
  const std::string number = std::to_string(late);
  EXPECT_EQ(errors,
            (std::vector<std::string>{"Error: AudioOggRead - Invalid soundId = " + number,
                                      "Error: AudioOggSeek - Invalid soundId = " + number,
                                      "Error: AudioOggTell - Invalid soundId = " + number,
                                      "Error: AudioOggClose - Invalid soundId = " + number}));
  EXPECT_EQ(Audio().streams, nullptr);
  EXPECT_TRUE(Audio().files.empty());
}

TEST_F(AudioOgg, OnceQueuesTheWholeSoundAndLoopedFillsEveryBuffer) {
  const int32_t once = AudioSoundOpen(path, kAudioKindSound, 1.0);
  const int32_t looped = AudioSoundOpen(path, kAudioKindMusic, 1.0);
  AudioSoundPlay(once, false);
  AudioSoundPlay(looped, true);
  ASSERT_EQ(Queued(once), 1);
  ALint size = 0;
  al.alGetBufferi(Audio().sounds[0].buffers[0], kBufferSize, &size);
  EXPECT_EQ(size, 11025 * 2);  // every sample of the half second, 16-bit mono
  ASSERT_EQ(Queued(looped), 4);
  for (const ALuint buffer : Audio().sounds[1].buffers) {
    al.alGetBufferi(buffer, kBufferSize, &size);
    EXPECT_EQ(size, 65536);  // the loop runs on through its start
  }
  // Starting again starts from the beginning with a fresh queue.
  AudioSoundPlay(once, false);
  EXPECT_EQ(Queued(once), 1);
  EXPECT_EQ(AudioGetStatus(once), kAudioPlaying);
  // Two decoders on the list; closing the first one keeps the second reachable.
  int32_t first = once;
  AudioClose(first);
  ASSERT_NE(Audio().streams, nullptr);
  EXPECT_EQ(Audio().streams->soundId, looped);
  EXPECT_EQ(Audio().streams->previous, nullptr);
  EXPECT_EQ(Audio().files.size(), 1u);
  EXPECT_EQ(Audio().sounds[0].fileRecord, 0);
}

// A looped stream that decodes to ten samples goes back to its start a bounded number of times per
// buffer (sixteen), rather than thousands of times to fill 64 KiB, and the next buffer goes on.
TEST_F(AudioOgg, ATinyLoopRestartsABoundedNumberOfTimesPerBuffer) {
  const std::string tiny = PutSound(box, "tiny.ogg", OggBytes(Tone(10.0 / 192000, 192000), 192000));
  const int32_t once = AudioSoundOpen(tiny, kAudioKindSound, 1.0);
  const int32_t looped = AudioSoundOpen(tiny, kAudioKindMusic, 1.0);
  AudioSoundPlay(once, false);
  ASSERT_EQ(Queued(once), 1);
  ALint whole = 0;
  al.alGetBufferi(Audio().sounds[0].buffers[0], kBufferSize, &whole);
  ASSERT_GT(whole, 0);
  AudioSoundPlay(looped, true);
  ASSERT_EQ(Queued(looped), 4);
  // The first buffer: the first pass and sixteen restarts; each later one starts at the end the
  // buffer before it reached, so its sixteen restarts give sixteen passes.
  ALint size = 0;
  al.alGetBufferi(Audio().sounds[1].buffers[0], kBufferSize, &size);
  EXPECT_EQ(size, 17 * whole);
  for (size_t i = 1; i < 4; ++i) {
    al.alGetBufferi(Audio().sounds[1].buffers[i], kBufferSize, &size);
    EXPECT_EQ(size, 16 * whole);
  }
  // The queue plays out in milliseconds: each update fills it again and starts the source anew.
  for (int pass = 0; pass < 5; ++pass) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    AudioUpdate();
  }
  EXPECT_EQ(Audio().streams->ended, 0);
  EXPECT_EQ(AudioGetStatus(looped), kAudioPlaying);
  EXPECT_TRUE(LogLinesWith("Error").empty());
}

TEST_F(AudioOgg, UpdateRefillsTheQueueAsOpenALPlaysItOut) {
  // 3 s at 44.1 kHz is a little more than the four buffers hold: the rest goes in once OpenAL
  // has played the first buffer, about three quarters of a second in.
  const std::string longer = PutSound(box, "three.ogg", OggBytes(Tone(3.0, 44100), 44100));
  const int32_t id = AudioSoundOpen(longer, kAudioKindSound, 1.0);
  AudioSoundPlay(id, false);
  ASSERT_EQ(Queued(id), 4);
  EXPECT_EQ(Audio().streams->ended, 0);
  for (int pass = 0; pass < 150 && Audio().streams->ended == 0; ++pass) {
    AudioUpdate();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_EQ(Audio().streams->ended, 1);
  EXPECT_EQ(AudioGetStatus(id), kAudioPlaying);
  EXPECT_TRUE(LogLinesWith("Error").empty());
}

TEST_F(AudioOgg, DamagedFilesAreRefusedWithOneLine) {
  const std::string cut = PutSound(box, "cut.ogg", bytes.substr(0, 40));
  EXPECT_EQ(AudioSoundOpen(cut, kAudioKindSound, 1.0), -1);
  std::string huge = WaveBytes(Tone(0.1, 22050), 22050);
  huge[40] = '\xFF';  // the data chunk claims far more than the file holds
  huge[41] = '\xFF';
  huge[42] = '\xFF';
  const std::string wave = PutSound(box, "huge.wav", huge);
  EXPECT_EQ(AudioSoundOpen(wave, kAudioKindSound, 1.0), -1);
  EXPECT_EQ(LogLinesWith("Error: AudioSoundOpen - Unable to read sound").size(), 2u);
  EXPECT_TRUE(Audio().sounds.empty());
  EXPECT_TRUE(Audio().files.empty());
  EXPECT_EQ(Audio().streams, nullptr);
}

}  // namespace
