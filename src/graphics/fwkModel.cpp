#include "graphics/fwkModel.h"

#include <algorithm>

#include "graphics/GL.h"
#include "graphics/fwkGraphics.h"
#include "graphics/fwkModelMS3D.h"
#include "services/fwkLog.h"
#include "services/fwkUtilities.h"

namespace {

std::vector<modelDisplay> modelDisplays;

std::string UpperCase(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') {
      c = static_cast<char>(c - 'a' + 'A');
    }
  }
  return text;
}

std::string Extension(const std::string& fileName) {
  size_t dot = fileName.find_last_of('.');
  size_t separator = fileName.find_last_of("\\/");
  if (dot == std::string::npos || (separator != std::string::npos && dot < separator)) {
    return "";
  }
  return fileName.substr(dot);
}

void DiscardGLError() {
  for (int i = 0; i < 32 && gl.GetError() != GL_NO_ERROR; ++i) {
  }
}

void DeleteList(model& m) {
  if (m.hasList) {
    gl.DeleteLists(m.list, 1);
    m.hasList = false;
  }
}

}  // namespace

modelHooks& ModelHooks() {
  static modelHooks hooks;
  return hooks;
}

std::vector<modelDisplay>& ModelDisplays() { return modelDisplays; }

modelDisplay* ModelDisplayRecord(int32_t display) {
  for (modelDisplay& record : modelDisplays) {
    if (record.displayId == display) {
      return &record;
    }
  }
  return nullptr;
}

void ModelInit() {
  while (!modelDisplays.empty()) {
    ModelDisplayRemove(modelDisplays.front().displayId);
  }
  LogVersionAdd("fwkModel - Version Alpha.0");
}

void ModelFinal() {
  while (!modelDisplays.empty()) {
    ModelDisplayRemove(modelDisplays.front().displayId);
  }
}

void ModelDisplayAdd(int32_t display) {
  if (ModelDisplayRecord(display) == nullptr) {
    modelDisplay record;
    record.displayId = display;
    modelDisplays.push_back(std::move(record));
  }
}

void ModelDisplayRemove(int32_t display) {
  modelDisplay* record = ModelDisplayRecord(display);
  if (record == nullptr) {
    return;
  }
  while (!record->models.empty()) {
    model* first = record->models.front().get();
    ModelFree(first);
  }
  while (!record->textures.empty()) {
    size_t before = record->textures.size();
    texture* first = record->textures.front();
    if (ModelHooks().textureFree != nullptr) {
      ModelHooks().textureFree(first);
    }
    // A texture part that did not unlink it must not keep this loop going.
    if (record->textures.size() == before) {
      record->textures.erase(record->textures.begin());
    }
  }
  modelDisplays.erase(modelDisplays.begin() + (record - modelDisplays.data()));
}

model* ModelNew(int32_t display, int32_t kind) {
  modelDisplay* record = ModelDisplayRecord(display);
  if (record == nullptr) {
    return nullptr;
  }
  if (kind != modelKindDynamic && kind != modelKindCompiled) {
    LogError("ModelNew - Invalid model type \"" + std::to_string(kind) + "\".  Model not created.");
    return nullptr;
  }
  auto created = std::make_unique<model>();
  created->kind = static_cast<uint8_t>(kind);
  created->displayId = display;
  record->models.push_back(std::move(created));
  return record->models.back().get();
}

void ModelFree(model*& m) {
  if (m == nullptr) {
    return;
  }
  // Only a model the store still holds is touched: a second free through a stale copy of the
  // reference finds nothing, and the stale pointer is never read.
  modelDisplay* record = nullptr;
  std::vector<std::unique_ptr<model>>::iterator owned;
  for (modelDisplay& candidate : ModelDisplays()) {
    owned = std::find_if(candidate.models.begin(), candidate.models.end(),
                         [&](const std::unique_ptr<model>& held) { return held.get() == m; });
    if (owned != candidate.models.end()) {
      record = &candidate;
      break;
    }
  }
  if (record == nullptr) {
    m = nullptr;
    return;
  }
  if (GraphicsDisplayMakeCurrent(m->displayId)) {
    DeleteList(*m);
  }
  std::vector<texture*> used;
  for (modelPolygon& polygon : m->polygons) {
    for (const modelTextureRef& entry : polygon.textures) {
      if (entry.tex != nullptr && std::find(used.begin(), used.end(), entry.tex) == used.end()) {
        used.push_back(entry.tex);
      }
    }
    polygon.textures.clear();
  }
  for (texture* t : used) {
    if (ModelHooks().textureRelease != nullptr) {
      ModelHooks().textureRelease(t);
    }
  }
  record->models.erase(owned);
  m = nullptr;
}

model* ModelOpen(int32_t display, const std::string& fileName) {
  const modelHooks& hooks = ModelHooks();
  if (UpperCase(Extension(fileName)) == ".MS3D") {
    return ModelOpenMS3D(display, fileName);
  }
  if (hooks.imageIsSupported != nullptr && hooks.openImage != nullptr &&
      hooks.imageIsSupported(fileName)) {
    return hooks.openImage(display, fileName, false);
  }
  LogError("Unrecognized model extension for \"" + fileName + "\".");
  return nullptr;
}

