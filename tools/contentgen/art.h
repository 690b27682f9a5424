#pragma once
// Everything the generator has read from the art folder, and the pictures it makes from it.
#include <map>
#include <string>
#include <vector>

#include "cels.h"
#include "figure.h"
#include "palette.h"
#include "raster.h"

struct Art {
  std::string folder;
  Palette palette;
  std::map<std::string, Mask> masks;
  std::map<std::string, FigureDef> cast;
  std::map<std::string, Sequence> sequences;
  std::vector<std::string> humanTypes;  // every cast member but the player
};

// One generated file: a picture or a text, under its content path ("Bin\HUD\Fog.tga").
struct Output {
  std::string path;
  Raster image;
  std::string text;
  bool isText = false;
  int bits = 32;
};

Art ArtLoad(const std::string& folder);
const Sequence& ArtSequence(const Art& art, const std::string& name, const std::string& figure);
// Renders one pose of a figure, alone, facing right, on a canvas of w x h small pixels.
Raster ArtFigureFrame(Art& art, const FigureDef& def, const Pose& pose, int w, int h, double footX,
                      double turn, int frameIndex, bool frontOnly = false);

// The picture programs (tiles, HUD, screens) of one source file.
void ArtPictures(Art& art, const std::string& file, std::vector<Output>& outputs);
void ArtSheets(Art& art, std::vector<Output>& outputs);
