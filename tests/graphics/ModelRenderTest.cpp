// Models drawn with real OpenGL (Mesa, offscreen) and read back pixel by pixel.
#include <gtest/gtest.h>

#include "GraphicsTestSupport.h"
#include "graphics/GL.h"
#include "graphics/fwkGraphics.h"
#include "graphics/fwkModel.h"
#include "platform/platform_system.h"

namespace {

constexpr int32_t width = 96;
constexpr int32_t height = 64;

// One display for the whole program: contexts are slow to make.
int32_t display = -1;

class ModelRender : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    GraphicsTestStart();
    display = GraphicsTestOpenDisplay(width, height);
  }
  static void TearDownTestSuite() { GraphicsTestStop(); }

  void SetUp() override {
    PlatformSetArguments({});
    ModelHooks() = modelHooks{};
    GraphicsRenderBegin(display);
    GraphicsSet2D(width, height);
  }
};

// An axis-aligned quad of two counter-clockwise triangles at depth -5.
model* Quad(int32_t kind, float w, float h, uint8_t red, uint8_t green, uint8_t blue) {
  model* m = ModelNew(display, kind);
  ModelSetVertex(m, 0, 0, 0, -5);
  ModelSetVertex(m, 1, 0, h, -5);
  ModelSetVertex(m, 2, w, 0, -5);
  ModelSetVertex(m, 3, w, h, -5);
  modelPolygon a;
  a.corners = {{{0, 0, 0}, {1, 0, 1}, {2, 0, 2}}};
  modelPolygon b;
  b.corners = {{{2, 0, 2}, {1, 0, 1}, {3, 0, 3}}};
  ModelSetPolygon(m, 0, a);
  ModelSetPolygon(m, 1, b);
  ModelSetColour(m, red, green, blue, 255);
  return m;
}

TEST_F(ModelRender, QuadAtItsPositionCoversExactlyItsPixels) {
  model* m = Quad(modelKindDynamic, 10, 6, 255, 0, 0);
  ModelSetPosition(m, 20, 30, 0);
  ModelDraw(m);
  testFrame frame = GraphicsTestBackBuffer();
  ASSERT_EQ(frame.width, width);
  EXPECT_EQ(frame.At(20, 30), testRed);
  EXPECT_EQ(frame.At(29, 35), testRed);
  EXPECT_EQ(frame.At(19, 30), testBlack);
  EXPECT_EQ(frame.At(30, 30), testBlack);
  EXPECT_EQ(frame.At(20, 29), testBlack);
  EXPECT_EQ(frame.At(20, 36), testBlack);
  ModelFree(m);
  EXPECT_EQ(m, nullptr);
}

TEST_F(ModelRender, OriginIsTheTopLeftCornerWithYDownward) {
  model* m = Quad(modelKindDynamic, 4, 2, 0, 0, 255);
  ModelDraw(m);
  testFrame frame = GraphicsTestBackBuffer();
  EXPECT_EQ(frame.At(0, 0), testBlue);
  EXPECT_EQ(frame.At(3, 1), testBlue);
  EXPECT_EQ(frame.At(0, height - 1), testBlack);
  EXPECT_EQ(frame.At(0, 2), testBlack);
  ModelFree(m);
}

TEST_F(ModelRender, RotationTurnsAboutTheScreenAxisOnly) {
  model* m = Quad(modelKindDynamic, 20, 4, 0, 255, 0);
  ModelSetPosition(m, 40, 10, 0);
  ModelRotate(m, 30, 40, 90);
  EXPECT_FLOAT_EQ(m->angle, 90.0f);
  ModelDraw(m);
  // A bar 20 wide and 4 high turned by 90 degrees (y downward) hangs below its position,
  // to the left of it: x 36..39, y 10..29.
  testFrame frame = GraphicsTestBackBuffer();
  EXPECT_EQ(frame.At(38, 12), testGreen);
  EXPECT_EQ(frame.At(37, 28), testGreen);
  EXPECT_EQ(frame.At(45, 11), testBlack);
  EXPECT_EQ(frame.At(38, 31), testBlack);
  ModelFree(m);
}

