#include "audio/fwkAudio.h"

#include "audio/audioInternal.h"
#include "audio/audioTesting.h"
#include "platform/platform_system.h"
#include "services/fwkDataFile.h"
#include "services/fwkLog.h"

namespace {

audioState state;
// A paused source that will not play again is given this many tries; the library has then
// refused for good and the loop must not hold the main loop.
constexpr int32_t kResumeAttempts = 100;

bool LibrariesExist(const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    if (!UtilLibraryExists(name)) return false;
  }
  return true;
}

void OggCheck() {
  state.oggAvailable = LibrariesExist(state.oggLibraries) && OggVorbisLoad(state.oggLibraries);
  if (!state.oggAvailable)
    LogError("Ogg Vorbis is not installed.  Ogg Vorbis playback is not possible.");
}

// The sound's emitter's source, or nullptr for audio off, an unknown id or a sound without one.
const emitterData* EmitterOf(int32_t soundId) {
  if (!state.available) return nullptr;
  const int32_t index = AudioSoundFind(soundId);
  if (index < 0) return nullptr;
  const int32_t emitter = state.sounds[static_cast<size_t>(index)].emitter;
  if (emitter < 0 || emitter >= static_cast<int32_t>(state.emitters.size())) return nullptr;
  return &state.emitters[static_cast<size_t>(emitter)];
}

ALint SourceState(ALuint source, const std::string& message) {
  ALint value = AL_NONE;
  AudioAlClear();
  al.alGetSourcei(source, AL_SOURCE_STATE, &value);
  AudioAlCheck(message);
  return value;
}

// The resume steps of AudioResume and AudioResumeAll, with the caller's messages.
void ResumeSource(ALuint source, const std::string& name) {
  if (SourceState(source, name + " - Failed to determine emitter status.  RC Error = ") !=
      AL_PAUSED)
    return;
  for (int32_t attempt = 0; attempt < kResumeAttempts; ++attempt) {
    AudioAlClear();
    al.alSourcePlay(source);
    AudioAlCheck(name + " - Failed to play emitter.  RC Error = ");
    if (SourceState(source,
                    name + " - Failed to determine emitter status on resume.  RC Error = ") ==
        AL_PLAYING)
      return;
  }
}

void RemoveEmitter(soundData& sound) {
  const int32_t removed = sound.emitter;
  AudioStop(sound.id);
  sound.emitter = -1;
  AudioAlClear();
  al.alDeleteSources(1, &state.emitters[static_cast<size_t>(removed)].source);
  AudioAlCheck("AudioClose - Failed to delete emitter source.  RC Error = ");
  state.emitters.erase(state.emitters.begin() + removed);
  for (soundData& other : state.sounds) {
    if (other.emitter > removed) {
      --other.emitter;
    } else if (other.emitter == removed) {
      LogError("AudioClose - Additional sounds using same emitter.");
      // The emitter is gone already; what remains is to stop the sound's own use of it.
      other.emitter = -1;
    }
  }
}

void RemoveFileRecord(soundData& sound) {
  const int32_t removed = sound.fileRecord;
  DataFileClose(sound.file);
  state.files.erase(state.files.begin() + removed);
  sound.fileRecord = -1;
  for (soundData& other : state.sounds) {
    if (other.fileRecord > removed) --other.fileRecord;
  }
}

}  // namespace

audioState& Audio() { return state; }

void AudioTestSetLibraries(const std::string& openal, const std::vector<std::string>& oggVorbis) {
  state.openalLibrary = openal;
  state.oggLibraries = oggVorbis;
}

void AudioAlClear() {
  if (al.alGetError != nullptr) al.alGetError();
}

bool AudioAlCheck(const std::string& message) {
  const ALenum code = al.alGetError != nullptr ? al.alGetError() : AL_NONE;
  if (code == AL_NONE) return true;
  LogError(message + AudioErrorText(code));
  return false;
}

void AudioInit() {
  LogVersionAdd("fwkAudio - Version 1.0");
  const std::string openalLibrary =
      state.openalLibrary.empty() ? PlatformOpenalLibraryName() : state.openalLibrary;
  const std::vector<std::string> oggLibraries =
      state.oggLibraries.empty() ? PlatformOggVorbisLibraryNames() : state.oggLibraries;
  state = audioState{};
  state.openalLibrary = openalLibrary;
  state.oggLibraries = oggLibraries;
  if (!UtilLibraryExists(openalLibrary) || !OpenalLoad(openalLibrary)) {
    LogError("OpenAL is not installed.  Audio playback is not possible.");
    OpenalFree();
    return;
  }
  // A library that loads but offers no device (no sound card, no sound server) leaves the
  // program as silent as a missing one, with a line of its own so that the player looks for the
  // device and not the library.
  if (!OpenalDeviceOpen()) {
    LogError("OpenAL found no sound output device.  Audio playback is not possible.");
    OpenalFree();
    return;
  }
  state.available = true;
  AudioAlClear();
  OggCheck();
  AudioSettingsLoad();
}

void AudioShutdown() {
  if (state.available) {
    AudioCloseAll();
    OpenalDeviceClose();
    AudioSettingsSave();
  }
  const std::string openalLibrary = state.openalLibrary;
  const std::vector<std::string> oggLibraries = state.oggLibraries;
  state = audioState{};
  state.openalLibrary = openalLibrary;
  state.oggLibraries = oggLibraries;
}

bool AudioAvailable() { return state.available; }

bool AudioOggAvailable() { return state.available && state.oggAvailable; }

