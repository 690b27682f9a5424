// Picture programs: tiles, HUD icons and screens are short lists of drawing operations in the
// art sources, run on a small canvas that is then enlarged to the size the game shows.
#include <algorithm>
#include <cctype>
#include <memory>
#include <cmath>

#include "art.h"
#include "sources.h"

namespace {

struct Overlay {
  Raster image;
  int x = 0, y = 0;
};

struct Program {
  Art& art;
  Cels cels;
  std::map<char, Paint> legend;
  std::vector<Overlay> overlays;
  bool outline = false;
};

int Ramp(const Program& p, const SourceLine& line, const std::string& name) {
  if (!p.art.palette.index.count(name)) SourceFail(line, "no ramp named " + name);
  return p.art.palette.index.at(name);
}

// Positional numbers after the operation word and its ramp; "shade=", "ink" and "under" are options.
struct Args {
  std::vector<double> numbers;
  Paint paint;
};

Args ReadArgs(const Program& p, const SourceLine& line, size_t from, bool withRamp) {
  Args args;
  if (withRamp) {
    if (line.tokens.size() <= from) SourceFail(line, "missing ramp");
    args.paint.ramp = Ramp(p, line, line.tokens[from++]);
  }
  for (size_t i = from; i < line.tokens.size(); ++i) {
    const std::string& t = line.tokens[i];
    if (t == "ink")
      args.paint.ink = true;
    else if (t == "under")
      args.paint.under = true;
    else if (t == "dither")
      args.paint.dither = true;
    else if (t.rfind("shade=", 0) == 0)
      args.paint.shade = SourceInteger(line, t.substr(6));
    else
      args.numbers.push_back(SourceNumber(line, t));
  }
  if (args.paint.shade < ShadeAuto || args.paint.shade > ShadeLight)
    SourceFail(line, "shade is 0 (dark), 1 (middle) or 2 (light)");
  return args;
}

void Need(const SourceLine& line, const Args& args, size_t count) {
  if (args.numbers.size() != count)
    SourceFail(line, line.tokens[0] + " takes " + std::to_string(count) + " numbers");
}

// Wooden stairs climbing down to the right over the whole square, on top of what is there.
void Stairs(Program& p, const Args& args) {
  const int n = p.cels.width;
  const int step = 4;
  Paint tread = args.paint;
  for (int k = 0; k < n / step; ++k)
    CelsRect(p.cels, tread, k * step, k * step + step / 2.0, step, step + 2);
  Paint stringer{args.paint.ramp, ShadeDark, true};
  CelsCapsule(p.cels, stringer, {-2.0, 8.5}, {n + 2.0, n + 12.5}, 2.2);
}

// Single bright cells, only where sky shows (ramps named sky...), sparse and of two brightnesses.
void Stars(Program& p, const Args& args) {
  const uint32_t seed = static_cast<uint32_t>(static_cast<int>(args.numbers[1]));
  for (int y = 0; y < p.cels.height; ++y)
    for (int x = 0; x < p.cels.width; ++x) {
      const Cel& under = p.cels.at(x, y);
      if (under.ramp == 0 || p.art.palette.ramps[under.ramp].name.rfind("sky", 0) != 0) continue;
      const uint32_t h = Hash(x, y, seed);
      if (h % 1000 < args.numbers[0] * 10) {
        Paint star = args.paint;
        star.shade = h & 0x10000 ? ShadeLight : ShadeMid;
        CelsRect(p.cels, star, x, y, 1, 1);
      }
    }
}

// Vertical blend between two ramps' middle shades with an ordered dither.
void Gradient(Program& p, const SourceLine& line, const Args& args, int second) {
  static const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  const int x0 = static_cast<int>(args.numbers[0]), y0 = static_cast<int>(args.numbers[1]);
  const int w = static_cast<int>(args.numbers[2]), h = static_cast<int>(args.numbers[3]);
  if (h <= 0 || w <= 0) SourceFail(line, "empty gradient");
  const uint16_t part = p.cels.nextPart++;
  for (int y = y0; y < y0 + h; ++y)
    for (int x = x0; x < x0 + w; ++x) {
      if (!p.cels.inside(x, y)) continue;
      const double t = (y - y0 + 0.5) / h;
      const bool useSecond = t * 16 > bayer[y & 3][x & 3] + 0.5;
      p.cels.at(x, y) =
          Cel{static_cast<uint16_t>(useSecond ? second : args.paint.ramp), ShadeMid, part};
    }
}

// Capital letters from the glyph pictures, each an outlined overlay of its own.
void Text(Program& p, const SourceLine& line) {
  if (line.tokens.size() < 6) SourceFail(line, "text RAMP \"WORDS\" X Y SCALE");
  const int ramp = Ramp(p, line, line.tokens[1]);
  const std::string words = line.tokens[2];
  int x = SourceInteger(line, line.tokens[3]);
  const int y = SourceInteger(line, line.tokens[4]), scale = SourceInteger(line, line.tokens[5]);
  if (scale < 1 || scale > 8) SourceFail(line, "text scale is 1..8");
  for (char c : words) {
    if (c == ' ') {
      x += 4 * scale;
      continue;
    }
    const auto found = p.art.masks.find(std::string("glyph_") + c);
    if (found == p.art.masks.end()) SourceFail(line, std::string("no glyph for ") + c);
    const Mask& glyph = found->second;
    const int gw = static_cast<int>(glyph.rows[0].size()), gh = static_cast<int>(glyph.rows.size());
    Cels cels(gw * scale + 2, gh * scale + 2, p.cels.outlineRamp);
    Coverage cover, shadow;
    for (int r = 0; r < gh; ++r)
      for (int col = 0; col < static_cast<int>(glyph.rows[r].size()); ++col)
        for (int sy = 0; sy < scale; ++sy)
          for (int sx = 0; sx < scale; ++sx) {
            const char g = glyph.rows[r][col];
            if (g == '.') continue;
            (g == 'X' ? shadow : cover).emplace_back(1 + col * scale + sx, 1 + r * scale + sy);
          }
    CelsApply(cels, Paint{ramp}, cover);
    CelsApply(cels, Paint{ramp, ShadeDark}, shadow);
    p.overlays.push_back({CelsRender(cels, p.art.palette, true), x - 1, y - 1});
    x += (gw + 1) * scale;
  }
}

void Figure(Program& p, const SourceLine& line) {
  if (line.tokens.size() < 6) SourceFail(line, "figure NAME SEQUENCE FRAME X Y [left] [turned]");
  const auto def = p.art.cast.find(line.tokens[1]);
  if (def == p.art.cast.end()) SourceFail(line, "no figure " + line.tokens[1]);
  const Sequence& sequence = ArtSequence(p.art, line.tokens[2], def->first);
  const int frame = SourceInteger(line, line.tokens[3]);
  if (frame < 0 || frame >= static_cast<int>(sequence.frames.size()))
    SourceFail(line, "no such frame");
  const auto keys = SourceKeys(line, 6);
  const double turn = keys.count("turned") ? 1.0 : 0.0;
  Raster image =
      ArtFigureFrame(p.art, def->second, sequence.frames[frame], 64, 64, 32, turn, frame);
  if (keys.count("left")) image = RasterMirror(image);
  p.overlays.push_back(
      {image, SourceInteger(line, line.tokens[4]) - 32, SourceInteger(line, line.tokens[5]) - 63});
}

void Run(Program& p, const SourceLine& line) {
  const std::string& op = line.tokens[0];
  if (op == "outline") {
    p.outline = true;
  } else if (op == "legend") {
    for (const auto& [letter, ramp] : SourceKeys(line, 1)) {
      if (letter.size() != 1) SourceFail(line, "a legend entry is one letter");
      const bool upper = std::isupper(static_cast<unsigned char>(letter[0]));
      p.legend[letter[0]] = Paint{Ramp(p, line, ramp), upper ? ShadeDark : ShadeAuto};
      // An upper-case letter not given is the same colour in its dark shade.
      const char dark = static_cast<char>(std::toupper(static_cast<unsigned char>(letter[0])));
      if (!upper && !p.legend.count(dark)) p.legend[dark] = Paint{Ramp(p, line, ramp), ShadeDark};
    }
  } else if (op == "fill") {
    // A flat fill unless a shade is asked for: a rim round every tile would draw the grid.
    Args a = ReadArgs(p, line, 1, true);
    Need(line, a, 0);
    if (a.paint.shade == ShadeAuto) a.paint.shade = ShadeMid;
    CelsRect(p.cels, a.paint, 0, 0, p.cels.width, p.cels.height);
  } else if (op == "rect") {
    const Args a = ReadArgs(p, line, 1, true);
    Need(line, a, 4);
    CelsRect(p.cels, a.paint, a.numbers[0], a.numbers[1], a.numbers[2], a.numbers[3]);
  } else if (op == "disc") {
    const Args a = ReadArgs(p, line, 1, true);
    Need(line, a, 3);
    CelsDisc(p.cels, a.paint, a.numbers[0], a.numbers[1], a.numbers[2]);
  } else if (op == "line") {
    const Args a = ReadArgs(p, line, 1, true);
    Need(line, a, 5);
    CelsCapsule(p.cels, a.paint, {a.numbers[0], a.numbers[1]}, {a.numbers[2], a.numbers[3]},
                a.numbers[4] / 2);
  } else if (op == "poly") {
    const Args a = ReadArgs(p, line, 1, true);
    if (a.numbers.size() < 6 || a.numbers.size() % 2)
      SourceFail(line, "poly takes three or more X Y pairs");
    std::vector<Point> points;
    for (size_t i = 0; i < a.numbers.size(); i += 2)
      points.push_back({a.numbers[i], a.numbers[i + 1]});
    CelsPolygon(p.cels, a.paint, points);
  } else if (op == "bricks") {
    // bricks RAMP COURSE LENGTH OFFSET X Y W H: a bond of bricks with one-cell joints.
    const Args a = ReadArgs(p, line, 1, true);
    Need(line, a, 7);
    const int course = static_cast<int>(a.numbers[0]), length = static_cast<int>(a.numbers[1]);
    const int offset = static_cast<int>(a.numbers[2]);
    const int x0 = static_cast<int>(a.numbers[3]), y0 = static_cast<int>(a.numbers[4]);
    const int w = static_cast<int>(a.numbers[5]), h = static_cast<int>(a.numbers[6]);
    if (course < 2 || length < 2)
      SourceFail(line, "bricks need a course and a length of 2 or more");
    for (int row = 0; row * course < h; ++row) {
      const int shift = (row * offset) % length;
      for (int bx = -length; bx < w + length; bx += length) {
        const double left = std::max(x0 + bx + shift, x0),
                     right = std::min(x0 + bx + shift + length - 1, x0 + w);
        const double bottom = std::min(row * course + course - 1, h);
        if (right > left)
          CelsRect(p.cels, a.paint, left, y0 + row * course, right - left, bottom - row * course);
      }
    }
  } else if (op == "speckle") {
    const Args a = ReadArgs(p, line, 1, true);
    Need(line, a, 3);
    CelsSpeckle(p.cels, a.paint.ramp, static_cast<int>(a.numbers[0]),
                static_cast<int>(a.numbers[1]),
                static_cast<uint32_t>(static_cast<int>(a.numbers[2])));
  } else if (op == "stars") {
    const Args a = ReadArgs(p, line, 1, true);
    Need(line, a, 2);
    Stars(p, a);
  } else if (op == "gradient") {
    if (line.tokens.size() < 3) SourceFail(line, "gradient RAMP RAMP X Y W H");
    const int second = Ramp(p, line, line.tokens[2]);
    const Args a = ReadArgs(p, line, 3, false);
    Need(line, a, 4);
    Args withRamp = a;
    withRamp.paint.ramp = Ramp(p, line, line.tokens[1]);
    Gradient(p, line, withRamp, second);
  } else if (op == "stairs") {
    const Args a = ReadArgs(p, line, 1, true);
    Need(line, a, 0);
    Stairs(p, a);
  } else if (op == "stamp") {
    if (line.tokens.size() != 4) SourceFail(line, "stamp PICTURE X Y");
    const auto found = p.art.masks.find(line.tokens[1]);
    if (found == p.art.masks.end()) SourceFail(line, "no picture " + line.tokens[1]);
    CelsMask(p.cels, found->second, SourceInteger(line, line.tokens[2]),
             SourceInteger(line, line.tokens[3]), p.legend);
  } else if (op == "mirror") {
    Cels flipped = p.cels;
    for (int y = 0; y < p.cels.height; ++y)
      for (int x = 0; x < p.cels.width; ++x) flipped.at(p.cels.width - 1 - x, y) = p.cels.at(x, y);
    p.cels = flipped;
  } else if (op == "text") {
    Text(p, line);
  } else if (op == "figure") {
    Figure(p, line);
  } else {
    SourceFail(line, "unknown operation " + op);
  }
}

}  // namespace

