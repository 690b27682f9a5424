#include "shell/RunControl.h"

#include <algorithm>
#include <cctype>
#include <limits>

#include "input/fwkInput.h"
#include "platform/platform_system.h"
#include "services/fwkLog.h"
#include "shell/UntMain.h"

namespace {

runSettings settings;
std::vector<replayEvent> replay;
size_t replayNext = 0;
size_t shotNext = 0;
bool quitAsked = false;
replayWriter recorder;
uint32_t startTick = 0;
bool runStarted = false;
uint32_t passTime = 0;
uint32_t passLength = 0;  // 0 until two passes have run

bool SameSwitch(const std::string& parameter, const char* name) {
  std::string upper;
  for (char c : parameter) upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  std::string wanted;
  for (const char* c = name; *c != '\0'; ++c)
    wanted += static_cast<char>(std::toupper(static_cast<unsigned char>(*c)));
  return upper == wanted;
}

bool Milliseconds(const std::string& text, uint32_t& out) {
  if (text.empty() || text.size() > 10) return false;
  uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<uint64_t>(c - '0');
  }
  if (value > std::numeric_limits<uint32_t>::max()) return false;
  out = static_cast<uint32_t>(value);
  return true;
}

// Control changes that reached the active set since the last call, recorded at time now.
// Nothing else in the program reads the raw control queue, so taking it changes nothing.
void RecordPosted(uint32_t now) {
  if (!recorder.IsOpen()) return;
  inputBuffer posted;
  InputControlEventsTake(InputControlSetActive(), posted);
  for (const inputEvent& event : posted.events) recorder.Add({now, event.identifier, event.value});
}

void PassHook() { RunControlPass(RunControlProgramTime()); }

}  // namespace

bool RunControlParse(const std::vector<std::string>& arguments, runSettings& parsed,
                     std::string& problem) {
  parsed = runSettings();
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& name = arguments[i];
    const bool known = SameSwitch(name, "-tick") || SameSwitch(name, "-seed") ||
                       SameSwitch(name, "-level") || SameSwitch(name, "-record") ||
                       SameSwitch(name, "-replay") || SameSwitch(name, "-shot") ||
                       SameSwitch(name, "-quit");
    if (SameSwitch(name, "-drawall")) parsed.drawAll = true;
    if (!known) continue;
    if (i + 1 >= arguments.size() || arguments[i + 1].empty()) {
      problem = "the switch " + name + " needs a value";
      return false;
    }
    const std::string& value = arguments[++i];
    uint32_t number = 0;
    if (SameSwitch(name, "-tick")) {
      if (!Milliseconds(value, number) || number == 0) {
        problem = "-tick needs a positive number of milliseconds, not \"" + value + "\"";
        return false;
      }
    } else if (SameSwitch(name, "-seed")) {
      if (!Milliseconds(value, number)) {
        problem = "-seed needs a number from 0 to 4294967295, not \"" + value + "\"";
        return false;
      }
      parsed.seedGiven = true;
      parsed.seed = number;
    } else if (SameSwitch(name, "-level")) {
      if (!Milliseconds(value, number) || number == 0 || number > 999) {
        problem = "-level needs a level number from 1 to 999, not \"" + value + "\"";
        return false;
      }
      parsed.level = static_cast<int32_t>(number);
    } else if (SameSwitch(name, "-record")) {
      parsed.recordPath = value;
    } else if (SameSwitch(name, "-replay")) {
      parsed.replayPath = value;
    } else if (SameSwitch(name, "-shot")) {
      size_t start = 0;
      while (true) {
        const size_t comma = value.find(',', start);
        const std::string item =
            value.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (!Milliseconds(item, number)) {
          problem = "-shot needs milliseconds separated by commas, not \"" + value + "\"";
          return false;
        }
        parsed.shots.push_back(number);
        if (comma == std::string::npos) break;
        start = comma + 1;
      }
    } else {
      if (!Milliseconds(value, number)) {
        problem = "-quit needs a number of milliseconds, not \"" + value + "\"";
        return false;
      }
      parsed.quitGiven = true;
      parsed.quitTime = number;
    }
  }
  std::sort(parsed.shots.begin(), parsed.shots.end());
  return true;
}

bool RunControlStart(runSeedFunction seed, runLevelFunction level) {
  replay.clear();
  replayNext = 0;
  shotNext = 0;
  quitAsked = false;
  std::string problem;
  if (!RunControlParse(PlatformArguments(), settings, problem)) {
    LogError("RunControlStart - " + problem + ".");
    return false;
  }
  if (!settings.replayPath.empty() && !ReplayRead(settings.replayPath, replay)) return false;
  if (!settings.recordPath.empty() && !recorder.Open(settings.recordPath)) return false;
  if (settings.seedGiven && seed != nullptr) seed(settings.seed);
  if (settings.level != 0 && level != nullptr) level(settings.level);
  startTick = PlatformTickCount();
  passTime = RunControlProgramTime();
  passLength = 0;
  runStarted = true;
  MainSetPassHook(PassHook);
  return true;
}

void RunControlFinish() {
  runStarted = false;
  MainSetPassHook(nullptr);
  if (recorder.IsOpen()) {
    RecordPosted(RunControlProgramTime());
    recorder.Close();
  }
}

uint32_t RunControlProgramTime() {
  return PlatformClockIsVirtual() ? PlatformTickCount() : PlatformTickCount() - startTick;
}

void RunControlPass(uint32_t now) {
  passLength = now - passTime;
  passTime = now;
  RecordPosted(now);
  bool posted = false;
  while (replayNext < replay.size() && replay[replayNext].tick <= now) {
    const replayEvent& event = replay[replayNext++];
    InputControlPost(InputControlSetActive(), event.code, event.value);
    posted = true;
  }
  if (posted) RecordPosted(now);
  recorder.Flush();
  while (shotNext < settings.shots.size() && settings.shots[shotNext] <= now) {
    ++shotNext;
    MainThreadDisplayScreenshot();
  }
  if (settings.quitGiven && !quitAsked && now >= settings.quitTime) {
    quitAsked = true;
    MainAppAskToClose();
  }
}

bool RunControlPictureSeen(uint32_t nextPictureWithin) {
  if (!runStarted || settings.drawAll || !PlatformHeadless() || !PlatformClockIsVirtual())
    return true;
  if (shotNext >= settings.shots.size()) return false;
  // Before the second pass the length of a pass is not known yet: draw, to be safe.
  if (passLength == 0) return true;
  // The screenshot is taken at the start of the first pass at or after its time, before that
  // pass draws: it keeps this picture unless a later pass draws before it falls due.
  const uint64_t nextPicture =
      uint64_t{passTime} + uint64_t{std::max(nextPictureWithin, 1u)} * passLength;
  return settings.shots[shotNext] <= nextPicture;
}

uint32_t RunControlPassesFor(uint32_t ms) {
  if (passLength == 0) return std::max(ms, 1u);
  return std::max((ms + passLength - 1) / passLength, 1u);
}
