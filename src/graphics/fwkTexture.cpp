#include "graphics/fwkTexture.h"

#include "graphics/GL.h"
#include "graphics/fwkGraphics.h"
#include "graphics/fwkModel.h"
#include "graphics/fwkModelImage.h"
#include "graphics/fwkTextureTiles.h"
#include "images/fwkImage.h"
#include "services/fwkLog.h"
#include "services/fwkText.h"

#include <algorithm>

namespace {

constexpr GLenum textureTarget = 0x0DE1;     // GL_TEXTURE_2D
constexpr GLenum textureMagFilter = 0x2800;  // GL_TEXTURE_MAG_FILTER
constexpr GLenum textureMinFilter = 0x2801;  // GL_TEXTURE_MIN_FILTER
constexpr GLenum textureWrapS = 0x2802;      // GL_TEXTURE_WRAP_S
constexpr GLenum textureWrapT = 0x2803;      // GL_TEXTURE_WRAP_T
constexpr GLenum pixelFormat = 0x80E1;       // GL_BGRA
constexpr GLenum pixelType =
    0x8367;  // GL_UNSIGNED_INT_8_8_8_8_REV: a word per pixel, any byte order

void SetParameters(bool smooth, bool repeat) {
  const GLint filter = static_cast<GLint>(smooth ? GL_LINEAR : GL_NEAREST);
  const GLint wrap = static_cast<GLint>(repeat ? GL_REPEAT : GL_CLAMP);
  gl.TexParameteri(textureTarget, textureMinFilter, filter);
  gl.TexParameteri(textureTarget, textureMagFilter, filter);
  gl.TexParameteri(textureTarget, textureWrapS, wrap);
  gl.TexParameteri(textureTarget, textureWrapT, wrap);
}

void DefineEmpty(GLenum format, int32_t width, int32_t height) {
  gl.TexImage2D(textureTarget, 0, static_cast<GLint>(format), width, height, 0, format,
                GL_UNSIGNED_BYTE, nullptr);
}

// Halves the tile sides while the OpenGL implementation refuses a texture that large.
void ProbeTileSize(int32_t depth, bool smooth, int32_t& tileWidth, int32_t& tileHeight) {
  if (tileWidth == textureMinimumTile && tileHeight == textureMinimumTile) return;
  const GLenum format = depth == 32 ? GL_RGBA : GL_RGB;
  GLuint scratch = 0;
  gl.GenTextures(1, &scratch);
  gl.BindTexture(textureTarget, scratch);
  SetParameters(smooth, false);
  // An error left over from earlier calls is not the probe's answer. Bounded: without a
  // current context some drivers keep answering an error.
  for (int i = 0; i < 32 && gl.GetError() != GL_NO_ERROR; ++i) {
  }
  DefineEmpty(GL_RGBA, tileWidth, tileHeight);
  while (tileHeight > textureMinimumTile && gl.GetError() == GL_INVALID_VALUE) {
    tileHeight /= 2;
    DefineEmpty(format, tileWidth, tileHeight);
  }
  DefineEmpty(GL_RGBA, tileWidth, tileHeight);
  while (tileWidth > textureMinimumTile && gl.GetError() == GL_INVALID_VALUE) {
    tileWidth /= 2;
    DefineEmpty(format, tileWidth, tileHeight);
  }
  gl.DeleteTextures(1, &scratch);
}

bool Usable(const imageData* image) {
  return image && !image->error && image->width > 0 && image->height > 0 &&
         image->pixels.size() >=
             static_cast<size_t>(image->width) * static_cast<size_t>(image->height);
}

}  // namespace

void TextureInit() {
  modelHooks& hooks = ModelHooks();
  hooks.textureAddRef = TextureAddRef;
  hooks.textureRelease = TextureRelease;
  hooks.textureFree = TextureFree;
  hooks.textureTileName = TextureTileName;
  hooks.openImage = ModelOpenImage;
  hooks.imageIsSupported = ImageIsSupported;
}

texture* TextureNew(int32_t displayId) {
  modelDisplay* record = ModelDisplayRecord(displayId);
  if (!record) return nullptr;
  // A texture the store cannot count, bind or free would leak and draw blank.
  if (!ModelHooks().textureTileName) TextureInit();
  GraphicsDisplayMakeCurrent(displayId);
  texture* t = new texture();
  t->displayId = displayId;
  record->textures.push_back(t);
  return t;
}

int32_t TextureAddTile(texture* t) {
  if (!t) return -1;
  textureTile tile;
  gl.GenTextures(1, &tile.name);
  t->tiles.push_back(tile);
  return static_cast<int32_t>(t->tiles.size()) - 1;
}