void ModelCompile(model* m) {
  if (UtilCommandLineHas("-nocompile") || m == nullptr || m->kind != modelKindCompiled ||
      !GraphicsDisplayMakeCurrent(m->displayId)) {
    return;
  }
  if (!m->hasList) {
    m->list = gl.GenLists(1);
    m->hasList = true;
  }
  m->compiled = false;
  DiscardGLError();
  gl.NewList(m->list, GL_COMPILE);
  GLenum error = gl.GetError();
  if (error == GL_NO_ERROR) {
    ModelRender(GraphicsDisplayGet(m->displayId), m);
    DiscardGLError();
    gl.EndList();
    error = gl.GetError();
  }
  if (error != GL_NO_ERROR) {
    LogError("ModelCompile - Unable to compile model \"" + m->name +
             "\".  Rendering uncompiled instead.  " + GraphicsErrorText(error));
    m->kind = modelKindDynamic;
    return;
  }
  m->compiled = true;
}

void ModelDraw(model* m) {
  if (m == nullptr) {
    return;
  }
  int32_t index = GraphicsDisplayGet(m->displayId);
  if (index < 0 || index >= static_cast<int32_t>(modelDisplays.size())) {
    return;
  }
  gl.PushMatrix();
  gl.Translatef(m->x, m->y, m->z);
  gl.Rotatef(m->angle, 0.0f, 0.0f, 1.0f);
  gl.Color4ub(m->red, m->green, m->blue, m->alpha);
  if (m->kind == modelKindCompiled && m->compiled) {
    gl.CallList(m->list);
  } else {
    ModelRender(index, m);
  }
  gl.PopMatrix();
}

void ModelRender(int32_t displayIndex, model* m) {
  (void)displayIndex;
  if (m == nullptr) {
    return;
  }
  const modelHooks& hooks = ModelHooks();
  const texture* boundTexture = nullptr;
  int32_t boundTile = -1;
  bool first = true;
  bool wasTextured = false;
  bool open = false;  // inside Begin/End: state changes must wait for End
  const auto vertexCount = static_cast<int32_t>(m->vertices.size());
  const auto coordCount = static_cast<int32_t>(m->texCoords.size());
  for (const modelPolygon& polygon : m->polygons) {
    bool textured = !polygon.textures.empty();
    const modelTextureRef* entry = textured ? &polygon.textures.front() : nullptr;
    bool bind = entry != nullptr && entry->tex != nullptr &&
                (entry->tex != boundTexture || entry->tile != boundTile) &&
                hooks.textureTileName != nullptr;
    bool toggle = first || textured != wasTextured;
    if ((bind || toggle) && open) {
      gl.End();
      open = false;
    }
    if (bind) {
      gl.BindTexture(GL_TEXTURE_2D, hooks.textureTileName(entry->tex, entry->tile));
      boundTexture = entry->tex;
      boundTile = entry->tile;
    }
    if (toggle) {
      if (textured) {
        gl.Enable(GL_TEXTURE_2D);
      } else {
        gl.Disable(GL_TEXTURE_2D);
      }
    }
    first = false;
    wasTextured = textured;
    if (!open) {
      gl.Begin(GL_TRIANGLES);
      open = true;
    }
    for (const modelCorner& corner : polygon.corners) {
      if (textured) {
        // A coordinate index past the list is drawn as (0, 0) rather than read out of bounds.
        modelTexCoord coord;
        if (corner.texCoord >= 0 && corner.texCoord < coordCount) {
          coord = m->texCoords[static_cast<size_t>(corner.texCoord)];
        }
        gl.TexCoord2f(coord.u, coord.v);
      }
      modelVertex vertex;
      if (corner.vertex >= 0 && corner.vertex < vertexCount) {
        vertex = m->vertices[static_cast<size_t>(corner.vertex)];
      }
      gl.Vertex3f(vertex.x, vertex.y, vertex.z);
    }
  }
  if (open) {
    gl.End();
  }
}

void ModelSetVertex(model* m, int32_t index, float x, float y, float z) {
  if (m == nullptr || index < 0) {
    return;
  }
  if (static_cast<size_t>(index) >= m->vertices.size()) {
    m->vertices.resize(static_cast<size_t>(index) + 1);
  }
  m->vertices[static_cast<size_t>(index)] = {x, y, z};
}

modelVertex ModelGetVertex(const model* m, int32_t index) {
  if (m == nullptr || index < 0 || static_cast<size_t>(index) >= m->vertices.size()) {
    return {};
  }
  return m->vertices[static_cast<size_t>(index)];
}

void ModelSetTexCoord(model* m, int32_t index, float u, float v) {
  if (m == nullptr || index < 0) {
    return;
  }
  if (static_cast<size_t>(index) >= m->texCoords.size()) {
    m->texCoords.resize(static_cast<size_t>(index) + 1);
  }
  m->texCoords[static_cast<size_t>(index)] = {u, v};
}

