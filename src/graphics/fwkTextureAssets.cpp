// Releasing and rebuilding every OpenGL texture and display list around a context rebuild.
#include "graphics/fwkTexture.h"

#include "graphics/GL.h"
#include "graphics/fwkFont.h"
#include "graphics/fwkGraphics.h"
#include "graphics/fwkModel.h"
#include "graphics/fwkTextureTiles.h"
#include "images/fwkImage.h"
#include "services/fwkLog.h"

#include <algorithm>
#include <cctype>

namespace {

bool IsFontFile(const std::string& name) {
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos) return false;
  std::string extension = name.substr(dot);
  for (char& c : extension) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return extension == ".FOT";
}

// The old names belong to the freed context; a new context may hand the same numbers to other
// textures, so every tile gets a fresh name even when its image cannot be read again.
void RenameTiles(texture* t) {
  for (textureTile& tile : t->tiles) gl.GenTextures(1, &tile.name);
}

void RebuildImage(texture* t) {
  imageData* image = nullptr;
  ImageAdd(image);
  ImageOpen(t->name, image);
  RenameTiles(t);
  const bool usable = image && !image->error && image->width > 0 && image->height > 0 &&
                      image->pixels.size() >=
                          static_cast<size_t>(image->width) * static_cast<size_t>(image->height);
  if (usable) {
    std::vector<uint32_t> buffer(static_cast<size_t>(std::max(t->tileWidth, 1)) *
                                 std::max(t->tileHeight, 1));
    for (int32_t i = 0; i < static_cast<int32_t>(t->tiles.size()); ++i) {
      const textureTile& tile = t->tiles[i];
      TextureCopyTile(image->pixels, image->width, image->height, tile.x1, tile.y1,
                      tile.textureWidth, tile.textureHeight, buffer);
      TextureUpload(t, i, buffer.data(), tile.textureHeight, tile.textureWidth);
    }
  } else {
    LogError("ModelAssetsRecompile - Unable to rebuild image \"" + t->name + "\" for model.");
  }
  ImageFree(image);
}

void RebuildFont(int32_t displayId, texture* t) {
  RenameTiles(t);
  int32_t file = 0;
  const int32_t fontId = FontRebuildStart(displayId, t->name, file);
  if (!file) {
    LogError("ModelAssetsRecompile - Could not reread font file.");
    return;
  }
  // A failed read deletes the font and its texture with it, and closes the file.
  const int32_t tiles = static_cast<int32_t>(t->tiles.size());
  for (int32_t i = 0; i < tiles && file; ++i) FontRebuildTexel(fontId, file, t, i);
  FontRebuildEnd(file);
}

}  // namespace

void ModelAssetsRelease() {
  for (modelDisplay& record : ModelDisplays()) {
    GraphicsDisplayMakeCurrent(record.displayId);
    for (texture* t : record.textures)
      for (textureTile& tile : t->tiles) gl.DeleteTextures(1, &tile.name);
    ModelDisplayListsDelete(record.displayId);
  }
}

void ModelAssetsRecompile() {
  for (size_t d = 0; d < ModelDisplays().size(); ++d) {
    const int32_t displayId = ModelDisplays()[d].displayId;
    if (!GraphicsDisplayMakeCurrent(displayId)) {
      LogError("ModelAssetsRecompile - Could not make display " + std::to_string(displayId) +
               " current.");
      continue;
    }
    // Walk a copy: a font whose rebuild fails takes its texture off the list.
    const std::vector<texture*> textures = ModelDisplays()[d].textures;
    for (texture* t : textures) {
      const auto& live = ModelDisplays()[d].textures;
      if (std::find(live.begin(), live.end(), t) == live.end()) continue;
      if (IsFontFile(t->name))
        RebuildFont(displayId, t);
      else
        RebuildImage(t);
    }
    ModelDisplayListsRecompile(displayId);
  }
}