void TextureUpload(texture* t, int32_t tile, const uint32_t* pixels, int32_t height,
                   int32_t width) {
  if (!t || tile < 0 || tile >= static_cast<int32_t>(t->tiles.size()) || !pixels || width <= 0 ||
      height <= 0)
    return;
  gl.BindTexture(textureTarget, t->tiles[tile].name);
  SetParameters(t->smooth, t->repeat);
  const GLenum format = t->depth == 32 ? GL_RGBA : GL_RGB;
  // The pixels go in as they are, one 0xAARRGGBB word each: converting them to bytes first
  // cost more than the upload itself. A 24-bit texture drops the alpha channel it is given.
  gl.PixelStorei(GL_UNPACK_ALIGNMENT, 1);
  gl.TexImage2D(textureTarget, 0, static_cast<GLint>(format), width, height, 0, pixelFormat,
                pixelType, pixels);
}

void TextureSetName(texture* t, const std::string& name) {
  if (t) t->name = name;
}

void TextureSetDepth(texture* t, uint8_t depth) {
  if (t) t->depth = depth;
}

void TextureSetSmooth(texture* t, bool smooth) {
  if (t) t->smooth = smooth;
}

void TextureSetRepeat(texture* t, bool repeat) {
  if (t) t->repeat = repeat;
}

void TextureSetTileSize(texture* t, int32_t tileWidth, int32_t tileHeight) {
  if (!t) return;
  t->tileWidth = tileWidth;
  t->tileHeight = tileHeight;
}

void TextureGetSize(const texture* t, int32_t& width, int32_t& height) {
  width = t ? t->width : 0;
  height = t ? t->height : 0;
}

uint32_t TextureTileName(const texture* t, int32_t tile) {
  if (!t || tile < 0 || tile >= static_cast<int32_t>(t->tiles.size())) return 0;
  return t->tiles[tile].name;
}

void TextureAddRef(texture* t) {
  if (t) ++t->references;
}

void TextureRelease(texture*& t) {
  if (!t) return;
  if (--t->references <= 0) TextureFree(t);
  t = nullptr;
}

void TextureFree(texture*& t) {
  if (!t) return;
  if (GraphicsDisplayMakeCurrent(t->displayId))
    for (textureTile& tile : t->tiles) gl.DeleteTextures(1, &tile.name);
  if (modelDisplay* record = ModelDisplayRecord(t->displayId)) {
    auto& list = record->textures;
    list.erase(std::remove(list.begin(), list.end(), t), list.end());
  }
  delete t;
  t = nullptr;
}

texture* TextureFind(int32_t displayId, const std::string& name) {
  if (const modelDisplay* record = ModelDisplayRecord(displayId))
    for (texture* t : record->textures)
      if (TextSameIgnoringCase(t->name, name)) return t;
  return nullptr;
}

texture* TextureOpen(int32_t displayId, const std::string& fileName, bool smooth) {
  if (texture* existing = TextureFind(displayId, fileName)) return existing;
  imageData* image = nullptr;
  ImageOpen(fileName, image);
  if (image) image->name = fileName;
  texture* t = ModelTextureExtract(displayId, image, smooth);
  ImageFree(image);
  return t;
}

texture* ModelTextureExtract(int32_t displayId, const imageData* image, bool smooth) {
  if (!ModelDisplayRecord(displayId)) return nullptr;
  if (!Usable(image)) {
    LogError("ModelTextureExtract - Unable to extract image \"" +
             (image ? image->name : std::string()) + "\" for model.");
    return nullptr;
  }
  int32_t tileWidth = TextureLargestTileSide(image->width);
  int32_t tileHeight = TextureLargestTileSide(image->height);
  ProbeTileSize(image->bitsPerPixel, smooth, tileWidth, tileHeight);
  texture* t = TextureNew(displayId);
  t->name = image->name;
  t->width = image->width;
  t->height = image->height;
  t->depth = image->bitsPerPixel;
  t->smooth = smooth;
  t->repeat = false;
  t->tileWidth = tileWidth;
  t->tileHeight = tileHeight;
  std::vector<uint32_t> buffer(static_cast<size_t>(tileWidth) * tileHeight);
  const textureTiling tiling = TextureTileWalk(image->width, image->height, tileWidth, tileHeight);
  for (const textureTileSpan& span : tiling.tiles) {
    TextureCopyTile(image->pixels, image->width, image->height, span.x1, span.y1, span.textureWidth,
                    span.textureHeight, buffer);
    const int32_t tile = TextureAddTile(t);
    TextureUpload(t, tile, buffer.data(), span.textureHeight, span.textureWidth);
    textureTile& record = t->tiles[tile];
    record.x1 = span.x1;
    record.x2 = span.x2;
    record.y1 = span.y1;
    record.y2 = span.y2;
    record.textureWidth = span.textureWidth;
    record.textureHeight = span.textureHeight;
  }
  t->columns = tiling.columns;
  t->rows = tiling.rows;
  return t;
}
