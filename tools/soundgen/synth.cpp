#include "synth.h"

#include <algorithm>
#include <cmath>

namespace {

// A feedback comb with a damped loop, and an all-pass, the parts of the room.
struct comb {
  std::vector<float> line;
  size_t at = 0;
  float store = 0;
  float Step(float input, float feedback, float damp) {
    const float out = line[at];
    store = out * (1.0f - damp) + store * damp;
    line[at] = input + store * feedback;
    at = (at + 1) % line.size();
    return out;
  }
};

struct allPass {
  std::vector<float> line;
  size_t at = 0;
  float Step(float input) {
    const float delayed = line[at];
    const float out = -input + delayed;
    line[at] = input + delayed * 0.5f;
    at = (at + 1) % line.size();
    return out;
  }
};

}  // namespace

int32_t SynthSamples(double seconds) {
  return static_cast<int32_t>(std::lround(seconds * kSynthRate));
}

float synthNoise::Next() {
  state ^= state << 13;
  state ^= state >> 17;
  state ^= state << 5;
  return static_cast<float>(state) / 2147483648.0f - 1.0f;
}

float synthBandPass::Step(float input, double centre, double q) {
  const double w = 2.0 * kPi * std::clamp(centre, 20.0, kSynthRate * 0.45) / kSynthRate;
  const double alpha = std::sin(w) / (2.0 * q);
  const double a0 = 1.0 + alpha;
  const double b0 = alpha / a0;
  const double a1 = -2.0 * std::cos(w) / a0;
  const double a2 = (1.0 - alpha) / a0;
  const float y = static_cast<float>(b0 * input - b0 * x2 - a1 * y1 - a2 * y2);
  x2 = x1;
  x1 = input;
  y2 = y1;
  y1 = y;
  return y;
}

float synthLowPass::Step(float input, double cutoff) {
  const double k = 1.0 - std::exp(-2.0 * kPi * cutoff / kSynthRate);
  y += static_cast<float>(k * (input - y));
  return y;
}

float synthSaw::Step(double frequency) {
  phase += frequency / kSynthRate;
  phase -= std::floor(phase);
  // A sum of the first harmonics keeps the voice from fizzing with aliases at this rate.
  double value = 0;
  for (int h = 1; h <= 12 && h * frequency < kSynthRate * 0.45; ++h)
    value += std::sin(2.0 * kPi * h * phase) / h;
  return static_cast<float>(value * 0.6);
}

float synthSine::Step(double frequency) {
  phase += frequency / kSynthRate;
  phase -= std::floor(phase);
  return static_cast<float>(std::sin(2.0 * kPi * phase));
}

double SynthEnvelope(int32_t i, double attack, double decay) {
  const double t = static_cast<double>(i) / kSynthRate;
  if (t < attack) return t / attack;
  return std::exp(-(t - attack) / decay);
}

double SynthFade(int32_t i, int32_t length, double in, double out) {
  const double t = static_cast<double>(i) / kSynthRate;
  const double left = static_cast<double>(length - i) / kSynthRate;
  return std::clamp(std::min(in > 0 ? t / in : 1.0, out > 0 ? left / out : 1.0), 0.0, 1.0);
}

void SynthBell(soundBuffer& out, int32_t start, double fundamental, double level, double decay) {
  // Hum, prime, tierce (the minor third that makes a bell sound mournful), quint, nominal and
  // the upper partials, with their relative loudness and how fast each dies.
  static const double kPartials[][3] = {{0.5, 0.5, 1.6},  {1.0, 1.0, 1.0}, {1.2, 0.6, 0.8},
                                        {1.5, 0.35, 0.6}, {2.0, 0.7, 0.5}, {2.5, 0.25, 0.35},
                                        {3.0, 0.2, 0.3},  {4.2, 0.12, 0.2}};
  const int32_t length = SynthSamples(decay * 2.5);
  SynthExtend(out, start + length);
  for (const auto& partial : kPartials) {
    synthSine sine;
    const double frequency = fundamental * partial[0];
    if (frequency > kSynthRate * 0.45) continue;
    for (int32_t i = 0; i < length; ++i) {
      out[static_cast<size_t>(start + i)] += static_cast<float>(
          level * partial[1] * SynthEnvelope(i, 0.004, decay * partial[2]) * sine.Step(frequency));
    }
  }
}

