// The Ogg Vorbis decoder's callbacks over the sound's data file, and the streams that decode
// into a sound's queued buffers.
#include <vector>

#include "audio/audioInternal.h"
#include "audio/fwkAudio.h"
#include "services/fwkDataFile.h"
#include "services/fwkLog.h"

namespace {

// Each queued buffer holds about a third of a second of 44.1 kHz stereo: four of them ride out a
// main-loop pass that is late by a second.
constexpr int kStreamBufferBytes = 65536;
// Decoder results that give no bytes (holes, a loop start with nothing after it) in a row before
// the stream is taken as ended, so that damaged data cannot hold the main loop.
constexpr int kEmptyReadsAllowed = 64;
// Returns to the start of a looped stream per buffer fill. A loop a sixteenth of a buffer long
// (about 23 ms of 44.1 kHz stereo) still fills whole buffers; a stream that decodes to a few
// samples fills a short one instead of restarting its decoder thousands of times, and the
// buffer after it goes on from there.
constexpr int kLoopRestartsAllowed = 16;

soundData* SoundOf(void* source, const char* operation) {
  const int32_t id = *static_cast<const int32_t*>(source);
  const int32_t index = AudioSoundFind(id);
  if (index < 0) {
    LogError(std::string(operation) + " - Invalid soundId = " + std::to_string(id));
    return nullptr;
  }
  return &Audio().sounds[static_cast<size_t>(index)];
}

ov_callbacks Callbacks() {
  ov_callbacks callbacks;
  callbacks.read_func = AudioOggRead;
  callbacks.seek_func = [](void* source, ogg_int64_t offset, int origin) {
    return AudioOggSeek(source, offset, origin);
  };
  callbacks.close_func = AudioOggClose;
  callbacks.tell_func = AudioOggTell;
  return callbacks;
}

}  // namespace

size_t AudioOggRead(void* destination, size_t size, size_t count, void* source) {
  if (size == 0 || count == 0) return 0;
  const soundData* sound = SoundOf(source, "AudioOggRead");
  if (sound == nullptr) return 0;
  // One data-file read takes at most 2 GB; the decoder never asks for nearly that much.
  const size_t wanted = count > static_cast<size_t>(INT32_MAX) / size
                            ? static_cast<size_t>(INT32_MAX) / size * size
                            : size * count;
  const int32_t read = DataFileReadPartial(sound->file, destination, static_cast<int32_t>(wanted));
  return static_cast<size_t>(read) / size;
}

int AudioOggSeek(void* source, int64_t offset, int origin) {
  const soundData* sound = SoundOf(source, "AudioOggSeek");
  if (sound == nullptr) return -1;
  const int32_t low = static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(offset)));
  bool known = true;
  int64_t target = 0;
  switch (origin) {
    case 0: target = low; break;
    case 1: target = static_cast<int64_t>(low) + DataFilePosition(sound->file); break;
    case 2: target = static_cast<int64_t>(low) + DataFileSize(sound->file); break;
    default: known = false;
  }
  if (known && target >= 0 && target <= INT32_MAX &&
      DataFileSeek(sound->file, static_cast<int32_t>(target)))
    return 0;
  LogError("AudioOggSeek - Unable to seek to position in \"" + sound->name + "\".");
  return -1;
}

int AudioOggClose(void* source) {
  const soundData* sound = SoundOf(source, "AudioOggClose");
  if (sound != nullptr) DataFileClose(sound->file);
  return 0;
}

long AudioOggTell(void* source) {
  const soundData* sound = SoundOf(source, "AudioOggTell");
  if (sound == nullptr) return -1;
  return DataFilePosition(sound->file);
}

bool AudioStreamOpen(soundData& sound) {
  audioState& audio = Audio();
  if (!audio.oggAvailable) return false;
  auto* stream = new oggStream{};
  stream->soundId = sound.id;
  if (ov.ov_open_callbacks(&stream->soundId, &stream->file, nullptr, 0, Callbacks()) != 0) {
    delete stream;
    return false;
  }
  const vorbis_info* info = ov.ov_info(&stream->file, -1);
  if (info == nullptr || (info->channels != 1 && info->channels != 2) || info->rate < 1000 ||
      info->rate > 192000) {
    ov.ov_clear(&stream->file);
    delete stream;
    return false;
  }
  stream->next = audio.streams;
  if (audio.streams != nullptr) audio.streams->previous = stream;
  audio.streams = stream;
  sound.stream = stream;
  return true;
}

void AudioStreamClose(soundData& sound) {
  oggStream* stream = sound.stream;
  ov.ov_clear(&stream->file);
  if (stream->previous != nullptr) stream->previous->next = stream->next;
  if (stream->next != nullptr) stream->next->previous = stream->previous;
  if (Audio().streams == stream) Audio().streams = stream->next;
  delete stream;
  sound.stream = nullptr;
}

bool AudioStreamFill(soundData& sound, ALuint buffer, bool looping) {
  oggStream* stream = sound.stream;
  if (stream == nullptr || stream->ended) return false;
  std::vector<char> bytes(kStreamBufferBytes);
  int filled = 0;
  int empty = 0;
  int restarts = 0;
  // A chained file may change its layout between links; a buffer holds one layout only.
  const vorbis_info* first = ov.ov_info(&stream->file, -1);
  if (first == nullptr) return false;
  const int channels = first->channels;
  const long rate = first->rate;
  while (filled < kStreamBufferBytes && empty < kEmptyReadsAllowed) {
    int link = 0;
    const long got = ov.ov_read(&stream->file, bytes.data() + filled, kStreamBufferBytes - filled,
                                0, 2, 1, &link);
    const vorbis_info* now = ov.ov_info(&stream->file, -1);
    if (got > 0 && (now == nullptr || now->channels != channels || now->rate != rate)) {
      stream->ended = 1;
      break;
    }
    if (got > 0) {
      filled += static_cast<int>(got);
      empty = 0;
      continue;
    }
    ++empty;
    if (got == OV_HOLE) continue;
    if (got == 0 && looping) {
      // A loop that gave nothing over all its restarts has ended, like a run of empty reads.
      if (restarts == kLoopRestartsAllowed) {
        if (filled == 0) stream->ended = 1;
        break;
      }
      ++restarts;
      if (ov.ov_raw_seek(&stream->file, 0) == 0) continue;
    }
    stream->ended = 1;
    break;
  }
  if (empty >= kEmptyReadsAllowed) stream->ended = 1;
  // Whole sample frames only: a buffer with half a frame is refused by OpenAL.
  filled -= filled % (channels * 2);
  if (filled <= 0) return false;
  AudioAlClear();
  al.alBufferData(buffer, channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16, bytes.data(),
                  filled, static_cast<ALsizei>(rate));
  return AudioAlCheck("AudioStreamFill - Unable to fill buffer for \"" + sound.name +
                      "\".  RC Error = ");
}