void ModelSetPolygon(model* m, int32_t index, const modelPolygon& polygon) {
  if (m == nullptr || index < 0) {
    return;
  }
  for (const modelCorner& corner : polygon.corners) {
    if (corner.vertex < 0 || static_cast<size_t>(corner.vertex) >= m->vertices.size()) {
      return;
    }
  }
  if (static_cast<size_t>(index) >= m->polygons.size()) {
    m->polygons.resize(static_cast<size_t>(index) + 1);
  }
  // A texture counts each model that uses it once, however often the polygon names it.
  std::vector<const texture*> counted;
  for (const modelTextureRef& entry : polygon.textures) {
    if (entry.tex == nullptr || ModelUsesTexture(m, entry.tex) ||
        std::find(counted.begin(), counted.end(), entry.tex) != counted.end()) {
      continue;
    }
    counted.push_back(entry.tex);
    if (ModelHooks().textureAddRef != nullptr) {
      ModelHooks().textureAddRef(entry.tex);
    }
  }
  m->polygons[static_cast<size_t>(index)] = polygon;
}

void ModelSetName(model* m, const std::string& name) {
  if (m != nullptr) {
    m->name = name;
  }
}

int32_t ModelGetDisplay(const model* m) { return m != nullptr ? m->displayId : 0; }

void ModelSetPosition(model* m, float x, float y, float z) {
  if (m != nullptr) {
    m->x = x;
    m->y = y;
    m->z = z;
  }
}

modelVertex ModelGetPosition(const model* m) {
  if (m == nullptr) {
    return {};
  }
  return {m->x, m->y, m->z};
}

void ModelMove(model* m, float dx, float dy, float dz) {
  if (m != nullptr) {
    m->x += dx;
    m->y += dy;
    m->z += dz;
  }
}

void ModelRotate(model* m, float angleX, float angleY, float angleZ) {
  (void)angleX;
  (void)angleY;
  if (m != nullptr) {
    m->angle += angleZ;
  }
}

void ModelSetColour(model* m, uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha) {
  if (m != nullptr) {
    m->red = red;
    m->green = green;
    m->blue = blue;
    m->alpha = alpha;
  }
}

void ModelTranslate(model* m, float dx, float dy, float dz) {
  if (m == nullptr) {
    return;
  }
  for (modelVertex& vertex : m->vertices) {
    vertex.x += dx;
    vertex.y += dy;
    vertex.z += dz;
  }
  m->compiled = false;
}

void ModelScrollTexCoords(model* m, float du, float dv) {
  if (m == nullptr) {
    return;
  }
  for (modelTexCoord& coord : m->texCoords) {
    coord.u += du;
    coord.v += dv;
  }
}

void ModelSaveVertices(model* m) {
  if (m != nullptr) {
    m->savedVertices = m->vertices;
  }
}

float ModelWidth(const model* m) {
  if (m == nullptr || m->vertices.empty()) {
    return 0.0f;
  }
  auto [low, high] =
      std::minmax_element(m->vertices.begin(), m->vertices.end(),
                          [](const modelVertex& a, const modelVertex& b) { return a.x < b.x; });
  return high->x - low->x;
}

float ModelHeight(const model* m) {
  if (m == nullptr || m->vertices.empty()) {
    return 0.0f;
  }
  auto [low, high] =
      std::minmax_element(m->vertices.begin(), m->vertices.end(),
                          [](const modelVertex& a, const modelVertex& b) { return a.y < b.y; });
  return high->y - low->y;
}

bool ModelMayCover(const model* m, float left, float top, float right, float bottom) {
  if (m == nullptr || m->vertices.empty()) {
    return false;
  }
  if (m->angle != 0.0f) {
    return true;
  }
  auto [lowX, highX] =
      std::minmax_element(m->vertices.begin(), m->vertices.end(),
                          [](const modelVertex& a, const modelVertex& b) { return a.x < b.x; });
  auto [lowY, highY] =
      std::minmax_element(m->vertices.begin(), m->vertices.end(),
                          [](const modelVertex& a, const modelVertex& b) { return a.y < b.y; });
  return m->x + highX->x >= left && m->x + lowX->x <= right && m->y + highY->y >= top &&
         m->y + lowY->y <= bottom;
}

bool ModelUsesTexture(const model* m, const texture* t) {
  if (m == nullptr || t == nullptr) {
    return false;
  }
  for (const modelPolygon& polygon : m->polygons) {
    for (const modelTextureRef& entry : polygon.textures) {
      if (entry.tex == t) {
        return true;
      }
    }
  }
  return false;
}

void ModelDisplayListsDelete(int32_t display) {
  modelDisplay* record = ModelDisplayRecord(display);
  if (record == nullptr) {
    return;
  }
  for (auto& m : record->models) {
    if (m->kind == modelKindCompiled) {
      DeleteList(*m);
    }
  }
}

void ModelDisplayListsRecompile(int32_t display) {
  modelDisplay* record = ModelDisplayRecord(display);
  if (record == nullptr) {
    return;
  }
  for (auto& m : record->models) {
    if (m->kind == modelKindCompiled) {
      DeleteList(*m);
      ModelCompile(m.get());
    }
  }
}
