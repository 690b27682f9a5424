// The few sound-making parts the game's sounds are built from: noise, oscillators, filters,
// envelopes and a small room. Mono floating-point samples from -1 to 1.
#pragma once

#include <cstdint>
#include <vector>

using soundBuffer = std::vector<float>;

constexpr int32_t kSynthRate = 22050;
constexpr double kPi = 3.14159265358979323846;

// Seconds as a sample count at kSynthRate.
int32_t SynthSamples(double seconds);

// A repeatable white-noise source.
struct synthNoise {
  uint32_t state;
  explicit synthNoise(uint32_t seed) : state(seed * 2654435761u + 1u) {}
  float Next();
};

// A two-pole band-pass (resonant) filter of the audio cookbook; centre and width may change
// from sample to sample.
struct synthBandPass {
  float x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  float Step(float input, double centre, double q);
};

// A one-pole low-pass filter.
struct synthLowPass {
  float y = 0;
  float Step(float input, double cutoff);
};

// A voice: a band-limited-enough sawtooth with phase kept across pitch changes.
struct synthSaw {
  double phase = 0;
  float Step(double frequency);
};

struct synthSine {
  double phase = 0;
  float Step(double frequency);
};

// Attack, then an exponential fall with the given time constant (seconds), for sample i.
double SynthEnvelope(int32_t i, double attack, double decay);
// Linear rise over `in` seconds and fall over the last `out` seconds of `length` samples.
double SynthFade(int32_t i, int32_t length, double in, double out);

// A struck bell: inharmonic partials of a church bell, each dying at its own rate.
void SynthBell(soundBuffer& out, int32_t start, double fundamental, double level, double decay);
// An organ note: a stopped pipe's harmonics with a soft speech and release.
void SynthOrgan(soundBuffer& out, int32_t start, int32_t length, double frequency, double level);
// A voice: a sawtooth whose pitch glides from one frequency to another through formants of a
// vowel (first and second formant), shaped by an envelope.
void SynthVoice(soundBuffer& out, int32_t start, int32_t length, double pitchFrom, double pitchTo,
                double formant1, double formant2, double level, uint32_t seed);

// Stone-walled night air: a Schroeder reverberator mixed in at `wet`; the sound grows by the
// echo's tail.
void SynthRoom(soundBuffer& sound, double wet, double roomSize);
// Scales to the peak given, so every sound sits at a known loudness.
void SynthNormalise(soundBuffer& sound, double peak);
// Pads with silence to the sample count.
void SynthExtend(soundBuffer& sound, int32_t length);
