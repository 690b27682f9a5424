// Exposure sheets: reading a sheet into a cycle, loading frame images and advancing one-shot
// sequences in steps of at least 100 ms of play time.
#include <cmath>

#include "game/gameInternal.h"
#include "game/gameText.h"
#include "graphics/fwkModel.h"
#include "services/fwkDataFile.h"
#include "services/fwkLog.h"
#include "services/fwkState.h"
#include "services/fwkUtilities.h"
#include "services/fwkText.h"

namespace {

constexpr uint32_t kOneShotInterval = 100;
// A looping cycle loads every frame's picture as one model at once, so a sheet claiming a
// hundred thousand frames would cost that many models; honest sheets hold a dozen or so.
constexpr int32_t kSheetMaxFrames = 1024;

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('\\');
  std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  return folder;
}

// Numbers of attribute values that are not decimal integers count as 0.
int32_t NumberOr0(const std::string& text) {
  int32_t value = 0;
  return GameParseInteger(text, value) ? value : 0;
}

void PairOr0(const std::string& value, int32_t& first, int32_t& second) {
  const size_t comma = value.find(',');
  first = NumberOr0(value.substr(0, comma));
  second = NumberOr0(value.substr(comma + 1));
}

void ReadAttribute(const std::string& line, frame& f, int32_t& anchorX, int32_t& anchorY) {
  const size_t equals = line.find('=');
  if (equals == std::string::npos) return;
  const std::string key = line.substr(0, equals);
  const std::string value = line.substr(equals + 1);
  if (key == "repeat") {
    f.repeat = NumberOr0(value);
    return;
  }
  if (value.find(',') == std::string::npos) return;
  if (key == "sprite") PairOr0(value, anchorX, anchorY);
  if (key == "prev") PairOr0(value, f.prevX, f.prevY);
  if (key == "next") PairOr0(value, f.nextX, f.nextY);
}

bool Fail(int32_t file, const std::string& message) {
  LogError(message);
  DataFileClose(file);
  return false;
}

// The lines of the frames; false (after the log line) when the sheet is cut short or an
// attribute count is not a number, so a damaged sheet never yields made-up frames.
bool ReadFrames(int32_t file, const std::string& path, int32_t count, cycle& c) {
  const std::string folder = FolderOf(path);
  int32_t anchorX = 0;
  int32_t anchorY = 0;
  for (int32_t i = 0; i < count; ++i) {
    if (DataFileEof(file))
      return Fail(file,
                  "AnimationOpen - Unexpected end of exposure sheet " + TextQuoted(path) + ".");
    frame f;
    f.imagePath = folder + DataFileReadLine(file);
    if (DataFileEof(file))
      return Fail(file,
                  "AnimationOpen - Unexpected end of exposure sheet " + TextQuoted(path) + ".");
    const std::string countLine = DataFileReadLine(file);
    int32_t attributes = 0;
    if (!GameParseInteger(countLine, attributes) || attributes < 0)
      return Fail(file, "AnimationOpen - Invalid attribute count " + TextQuoted(countLine) +
                            " in exposure sheet " + TextQuoted(path) + ".");
    for (int32_t k = 0; k < attributes; ++k) {
      if (DataFileEof(file))
        return Fail(file,
                    "AnimationOpen - Unexpected end of exposure sheet " + TextQuoted(path) + ".");
      ReadAttribute(DataFileReadLine(file), f, anchorX, anchorY);
    }
    f.spriteX = anchorX;
    f.spriteY = anchorY;
    c.frames.push_back(f);
  }
  return true;
}

}  // namespace

void AnimationFree(cycle& c) {
  for (frame& f : c.frames) ModelFree(f.image);
  c.frames.clear();
}