TEST_F(ModelRender, CompiledModelDrawsFromItsListAndFollowsPositionAndColour) {
  model* m = Quad(modelKindCompiled, 8, 8, 255, 0, 0);
  ModelCompile(m);
  ASSERT_TRUE(m->compiled);
  ASSERT_TRUE(m->hasList);
  EXPECT_EQ(gl.IsList(m->list), GL_TRUE);
  ModelSetPosition(m, 50, 20, 0);
  ModelSetColour(m, 0, 255, 0, 255);
  ModelDraw(m);
  testFrame frame = GraphicsTestBackBuffer();
  EXPECT_EQ(frame.At(50, 20), testGreen);
  EXPECT_EQ(frame.At(57, 27), testGreen);
  EXPECT_EQ(frame.At(58, 27), testBlack);
  ModelFree(m);
}

TEST_F(ModelRender, NoCompileSwitchDrawsFromTheListsWithoutADisplayList) {
  PlatformSetArguments({"-nocompile"});
  model* m = Quad(modelKindCompiled, 8, 8, 0, 0, 255);
  ModelCompile(m);
  EXPECT_FALSE(m->hasList);
  EXPECT_FALSE(m->compiled);
  ModelSetPosition(m, 5, 5, 0);
  ModelDraw(m);
  testFrame frame = GraphicsTestBackBuffer();
  EXPECT_EQ(frame.At(5, 5), testBlue);
  EXPECT_EQ(frame.At(12, 12), testBlue);
  ModelFree(m);
}

TEST_F(ModelRender, TranslateAfterCompileDrawsTheNewVertices) {
  model* m = Quad(modelKindCompiled, 4, 4, 255, 0, 0);
  ModelCompile(m);
  ModelTranslate(m, 30, 0, 0);
  EXPECT_FALSE(m->compiled);
  ModelDraw(m);
  testFrame frame = GraphicsTestBackBuffer();
  EXPECT_EQ(frame.At(0, 0), testBlack);
  EXPECT_EQ(frame.At(31, 1), testRed);
  ModelFree(m);
}

TEST_F(ModelRender, LaterModelAtTheSameDepthCoversTheEarlierWithDepthTesting) {
  gl.Enable(GL_DEPTH_TEST);
  model* first = Quad(modelKindDynamic, 10, 10, 255, 0, 0);
  model* second = Quad(modelKindDynamic, 10, 10, 0, 255, 0);
  ModelSetPosition(second, 5, 0, 0);
  ModelDraw(first);
  ModelDraw(second);
  testFrame frame = GraphicsTestBackBuffer();
  EXPECT_EQ(frame.At(2, 2), testRed);
  EXPECT_EQ(frame.At(7, 2), testGreen);
  EXPECT_EQ(frame.At(12, 2), testGreen);

  GraphicsRenderBegin(display);
  ModelDraw(second);
  ModelDraw(first);
  frame = GraphicsTestBackBuffer();
  EXPECT_EQ(frame.At(7, 2), testRed);
  ModelFree(first);
  ModelFree(second);
}

TEST_F(ModelRender, CompileFailureFallsBackToDrawingFromTheLists) {
  GraphicsTestLogClear();
  model* m = Quad(modelKindCompiled, 6, 6, 255, 0, 0);
  ModelSetName(m, "broken.bmp");
  // A list already being compiled makes the next glNewList an invalid operation.
  GLuint outer = gl.GenLists(1);
  gl.NewList(outer, GL_COMPILE);
  ModelCompile(m);
  gl.EndList();
  gl.DeleteLists(outer, 1);
  EXPECT_EQ(m->kind, modelKindDynamic);
  EXPECT_FALSE(m->compiled);
  EXPECT_NE(GraphicsTestLog().find(
                "Error: ModelCompile - Unable to compile model \"broken.bmp\".  Rendering "
                "uncompiled instead.  Invalid operation for current OpenGL state.  Error = 1282"),
            std::string::npos);
  ModelCompile(m);
  EXPECT_FALSE(m->compiled) << "a failed model stays uncompiled for good";
  ModelDraw(m);
  EXPECT_EQ(GraphicsTestBackBuffer().At(3, 3), testRed);
  ModelFree(m);
}

