#include "art.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "sources.h"

namespace {

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    if (entry.is_regular_file() && entry.path().extension() == ".txt")
      names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());  // directory order differs between machines
  return names;
}

}  // namespace

Art ArtLoad(const std::string& folder) {
  Art art;
  art.folder = folder;
  art.palette = PaletteLoad(folder + "/palette.txt");
  for (const std::string& file : FilesIn(folder + "/masks"))
    for (auto& [name, mask] : MaskLoad(folder + "/masks/" + file))
      if (!art.masks.emplace(name, mask).second)
        throw SourceError(file + ": picture defined twice: " + name);
  art.cast = FigureLoadCast(folder + "/cast", FilesIn(folder + "/cast"));
  art.sequences = SequenceLoad(folder + "/poses.txt");
  if (!art.cast.count("Dracula")) throw SourceError("the cast has no Dracula");
  for (const auto& [name, def] : art.cast)
    if (name != "Dracula") art.humanTypes.push_back(name);
  return art;
}

const Sequence& ArtSequence(const Art& art, const std::string& name, const std::string& figure) {
  // A figure may move its own way: "walk Dracula" wins over "walk".
  auto found = art.sequences.find(name + "@" + figure);
  if (found == art.sequences.end()) found = art.sequences.find(name);
  if (found == art.sequences.end())
    throw SourceError("no sequence named " + name + " in poses.txt");
  return found->second;
}

Raster ArtFigureFrame(Art& art, const FigureDef& def, const Pose& pose, int w, int h, double footX,
                      double turn, int frameIndex, bool frontOnly) {
  Cels cels(w, h, PaletteFind(art.palette, "outline"));
  const FigureContext context{&art.palette, &art.masks, frameIndex, frontOnly};
  const double ground = h - 2;  // the outline takes the last row
  FigureDraw(cels, context, def, pose, footX, ground, turn);
  if (pose.flash)
    for (Cel& c : cels.cells)
      if (c.ramp != 0 && c.ramp != cels.outlineRamp) c.shade = ShadeLight;
  // Drops thrown out of the wound towards the blow, in an arc before the chest.
  const int blood = PaletteFind(art.palette, "blood");
  for (int i = 0; i < pose.blood; ++i) {
    const uint32_t jitter = Hash(static_cast<uint32_t>(i), static_cast<uint32_t>(frameIndex), 91);
    const double x = footX + pose.shiftX + 6 + i * 2.0 + jitter % 2;
    const double y = ground - 38 - 3 * std::sin(i * 0.7) + (jitter >> 8) % 2;
    CelsDisc(cels, Paint{blood}, x, y, i % 3 == 0 ? 1.1 : 0.7);
  }
  if (pose.rotate != 0) cels = CelsRotate(cels, Point{footX + pose.shiftX, ground}, pose.rotate);
  if (pose.dust > 0) CelsDissolve(cels, pose.dust, static_cast<uint32_t>(frameIndex) + 17);
  if (pose.ash > 0) {
    const double cx = footX + pose.shiftX + 20, half = 4 + pose.ash * 0.16,
                 top = ground - pose.ash * 0.04 - 0.5;
    Paint ash{PaletteFind(art.palette, "ash")};
    CelsPolygon(cels, ash,
                {{cx - half, ground + 1},
                 {cx - half * 0.5, top},
                 {cx + half * 0.4, top - 0.5},
                 {cx + half, ground + 1}});
    CelsSpeckle(cels, ash.ramp, ShadeDark, 20, 5);
  }
  return CelsRender(cels, art.palette, true);
}