void ArtPictures(Art& art, const std::string& file, std::vector<Output>& outputs) {
  std::unique_ptr<Program> program;
  Output current;
  int scale = 1;
  for (const SourceLine& line : SourceRead(art.folder + "/" + file)) {
    if (line.tokens.empty() || line.tokens[0][0] == '#') continue;
    if (!program) {
      if (line.tokens[0] != "picture" || line.tokens.size() < 3)
        SourceFail(line, "expected: picture \"PATH\" size=W,H [scale=N] [bits=24]");
      const auto keys = SourceKeys(line, 2);
      if (!keys.count("size") || keys.at("size").find(',') == std::string::npos)
        SourceFail(line, "a picture needs size=W,H");
      const std::string& size = keys.at("size");
      const int w = SourceInteger(line, size.substr(0, size.find(',')));
      const int h = SourceInteger(line, size.substr(size.find(',') + 1));
      scale = keys.count("scale") ? SourceInteger(line, keys.at("scale")) : 1;
      if (w < 1 || h < 1 || scale < 1 || scale > 16 || w * scale > 4096 || h * scale > 4096)
        SourceFail(line, "picture size out of range");
      const int bits = keys.count("bits") ? SourceInteger(line, keys.at("bits")) : 32;
      if (bits != 24 && bits != 32) SourceFail(line, "bits is 24 (opaque) or 32 (with alpha)");
      current = Output{line.tokens[1], {}, {}, false, bits};
      program = std::make_unique<Program>(
          Program{art, Cels(w, h, PaletteFind(art.palette, "outline")), {}, {}, false});
      continue;
    }
    if (line.tokens[0] == "end") {
      Raster image = CelsRender(program->cels, art.palette, program->outline);
      for (const Overlay& o : program->overlays) RasterBlend(image, o.image, o.x, o.y);
      current.image = RasterScale(image, scale);
      outputs.push_back(current);
      program.reset();
      continue;
    }
    Run(*program, line);
  }
  if (program) throw SourceError(file + ": picture " + current.path + " has no end");
}
