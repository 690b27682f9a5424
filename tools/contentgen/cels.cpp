#include "cels.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "sources.h"

Cels::Cels(int w, int h, int outline)
    : width(w), height(h), cells(static_cast<size_t>(w) * h), outlineRamp(outline) {}

uint32_t Hash(uint32_t a, uint32_t b, uint32_t c) {
  // Each input is folded in and fully mixed before the next, so no row or column repeats.
  auto mix = [](uint32_t h) {
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
  };
  return mix(mix(mix(a + 0x9E3779B9u) ^ b) ^ c);
}

void CelsApply(Cels& cels, const Paint& paint, const Coverage& cover) {
  if (paint.ink) {
    std::set<std::pair<int, int>> own(cover.begin(), cover.end());
    static const int dx[4] = {1, -1, 0, 0}, dy[4] = {0, 0, 1, -1};
    for (const auto& [x, y] : cover)
      for (int d = 0; d < 4; ++d) {
        const int nx = x + dx[d], ny = y + dy[d];
        if (!cels.inside(nx, ny) || own.count({nx, ny})) continue;
        Cel& c = cels.at(nx, ny);
        if (c.ramp != 0 && cels.outlineRamp != 0) {
          c.ramp = static_cast<uint16_t>(cels.outlineRamp);
          c.shade = ShadeMid;
        }
      }
  }
  const uint16_t part = cels.nextPart++;
  for (const auto& [x, y] : cover) {
    if (!cels.inside(x, y)) continue;
    Cel& c = cels.at(x, y);
    if ((paint.under && c.ramp != 0) || (paint.dither && (x + y) % 2 != 0)) continue;
    if (paint.ramp == 0) {
      c = Cel{};
    } else {
      c.ramp = static_cast<uint16_t>(paint.ramp);
      c.shade = static_cast<int8_t>(paint.shade);
      c.part = part;
    }
  }
}

namespace {

Coverage Cover(const Cels& cels, double x0, double y0, double x1, double y1, auto inside) {
  Coverage cover;
  const int ix0 = std::max(0, static_cast<int>(std::floor(x0))),
            iy0 = std::max(0, static_cast<int>(std::floor(y0)));
  const int ix1 = std::min(cels.width - 1, static_cast<int>(std::ceil(x1))),
            iy1 = std::min(cels.height - 1, static_cast<int>(std::ceil(y1)));
  for (int y = iy0; y <= iy1; ++y)
    for (int x = ix0; x <= ix1; ++x)
      if (inside(x + 0.5, y + 0.5)) cover.emplace_back(x, y);
  return cover;
}

}  // namespace

void CelsRect(Cels& cels, const Paint& paint, double x, double y, double w, double h) {
  CelsApply(cels, paint, Cover(cels, x, y, x + w, y + h, [&](double px, double py) {
              return px >= x && px < x + w && py >= y && py < y + h;
            }));
}

void CelsDisc(Cels& cels, const Paint& paint, double cx, double cy, double r) {
  CelsApply(cels, paint, Cover(cels, cx - r, cy - r, cx + r, cy + r, [&](double px, double py) {
              return (px - cx) * (px - cx) + (py - cy) * (py - cy) <= r * r;
            }));
}

void CelsCapsule(Cels& cels, const Paint& paint, Point a, Point b, double radius) {
  const double vx = b.x - a.x, vy = b.y - a.y, len2 = vx * vx + vy * vy;
  CelsApply(
      cels, paint,
      Cover(cels, std::min(a.x, b.x) - radius, std::min(a.y, b.y) - radius,
            std::max(a.x, b.x) + radius, std::max(a.y, b.y) + radius, [&](double px, double py) {
              double t = len2 > 0 ? ((px - a.x) * vx + (py - a.y) * vy) / len2 : 0;
              t = std::clamp(t, 0.0, 1.0);
              const double qx = a.x + t * vx - px, qy = a.y + t * vy - py;
              return qx * qx + qy * qy <= radius * radius;
            }));
}

void CelsPolygon(Cels& cels, const Paint& paint, const std::vector<Point>& points) {
  if (points.size() < 3) return;
  double x0 = points[0].x, x1 = x0, y0 = points[0].y, y1 = y0;
  for (const Point& p : points) {
    x0 = std::min(x0, p.x), x1 = std::max(x1, p.x), y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
  }
  CelsApply(cels, paint, Cover(cels, x0, y0, x1, y1, [&](double px, double py) {
              bool in = false;
              for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
                const Point &p = points[i], &q = points[j];
                if ((p.y > py) != (q.y > py) && px < (q.x - p.x) * (py - p.y) / (q.y - p.y) + p.x)
                  in = !in;
              }
              return in;
            }));
}

void CelsMask(Cels& cels, const Mask& mask, int x, int y, const std::map<char, Paint>& legend,
              bool mirror) {
  // One part per letter, so a hat and a face shade as separate shapes.
  std::map<char, Coverage> byLetter;
  const int w = mask.rows.empty() ? 0 : static_cast<int>(mask.rows[0].size());
  for (int r = 0; r < static_cast<int>(mask.rows.size()); ++r)
    for (int c = 0; c < static_cast<int>(mask.rows[r].size()); ++c) {
      const char letter = mask.rows[r][c];
      if (letter == '.' || letter == ' ') continue;
      const int mc = mirror ? w - 1 - c : c;
      const int ox = mirror ? w - 1 - mask.originX : mask.originX;
      byLetter[letter].emplace_back(x + mc - ox, y + r - mask.originY);
    }
  for (const auto& [letter, cover] : byLetter) {
    const auto found = legend.find(letter);
    if (found == legend.end())
      throw SourceError("mask " + mask.name + " uses letter '" + std::string(1, letter) +
                        "' that has no colour");
    CelsApply(cels, found->second, cover);
  }
}

