// Opening sounds from content paths, starting them on their emitters, and keeping the streamed
// ones fed.
#include <cstring>

#include "audio/audioInternal.h"
#include "audio/audioWave.h"
#include "audio/fwkAudio.h"
#include "services/fwkDataFile.h"
#include "services/fwkLog.h"

namespace {

ALenum WaveFormat(const audioWave& wave) {
  if (wave.channels == 2) return wave.bitsPerSample == 16 ? AL_FORMAT_STEREO16 : AL_FORMAT_STEREO8;
  return wave.bitsPerSample == 16 ? AL_FORMAT_MONO16 : AL_FORMAT_MONO8;
}

// The table's last sound; its id is the highest, so the table stays in ascending order.
soundData& AddSound(const std::string& path, uint8_t kind, double volume, int32_t file) {
  audioState& audio = Audio();
  soundData sound{};
  sound.id = audio.nextSoundId++;
  sound.kind = kind;
  sound.name = path;
  sound.file = file;
  sound.volume = volume;
  sound.emitter = -1;
  sound.stream = nullptr;
  sound.fileRecord = -1;
  AudioAlClear();
  al.alGenBuffers(4, sound.buffers);
  if (!AudioAlCheck("AudioSoundOpen - Unable to create buffers.  RC Error = "))
    std::memset(sound.buffers, 0, sizeof sound.buffers);
  audio.sounds.push_back(sound);
  return audio.sounds.back();
}

bool LoadWave(soundData& sound) {
  audioWave wave;
  if (!AudioWaveRead(sound.file, wave)) return false;
  AudioAlClear();
  al.alBufferData(sound.buffers[0], WaveFormat(wave), wave.samples.data(),
                  static_cast<ALsizei>(wave.samples.size()), wave.rate);
  return AudioAlCheck("AudioSoundOpen - Unable to fill buffer for \"" + sound.name +
                      "\".  RC Error = ");
}

emitterData* MakeEmitter(int32_t index) {
  audioState& audio = Audio();
  emitterData emitter{};
  emitter.sound = index;
  AudioAlClear();
  al.alGenSources(1, &emitter.source);
  if (!AudioAlCheck("AudioSoundPlay - Unable to create emitter.  RC Error = ")) return nullptr;
  // Sounds are heard as they are, wherever the listener stands.
  al.alSourcei(emitter.source, AL_SOURCE_RELATIVE, 1);
  al.alSourcef(emitter.source, AL_GAIN, AudioEmitterGain(emitter));
  AudioAlCheck("AudioSoundPlay - Unable to set emitter volume.  RC Error = ");
  audio.emitters.push_back(emitter);
  audio.sounds[static_cast<size_t>(index)].emitter =
      static_cast<int32_t>(audio.emitters.size()) - 1;
  return &audio.emitters.back();
}

void QueueStream(soundData& sound, const emitterData& emitter) {
  sound.stream->ended = 0;
  if (ov.ov_raw_seek(&sound.stream->file, 0) != 0) {
    sound.stream->ended = 1;
    return;
  }
  for (const ALuint buffer : sound.buffers) {
    if (!AudioStreamFill(sound, buffer, emitter.looping != 0)) break;
    AudioAlClear();
    al.alSourceQueueBuffers(emitter.source, 1, &buffer);
    AudioAlCheck("AudioSoundPlay - Unable to queue buffer.  RC Error = ");
  }
}

void FeedStream(soundData& sound, const emitterData& emitter) {
  ALint processed = 0;
  AudioAlClear();
  al.alGetSourcei(emitter.source, AL_BUFFERS_PROCESSED, &processed);
  if (!AudioAlCheck("AudioUpdate - Unable to read emitter queue.  RC Error = ")) return;
  for (ALint i = 0; i < processed; ++i) {
    ALuint buffer = 0;
    al.alSourceUnqueueBuffers(emitter.source, 1, &buffer);
    if (!AudioAlCheck("AudioUpdate - Unable to unqueue buffer.  RC Error = ")) return;
    if (!AudioStreamFill(sound, buffer, emitter.looping != 0)) continue;
    al.alSourceQueueBuffers(emitter.source, 1, &buffer);
    AudioAlCheck("AudioUpdate - Unable to queue buffer.  RC Error = ");
  }
  // A late pass lets the queue run dry and the source stop; it goes on where the data is.
  ALint queued = 0;
  al.alGetSourcei(emitter.source, AL_BUFFERS_QUEUED, &queued);
  ALint sourceState = AL_NONE;
  al.alGetSourcei(emitter.source, AL_SOURCE_STATE, &sourceState);
  if (queued > 0 && sourceState == AL_STOPPED) al.alSourcePlay(emitter.source);
  AudioAlCheck("AudioUpdate - Unable to restart emitter.  RC Error = ");
}

}  // namespace

