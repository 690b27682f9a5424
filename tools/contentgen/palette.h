#pragma once
// Colour ramps: every material of the art has a dark, a middle and a light shade (and an
// opacity), so shapes get their shading from where they sit, not from hand-picked colours.
#include <map>
#include <string>
#include <vector>

#include "raster.h"

enum Shade { ShadeDark = 0, ShadeMid = 1, ShadeLight = 2, ShadeAuto = -1 };

struct Ramp {
  std::string name;
  Rgba shade[3];
  bool outlined = true;  // an outline is drawn around it where it meets empty space
};

struct Palette {
  std::vector<Ramp> ramps;  // index 0 is "none": painting with it clears
  std::map<std::string, int> index;
};

// Lines "NAME DARK MID LIGHT [alpha=N] [noline]", colours as six hex digits.
Palette PaletteLoad(const std::string& path);
int PaletteFind(const Palette& palette, const std::string& name);
// A ramp a fraction t of the way from ramp a to ramp b, added under a derived name.
int PaletteBlend(Palette& palette, int a, int b, double t);
