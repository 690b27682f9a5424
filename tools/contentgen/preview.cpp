#include "preview.h"

#include <algorithm>

#include "sources.h"

namespace {

const Output* Find(const std::vector<Output>& outputs, const std::string& path) {
  for (const Output& o : outputs)
    if (o.path == path) return &o;
  return nullptr;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(text.substr(start, end - start));
  return lines;
}

struct SheetFrame {
  const Raster* image = nullptr;
  int ax = 0, ay = 0;
};

// Frames of a generated sheet, read back from its exposure text as the game would.
std::vector<SheetFrame> SheetFrames(const std::vector<Output>& outputs, const Output& sheet) {
  const std::string folder = sheet.path.substr(0, sheet.path.rfind('\\') + 1);
  const std::vector<std::string> lines = Lines(sheet.text);
  std::vector<SheetFrame> frames;
  for (size_t i = 2; i + 3 < lines.size(); i += 4) {
    const Output* image = Find(outputs, folder + lines[i]);
    const std::string sprite = lines[i + 2].substr(7);
    if (image)
      frames.push_back({&image->image, std::stoi(sprite.substr(0, sprite.find(','))),
                        std::stoi(sprite.substr(sprite.find(',') + 1))});
  }
  return frames;
}

}  // namespace

Raster PreviewScene(const Art& art, const std::vector<Output>& outputs) {
  Raster scene(1280, 720, Rgba{0, 0, 0, 255});
  std::map<char, const Raster*> tiles;
  int row = 0;
  for (const SourceLine& line : SourceRead(art.folder + "/preview.txt")) {
    if (line.tokens.empty() || line.tokens[0][0] == '#') continue;
    const std::string& w = line.tokens[0];
    if (w == "tile" && line.tokens.size() == 3 && line.tokens[1].size() == 1) {
      const Output* o = Find(outputs, line.tokens[2]);
      if (!o) SourceFail(line, "no generated picture " + line.tokens[2]);
      tiles[line.tokens[1][0]] = &o->image;
    } else if (w == "row" && line.tokens.size() == 2) {
      for (size_t c = 0; c < line.tokens[1].size(); ++c) {
        const auto t = tiles.find(line.tokens[1][c]);
        if (t == tiles.end()) SourceFail(line, "no tile letter " + line.tokens[1].substr(c, 1));
        RasterBlend(scene, *t->second, static_cast<int>(c) * 64, row * 64);
      }
      ++row;
    } else if (w == "place" && line.tokens.size() == 5) {
      const Output* sheet = Find(outputs, line.tokens[1] + ".exp");
      if (!sheet) SourceFail(line, "no sheet " + line.tokens[1]);
      const auto frames = SheetFrames(outputs, *sheet);
      const size_t f = static_cast<size_t>(SourceInteger(line, line.tokens[2]));
      if (f >= frames.size()) SourceFail(line, "no such frame");
      RasterBlend(scene, *frames[f].image, SourceInteger(line, line.tokens[3]) - frames[f].ax,
                  SourceInteger(line, line.tokens[4]) - frames[f].ay);
    } else if (w == "picture" && line.tokens.size() == 4) {
      const Output* o = Find(outputs, line.tokens[1]);
      if (!o) SourceFail(line, "no generated picture " + line.tokens[1]);
      RasterBlend(scene, o->image, SourceInteger(line, line.tokens[2]),
                  SourceInteger(line, line.tokens[3]));
    } else {
      SourceFail(line,
                 "expected tile L PATH, row LETTERS, place SHEET FRAME X Y or picture PATH X Y");
    }
  }
  return scene;
}

Raster PreviewSheets(const Art& art, const std::vector<Output>& outputs,
                     const std::string& filter) {
  const Rgba back = art.palette.ramps[PaletteFind(art.palette, "sky")].shade[ShadeMid];
  std::vector<std::vector<SheetFrame>> rows;
  int width = 0, height = 0;
  for (const Output& o : outputs) {
    if (!o.isText || o.path.find(filter) == std::string::npos) continue;
    rows.push_back(SheetFrames(outputs, o));
    int w = 0, h = 0;
    for (const SheetFrame& f : rows.back())
      w += f.image->width + 4, h = std::max(h, f.image->height);
    width = std::max(width, w);
    height += h + 4;
  }
  Raster sheet(std::max(width, 1), std::max(height, 1), back);
  int y = 0;
  for (const auto& frames : rows) {
    int x = 0, h = 0;
    for (const SheetFrame& f : frames) {
      RasterBlend(sheet, *f.image, x, y);
      // The anchor, marked so a jumping figure shows.
      if (sheet.inside(x + f.ax, y + f.ay)) sheet.at(x + f.ax, y + f.ay) = Rgba{255, 255, 0, 255};
      x += f.image->width + 4, h = std::max(h, f.image->height);
    }
    y += h + 4;
  }
  return sheet;
}
