// Animation sheets: the frames of every figure slot the game plays, written as frame pictures
// plus the exposure sheet (".exp") that lists them with their anchor and hold counts.
#include <algorithm>
#include <cmath>

#include "art.h"
#include "sources.h"

namespace {

struct Frame {
  Raster image;
  int hold = 1;
};

constexpr int kScale = 2;      // every art pixel is 2 x 2 screen pixels
constexpr int kHeight = 64;    // figure canvases are 64 art pixels (128 screen pixels) high
constexpr int kBody = 48;      // standing and walking figures: 96 x 128
constexpr int kWide = 64;      // bites and fog: 128 x 128
constexpr int kBlow = 112;     // a blow reaching out: 224 x 128
constexpr int kCollapse = 80;  // a figure lying down: 160 x 128
constexpr double kCollapseFoot = 24;

std::string ExposureSheet(const std::vector<std::string>& names, const std::vector<Frame>& frames,
                          int ax, int ay) {
  std::string text = "1.0\r\n" + std::to_string(frames.size()) + "\r\n";
  for (size_t i = 0; i < frames.size(); ++i) {
    text += names[i] + "\r\n2\r\n";
    text += "sprite=" + std::to_string(ax) + "," + std::to_string(ay) + "\r\n";
    text += "repeat=" + std::to_string(frames[i].hold) + "\r\n";
  }
  return text;
}

// folder ends in "\"; frames become "NAME 1.tga", "NAME 2.tga" … beside "NAME.exp".
void AddSheet(std::vector<Output>& outputs, const std::string& folder, const std::string& name,
              const std::vector<Frame>& frames, int anchorX) {
  std::vector<std::string> names;
  for (size_t i = 0; i < frames.size(); ++i) {
    names.push_back(name + " " + std::to_string(i + 1) + ".tga");
    Output picture;
    picture.path = folder + names.back();
    picture.image = frames[i].image;
    outputs.push_back(std::move(picture));
  }
  Output sheet;
  sheet.path = folder + name + ".exp";
  sheet.isText = true;
  sheet.text = ExposureSheet(names, frames, anchorX, kHeight * kScale - 1);
  outputs.push_back(std::move(sheet));
}

std::vector<Frame> Render(Art& art, const FigureDef& def, const std::string& sequence, int width,
                          double footX, double turn) {
  std::vector<Frame> frames;
  const Sequence& seq = ArtSequence(art, sequence, def.name);
  for (size_t i = 0; i < seq.frames.size(); ++i) {
    const Raster small =
        ArtFigureFrame(art, def, seq.frames[i], width, kHeight, footX, turn, static_cast<int>(i));
    frames.push_back({RasterScale(small, kScale), seq.frames[i].hold});
  }
  return frames;
}

std::vector<Frame> Mirrored(std::vector<Frame> frames) {
  for (Frame& f : frames) f.image = RasterMirror(f.image);
  return frames;
}

// A slot pair: "NAME Right" as drawn, "NAME Left" mirrored, both anchored under the same feet.
void SheetPair(std::vector<Output>& outputs, Art& art, const FigureDef& def,
               const std::string& folder, const std::string& name, const std::string& sequence,
               int width, double turn) {
  const std::vector<Frame> right = Render(art, def, sequence, width, width / 2.0, turn);
  AddSheet(outputs, folder, name + " Right", right, width);
  AddSheet(outputs, folder, name + " Left", Mirrored(right), width - 1);
}

void Collapse(std::vector<Output>& outputs, Art& art, const FigureDef& def,
              const std::string& folder, double turn) {
  AddSheet(outputs, folder, "Vampire Collapse",
           Render(art, def, "collapse", kCollapse, kCollapseFoot, turn),
           static_cast<int>(kCollapseFoot) * kScale);
}

// The bite, played in the biter's place while the victim is hidden: Dracula, facing left,
// wraps his cloak round the victim, who pales as the sequence runs.
void Bite(std::vector<Output>& outputs, Art& art, const FigureDef& victim,
          const std::string& folder) {
  const FigureDef& dracula = art.cast.at("Dracula");
  const Sequence& seq = ArtSequence(art, "bite", victim.name);
  if (seq.partner.size() != seq.frames.size())
    throw SourceError("the bite sequence must name the victim's pose in every frame");
  std::vector<Frame> frames;
  for (size_t i = 0; i < seq.frames.size(); ++i) {
    const int index = static_cast<int>(i);
    // Dracula's cloak and body behind the victim, his head and arm in front of it.
    Raster image = RasterMirror(
        ArtFigureFrame(art, dracula, seq.frames[i], kWide, kHeight, kWide / 2.0, 0, index));
    RasterBlend(image,
                ArtFigureFrame(art, victim, seq.partner[i], kWide, kHeight,
                               kWide / 2.0 + seq.partnerX[i], seq.partnerTurn[i], index),
                0, 0);
    RasterBlend(image,
                RasterMirror(ArtFigureFrame(art, dracula, seq.frames[i], kWide, kHeight,
                                            kWide / 2.0, 0, index, true)),
                0, 0);
    frames.push_back({RasterScale(image, kScale), seq.frames[i].hold});
  }
  AddSheet(outputs, folder, "Vamped", frames, kWide - 1);
}

struct Puff {
  double x, y, r, phase;
};

// Dracula's mist: puffs that rise and swell (the change), then swirl in a loop (the cloud).
void Fog(std::vector<Output>& outputs, Art& art, const std::string& folder) {
  std::vector<Puff> puffs;
  Point eyes{0, -30};
  int formFrames = 6, driftFrames = 8;
  for (const SourceLine& line : SourceRead(art.folder + "/fog.txt")) {
    if (line.tokens.empty() || line.tokens[0][0] == '#') continue;
    const std::string& w = line.tokens[0];
    if (w == "puff" && line.tokens.size() == 5)
      puffs.push_back({SourceNumber(line, line.tokens[1]), SourceNumber(line, line.tokens[2]),
                       SourceNumber(line, line.tokens[3]), SourceNumber(line, line.tokens[4])});
    else if (w == "eyes" && line.tokens.size() == 3)
      eyes = {SourceNumber(line, line.tokens[1]), SourceNumber(line, line.tokens[2])};
    else if (w == "form" && line.tokens.size() == 2)
      formFrames = SourceInteger(line, line.tokens[1]);
    else if (w == "drift" && line.tokens.size() == 2)
      driftFrames = SourceInteger(line, line.tokens[1]);
    else
      SourceFail(line, "expected puff X Y R PHASE, eyes X Y, form N or drift N");
  }
  if (puffs.empty() || formFrames < 1 || driftFrames < 1 || formFrames > 50 || driftFrames > 50)
    throw SourceError("fog.txt needs puffs and 1..50 frames per sequence");
  const int fog = PaletteFind(art.palette, "fog"), mist = PaletteFind(art.palette, "mist");
  const int glow = PaletteFind(art.palette, "eye_glow");
  const double cx = kWide / 2.0, ground = kHeight - 2;
  auto frame = [&](double grown, double angle, bool withEyes) {
    Cels cels(kWide, kHeight, PaletteFind(art.palette, "outline"));
    std::vector<Puff> halos;
    for (size_t i = 0; i < puffs.size(); ++i) {
      const Puff& p = puffs[i];
      const double a = angle + p.phase * 2 * M_PI;
      const double g = std::clamp(grown * 1.4 - p.phase * 0.4, 0.15, 1.0);
      const double r = p.r * g + std::sin(a + 1) * 0.6;
      const double x = cx + p.x * (0.5 + 0.5 * g) + std::cos(a) * 1.5,
                   y = ground + p.y * g + std::sin(a) * 1.0;
      // Flat puffs with a lit cap, so overlapping puffs read as one soft cloud.
      CelsDisc(cels, Paint{fog, ShadeDark}, x + 0.6, y + 0.8, r);
      CelsDisc(cels, Paint{fog, ShadeMid}, x, y, r - 0.6);
      CelsDisc(cels, Paint{fog, ShadeLight}, x - r * 0.35, y - r * 0.4, r * 0.35);
      halos.push_back({x, y, r + 2.5, 0});
    }
    // A thinner mist round the cloud and trailing along the ground, swirling with it.
    for (const Puff& h : halos) CelsDisc(cels, Paint{mist, ShadeMid, false, true}, h.x, h.y, h.r);
    for (double side : {-1.0, 1.0}) {
      const double reach = (14 + 6 * std::sin(angle + side)) * grown;
      CelsCapsule(cels, Paint{mist, ShadeMid, false, true}, {cx, ground - 1.5},
                  {cx + side * (10 + reach), ground - 1.5 - std::cos(angle) * side}, 1.6);
    }
    if (withEyes) {
      const double ex = std::floor(cx + eyes.x), ey = ground + eyes.y;
      CelsRect(cels, Paint{cels.outlineRamp, ShadeMid}, ex - 3, ey - 1, 7, 3);
      for (double side : {-2.0, 2.0}) CelsRect(cels, Paint{glow, ShadeMid}, ex + side, ey, 1, 1);
    }
    return Frame{RasterScale(CelsRender(cels, art.palette, true), kScale), 1};
  };
  std::vector<Frame> form, drift;
  for (int k = 0; k < formFrames; ++k)
    form.push_back(frame((k + 1.0) / formFrames, 0, k + 1 >= formFrames));
  for (int k = 0; k < driftFrames; ++k)
    drift.push_back(frame(1.0, 2 * M_PI * k / driftFrames, true));
  AddSheet(outputs, folder, "Fog 1", form, kWide);
  AddSheet(outputs, folder, "Fog 2", drift, kWide);
}

}  // namespace

