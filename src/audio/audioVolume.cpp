// The five volumes, their settings keys and the gain rule.
#include <cmath>

#include "audio/audioInternal.h"
#include "audio/fwkAudio.h"
#include "services/fwkIni.h"
#include "services/fwkLog.h"
#include "services/fwkUtilities.h"

namespace {

struct volumeKey {
  const char* key;
  float audioState::*volume;
};

// Read and written in this order.
constexpr volumeKey kVolumeKeys[] = {
    {"App Volume", &audioState::volumeApp},     {"Master Volume", &audioState::volumeMaster},
    {"Music Volume", &audioState::volumeMusic}, {"Sound Volume", &audioState::volumeSound},
    {"Voice Volume", &audioState::volumeVoice},
};

float VolumeGet(float audioState::*volume) { return Audio().available ? Audio().*volume : 0.0f; }

void VolumeSet(const char* trace, float audioState::*volume, double value) {
  if (!Audio().available) return;
  LogTraceBegin(trace);
  AudioVolumeClamp(value);
  Audio().*volume = static_cast<float>(value);
  AudioVolumeUpdate();
  LogTraceEnd(trace);
}

}  // namespace

float AudioEmitterGain(const emitterData& emitter) {
  const audioState& audio = Audio();
  if (emitter.sound < 0 || emitter.sound >= static_cast<int32_t>(audio.sounds.size())) return 0.0f;
  const soundData& sound = audio.sounds[static_cast<size_t>(emitter.sound)];
  const float group = sound.kind == kAudioKindMusic   ? audio.volumeMusic
                      : sound.kind == kAudioKindVoice ? audio.volumeVoice
                                                      : audio.volumeSound;
  return static_cast<float>(audio.volumeMaster * group * audio.volumeApp * sound.volume);
}

float AudioVolumeGetApp() { return VolumeGet(&audioState::volumeApp); }

float AudioVolumeGetMusic() { return VolumeGet(&audioState::volumeMusic); }

float AudioVolumeGetSound() { return VolumeGet(&audioState::volumeSound); }

float AudioVolumeGetVoice() { return VolumeGet(&audioState::volumeVoice); }

void AudioVolumeSetApp(double volume) {
  VolumeSet("AudioVolumeSetApp - ", &audioState::volumeApp, volume);
}

void AudioVolumeSetMusic(double volume) {
  VolumeSet("AudioVolumeSetMusic - ", &audioState::volumeMusic, volume);
}

void AudioVolumeSetSound(double volume) {
  VolumeSet("AudioVolumeSetSound - ", &audioState::volumeSound, volume);
}

void AudioVolumeSetVoice(double volume) {
  VolumeSet("AudioVolumeSetVoice - ", &audioState::volumeVoice, volume);
}

void AudioVolumeClamp(double& volume) {
  LogTraceBegin("AudioVolumeClamp - ");
  if (!(volume >= 0.0)) volume = 0.0;
  if (volume > 1.0) volume = 1.0;
  LogTraceEnd("AudioVolumeClamp - ");
}

void AudioVolumeUpdate() {
  if (!Audio().available) return;
  LogTraceBegin("AudioVolumeUpdate - ");
  AudioAlClear();
  for (const emitterData& emitter : Audio().emitters) {
    al.alSourcef(emitter.source, AL_GAIN, AudioEmitterGain(emitter));
    AudioAlCheck("AudioVolumeUpdate - Failed to set emitter volume.  RC Error = ");
  }
  LogTraceEnd("AudioVolumeUpdate - ");
}

void AudioSettingsLoad() {
  for (const volumeKey& entry : kVolumeKeys) {
    const std::string text = IniReadString("Audio", entry.key, "100");
    int32_t percent = 100;
    if (UtilIsInteger(text)) {
      // Digits beyond what 32 bits hold are still a number, and out of range either way.
      const long long value = std::strtoll(text.c_str(), nullptr, 10);
      percent = value > 100 ? 100 : value < 0 ? 0 : static_cast<int32_t>(value);
    }
    Audio().*entry.volume = static_cast<float>(percent) / 100.0f;
  }
}

void AudioSettingsSave() {
  LogTraceBegin("AudioSettingsSave - ");
  for (const volumeKey& entry : kVolumeKeys) {
    // nearbyint rounds halves to the even neighbour in the default rounding mode.
    const double percent = std::nearbyint(static_cast<double>(Audio().*entry.volume) * 100.0);
    IniWriteString("Audio", entry.key, std::to_string(static_cast<int32_t>(percent)));
  }
  LogTraceEnd("AudioSettingsSave - ");
}