// A stand-in texture part: a real OpenGL texture per tile, counted references and binds.
struct fakeTexture {
  GLuint names[2] = {0, 0};
  int32_t references = 0;
  int32_t releases = 0;
  int32_t binds = 0;
};

fakeTexture* Fake(const texture* t) {
  return reinterpret_cast<fakeTexture*>(const_cast<texture*>(t));
}

void UseFakeTextures() {
  modelHooks& hooks = ModelHooks();
  hooks.textureAddRef = [](texture* t) { ++Fake(t)->references; };
  hooks.textureRelease = [](texture*& t) {
    ++Fake(t)->releases;
    t = nullptr;
  };
  hooks.textureTileName = [](const texture* t, int32_t tile) {
    ++Fake(t)->binds;
    return Fake(t)->names[tile];
  };
}

// A one-texel texture of one colour.
GLuint SolidTexture(uint32_t rgba) {
  GLuint name = 0;
  gl.GenTextures(1, &name);
  gl.BindTexture(GL_TEXTURE_2D, name);
  gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  uint8_t bytes[4] = {static_cast<uint8_t>(rgba >> 24), static_cast<uint8_t>(rgba >> 16),
                      static_cast<uint8_t>(rgba >> 8), static_cast<uint8_t>(rgba)};
  gl.TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, bytes);
  return name;
}

// Two quads side by side, 8 x 8 each: the left on tile 0, the right on tile 1.
model* TexturedPair(int32_t kind, fakeTexture& fake) {
  model* m = ModelNew(display, kind);
  for (int32_t q = 0; q < 2; ++q) {
    float left = 8.0f * static_cast<float>(q);
    ModelSetVertex(m, q * 4 + 0, left, 0, -5);
    ModelSetVertex(m, q * 4 + 1, left, 8, -5);
    ModelSetVertex(m, q * 4 + 2, left + 8, 0, -5);
    ModelSetVertex(m, q * 4 + 3, left + 8, 8, -5);
    for (int32_t c = 0; c < 4; ++c) {
      ModelSetTexCoord(m, q * 4 + c, 0.5f, 0.5f);
    }
    modelPolygon a;
    a.textures = {{reinterpret_cast<texture*>(&fake), q}};
    a.corners = {{{q * 4, 0, q * 4}, {q * 4 + 1, 0, q * 4 + 1}, {q * 4 + 2, 0, q * 4 + 2}}};
    modelPolygon b = a;
    b.corners = {{{q * 4 + 2, 0, q * 4 + 2}, {q * 4 + 1, 0, q * 4 + 1}, {q * 4 + 3, 0, q * 4 + 3}}};
    ModelSetPolygon(m, q * 2, a);
    ModelSetPolygon(m, q * 2 + 1, b);
  }
  return m;
}

TEST_F(ModelRender, TexturedTrianglesBindEachTileOnceAndCountTheModelOnce) {
  UseFakeTextures();
  fakeTexture fake;
  fake.names[0] = SolidTexture(0xFF0000FFu);
  fake.names[1] = SolidTexture(0x0000FFFFu);
  model* m = TexturedPair(modelKindDynamic, fake);
  EXPECT_EQ(fake.references, 1);
  EXPECT_TRUE(ModelUsesTexture(m, reinterpret_cast<texture*>(&fake)));
  ModelSetPosition(m, 10, 10, 0);
  ModelDraw(m);
  EXPECT_EQ(fake.binds, 2);
  testFrame frame = GraphicsTestBackBuffer();
  EXPECT_EQ(frame.At(12, 12), testRed);
  EXPECT_EQ(frame.At(21, 12), testBlue);
  ModelFree(m);
  EXPECT_EQ(fake.releases, 1);
  gl.DeleteTextures(2, fake.names);
}