void ArtSheets(Art& art, std::vector<Output>& outputs) {
  const FigureDef& dracula = art.cast.at("Dracula");
  const std::string base = "Bin\\Sprites\\Dracula\\";
  SheetPair(outputs, art, dracula, base + "Vampire Stand\\", "Vampire Stand", "stand", kBody, 0);
  SheetPair(outputs, art, dracula, base + "Vampire Walk\\", "Vampire Walk", "walk", kBody, 0);
  SheetPair(outputs, art, dracula, base + "Vampire Hit\\", "Vampire Hit", "hit", kBody, 0);
  Collapse(outputs, art, dracula, base + "Vampire Collapse\\", 0);
  Fog(outputs, art, base + "Fog\\");

  for (const std::string& type : art.humanTypes) {
    const FigureDef& def = art.cast.at(type);
    const std::string folder = "Bin\\Sprites\\" + type + "\\";
    SheetPair(outputs, art, def, folder + "Stand\\", "Stand", "stand", kBody, 0);
    SheetPair(outputs, art, def, folder + "Walk\\", "Walk", "walk", kBody, 0);
    SheetPair(outputs, art, def, folder + "Vampire Stand\\", "Vampire Stand", "vstand", kBody, 1);
    SheetPair(outputs, art, def, folder + "Vampire Walk\\", "Vampire Walk", "vwalk", kBody, 1);
    SheetPair(outputs, art, def, folder + "Attack\\", "Attack", def.attack, kBlow, 0);
    Bite(outputs, art, def, folder + "Vamped\\");
    SheetPair(outputs, art, def, folder + "Vampire Hit\\", "Vampire Hit", "hit", kBody, 1);
    Collapse(outputs, art, def, folder + "Vampire Collapse\\", 1);
  }
}
