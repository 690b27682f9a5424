#include "audio_fixture.h"

#include <cmath>

#include "audio/apiOggVorbis.h"
#include "audio/apiOpenal.h"
#include "audio/fwkAudio.h"
#include "oggEncode.h"
#include "services/fwkDataFile.h"
#include "services/fwkIni.h"
#include "services/fwkLog.h"
#include "services/fwkUtilities.h"

Sandbox AudioStart(const std::string& settings) {
  Sandbox box = MakeSandbox();
  UtilInit();
  DataFileInit();
  LogInit();
  IniInit();
  if (!settings.empty()) WriteFile(box.userData + "settings.ini", settings);
  AudioInit();
  return box;
}

void AudioStop() {
  AudioShutdown();
  OggVorbisFree();
  OpenalFree();
  DataFileCloseAll();
}

std::vector<float> Tone(double seconds, int32_t rate, double frequency) {
  std::vector<float> samples(static_cast<size_t>(seconds * rate));
  for (size_t i = 0; i < samples.size(); ++i)
    samples[i] = static_cast<float>(
        0.5 * std::sin(2.0 * 3.14159265358979 * frequency * static_cast<double>(i) / rate));
  return samples;
}

std::string WaveBytes(const std::vector<float>& samples, int32_t rate) {
  std::string bytes;
  auto put = [&](uint32_t value, int count) {
    for (int i = 0; i < count; ++i) bytes.push_back(static_cast<char>(value >> (8 * i)));
  };
  const uint32_t data = static_cast<uint32_t>(samples.size() * 2);
  bytes += "RIFF";
  put(36 + data, 4);
  bytes += "WAVEfmt ";
  put(16, 4);
  put(1, 2);
  put(1, 2);
  put(static_cast<uint32_t>(rate), 4);
  put(static_cast<uint32_t>(rate * 2), 4);
  put(2, 2);
  put(16, 2);
  bytes += "data";
  put(data, 4);
  for (const float sample : samples)
    put(static_cast<uint16_t>(static_cast<int16_t>(sample * 32767.0f)), 2);
  return bytes;
}

std::string OggBytes(const std::vector<float>& samples, int32_t rate) {
  const std::vector<uint8_t> bytes = OggEncode(samples, 1, rate, 0.2f, 7);
  return std::string(bytes.begin(), bytes.end());
}

std::string PutSound(const Sandbox& box, const std::string& name, const std::string& bytes) {
  WriteFile(box.app + name, bytes);
  return name;
}

std::vector<std::string> LogLinesWith(const std::string& text) {
  std::vector<std::string> found;
  for (const std::string& line : ReadLines(LogFolder() + LogFileName()))
    if (line.find(text) != std::string::npos) found.push_back(line);
  return found;
}
