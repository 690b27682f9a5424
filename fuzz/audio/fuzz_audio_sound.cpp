// Arbitrary bytes as a sound file opened through the audio module on OpenAL Soft's null output:
// Ogg Vorbis data goes through the decoder's callbacks over the data file, WAV data through the
// WAV reader. Every input is opened, played looped (which decodes four buffers, through the
// loop's start when the sound is short), fed once more and closed; the module's tables must come
// back empty and every id the input used must be gone.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "audio/audioInternal.h"
#include "audio/fwkAudio.h"
#include "platform/platform_system.h"
#include "services/fwkDataFile.h"
#include "services/fwkIni.h"
#include "services/fwkLog.h"
#include "services/fwkUtilities.h"

namespace {

std::string folder;

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

// libvorbisfile 1.3.7 loses 8 bytes when ov_open_callbacks refuses a damaged stream (valgrind
// shows the same with the library's own stdio callbacks); nothing else is excused.
extern "C" const char* __lsan_default_suppressions() { return "leak:libvorbisfile.so\n"; }

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("ALSOFT_DRIVERS", "null", 1);
  char pattern[] = "/tmp/sanguor-fuzz-audio-XXXXXX";
  if (mkdtemp(pattern) == nullptr) std::abort();
  folder = std::string(pattern) + "/";
  setenv("XDG_DATA_HOME", folder.c_str(), 1);
  PlatformSetArguments({"-userdatainapp"});
  PlatformSetExecutablePath(folder + "sanguor");
  UtilInit();
  DataFileInit();
  LogInit();
  IniInit();
  AudioInit();
  Require(AudioOggAvailable());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 1 << 20) return 0;
  LogInit();  // a fresh log for each input
  {
    std::ofstream file(folder + "fuzz.snd", std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  int32_t id = AudioSoundOpen("fuzz.snd", kAudioKindSound, 1.0);
  if (id > 0) {
    AudioSoundPlay(id, true);
    AudioUpdate();
    AudioGetStatus(id);
    AudioClose(id);
  }
  Require(id == -1);
  const audioState& audio = Audio();
  Require(audio.sounds.empty() && audio.emitters.empty() && audio.files.empty() &&
          audio.streams == nullptr);
  return 0;
}
