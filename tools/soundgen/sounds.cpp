#include "sounds.h"

#include <cmath>

namespace {

// Equal-tempered pitch: semitones above D2 (73.42 Hz), the key of every sting.
double Note(int32_t semitonesAboveD2) { return 73.416 * std::pow(2.0, semitonesAboveD2 / 12.0); }

void Add(soundBuffer& out, int32_t at, float value) {
  SynthExtend(out, at + 1);
  out[static_cast<size_t>(at)] += value;
}

// A dull blow: a falling low sine with a click of filtered noise on top.
void Thud(soundBuffer& out, int32_t start, double from, double to, double level, uint32_t seed) {
  synthSine body;
  synthNoise noise(seed);
  synthLowPass dull;
  const int32_t length = SynthSamples(0.35);
  for (int32_t i = 0; i < length; ++i) {
    const double t = static_cast<double>(i) / kSynthRate;
    const double pitch = to + (from - to) * std::exp(-t / 0.05);
    const double value = body.Step(pitch) * SynthEnvelope(i, 0.002, 0.09) +
                         0.8 * dull.Step(noise.Next(), 1400.0) * SynthEnvelope(i, 0.001, 0.025);
    Add(out, start + i, static_cast<float>(level * value));
  }
}

// Noise through a band whose centre follows `centre` (0..1 along the sound), shaped by `level`.
template <typename Centre, typename Level>
void Swept(soundBuffer& out, int32_t start, int32_t length, double q, uint32_t seed, Centre centre,
           Level level) {
  synthNoise noise(seed);
  synthBandPass band;
  for (int32_t i = 0; i < length; ++i) {
    const double along = static_cast<double>(i) / length;
    Add(out, start + i,
        static_cast<float>(level(along) * band.Step(noise.Next(), centre(along), q)));
  }
}

soundBuffer Bite() {
  soundBuffer out;
  // The fangs go in: a sharp, bright tick, then the wet crackle of skin.
  Swept(
      out, 0, SynthSamples(0.05), 1.5, 11, [](double) { return 2600.0; },
      [](double along) { return 2.5 * std::exp(-along * 6.0); });
  synthNoise crackle(12);
  for (int32_t k = 0; k < 14; ++k) {
    const int32_t at = SynthSamples(0.01 + 0.012 * k + 0.004 * (crackle.Next() + 1.0));
    Swept(
        out, at, SynthSamples(0.02), 3.0, 20 + static_cast<uint32_t>(k),
        [](double) { return 900.0; },
        [k](double along) { return (1.2 - k * 0.06) * (1.0 - along); });
  }
  // Then the drinking: a slow wet draw whose band rises, and a gulp.
  Swept(
      out, SynthSamples(0.16), SynthSamples(0.5), 5.0, 13,
      [](double along) { return 380.0 + 900.0 * along; },
      [](double along) { return 1.6 * std::sin(kPi * along); });
  Thud(out, SynthSamples(0.52), 120.0, 55.0, 0.5, 14);
  SynthRoom(out, 0.18, 0.6);
  SynthNormalise(out, 0.9);
  return out;
}

soundBuffer HumanSuspicious() {
  soundBuffer out;
  // "Hm?": a short closed-mouth hum, then a second one that rises like a question.
  SynthVoice(out, 0, SynthSamples(0.16), 150.0, 142.0, 260.0, 1000.0, 0.7, 21);
  SynthVoice(out, SynthSamples(0.24), SynthSamples(0.34), 140.0, 225.0, 300.0, 1100.0, 0.9, 22);
  SynthRoom(out, 0.25, 0.8);
  SynthNormalise(out, 0.85);
  return out;
}

soundBuffer HumanAttack() {
  soundBuffer out;
  // A breath, the shout "Hyah!", and the swing of a cudgel through the air.
  Swept(
      out, 0, SynthSamples(0.06), 1.0, 31, [](double) { return 1800.0; },
      [](double) { return 0.5; });
  SynthVoice(out, SynthSamples(0.04), SynthSamples(0.36), 235.0, 175.0, 760.0, 1150.0, 1.0, 32);
  Swept(
      out, SynthSamples(0.26), SynthSamples(0.3), 2.0, 33,
      [](double along) { return 300.0 + 1700.0 * along; },
      [](double along) { return 1.4 * std::sin(kPi * along) * std::sin(kPi * along); });
  SynthRoom(out, 0.22, 0.9);
  SynthNormalise(out, 0.9);
  return out;
}

soundBuffer PlayerHit() {
  soundBuffer out;
  // The blow lands; the vampire hisses and grunts.
  Thud(out, 0, 140.0, 45.0, 1.0, 41);
  SynthVoice(out, SynthSamples(0.05), SynthSamples(0.24), 98.0, 78.0, 520.0, 880.0, 0.8, 42);
  Swept(
      out, SynthSamples(0.06), SynthSamples(0.3), 2.5, 43, [](double) { return 5200.0; },
      [](double along) { return 0.5 * (1.0 - along); });
  SynthRoom(out, 0.2, 0.7);
  SynthNormalise(out, 0.9);
  return out;
}

soundBuffer Collapse() {
  soundBuffer out;
  // A long falling groan, the body striking the cobbles, then dust settling.
  SynthVoice(out, 0, SynthSamples(1.05), 125.0, 52.0, 520.0, 820.0, 0.9, 51);
  Thud(out, SynthSamples(0.95), 90.0, 38.0, 1.2, 52);
  Thud(out, SynthSamples(1.12), 70.0, 35.0, 0.5, 53);
  Swept(
      out, SynthSamples(0.97), SynthSamples(0.6), 0.7, 54, [](double) { return 700.0; },
      [](double along) { return 0.35 * (1.0 - along) * (1.0 - along); });
  SynthRoom(out, 0.3, 1.0);
  SynthNormalise(out, 0.9);
  return out;
}

soundBuffer Fog() {
  soundBuffer out;
  const int32_t length = SynthSamples(1.7);
  // Air drawn into a swirl, and a cold shimmer of beating high tones under it.
  Swept(
      out, 0, length, 3.0, 61,
      [](double along) { return 300.0 + 2100.0 * std::sin(kPi * along * 0.8); },
      [](double along) { return 1.3 * std::sin(kPi * along); });
  Swept(
      out, 0, length, 1.2, 62, [](double along) { return 600.0 + 400.0 * along; },
      [](double along) { return 0.5 * std::sin(kPi * along); });
  synthSine a;
  synthSine b;
  synthSine c;
  for (int32_t i = 0; i < length; ++i) {
    const double along = static_cast<double>(i) / length;
    const double shimmer = a.Step(Note(46)) + b.Step(Note(46) * 1.004) + 0.6 * c.Step(Note(53));
    Add(out, i, static_cast<float>(0.06 * shimmer * std::sin(kPi * along)));
  }
  SynthRoom(out, 0.45, 1.3);
  SynthNormalise(out, 0.8);
  return out;
}

void Chord(soundBuffer& out, double startSeconds, double lengthSeconds,
           std::initializer_list<int32_t> notes, double level) {
  for (const int32_t note : notes)
    SynthOrgan(out, SynthSamples(startSeconds), SynthSamples(lengthSeconds), Note(note), level);
}

soundBuffer YouWin() {
  soundBuffer out;
  // D minor, B flat, then D major: the night ends in the vampire's favour, with a tolling bell.
  Chord(out, 0.0, 0.85, {12, 15, 19, 24}, 0.18);
  Chord(out, 0.8, 0.85, {8, 12, 15, 20}, 0.18);
  Chord(out, 1.6, 1.9, {12, 16, 19, 24, 28}, 0.18);
  SynthBell(out, SynthSamples(1.6), Note(24), 0.35, 0.9);
  SynthRoom(out, 0.35, 1.4);
  SynthNormalise(out, 0.9);
  return out;
}

soundBuffer YouAreDead() {
  soundBuffer out;
  // A deep funeral bell twice over a low D minor that sinks to B flat minor.
  SynthBell(out, 0, Note(12), 0.5, 1.2);
  Chord(out, 0.05, 1.45, {0, 7, 12, 15}, 0.16);
  SynthBell(out, SynthSamples(1.45), Note(8), 0.5, 1.4);
  Chord(out, 1.45, 2.1, {-4, 8, 11, 15}, 0.16);
  SynthRoom(out, 0.4, 1.5);
  SynthNormalise(out, 0.9);
  return out;
}

// Everything in the night's loop is written around the loop (index modulo its length), so the
// end runs into the start without a seam.
void AddAround(soundBuffer& loop, int32_t at, float value) {
  const int32_t length = static_cast<int32_t>(loop.size());
  loop[static_cast<size_t>(((at % length) + length) % length)] += value;
}

void Owl(soundBuffer& loop, double atSeconds, double level) {
  // "Hoo ... hoo-hoo-hooo": a soft falling whistle of a tawny owl, far off.
  const double calls[][2] = {{0.0, 0.45}, {0.9, 0.16}, {1.12, 0.16}, {1.34, 0.7}};
  for (const auto& call : calls) {
    synthSine tone;
    const int32_t start = SynthSamples(atSeconds + call[0]);
    const int32_t length = SynthSamples(call[1]);
    for (int32_t i = 0; i < length; ++i) {
      const double along = static_cast<double>(i) / length;
      const double pitch = 420.0 - 60.0 * along;
      const double value = tone.Step(pitch) * SynthFade(i, length, 0.04, call[1] * 0.6);
      AddAround(loop, start + i, static_cast<float>(level * value));
    }
  }
}

void Crickets(soundBuffer& loop, double level) {
  synthNoise timing(81);
  const int32_t pulse = SynthSamples(0.014);
  for (double at = 0.2; at < 15.8; at += 0.8 + 0.25 * (timing.Next() + 1.0)) {
    for (int32_t p = 0; p < 3; ++p) {
      synthSine tone;
      const int32_t start = SynthSamples(at + 0.03 * p);
      for (int32_t i = 0; i < pulse; ++i) {
        const double shape = std::sin(kPi * i / pulse);
        AddAround(loop, start + i, static_cast<float>(level * shape * tone.Step(4300.0)));
      }
    }
  }
}

soundBuffer Night() {
  constexpr double kLoopSeconds = 16.0;
  const int32_t length = SynthSamples(kLoopSeconds);
  const int32_t fade = SynthSamples(1.0);
  // Wind in gusts whose rhythm repeats exactly once per loop; the first second is cross-faded
  // with the second after the loop's end, so the noise runs on without a jump.
  soundBuffer wind(static_cast<size_t>(length + fade), 0.0f);
  synthNoise air(91);
  synthBandPass band;
  synthLowPass rumble;
  synthLowPass soft1;
  synthLowPass soft2;
  synthNoise low(92);
  for (int32_t i = 0; i < length + fade; ++i) {
    const double t = static_cast<double>(i) / kSynthRate;
    const double cycle = 2.0 * kPi * t / kLoopSeconds;
    const double gust =
        0.35 +
        0.65 * std::pow(0.5 + 0.5 * std::sin(cycle * 2.0 + 0.6 * std::sin(cycle * 3.0)), 2.0);
    const double centre =
        420.0 + 220.0 * std::sin(cycle * 3.0 + 1.0) + 90.0 * std::sin(cycle * 5.0);
    const float raw =
        band.Step(air.Next(), centre, 1.4) * 0.9f + rumble.Step(low.Next(), 180.0) * 1.2f;
    // Wind through streets is dull; what is left above a kilohertz or two is hiss.
    wind[static_cast<size_t>(i)] =
        static_cast<float>(gust * soft2.Step(soft1.Step(raw, 1600.0), 1600.0));
  }
  soundBuffer loop(wind.begin(), wind.begin() + length);
  for (int32_t i = 0; i < fade; ++i) {
    const double in = static_cast<double>(i) / fade;
    loop[static_cast<size_t>(i)] =
        static_cast<float>(loop[static_cast<size_t>(i)] * std::sqrt(in) +
                           wind[static_cast<size_t>(length + i)] * std::sqrt(1.0 - in));
  }
  // Under the wind a low, slowly breathing drone on D and A.
  synthSine d;
  synthSine a;
  for (int32_t i = 0; i < length; ++i) {
    const double swell = 0.5 - 0.5 * std::cos(2.0 * kPi * i / length * 2.0);
    AddAround(
        loop, i,
        static_cast<float>(0.05 * (0.4 + 0.6 * swell) * (d.Step(Note(0)) + 0.7 * a.Step(Note(7)))));
  }
  Crickets(loop, 0.035);
  Owl(loop, 3.1, 0.2);
  Owl(loop, 11.4, 0.13);
  // A far church bell marks each turn of the loop.
  soundBuffer bell;
  SynthBell(bell, 0, Note(17), 0.1, 1.6);
  for (size_t i = 0; i < bell.size(); ++i)
    AddAround(loop, SynthSamples(7.5) + static_cast<int32_t>(i), bell[i]);
  // The room's echo is taken from a second pass over the loop, so its tail runs over the seam.
  soundBuffer twice(loop);
  twice.insert(twice.end(), loop.begin(), loop.end());
  SynthRoom(twice, 0.3, 1.5);
  soundBuffer out(twice.begin() + length, twice.end());
  SynthNormalise(out, 0.55);
  return out;
}

}  // namespace

const std::vector<gameSoundRecipe>& GameSoundRecipes() {
  static const std::vector<gameSoundRecipe> recipes = {
      {"Bin\\Sounds\\Night.ogg", Night, 0.1f},
      {"Bin\\Sounds\\Bite.ogg", Bite, 0.3f},
      {"Bin\\Sounds\\Human Suspicious.ogg", HumanSuspicious, 0.3f},
      {"Bin\\Sounds\\Human Attack.ogg", HumanAttack, 0.3f},
      {"Bin\\Sounds\\Player Hit.ogg", PlayerHit, 0.3f},
      {"Bin\\Sounds\\Collapse.ogg", Collapse, 0.3f},
      {"Bin\\Sounds\\Fog.ogg", Fog, 0.3f},
      {"Bin\\Sounds\\You Win.ogg", YouWin, 0.3f},
      {"Bin\\Sounds\\You Are Dead.ogg", YouAreDead, 0.3f},
  };
  return recipes;
}