bool AnimationOpen(cycle& c, const std::string& path, bool hold) {
  const bool previousHold = c.hold;
  c.hold = hold;
  if (!path.empty() && path == c.sheet && c.loaded && previousHold) return true;
  AnimationFree(c);
  c.sheet = path;
  c.loaded = false;
  const int32_t file = DataFileOpen(path);
  if (file == 0) {
    LogError("AnimationOpen - Unable to open animation exposure sheet " + TextQuoted(path) + ".");
    return false;
  }
  const std::string version = DataFileReadLine(file);
  const size_t dot = version.find('.');
  if (dot == std::string::npos)
    return Fail(file, "AnimationOpen - No major/minor version separator in exposure sheet " +
                          TextQuoted(path) + ".");
  const std::string major = version.substr(0, dot);
  int32_t number = 0;
  if (!GameParseInteger(major, number) || number >= 2)
    return Fail(file, "AnimationOpen - Unsupported major version " + TextQuoted(major) +
                          " in exposure sheet " + TextQuoted(path) + ".");
  const std::string minor = version.substr(dot + 1);
  if (!GameParseInteger(minor, number) || number >= 1)
    return Fail(file, "AnimationOpen - Unsupported minor version " + TextQuoted(minor) +
                          " in exposure sheet " + TextQuoted(path) + ".");
  const std::string countLine = DataFileReadLine(file);
  int32_t count = 0;
  if (!UtilIsPositiveInteger(countLine) || !GameParseInteger(countLine, count) ||
      count > kSheetMaxFrames)
    return Fail(file, "AnimationOpen - Invalid frame count " + TextQuoted(countLine) +
                          " in exposure sheet " + TextQuoted(path) + ".");
  if (!ReadFrames(file, path, count, c)) {
    AnimationFree(c);
    return false;
  }
  DataFileClose(file);
  c.loaded = true;
  return true;
}

void AnimationLoadFrame(frame& f, int32_t x, int32_t y) {
  DataFileMemoryLoad(f.imagePath);
  f.image = ModelOpen(Game().display, f.imagePath);
  DataFileMemoryFree(f.imagePath);
  if (f.image == nullptr) return;
  f.width = static_cast<int32_t>(std::lround(ModelWidth(f.image)));
  f.height = static_cast<int32_t>(std::lround(ModelHeight(f.image)));
  ModelTranslate(f.image, static_cast<float>(-f.spriteX), static_cast<float>(-f.spriteY), 0.0f);
  ModelSaveVertices(f.image);
  ModelMove(f.image, static_cast<float>(x), static_cast<float>(y), 0.0f);
}

bool AgentPlayOnce(agent& a, const std::string& path, bool hold) {
  if (a.cycles.size() < kSlotCount) a.cycles.resize(kSlotCount);
  if (!AnimationOpen(a.cycles[kSlotOneShot], path, hold)) return false;
  a.animationTick = StateTime(kStatePlay) - 1000;
  a.currentAnimation = kSlotOneShot;
  a.currentFrame = -1;
  a.cycles[kSlotOneShot].hold = hold;
  AgentPlayOnceStep(a);
  return true;
}

bool AgentPlayOnceStep(agent& a) {
  const uint32_t now = StateTime(kStatePlay);
  if (now - a.animationTick < kOneShotInterval) return false;
  static cycle none;
  cycle& c = a.cycles.size() > kSlotOneShot ? a.cycles[kSlotOneShot] : none;
  const int32_t count = static_cast<int32_t>(c.frames.size());
  int32_t f = a.currentFrame;
  const bool valid = f >= 0 && f < count;
  bool finished = false;
  if (valid) {
    frame& shown = c.frames[static_cast<size_t>(f)];
    if (shown.repeat > 0) {
      ++shown.repeatCounter;
      finished = shown.repeatCounter >= shown.repeat;
    } else if (shown.repeat < 0) {
      shown.repeatCounter = 1;
    } else {
      finished = true;
    }
    if (finished) {
      shown.repeatCounter = 0;
      if (!c.hold) ModelFree(shown.image);
    }
  }
  bool ended = false;
  if (!valid || finished) {
    ++f;
    if (f < count) {
      frame& next = c.frames[static_cast<size_t>(f)];
      if (next.image == nullptr) AnimationLoadFrame(next, a.x, a.y);
    } else {
      ended = true;
      if (!c.hold) AnimationFree(c);
      a.currentAnimation = a.baseAnimation;
      f = 0;
    }
  }
  a.currentFrame = f;
  a.animationTick = now;
  return ended;
}
