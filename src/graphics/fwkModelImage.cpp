#include "graphics/fwkModelImage.h"

#include "graphics/fwkModel.h"
#include "graphics/fwkTexture.h"
#include "services/fwkLog.h"

namespace {

constexpr float imageDepth = -5.0f;

modelPolygon Triangle(texture* t, int32_t tile, int32_t a, int32_t b, int32_t c,
                      int32_t coordinateBase, int32_t vertexBase) {
  modelPolygon polygon;
  polygon.textures.push_back({t, tile});
  polygon.corners = {modelCorner{vertexBase + a, 0, coordinateBase + a},
                     modelCorner{vertexBase + b, 0, coordinateBase + b},
                     modelCorner{vertexBase + c, 0, coordinateBase + c}};
  return polygon;
}

}  // namespace

model* ModelOpenImage(int32_t displayId, const std::string& fileName, bool smooth) {
  if (!ModelDisplayRecord(displayId)) {
    LogError("ModelOpenImage - Invalid display ID \"" + std::to_string(displayId) + "\".");
    return nullptr;
  }
  texture* t = TextureOpen(displayId, fileName, smooth);
  if (!t) return nullptr;
  model* m = ModelNew(displayId, modelKindCompiled);
  if (!m) return nullptr;
  ModelSetName(m, fileName);
  int32_t tile = 0;
  for (int32_t row = 0; row < t->rows; ++row) {
    for (int32_t column = 0; column < t->columns && tile < static_cast<int32_t>(t->tiles.size());
         ++column, ++tile) {
      const textureTile& span = t->tiles[tile];
      const int32_t base = tile * 4;
      const float uA = 1.0f / span.textureWidth;
      const float uB = (span.x2 - span.x1 + 2.0f) / span.textureWidth;
      const float vA = 1.0f / span.textureHeight;
      const float vB = (span.y2 - span.y1 + 2.0f) / span.textureHeight;
      const float left = static_cast<float>(span.x1);
      const float right = static_cast<float>(span.x2 + 1);
      const float top = static_cast<float>(span.y1);
      const float bottom = static_cast<float>(span.y2 + 1);
      ModelSetVertex(m, base, left, top, imageDepth);
      ModelSetVertex(m, base + 1, left, bottom, imageDepth);
      ModelSetVertex(m, base + 2, right, top, imageDepth);
      ModelSetVertex(m, base + 3, right, bottom, imageDepth);
      ModelSetTexCoord(m, base, uA, vA);
      ModelSetTexCoord(m, base + 1, uA, vB);
      ModelSetTexCoord(m, base + 2, uB, vA);
      ModelSetTexCoord(m, base + 3, uB, vB);
      ModelSetPolygon(m, tile * 2, Triangle(t, tile, 0, 1, 2, base, base));
      ModelSetPolygon(m, tile * 2 + 1, Triangle(t, tile, 2, 1, 3, base, base));
    }
    ModelCompile(m);
  }
  return m;
}