std::string AudioErrorText(int32_t code) {
  const std::string number = std::to_string(code);
  switch (code) {
    case 0: return "There is not currently an error.  Error = " + number;
    case AL_INVALID_NAME:
      return "A bad name (ID) was passed to an OpenAL function.  Error = " + number;
    case AL_INVALID_ENUM:
      return "An invalid enum value was passed to an OpenAL function.  Error = " + number;
    case AL_INVALID_VALUE:
      return "An invalid value was passed to an OpenAL function.  Error = " + number;
    case AL_INVALID_OPERATION: return "The requested operation is not valid.  Error = " + number;
    case AL_OUT_OF_MEMORY:
      return "The requested operation resulted in OpenAL running out of memory.  Error = " + number;
    default: return "Unrecgoznied OpenAL error " + number + ".";
  }
}

int32_t AudioSoundFind(int32_t soundId) {
  const int32_t count = static_cast<int32_t>(state.sounds.size());
  if (count == 0 || soundId < 1) return -1;
  // Ids ascend through the table and a sound's index never exceeds its id - 1.
  const int32_t guess = soundId - 1 < count ? soundId - 1 : count - 1;
  if (state.sounds[static_cast<size_t>(guess)].id == soundId) return guess;
  int32_t low = 0;
  int32_t high = guess;
  while (low <= high) {
    const int32_t middle = low + (high - low) / 2;
    const int32_t id = state.sounds[static_cast<size_t>(middle)].id;
    if (id == soundId) return middle;
    if (id < soundId) {
      low = middle + 1;
    } else {
      high = middle - 1;
    }
  }
  return -1;
}

int32_t AudioGetStatus(int32_t soundId) {
  const emitterData* emitter = EmitterOf(soundId);
  if (emitter == nullptr) return kAudioStopped;
  const ALint value =
      SourceState(emitter->source, "AudioGetStatus - Failed to get emitter state.  RC Error = ");
  if (value == AL_PLAYING) return kAudioPlaying;
  if (value == AL_PAUSED) return kAudioPaused;
  return kAudioStopped;
}

void AudioPause(int32_t soundId) {
  const emitterData* emitter = EmitterOf(soundId);
  if (emitter == nullptr) return;
  AudioAlClear();
  al.alSourcePause(emitter->source);
  AudioAlCheck("AudioPause - Failed to pause emitter.  RC Error = ");
}

void AudioResume(int32_t soundId) {
  const emitterData* emitter = EmitterOf(soundId);
  if (emitter == nullptr) return;
  ResumeSource(emitter->source, "AudioResume");
}

void AudioStop(int32_t soundId) {
  const emitterData* emitter = EmitterOf(soundId);
  if (emitter == nullptr) return;
  AudioAlClear();
  al.alSourceStop(emitter->source);
  AudioAlCheck("AudioStop - Unable to stop sound.  ");
  AudioAlClear();
  al.alSourcei(emitter->source, AL_BUFFER, 0);
  AudioAlCheck("AudioStop - Unable to detach buffers.  ");
}

void AudioPauseAll() {
  if (!state.available) return;
  LogTraceBegin("AudioPauseAll - ");
  for (const emitterData& emitter : state.emitters) {
    if (SourceState(emitter.source,
                    "AudioPauseAll - Failed to determine emitter state.  RC Error = ") !=
        AL_PLAYING)
      continue;
    AudioAlClear();
    al.alSourcePause(emitter.source);
    AudioAlCheck("AudioPauseAll - Failed to pause emitter.  RC Error = ");
  }
  LogTraceEnd("AudioPauseAll - ");
}

void AudioResumeAll() {
  if (!state.available) return;
  LogTraceBegin("AudioResumeAll - ");
  for (const emitterData& emitter : state.emitters) ResumeSource(emitter.source, "AudioResumeAll");
  LogTraceEnd("AudioResumeAll - ");
}

void AudioPausePlaying() {
  if (!state.available) return;
  LogTraceBegin("AudioPausePlaying - ");
  state.paused.clear();
  for (size_t i = 0; i < state.sounds.size(); ++i) {
    const int32_t id = state.sounds[i].id;
    if (AudioGetStatus(id) != kAudioPlaying) continue;
    AudioPause(id);
    state.paused.push_back(id);
  }
  LogTraceEnd("AudioPausePlaying - ");
}

void AudioResumePaused() {
  if (!state.available) return;
  LogTraceBegin("AudioResumePaused - ");
  for (const int32_t id : state.paused) AudioResume(id);
  LogTraceEnd("AudioResumePaused - ");
}

void AudioClose(int32_t& soundId) {
  if (!state.available) {
    soundId = -1;
    return;
  }
  LogTraceBegin("AudioClose - ");
  const int32_t index = AudioSoundFind(soundId);
  if (index >= 0) {
    soundData& sound = state.sounds[static_cast<size_t>(index)];
    if (sound.emitter >= 0) RemoveEmitter(sound);
    if (sound.stream != nullptr) AudioStreamClose(sound);
    if (sound.fileRecord >= 0) RemoveFileRecord(sound);
    AudioAlClear();
    al.alDeleteBuffers(4, sound.buffers);
    AudioAlCheck("AudioClose - Failed to delete buffers.  RC Error = ");
    state.sounds.erase(state.sounds.begin() + index);
    for (emitterData& emitter : state.emitters) {
      if (emitter.sound > index) --emitter.sound;
    }
  }
  soundId = -1;
  LogTraceEnd("AudioClose - ");
}

void AudioCloseAll() {
  if (!state.available) return;
  LogTraceBegin("AudioCloseAll - ");
  while (!state.sounds.empty()) {
    int32_t id = state.sounds.back().id;
    AudioClose(id);
  }
  LogTraceEnd("AudioCloseAll - ");
}
