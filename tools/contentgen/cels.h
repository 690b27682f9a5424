#pragma once
// The drawing surface of all art: a small grid of material cells. Shapes are painted as parts;
// shading (light upper-left rims, dark lower-right rims of each part) and the one-pixel dark
// outline are worked out from the parts when the cells become a picture.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "palette.h"
#include "raster.h"

struct Cel {
  uint16_t ramp = 0;  // 0: empty
  int8_t shade = ShadeAuto;
  uint16_t part = 0;
};

struct Paint {
  int ramp = 0;
  int shade = ShadeAuto;
  bool ink = false;     // draw a dark line where this part lies over earlier ones
  bool under = false;   // only fill cells still empty (halos behind what is drawn)
  bool dither = false;  // only every other cell, as a checkerboard (light fading out)
};

struct Point {
  double x = 0, y = 0;
};

// A small hand-drawn picture: rows of letters, "." empty; `origin` is its attachment point.
struct Mask {
  std::string name;
  int originX = 0, originY = 0;
  std::vector<std::string> rows;
};

struct Cels {
  int width = 0, height = 0;
  std::vector<Cel> cells;
  uint16_t nextPart = 1;
  int outlineRamp = 0;

  Cels(int w, int h, int outline);
  Cel& at(int x, int y) { return cells[static_cast<size_t>(y) * width + x]; }
  const Cel& at(int x, int y) const { return cells[static_cast<size_t>(y) * width + x]; }
  bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

using Coverage = std::vector<std::pair<int, int>>;

// Paints the covered cells as one new part.
void CelsApply(Cels& cels, const Paint& paint, const Coverage& cover);
void CelsRect(Cels& cels, const Paint& paint, double x, double y, double w, double h);
void CelsDisc(Cels& cels, const Paint& paint, double cx, double cy, double r);
void CelsCapsule(Cels& cels, const Paint& paint, Point a, Point b, double radius);
void CelsPolygon(Cels& cels, const Paint& paint, const std::vector<Point>& points);
// Letters of the mask are looked up in the legend; a letter missing there is an error.
void CelsMask(Cels& cels, const Mask& mask, int x, int y, const std::map<char, Paint>& legend,
              bool mirror = false);
// Re-shades a share (percent) of the cells of one ramp, chosen by a seeded hash: texture.
void CelsSpeckle(Cels& cels, int ramp, int shade, int percent, uint32_t seed);
// The cells turned by `degrees` (clockwise on screen) about a pivot, sampled nearest.
Cels CelsRotate(const Cels& cels, Point pivot, double degrees);
// Removes a share of the filled cells (hash-chosen), as a figure crumbling to dust.
void CelsDissolve(Cels& cels, int percent, uint32_t seed);
Raster CelsRender(const Cels& cels, const Palette& palette, bool outline);

uint32_t Hash(uint32_t a, uint32_t b = 0, uint32_t c = 0);

std::map<std::string, Mask> MaskLoad(const std::string& path);
