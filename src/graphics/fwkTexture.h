// Textures: an image cut into power-of-two OpenGL textures (tiles) with a one-texel border,
// shared by name among the models of one display and counted by the models that use them.
// Also the release and rebuild of every OpenGL texture and display list around a context
// rebuild, for image textures and (through fwkFont) font textures.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct imageData;

// One OpenGL texture of a texture: texel (1, 1) shows image pixel (x1, y1); row 0, column 0
// and the row and column just past the copied pixels are the border.
struct textureTile {
  uint32_t name = 0;       // OpenGL texture name
  int32_t x1 = 0, x2 = 0;  // first and last image column covered, inclusive
  int32_t y1 = 0, y2 = 0;  // first and last image row covered, inclusive
  int32_t textureWidth = 0;
  int32_t textureHeight = 0;
};

// Kept in the texture list of its display's model store record, in creation order.
struct texture {
  int32_t displayId = 0;
  std::string name;   // image file name, or the font file name; the key for sharing
  int32_t width = 0;  // source image size in pixels
  int32_t height = 0;
  uint8_t depth = 0;  // 32 uploads RGBA, anything else RGB
  int32_t columns = 0;
  int32_t rows = 0;
  int32_t tileWidth = 0;  // the largest tile size used
  int32_t tileHeight = 0;
  bool smooth = false;             // linear filtering instead of nearest
  bool repeat = false;             // repeating texture coordinates instead of clamping
  std::vector<textureTile> tiles;  // row by row, left to right
  int32_t references = 0;          // number of models that use the texture
};

// A texture reference is a texture* held by the caller; operations on nullptr do nothing.

// The display's texture of that name if there is one, else a new texture read from the file.
texture* TextureOpen(int32_t displayId, const std::string& fileName, bool smooth);
// First texture of the display whose name equals name without regard to case.
texture* TextureFind(int32_t displayId, const std::string& name);
// A tiled texture made from the image; none when the display has no model store record or the
// image is not usable.
texture* ModelTextureExtract(int32_t displayId, const imageData* image, bool smooth);
// Makes the display current and appends an empty texture; none for a display unknown to the
// model store.
texture* TextureNew(int32_t displayId);
// Appends a tile with a new OpenGL texture name; returns its index (-1 for no texture).
int32_t TextureAddTile(texture* t);
// Uploads height x width pixels (0xAARRGGBB, top row first) into the tile's OpenGL texture.
void TextureUpload(texture* t, int32_t tile, const uint32_t* pixels, int32_t height, int32_t width);
void TextureSetName(texture* t, const std::string& name);
void TextureSetDepth(texture* t, uint8_t depth);
void TextureSetSmooth(texture* t, bool smooth);
void TextureSetRepeat(texture* t, bool repeat);
void TextureSetTileSize(texture* t, int32_t tileWidth, int32_t tileHeight);
// The source image size; (0, 0) for no texture.
void TextureGetSize(const texture* t, int32_t& width, int32_t& height);
// The OpenGL texture name of a tile; 0 for no texture or a tile index out of range.
uint32_t TextureTileName(const texture* t, int32_t tile);

void TextureAddRef(texture* t);
// References - 1; at 0 or below TextureFree. The caller's reference is emptied in any case.
void TextureRelease(texture*& t);
// Deletes the tiles' OpenGL textures (when the display can be made current), removes the
// texture from its display and empties the caller's reference.
void TextureFree(texture*& t);

// Deletes every OpenGL texture and display list of every display, while the contexts exist.
void ModelAssetsRelease();
// Recreates them in new contexts: images are read again, fonts rebuilt chunk by chunk, and every
// compiled model compiled again.
void ModelAssetsRecompile();

// Gives the model store the texture operations it calls (reference counts, tile names, freeing
// a display's textures) and the image loader of ModelOpen. FontInit calls it; the store keeps
// them across ModelInit calls.
void TextureInit();
