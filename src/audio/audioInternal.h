// The audio module's tables and the helpers its files share. Only fwkAudio's own files include it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "audio/apiOggVorbis.h"
#include "audio/apiOpenal.h"

// One open Ogg Vorbis decoder. The decoder's data source is the first word, a copy of the
// sound's id: it stays where it is for the decoder's whole life, while the sound's record moves
// as the table grows and shrinks.
struct oggStream {
  int32_t soundId;
  int32_t ended;  // the decoder has delivered its last bytes and the sound does not loop
  OggVorbis_File file;
  oggStream* next;
  oggStream* previous;
};

struct soundData {
  int32_t id;
  uint8_t kind;
  std::string name;
  int32_t file;
  ALuint buffers[4];
  double volume;
  int32_t emitter;
  oggStream* stream;
  int32_t fileRecord;
};

struct emitterData {
  int32_t sound;
  ALuint source;
  int32_t looping;  // the sound was started looped; a stream goes back to its start at its end
};

// A data file held open for a sound while its decoder reads it.
struct audioFileRecord {
  int32_t soundId;
  int32_t file;
};

struct audioState {
  bool available = false;
  bool oggAvailable = false;
  std::vector<soundData> sounds;
  int32_t nextSoundId = 1;
  std::vector<emitterData> emitters;
  std::vector<int32_t> paused;
  oggStream* streams = nullptr;
  std::vector<audioFileRecord> files;
  float volumeApp = 1.0f;
  float volumeMaster = 1.0f;
  float volumeMusic = 1.0f;
  float volumeSound = 1.0f;
  float volumeVoice = 1.0f;
  std::string openalLibrary;
  std::vector<std::string> oggLibraries;
};

audioState& Audio();

// alGetError before an OpenAL call, so that the check after it sees only that call's error.
void AudioAlClear();
// alGetError after an OpenAL call: logs message + AudioErrorText when it failed.
bool AudioAlCheck(const std::string& message);
// The emitter's gain under the gain rule.
float AudioEmitterGain(const emitterData& emitter);
// Fills `buffer` from the stream's decoder and hands it to OpenAL; false when no byte came.
bool AudioStreamFill(soundData& sound, ALuint buffer, bool looping);
// Ogg: opens the decoder on the sound (already in the table, its file open). False when the
// data is not Ogg Vorbis the module can play.
bool AudioStreamOpen(soundData& sound);
void AudioStreamClose(soundData& sound);
