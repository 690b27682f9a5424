#pragma once
// Pictures for looking at the art: a made-up street scene with the figures placed in it, and
// contact sheets of animation frames.
#include <string>
#include <vector>

#include "art.h"

// The scene of preview.txt: a grid of tiles, figures placed by their sheets' anchors.
Raster PreviewScene(const Art& art, const std::vector<Output>& outputs);
// Every sheet whose path contains `filter`, one row of frames each, on a night background.
Raster PreviewSheets(const Art& art, const std::vector<Output>& outputs, const std::string& filter);
