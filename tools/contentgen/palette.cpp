#include "palette.h"

#include <cmath>

#include "sources.h"

namespace {

Rgba ParseColour(const SourceLine& line, const std::string& hex) {
  if (hex.size() != 6 || hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
    SourceFail(line, "colour must be six hex digits: " + hex);
  const unsigned long v = std::stoul(hex, nullptr, 16);
  return {static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v),
          255};
}

}  // namespace

Palette PaletteLoad(const std::string& path) {
  Palette palette;
  palette.ramps.push_back(Ramp{"none", {}, false});
  palette.index["none"] = 0;
  for (const SourceLine& line : SourceRead(path)) {
    if (line.tokens.empty() || line.tokens[0][0] == '#') continue;
    if (line.tokens.size() < 4) SourceFail(line, "a ramp needs a name and three colours");
    Ramp ramp{line.tokens[0], {}, true};
    for (int s = 0; s < 3; ++s) ramp.shade[s] = ParseColour(line, line.tokens[1 + s]);
    const auto keys = SourceKeys(line, 4);
    if (keys.count("alpha")) {
      const int alpha = SourceInteger(line, keys.at("alpha"));
      if (alpha < 0 || alpha > 255) SourceFail(line, "alpha must be 0..255");
      for (Rgba& c : ramp.shade) c.a = static_cast<uint8_t>(alpha);
    }
    if (keys.count("noline")) ramp.outlined = false;
    if (palette.index.count(ramp.name)) SourceFail(line, "ramp defined twice: " + ramp.name);
    palette.index[ramp.name] = static_cast<int>(palette.ramps.size());
    palette.ramps.push_back(ramp);
  }
  return palette;
}

int PaletteFind(const Palette& palette, const std::string& name) {
  const auto found = palette.index.find(name);
  if (found == palette.index.end()) throw SourceError("no ramp named " + name + " in the palette");
  return found->second;
}

int PaletteBlend(Palette& palette, int a, int b, double t) {
  if (a == b || t <= 0) return a;
  const int step = static_cast<int>(std::lround(t * 100));
  const std::string name =
      palette.ramps[a].name + "~" + palette.ramps[b].name + "~" + std::to_string(step);
  const auto found = palette.index.find(name);
  if (found != palette.index.end()) return found->second;
  Ramp ramp = palette.ramps[a];
  ramp.name = name;
  for (int s = 0; s < 3; ++s) {
    const Rgba &x = palette.ramps[a].shade[s], &y = palette.ramps[b].shade[s];
    auto mix = [&](uint8_t p, uint8_t q) {
      return static_cast<uint8_t>(std::lround(p + (q - p) * step / 100.0));
    };
    ramp.shade[s] = {mix(x.r, y.r), mix(x.g, y.g), mix(x.b, y.b), mix(x.a, y.a)};
  }
  palette.index[name] = static_cast<int>(palette.ramps.size());
  palette.ramps.push_back(ramp);
  return palette.index[name];
}
