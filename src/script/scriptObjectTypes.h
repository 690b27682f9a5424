// The live records of script objects: what each kind keeps while the script is loaded, built
// from the object's declaration and changed by its attributes. Engine-internal.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphics/fwkMat.h"

struct model;

// The mat of an object that names none, or one that could not be read.
inline std::shared_ptr<const matData> ScriptNoMat() {
  static const std::shared_ptr<const matData> none = std::make_shared<const matData>();
  return none;
}

constexpr int32_t kObjButton = 0;
constexpr int32_t kObjBox = 1;
constexpr int32_t kObjScreen = 2;
constexpr int32_t kObjImage = 3;
constexpr int32_t kObjLabel = 4;
constexpr int32_t kObjList = 5;
constexpr int32_t kObjPointer = 6;
constexpr int32_t kObjSlider = 7;
constexpr int32_t kObjMat = 8;
constexpr int32_t kObjAtex = 10;
constexpr int32_t kObjApp = 11;
constexpr int32_t kObjCamera = 12;

constexpr uint8_t kFitFill = 0;
constexpr uint8_t kFitBestFit = 1;

// A frame of an object's frame set. Named apart from the game's animation frame: two
// classes of one name in one program would break the rule of one definition.
struct objFrame {
  std::string name;
  std::vector<std::string> names;
  std::shared_ptr<const matData> mat = ScriptNoMat();  // shared with every object naming the file
  std::vector<model*> models;
};

struct frameSet {
  int32_t integer = 0;
  std::vector<objFrame> frames;
  int32_t x = 0;
  int32_t y = 0;
  int32_t third = 0;
  int32_t fourth = 0;
  int32_t width = 0;
  int32_t height = 0;
};

struct objButton {
  int32_t frame = 1;
  bool flag1 = false;
  bool flag2 = false;
  std::string text;
  int32_t integer = 0;
  int32_t wrapWidth = 0;
  frameSet frames;
  int32_t width = 0;
  int32_t height = 0;
  int32_t font = 0;
  std::vector<std::string> lines;
};

struct objBox {
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t colour = 0;
  int32_t alpha = 255;
  bool flag1 = false;
  bool flag2 = false;
  model* shape = nullptr;
};

struct objScreen {
  int32_t width = 0;
  int32_t height = 0;
  uint8_t fit = kFitFill;
};

struct objImage {
  int32_t rotation = 0;
  int32_t frame = 1;
  bool flag = false;
  int32_t alpha = 255;
  frameSet frames;
  int32_t width = 0;
  int32_t height = 0;
};

// c is the text colour (0xAARRGGBB) and d the alignment (0 left, 1 centred, 2 right) when the
// label is drawn; e and f are kept for scripts.
struct objLabel {
  int32_t x = 0;
  int32_t y = 0;
  int32_t c = 0;
  int32_t d = 0;
  std::string text;
  bool flag = false;
  int32_t wrapWidth = 0;
  int32_t e = 0;
  int32_t lineSpacing = 0;
  int32_t f = 0;
  int32_t font = 0;
  std::vector<std::string> lines;
};

struct objList {
  std::string orientation = "VERTICAL";
  int32_t frame = 1;
  int32_t frameSelected = 1;
  int32_t frameMouseOver = 1;
  int32_t visibleItems = 1;
  int32_t textMode = 0;
  bool flag1 = false;
  bool flag2 = false;
  std::vector<parameter> texts;
  std::vector<parameter> values;
  std::vector<parameter> states;
  size_t textBytes = 0;  // characters of all item texts
  int32_t firstVisible = 0;
  int32_t selected = -1;
  int32_t itemUnderPointer = -1;
  std::string selectedText;
  std::string matName;
  std::shared_ptr<const matData> mat = ScriptNoMat();  // shared with every object naming the file
  frameSet items;
  frameSet highlights;
  int32_t itemWidth = 0;
  int32_t itemHeight = 0;
  int32_t g = 0;
  int32_t h = 0;
  int32_t i = 0;
  int32_t j = 0;
  int32_t k2 = 0;
  int32_t font = 0;
};

struct objPointer {
  bool flag = false;
  int32_t frame = 1;
  frameSet frames;
  int32_t width = 0;
  int32_t height = 0;
};

struct objSlider {
  int32_t frameRange = 1;
  int32_t frameSlider = 1;
  int32_t minimum = 0;
  int32_t maximum = 100;
  int32_t value = 0;
  bool vertical = false;
  bool flag1 = false;
  bool flag2 = false;
  frameSet track;
  frameSet knob;
  int32_t trackWidth = 0;
  int32_t trackHeight = 0;
  int32_t knobWidth = 0;
  int32_t knobHeight = 0;
  int32_t knobOffset = 0;
  int32_t dragTotal = 0;
};

struct objMat {
  int32_t x = 0;
  int32_t y = 0;
  bool flag = false;
  std::string name;
  std::shared_ptr<const matData> mat = ScriptNoMat();  // shared with every object naming the file
  int32_t width = 0;
  int32_t height = 0;
  int32_t cell = -1;
  int32_t previousCell = -1;
};

struct objAtex {
  int32_t x = 0;
  int32_t y = 0;
  int32_t alpha = 255;
  bool moving = false;
  std::string text;
  int32_t velocity1 = 0;
  int32_t velocity2 = 0;
  model* surface = nullptr;
};

struct objCamera {
  bool enabled = false;
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t scrollX = 0;
  int32_t scrollY = 0;
  std::vector<std::string> children;
  std::vector<drawEntry> drawOrder;
};

// The routines of an application object (kind 11): the timed update calls animate with the
// object's data, the hit test asks inObject.
using scriptAppObjectAnimate = void (*)(void* data);
using scriptAppObjectInObject = bool (*)(void* data, const std::string& name, int32_t x, int32_t y);
