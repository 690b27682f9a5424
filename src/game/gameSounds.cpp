// The game's sounds: the night's ambience (music group) and the effects of play and of the
// result screens (sound group), all Ogg Vorbis from the game's archive.
#include "audio/fwkAudio.h"
#include "game/gameInternal.h"
#include "services/fwkState.h"

namespace {

constexpr const char* kAmbiencePath = "Bin\\Sounds\\Night.ogg";
constexpr const char* kSoundPaths[kSoundCount] = {
    "Bin\\Sounds\\Bite.ogg",         "Bin\\Sounds\\Human Suspicious.ogg",
    "Bin\\Sounds\\Human Attack.ogg", "Bin\\Sounds\\Player Hit.ogg",
    "Bin\\Sounds\\Collapse.ogg",     "Bin\\Sounds\\Fog.ogg",
    "Bin\\Sounds\\You Win.ogg",      "Bin\\Sounds\\You Are Dead.ogg",
};
// Several humans noticing the vampire in the same moment are heard as one.
constexpr uint32_t kRepeatInterval = 600;

int32_t ambience = -1;
int32_t sounds[kSoundCount];
uint32_t lastStart[kSoundCount];
bool started[kSoundCount];

}  // namespace

void GameSoundsOpen() {
  ambience = AudioSoundOpen(kAmbiencePath, kAudioKindMusic, 0.8);
  for (int32_t i = 0; i < kSoundCount; ++i) {
    sounds[i] = AudioSoundOpen(kSoundPaths[i], kAudioKindSound, 1.0);
    started[i] = false;
  }
}

void GameSoundsClose() {
  AudioClose(ambience);
  for (int32_t& sound : sounds) AudioClose(sound);
}

void GameSoundPlay(gameSound sound) {
  const uint32_t now = StateTime(StateGet());
  if (started[sound] && now - lastStart[sound] < kRepeatInterval &&
      AudioGetStatus(sounds[sound]) == kAudioPlaying)
    return;
  started[sound] = true;
  lastStart[sound] = now;
  AudioSoundPlay(sounds[sound], false);
}

void GameAmbienceOn() {
  if (AudioGetStatus(ambience) == kAudioStopped) AudioSoundPlay(ambience, true);
}

void GameAmbienceOff() { AudioStop(ambience); }
