// The audio module started as the program starts it, in a sandbox of its own, on OpenAL Soft's
// null output (ALSOFT_DRIVERS=null, set for every test), with sound files made by the test.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "../services/sandbox.h"

// Starts the log, settings, data files and the audio module; the settings file holds `settings`.
Sandbox AudioStart(const std::string& settings = "");
// Stops the audio module and gives back its libraries.
void AudioStop();

// A tone of the given length as 16-bit mono samples at `rate`.
std::vector<float> Tone(double seconds, int32_t rate, double frequency = 440.0);
// The bytes of a PCM WAV file (16-bit mono) and of an Ogg Vorbis file of the samples.
std::string WaveBytes(const std::vector<float>& samples, int32_t rate);
std::string OggBytes(const std::vector<float>& samples, int32_t rate);
// Writes a sound file into the program folder (the data folder) and returns its content path.
std::string PutSound(const Sandbox& box, const std::string& name, const std::string& bytes);

// The log's lines that hold `text`.
std::vector<std::string> LogLinesWith(const std::string& text);