void SynthOrgan(soundBuffer& out, int32_t start, int32_t length, double frequency, double level) {
  static const double kHarmonics[][2] = {{1, 1.0},  {2, 0.45}, {3, 0.3},
                                         {4, 0.12}, {6, 0.08}, {8, 0.05}};
  SynthExtend(out, start + length);
  synthSine sines[6];
  synthSine vibrato;
  for (int32_t i = 0; i < length; ++i) {
    const double wobble = 1.0 + 0.002 * vibrato.Step(5.0);
    double value = 0;
    for (int h = 0; h < 6; ++h) {
      const double f = frequency * kHarmonics[h][0] * wobble;
      if (f < kSynthRate * 0.45) value += kHarmonics[h][1] * sines[h].Step(f);
    }
    out[static_cast<size_t>(start + i)] +=
        static_cast<float>(level * value * SynthFade(i, length, 0.06, 0.4));
  }
}

void SynthVoice(soundBuffer& out, int32_t start, int32_t length, double pitchFrom, double pitchTo,
                double formant1, double formant2, double level, uint32_t seed) {
  SynthExtend(out, start + length);
  synthSaw saw;
  synthNoise breath(seed);
  synthBandPass first;
  synthBandPass second;
  synthSine vibrato;
  // A throat is no wider than a few kilohertz: two gentle low-passes keep the breath from hissing.
  synthLowPass throat1;
  synthLowPass throat2;
  for (int32_t i = 0; i < length; ++i) {
    const double along = static_cast<double>(i) / length;
    const double pitch =
        (pitchFrom + (pitchTo - pitchFrom) * along) * (1.0 + 0.012 * vibrato.Step(5.5));
    const float source = saw.Step(pitch) + 0.05f * breath.Next();
    const float shaped =
        first.Step(source, formant1, 5.0) + 0.6f * second.Step(source, formant2, 7.0);
    const float voiced = throat2.Step(throat1.Step(shaped, 3200.0), 3200.0);
    out[static_cast<size_t>(start + i)] +=
        static_cast<float>(level * 3.0 * voiced * SynthFade(i, length, 0.03, 0.12));
  }
}

void SynthRoom(soundBuffer& sound, double wet, double roomSize) {
  // Room for the echo to die away after the last sound.
  SynthExtend(sound, static_cast<int32_t>(sound.size()) + SynthSamples(0.25 + 0.35 * roomSize));
  // Delay lengths of the classic reverberator at 44.1 kHz, halved for this rate and scaled.
  static const int32_t kCombs[] = {558, 594, 638, 678, 713, 745};
  static const int32_t kAllPasses[] = {278, 220};
  std::vector<comb> combs;
  for (const int32_t length : kCombs)
    combs.push_back(comb{std::vector<float>(static_cast<size_t>(length * roomSize) + 1, 0.0f)});
  std::vector<allPass> passes;
  for (const int32_t length : kAllPasses)
    passes.push_back(allPass{std::vector<float>(static_cast<size_t>(length), 0.0f)});
  for (float& sample : sound) {
    float tail = 0;
    for (comb& c : combs) tail += c.Step(sample * 0.1f, 0.8f, 0.35f);
    for (allPass& p : passes) tail = p.Step(tail);
    sample = static_cast<float>(sample * (1.0 - wet) + tail * wet);
  }
}

void SynthNormalise(soundBuffer& sound, double peak) {
  float highest = 0;
  for (const float sample : sound) highest = std::max(highest, std::fabs(sample));
  if (highest <= 0) return;
  const float scale = static_cast<float>(peak / highest);
  for (float& sample : sound) sample *= scale;
}

void SynthExtend(soundBuffer& sound, int32_t length) {
  if (static_cast<int32_t>(sound.size()) < length) sound.resize(static_cast<size_t>(length), 0.0f);
}
