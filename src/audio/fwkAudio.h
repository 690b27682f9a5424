// The audio module: the program's OpenAL device and context, a table of sounds and a table of
// emitters (OpenAL sources) that play them, the five volumes, and the Ogg Vorbis callbacks that
// let the decoder read a sound's data file. When OpenAL is missing (or has no device) the module
// switches itself off for the run and every operation returns its neutral value at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Volume groups of a sound's kind; any kind other than 0 and 1 is a sound effect.
constexpr uint8_t kAudioKindMusic = 0;
constexpr uint8_t kAudioKindVoice = 1;
constexpr uint8_t kAudioKindSound = 2;

// What AudioGetStatus reports.
constexpr int32_t kAudioPaused = 1;
constexpr int32_t kAudioPlaying = 2;
constexpr int32_t kAudioStopped = 3;

void AudioInit();
void AudioShutdown();
bool AudioAvailable();
bool AudioOggAvailable();

// 1 paused, 2 playing, 3 anything else (stopped, no emitter, no such sound, audio off).
int32_t AudioGetStatus(int32_t soundId);
void AudioPause(int32_t soundId);
// Resumes the sound's emitter only when it is paused.
void AudioResume(int32_t soundId);
// Stops the emitter and detaches its buffers.
void AudioStop(int32_t soundId);
// Frees the sound; the caller's id becomes -1 whether or not it named a sound.
void AudioClose(int32_t& soundId);
void AudioCloseAll();
void AudioPauseAll();
void AudioResumeAll();
// Pauses the playing sounds and remembers exactly those; AudioResumePaused resumes them.
void AudioPausePlaying();
void AudioResumePaused();
// Index in the sound table, or -1.
int32_t AudioSoundFind(int32_t soundId);
std::string AudioErrorText(int32_t code);

// Opens a PCM WAV or Ogg Vorbis file by content path into a new sound of the given kind and own
// volume (0 to 1). Returns its id, or -1 (logged) when the file is missing or unreadable.
int32_t AudioSoundOpen(const std::string& path, uint8_t kind, double volume);
// Plays the sound from its start on its emitter (made on first play), once or looped.
void AudioSoundPlay(int32_t soundId, bool loop);
// Keeps the streamed sounds' queues filled; called once per main-loop pass.
void AudioUpdate();

// Volumes: 0 when audio is off. Set clamps to 0..1 and applies the gains to every emitter.
float AudioVolumeGetApp();
float AudioVolumeGetMusic();
float AudioVolumeGetSound();
float AudioVolumeGetVoice();
void AudioVolumeSetApp(double volume);
void AudioVolumeSetMusic(double volume);
void AudioVolumeSetSound(double volume);
void AudioVolumeSetVoice(double volume);
// Not >= 0 (negative or not a number) becomes 0; above 1 becomes 1.
void AudioVolumeClamp(double& volume);
// gain := master x group x application x the sound's own volume, for every emitter.
void AudioVolumeUpdate();
// Section "Audio": "App Volume", "Master Volume", "Music Volume", "Sound Volume", "Voice Volume"
// as whole percentages.
void AudioSettingsLoad();
void AudioSettingsSave();

// The Ogg Vorbis decoder's callbacks (libvorbisfile's ov_callbacks). The data source points at
// a sound's 32-bit id; the sound is looked up on every call, so a closed sound is detected.
size_t AudioOggRead(void* destination, size_t size, size_t count, void* source);
int AudioOggSeek(void* source, int64_t offset, int origin);
int AudioOggClose(void* source);
long AudioOggTell(void* source);