void CelsSpeckle(Cels& cels, int ramp, int shade, int percent, uint32_t seed) {
  for (int y = 0; y < cels.height; ++y)
    for (int x = 0; x < cels.width; ++x) {
      Cel& c = cels.at(x, y);
      if (c.ramp == ramp && static_cast<int>(Hash(x, y, seed) % 100) < percent)
        c.shade = static_cast<int8_t>(shade);
    }
}

Cels CelsRotate(const Cels& cels, Point pivot, double degrees) {
  Cels result(cels.width, cels.height, cels.outlineRamp);
  result.nextPart = cels.nextPart;
  const double a = degrees * M_PI / 180, ca = std::cos(a), sa = std::sin(a);
  for (int y = 0; y < cels.height; ++y)
    for (int x = 0; x < cels.width; ++x) {
      const double dx = x + 0.5 - pivot.x, dy = y + 0.5 - pivot.y;
      const double sx = pivot.x + dx * ca + dy * sa, sy = pivot.y - dx * sa + dy * ca;
      const int ix = static_cast<int>(std::floor(sx)), iy = static_cast<int>(std::floor(sy));
      if (cels.inside(ix, iy)) result.at(x, y) = cels.at(ix, iy);
    }
  return result;
}

void CelsDissolve(Cels& cels, int percent, uint32_t seed) {
  for (int y = 0; y < cels.height; ++y)
    for (int x = 0; x < cels.width; ++x)
      if (static_cast<int>(Hash(x, y, seed) % 100) < percent) cels.at(x, y) = Cel{};
}

Raster CelsRender(const Cels& cels, const Palette& palette, bool outline) {
  Raster out(cels.width, cels.height);
  auto partAt = [&](int x, int y) -> int { return cels.inside(x, y) ? cels.at(x, y).part : -1; };
  auto filledOutlined = [&](int x, int y) {
    return cels.inside(x, y) && cels.at(x, y).ramp != 0 &&
           palette.ramps[cels.at(x, y).ramp].outlined;
  };
  for (int y = 0; y < cels.height; ++y)
    for (int x = 0; x < cels.width; ++x) {
      const Cel& c = cels.at(x, y);
      // Empty cells and translucent halos next to a shape take the outline.
      if (c.ramp == 0 ||
          (!palette.ramps[c.ramp].outlined && palette.ramps[c.ramp].shade[ShadeMid].a < 255)) {
        if (outline && cels.outlineRamp != 0 &&
            (filledOutlined(x - 1, y) || filledOutlined(x + 1, y) || filledOutlined(x, y - 1) ||
             filledOutlined(x, y + 1)))
          out.at(x, y) = palette.ramps[cels.outlineRamp].shade[ShadeMid];
        else if (c.ramp != 0)
          out.at(x, y) = palette.ramps[c.ramp]
                             .shade[c.shade == ShadeAuto ? static_cast<int>(ShadeMid) : c.shade];
        continue;
      }
      int shade = c.shade;
      if (shade == ShadeAuto) {
        const bool lit = partAt(x, y - 1) != c.part || partAt(x - 1, y) != c.part;
        const bool shadowed = partAt(x, y + 1) != c.part || partAt(x + 1, y) != c.part;
        shade = lit && !shadowed ? ShadeLight : shadowed && !lit ? ShadeDark : ShadeMid;
      }
      out.at(x, y) = palette.ramps[c.ramp].shade[shade];
    }
  return out;
}

std::map<std::string, Mask> MaskLoad(const std::string& path) {
  std::map<std::string, Mask> masks;
  Mask* open = nullptr;
  for (const SourceLine& line : SourceRead(path)) {
    if (open) {
      if (line.tokens.size() == 1 && line.tokens[0] == "end") {
        if (open->rows.empty()) SourceFail(line, "mask " + open->name + " has no rows");
        open = nullptr;
      } else {
        open->rows.push_back(line.tokens.empty() ? std::string() : line.tokens[0]);
      }
      continue;
    }
    if (line.tokens.empty() || line.tokens[0][0] == '#') continue;
    if (line.tokens[0] != "mask" || line.tokens.size() < 2)
      SourceFail(line, "expected: mask NAME [origin=X,Y]");
    Mask mask{line.tokens[1], 0, 0, {}};
    const auto keys = SourceKeys(line, 2);
    if (keys.count("origin")) {
      const std::string& o = keys.at("origin");
      const size_t comma = o.find(',');
      if (comma == std::string::npos) SourceFail(line, "origin needs X,Y");
      mask.originX = SourceInteger(line, o.substr(0, comma));
      mask.originY = SourceInteger(line, o.substr(comma + 1));
    }
    if (masks.count(mask.name)) SourceFail(line, "mask defined twice: " + mask.name);
    open = &(masks[mask.name] = mask);
  }
  if (open) throw SourceError(path + ": mask " + open->name + " has no end");
  return masks;
}