TEST_F(ModelRender, ScrolledCoordinatesShowOnlyAfterRecompiling) {
  UseFakeTextures();
  fakeTexture fake;
  fake.names[0] = SolidTexture(0xFF0000FFu);
  fake.names[1] = fake.names[0];
  // A 2 x 1 texture: red texel at u < 0.5, green at u >= 0.5.
  gl.BindTexture(GL_TEXTURE_2D, fake.names[0]);
  uint8_t texels[8] = {255, 0, 0, 255, 0, 255, 0, 255};
  gl.TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
  model* m = TexturedPair(modelKindCompiled, fake);
  ModelScrollTexCoords(m, -0.25f, 0.0f);
  ModelCompile(m);
  ModelDraw(m);
  EXPECT_EQ(GraphicsTestBackBuffer().At(2, 2), testRed);

  ModelScrollTexCoords(m, 0.5f, 0.0f);
  EXPECT_TRUE(m->compiled);
  GraphicsRenderBegin(display);
  ModelDraw(m);
  EXPECT_EQ(GraphicsTestBackBuffer().At(2, 2), testRed)
      << "the list keeps the compiled coordinates";

  ModelCompile(m);
  GraphicsRenderBegin(display);
  ModelDraw(m);
  EXPECT_EQ(GraphicsTestBackBuffer().At(2, 2), testGreen);
  ModelFree(m);
  gl.DeleteTextures(1, fake.names);
}

TEST_F(ModelRender, ContextRebuildKeepsCompiledModelsDrawing) {
  model* m = Quad(modelKindCompiled, 6, 6, 0, 255, 0);
  ModelCompile(m);
  ModelSetPosition(m, 60, 40, 0);
  GraphicsSetChanging(true);
  ModelDisplayListsDelete(display);
  EXPECT_FALSE(m->hasList);
  GraphicsDisplaysFreeRC();
  EXPECT_EQ(GraphicsDisplayCurrent(), -1);
  GraphicsSetFullscreen(false);
  GraphicsDisplaysCreateRC();
  ModelDisplayListsRecompile(display);
  GraphicsSetChanging(false);
  EXPECT_TRUE(m->compiled);

  GraphicsRenderBegin(display);
  GraphicsSet2D(width, height);
  ModelDraw(m);
  testFrame frame = GraphicsTestBackBuffer();
  EXPECT_EQ(frame.At(60, 40), testGreen);
  EXPECT_EQ(frame.At(65, 45), testGreen);
  EXPECT_EQ(frame.At(59, 40), testBlack);
  GLint viewport[4] = {};
  gl.GetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[2], width);
  EXPECT_EQ(viewport[3], height);
  ModelFree(m);
}

TEST_F(ModelRender, RenderEndPresentsTheFrameToTheWindow) {
  model* m = Quad(modelKindDynamic, 5, 5, 255, 0, 0);
  ModelSetPosition(m, 1, 1, 0);
  ModelDraw(m);
  GraphicsRenderEnd(display);
  int32_t w = 0;
  int32_t h = 0;
  std::vector<uint32_t> pixels;
  ASSERT_TRUE(PlatformWindowReadPixels(GraphicsDisplayWindow(display), w, h, pixels));
  ASSERT_EQ(w, width);
  EXPECT_EQ(pixels[static_cast<size_t>(2 * w + 2)], testRed);
  EXPECT_EQ(pixels[0], testBlack);
  ModelFree(m);
}

}  // namespace