int32_t AudioSoundOpen(const std::string& path, uint8_t kind, double volume) {
  audioState& audio = Audio();
  if (!audio.available) return -1;
  const int32_t file = DataFileOpen(path);
  if (file == 0) {
    LogError("AudioSoundOpen - Unable to open \"" + path + "\".");
    return -1;
  }
  char magic[4] = {};
  const bool read = DataFileRead(file, magic, 4);
  const bool wave = read && std::memcmp(magic, "RIFF", 4) == 0;
  const bool ogg = read && std::memcmp(magic, "OggS", 4) == 0;
  // Without the decoder an Ogg sound stays silent; start-up has said so once already.
  if (ogg && !audio.oggAvailable) {
    DataFileClose(file);
    return -1;
  }
  AudioVolumeClamp(volume);
  soundData& sound = AddSound(path, kind, volume, file);
  int32_t id = sound.id;
  bool loaded = false;
  if (wave) {
    loaded = LoadWave(sound);
    DataFileClose(file);
  } else if (ogg) {
    audio.files.push_back(audioFileRecord{id, file});
    sound.fileRecord = static_cast<int32_t>(audio.files.size()) - 1;
    DataFileSeek(file, 0);
    loaded = AudioStreamOpen(sound);
  } else {
    DataFileClose(file);
  }
  if (!loaded) {
    LogError("AudioSoundOpen - Unable to read sound \"" + path + "\".");
    AudioClose(id);
    return -1;
  }
  return id;
}

void AudioSoundPlay(int32_t soundId, bool loop) {
  audioState& audio = Audio();
  if (!audio.available) return;
  const int32_t index = AudioSoundFind(soundId);
  if (index < 0) return;
  soundData* sound = &audio.sounds[static_cast<size_t>(index)];
  emitterData* emitter = sound->emitter >= 0 ? &audio.emitters[static_cast<size_t>(sound->emitter)]
                                             : MakeEmitter(index);
  if (emitter == nullptr) return;
  AudioStop(soundId);
  emitter->looping = loop ? 1 : 0;
  AudioAlClear();
  if (sound->stream != nullptr) {
    al.alSourcei(emitter->source, AL_LOOPING, 0);
    QueueStream(*sound, *emitter);
  } else {
    al.alSourcei(emitter->source, AL_BUFFER, static_cast<ALint>(sound->buffers[0]));
    al.alSourcei(emitter->source, AL_LOOPING, loop ? 1 : 0);
  }
  al.alSourcePlay(emitter->source);
  AudioAlCheck("AudioSoundPlay - Unable to play \"" + sound->name + "\".  RC Error = ");
}

void AudioUpdate() {
  audioState& audio = Audio();
  if (!audio.available) return;
  for (soundData& sound : audio.sounds) {
    if (sound.stream == nullptr || sound.emitter < 0) continue;
    FeedStream(sound, audio.emitters[static_cast<size_t>(sound.emitter)]);
  }
}
