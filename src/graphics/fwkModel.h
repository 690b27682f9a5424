// The model store: every drawable thing is a model (a small mesh of plain or textured
// triangles with a position, a rotation about the screen axis and a colour) owned by the
// store of its display. Kind 1 models are drawn from their lists every time; kind 2 models
// are compiled into an OpenGL display list.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// An image's tiled OpenGL textures, defined by the texture part of this module.
struct texture;

struct modelVertex {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
};

struct modelTexCoord {
  float u = 0.0f;
  float v = 0.0f;
};

struct modelTextureRef {
  texture* tex = nullptr;
  int32_t tile = 0;
};

struct modelCorner {
  int32_t vertex = 0;
  int32_t normal = 0;  // kept for the mesh formats that carry one; nothing reads it
  int32_t texCoord = 0;
};

// One triangle; the first texture entry gives the tile it is drawn with (none: untextured).
struct modelPolygon {
  std::vector<modelTextureRef> textures;
  std::array<modelCorner, 3> corners{};
};

constexpr uint8_t modelKindDynamic = 1;
constexpr uint8_t modelKindCompiled = 2;

struct model {
  uint8_t kind = modelKindDynamic;
  int32_t displayId = 0;
  std::string name;
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
  float angle = 0.0f;  // degrees about the z axis
  uint8_t red = 255;
  uint8_t green = 255;
  uint8_t blue = 255;
  uint8_t alpha = 255;
  std::vector<modelVertex> vertices;
  std::vector<modelVertex> savedVertices;
  std::vector<modelTexCoord> texCoords;
  std::vector<modelPolygon> polygons;
  bool compiled = false;
  uint32_t list = 0;
  bool hasList = false;
};

// The store's record of one display; its position equals the display's index in fwkGraphics.
struct modelDisplay {
  int32_t displayId = 0;
  std::vector<std::unique_ptr<model>> models;  // creation order
  std::vector<texture*> textures;              // creation order; owned by the texture part
};

void ModelInit();
void ModelFinal();

void ModelDisplayAdd(int32_t display);
void ModelDisplayRemove(int32_t display);
model* ModelNew(int32_t display, int32_t kind);
void ModelFree(model*& m);
model* ModelOpen(int32_t display, const std::string& fileName);
void ModelCompile(model* m);
void ModelDraw(model* m);
void ModelRender(int32_t displayIndex, model* m);
void ModelSetVertex(model* m, int32_t index, float x, float y, float z);
modelVertex ModelGetVertex(const model* m, int32_t index);
void ModelSetTexCoord(model* m, int32_t index, float u, float v);
void ModelSetPolygon(model* m, int32_t index, const modelPolygon& polygon);
void ModelSetName(model* m, const std::string& name);
int32_t ModelGetDisplay(const model* m);
void ModelSetPosition(model* m, float x, float y, float z);
modelVertex ModelGetPosition(const model* m);
void ModelMove(model* m, float dx, float dy, float dz);
void ModelRotate(model* m, float angleX, float angleY, float angleZ);
void ModelSetColour(model* m, uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha);
void ModelTranslate(model* m, float dx, float dy, float dz);
void ModelScrollTexCoords(model* m, float du, float dv);
void ModelSaveVertices(model* m);
float ModelWidth(const model* m);
float ModelHeight(const model* m);
bool ModelUsesTexture(const model* m, const texture* t);

// For the texture, image and mesh parts of the module, which are built on the store.
//
// The display records in display order, and the record of one display (nullptr when the
// display is not registered).
std::vector<modelDisplay>& ModelDisplays();
modelDisplay* ModelDisplayRecord(int32_t display);
// Deletes the display lists of the display's compiled models (their contexts still exist).
void ModelDisplayListsDelete(int32_t display);
// Deletes any list left and compiles every kind 2 model of the display again.
void ModelDisplayListsRecompile(int32_t display);

// What the store needs from the parts built on it. Each part fills its own entries once
// (ModelInit leaves them alone); an empty entry makes the store behave as if no model used a
// texture and as if no image loader knew the file. The mesh loader needs nothing beyond the
// store and the data files, so the store calls it directly.
struct modelHooks {
  void (*textureAddRef)(texture* t) = nullptr;
  void (*textureRelease)(texture*& t) = nullptr;
  void (*textureFree)(texture*& t) = nullptr;
  uint32_t (*textureTileName)(const texture* t, int32_t tile) = nullptr;
  model* (*openImage)(int32_t display, const std::string& fileName, bool smooth) = nullptr;
  bool (*imageIsSupported)(const std::string& fileName) = nullptr;
};
modelHooks& ModelHooks();
