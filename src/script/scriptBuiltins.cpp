// The numbered built-in routines: input, audio volumes, graphics, font and state look-ups and a
// few text functions. Parameters and results travel through the calling thread's stack.
#include <cmath>
#include <random>

#include "audio/fwkAudio.h"
#include "graphics/fwkFont.h"
#include "graphics/fwkGraphics.h"
#include "input/fwkInput.h"
#include "platform/platform_system.h"
#include "script/scriptInternal.h"
#include "services/fwkState.h"
#include "services/fwkText.h"

namespace {

std::mt19937 generator;
scriptStateClock stateClock = StateTime;

void Reseed() { generator.seed(PlatformTickCount()); }

// The parameters of one call, named as the routine table numbers them.
struct call {
  int32_t scriptId;
  int32_t threadId;

  int32_t Int(int32_t n) const { return ScriptParamInt(scriptId, threadId, n); }
  bool Bool(int32_t n) const { return ScriptParamBool(scriptId, threadId, n); }
  std::string Text(int32_t n) const { return ScriptParamString(scriptId, threadId, n); }
  void SetInt(int32_t n, int32_t value) const { ScriptParamSetInt(scriptId, threadId, n, value); }
  void SetBool(int32_t n, bool value) const { ScriptParamSetBool(scriptId, threadId, n, value); }
  void SetText(int32_t n, const std::string& value) const {
    ScriptParamSetString(scriptId, threadId, n, value);
  }
};

std::string FileNamePart(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

void RaiseOnScript(int32_t callerIndex, const call& p) {
  const std::string wanted = TextUpper(p.Text(1) + ".vmc");
  const std::vector<script>& table = ScriptTable();
  for (size_t i = 0; i < table.size(); ++i) {
    if (TextUpper(FileNamePart(table[i].fileName)) != wanted) continue;
    const int32_t index = static_cast<int32_t>(i);
    if (index != callerIndex && !table[i].threads[0].running)
      ScriptEventRaise(index, p.Int(2), p.Text(3));
    return;
  }
}

std::string Substring(const std::string& text, int32_t start, int32_t count) {
  const int64_t first = std::max<int64_t>(start, 1) - 1;
  if (count <= 0 || first >= static_cast<int64_t>(text.size())) return std::string();
  return text.substr(static_cast<size_t>(first), static_cast<size_t>(count));
}

int32_t FirstReleasedControl() {
  inputBuffer events;
  InputControlEventsTake(InputControlSetActive(), events);
  for (const inputEvent& event : events.events)
    if (event.value == 0 && !InputControlIsAxis(event.identifier)) return event.identifier;
  return 0;
}

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

// A search may compare the pattern at every place in the text: charged for that, in units of
// the memory comparison's speed, so a step of searches stays within a frame.
constexpr size_t kSearchComparisonsPerUnit = 4096;
// Measuring text walks the font's glyphs character by character.
constexpr size_t kMeasuredCharactersPerUnit = 4;

bool Contains(const std::string& text, const std::string& pattern) {
  const size_t places = pattern.size() <= text.size() ? text.size() - pattern.size() + 1 : 0;
  ScriptBudgetChargeUnits(places * pattern.size() / kSearchComparisonsPerUnit);
  return text.find(pattern) != std::string::npos;
}

int32_t TextWidth(int32_t display, const std::string& fontName, const std::string& text) {
  const int32_t font = FontFindByName(display, fontName);
  ScriptBudgetChargeUnits(text.size() / kMeasuredCharactersPerUnit);
  return font > 0 ? FontTextWidth(font, text) : 0;
}

parameter StateValue(const call& p, int32_t number) {
  if (number == 30) return ScriptBoolean(p.Bool(3));
  if (number == 31) return ScriptInteger(p.Int(3));
  return ScriptString(p.Text(3));
}

int32_t RoundedSquareRoot(int32_t value) {
  if (value <= 0) return 0;
  return static_cast<int32_t>(std::nearbyint(std::sqrt(static_cast<double>(value))));
}

// Volumes are fractions in the audio module; scripts see whole percentages, halves to even.
int32_t Percent(float volume) {
  return static_cast<int32_t>(std::nearbyint(static_cast<double>(volume) * 100.0));
}

double Fraction(int32_t percent) { return percent / 100.0; }

int32_t Random(int32_t range) {
  if (range <= 0) return 0;
  return static_cast<int32_t>(generator() % static_cast<uint32_t>(range));
}

}  // namespace

void ScriptSetStateClock(scriptStateClock clock) {
  stateClock = clock != nullptr ? clock : StateTime;
}

int32_t ScriptBuiltinCall(int32_t scriptIndex, int32_t threadIndex, int32_t number) {
  const scriptThread* thread = ScriptThreadAt(scriptIndex, threadIndex);
  if (thread == nullptr) return 0;
  const call p{ScriptAt(scriptIndex)->id, thread->id};
  switch (number) {
    case 0:
      Reseed();
      p.SetInt(2, Random(p.Int(1)));
      return 1;
    case 1: p.SetInt(1, static_cast<int32_t>(stateClock(StateGet()))); return 1;
    case 2: p.SetInt(1, Percent(AudioVolumeGetMusic())); return 1;
    case 3: AudioVolumeSetMusic(Fraction(p.Int(1))); return 1;
    case 4: p.SetBool(1, GraphicsIsFullscreen()); return 1;
    case 5: p.SetText(3, GraphicsMonitorModeText(p.Int(1), p.Int(2))); return 1;
    case 6: p.SetInt(2, GraphicsDisplayModeIndex(p.Int(1))); return 1;
    case 7: p.SetInt(1, Percent(AudioVolumeGetSound())); return 1;
    case 8: AudioVolumeSetSound(Fraction(p.Int(1))); return 1;
    case 9: InputActionBind(p.Int(1), p.Int(2), static_cast<uint8_t>(p.Int(3) & 0xFF)); return 1;
    case 10: InputActionUnbindAll(p.Int(1)); return 1;
    case 11: p.SetInt(3, InputActionBinding(p.Int(1), p.Int(2))); return 1;
    case 12: p.SetInt(3, InputActionByIndex(p.Int(1), p.Int(2))); return 1;
    case 13: p.SetText(2, InputActionName(p.Int(1))); return 1;
    case 14: p.SetInt(2, InputAxisControl(p.Int(1))); return 1;
    case 15: p.SetInt(3, InputActionOfControl(p.Int(1), p.Int(2))); return 1;
    case 16: p.SetText(2, InputControlName(p.Int(1))); return 1;
    case 17: p.SetInt(2, InputControlSetFind(p.Text(1))); return 1;
    case 18: p.SetInt(2, InputActionCount(p.Int(1))); return 1;
    case 19: {
      inputBuffer discarded;
      InputControlEventsTake(InputControlSetActive(), discarded);
      return 1;
    }
    case 20: p.SetInt(1, FirstReleasedControl()); return 1;
    case 21: p.SetInt(1, Percent(AudioVolumeGetApp())); return 1;
    case 22: AudioVolumeSetApp(Fraction(p.Int(1))); return 1;
    case 23: p.SetInt(2, static_cast<int32_t>(p.Text(1).size())); return 1;
    case 24: RaiseOnScript(scriptIndex, p); return 1;
    case 25: p.SetText(4, Substring(p.Text(1), p.Int(2), p.Int(3))); return 1;
    case 26: p.SetInt(4, TextWidth(p.Int(1), p.Text(2), p.Text(3))); return 1;
    case 27: p.SetBool(3, StateVariableGetBool(p.Int(1), p.Text(2))); return 1;
    case 28: p.SetInt(3, StateVariableGetInteger(p.Int(1), p.Text(2))); return 1;
    case 29: p.SetText(3, StateVariableGetString(p.Int(1), p.Text(2))); return 1;
    case 30:
    case 31:
    case 32:
      return ScriptStateVariableSet(*ScriptAt(scriptIndex), thread->id, p.Int(1), p.Text(2),
                                    StateValue(p, number))
                 ? 1
                 : 0;
    case 33: p.SetText(2, std::string(1, static_cast<char>(p.Int(1) & 0xFF))); return 1;
    case 34: p.SetBool(1, InputMouseButtonsSwapped()); return 1;
    case 35: p.SetInt(1, Percent(AudioVolumeGetVoice())); return 1;
    case 36: AudioVolumeSetVoice(Fraction(p.Int(1))); return 1;
    case 37: p.SetInt(1, InputJoystickCount()); return 1;
    case 38: p.SetBool(3, Contains(p.Text(2), p.Text(1))); return 1;
    case 41:
      Reseed();
      p.SetInt(2, RoundedSquareRoot(p.Int(1)));
      return 1;
    case 42:
      Reseed();
      p.SetText(2, Lower(p.Text(1)));
      return 1;
    default: return ScriptBuiltinObjectCall(scriptIndex, threadIndex, number);
  }
}
