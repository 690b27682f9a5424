// Drawing a frame of sprite-sized models on the headless platform (Mesa llvmpipe): compiled
// display lists against the same models drawn from their lists, against the same triangles
// sent in one glBegin/glEnd run (the baseline), and a frame with nothing drawn. Coloured
// sprites show what a colour per model costs the software renderer.
#include <benchmark/benchmark.h>

#include <vector>

#include "graphics/GL.h"
#include "graphics/fwkGraphics.h"
#include "graphics/fwkModel.h"
#include "platform/platform_system.h"
#include "services/fwkLog.h"

namespace {

constexpr int32_t width = 640;
constexpr int32_t height = 480;
constexpr int32_t spriteCount = 400;

int32_t display = 0;

int32_t OpenDisplay() {
  PlatformSetHeadless(true);
  PlatformSetArguments({});
  ModelInit();
  GraphicsInit();
  platformWindowParams params;
  params.width = width;
  params.height = height;
  platformWindow window = PlatformWindowCreate(params);
  int32_t id = GraphicsDisplayAdd(window, "Bench", 0);
  GraphicsDisplayCreateRC(id);
  GraphicsDisplaySetMode(id, {width, height, 32, 0});
  return id;
}

// A 16 x 16 quad of two triangles, as the game's tiles are.
std::vector<model*> Sprites(int32_t kind, bool coloured) {
  std::vector<model*> sprites;
  for (int32_t i = 0; i < spriteCount; ++i) {
    model* m = ModelNew(display, kind);
    ModelSetVertex(m, 0, 0, 0, -5);
    ModelSetVertex(m, 1, 0, 16, -5);
    ModelSetVertex(m, 2, 16, 0, -5);
    ModelSetVertex(m, 3, 16, 16, -5);
    modelPolygon a;
    a.corners = {{{0, 0, 0}, {1, 0, 1}, {2, 0, 2}}};
    modelPolygon b;
    b.corners = {{{2, 0, 2}, {1, 0, 1}, {3, 0, 3}}};
    ModelSetPolygon(m, 0, a);
    ModelSetPolygon(m, 1, b);
    ModelSetPosition(m, static_cast<float>((i * 16) % width),
                     static_cast<float>((i * 16 / width) * 16), 0);
    // White as the game's sprites are; coloured ones each get a colour of their own.
    uint8_t shade = coloured ? static_cast<uint8_t>(i) : 255;
    ModelSetColour(m, shade, 255, 255, 255);
    ModelCompile(m);
    sprites.push_back(m);
  }
  return sprites;
}

enum class drawing { nothing, models, oneRun };

// The sprites' triangles in one run, as the driver would like them best.
void OneRun() {
  gl.Begin(GL_TRIANGLES);
  for (int32_t i = 0; i < spriteCount; ++i) {
    auto x = static_cast<float>((i * 16) % width);
    auto y = static_cast<float>((i * 16 / width) * 16);
    gl.Color4ub(255, 255, 255, 255);
    gl.Vertex3f(x, y, -5);
    gl.Vertex3f(x, y + 16, -5);
    gl.Vertex3f(x + 16, y, -5);
    gl.Vertex3f(x + 16, y, -5);
    gl.Vertex3f(x, y + 16, -5);
    gl.Vertex3f(x + 16, y + 16, -5);
  }
  gl.End();
}

void Frame(benchmark::State& state, int32_t kind, drawing what, bool coloured = false) {
  if (display == 0) {
    display = OpenDisplay();
  }
  std::vector<model*> sprites = Sprites(kind, coloured);
  for (auto _ : state) {
    GraphicsRenderBegin(display);
    GraphicsSet2D(width, height);
    if (what == drawing::models) {
      for (model* m : sprites) {
        ModelDraw(m);
      }
    } else if (what == drawing::oneRun) {
      OneRun();
    }
    gl.Finish();
    GraphicsRenderEnd(display);
  }
  for (model*& m : sprites) {
    ModelFree(m);
  }
  state.SetItemsProcessed(state.iterations() * (what == drawing::nothing ? 0 : spriteCount));
}

void EmptyFrame(benchmark::State& state) { Frame(state, modelKindDynamic, drawing::nothing); }
void OneRunOfTriangles(benchmark::State& state) { Frame(state, modelKindDynamic, drawing::oneRun); }
void CompiledSprites(benchmark::State& state) { Frame(state, modelKindCompiled, drawing::models); }
void DynamicSprites(benchmark::State& state) { Frame(state, modelKindDynamic, drawing::models); }
void ColouredSprites(benchmark::State& state) {
  Frame(state, modelKindCompiled, drawing::models, true);
}

BENCHMARK(EmptyFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(OneRunOfTriangles)->Unit(benchmark::kMicrosecond);
BENCHMARK(CompiledSprites)->Unit(benchmark::kMicrosecond);
BENCHMARK(DynamicSprites)->Unit(benchmark::kMicrosecond);
BENCHMARK(ColouredSprites)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
