// Arbitrary bytes as a MilkShape 3D file. Whatever the counts say, the reader stops at the end
// of the data, and a model it returns holds only triangles whose corners name its vertices.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "GraphicsFuzzFolder.h"
#include "graphics/fwkModel.h"
#include "graphics/fwkModelMS3D.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const int32_t display = GraphicsFuzzStart();
  GraphicsFuzzWrite("fuzz.ms3d", data, size);
  const model* m = ModelOpenMS3D(display, "fuzz.ms3d");
  if (m != nullptr) {
    if (m->vertices.size() > 65535 || m->polygons.size() > 65535 || !m->texCoords.empty())
      std::abort();
    for (const modelPolygon& polygon : m->polygons) {
      if (!polygon.textures.empty()) std::abort();
      for (const modelCorner& corner : polygon.corners) {
        if (corner.vertex < 0 || static_cast<size_t>(corner.vertex) >= m->vertices.size())
          std::abort();
      }
    }
  }
  // Models left by failed reads go with their display, as at the end of a program run.
  ModelDisplayRemove(display);
  ModelDisplayAdd(display);
  return 0;
}
