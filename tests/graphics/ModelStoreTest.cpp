// The model store's records and operations, without drawing.
#include <gtest/gtest.h>

#include "GraphicsTestSupport.h"
#include "graphics/fwkGraphics.h"
#include "graphics/fwkModel.h"
#include "platform/platform_system.h"

namespace {

class ModelStore : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { GraphicsTestStart(); }
  static void TearDownTestSuite() { GraphicsTestStop(); }
  void SetUp() override {
    ModelHooks() = modelHooks{};
    display = GraphicsDisplayAdd(PlatformAppWindow(), "Store", 0);
    GraphicsTestLogClear();
  }
  void TearDown() override { GraphicsDisplayClose(display); }

  int32_t display = 0;
};

TEST_F(ModelStore, NewModelsStartEmptyAndWhiteAndBadKindsAreRefused) {
  model* m = ModelNew(display, modelKindDynamic);
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->displayId, display);
  EXPECT_EQ(ModelGetDisplay(m), display);
  EXPECT_EQ(m->red + m->green + m->blue + m->alpha, 4 * 255);
  EXPECT_FALSE(m->hasList);
  EXPECT_EQ(ModelNew(display, 3), nullptr);
  EXPECT_EQ(GraphicsTestLog(),
            "Error: ModelNew - Invalid model type \"3\".  Model not created.\r\n");
  GraphicsTestLogClear();
  EXPECT_EQ(ModelNew(display + 100, modelKindDynamic), nullptr);
  EXPECT_EQ(GraphicsTestLog(), "");
}

TEST_F(ModelStore, VerticesAndCoordinatesGrowToTheIndexSet) {
  model* m = ModelNew(display, modelKindDynamic);
  ModelSetVertex(m, 5, 1, 2, 3);
  ASSERT_EQ(m->vertices.size(), 6u);
  EXPECT_EQ(ModelGetVertex(m, 4).x, 0.0f);
  EXPECT_EQ(ModelGetVertex(m, 5).z, 3.0f);
  EXPECT_EQ(ModelGetVertex(m, 6).x, 0.0f);
  ModelSetVertex(m, -1, 9, 9, 9);
  EXPECT_EQ(m->vertices.size(), 6u);
  ModelSetTexCoord(m, 2, 0.5f, 0.25f);
  ASSERT_EQ(m->texCoords.size(), 3u);
  ModelScrollTexCoords(m, 0.25f, 0.25f);
  EXPECT_FLOAT_EQ(m->texCoords[0].u, 0.25f);
  EXPECT_FLOAT_EQ(m->texCoords[2].v, 0.5f);
}

TEST_F(ModelStore, PolygonsNeedTheirVerticesAndPadWithEmptyOnes) {
  model* m = ModelNew(display, modelKindDynamic);
  for (int32_t i = 0; i < 4; ++i) {
    ModelSetVertex(m, i, static_cast<float>(i), 0, 0);
  }
  modelPolygon bad;
  bad.corners = {{{0, 0, 0}, {1, 0, 0}, {4, 0, 0}}};
  ModelSetPolygon(m, 0, bad);
  EXPECT_TRUE(m->polygons.empty());
  modelPolygon good;
  good.corners = {{{0, 0, 0}, {1, 0, 1}, {3, 0, 2}}};
  ModelSetPolygon(m, 2, good);
  ASSERT_EQ(m->polygons.size(), 3u);
  EXPECT_EQ(m->polygons[0].corners[2].vertex, 0);
  EXPECT_EQ(m->polygons[2].corners[2].vertex, 3);
  ModelSetPolygon(m, -1, good);
  EXPECT_EQ(m->polygons.size(), 3u);
}

TEST_F(ModelStore, PositionRotationSizeAndSavedVertices) {
  model* m = ModelNew(display, modelKindDynamic);
  EXPECT_EQ(ModelWidth(m), 0.0f);
  EXPECT_EQ(ModelHeight(m), 0.0f);
  ModelSetVertex(m, 0, -2, 5, 0);
  ModelSetVertex(m, 1, 8, -1, 0);
  EXPECT_FLOAT_EQ(ModelWidth(m), 10.0f);
  EXPECT_FLOAT_EQ(ModelHeight(m), 6.0f);
  ModelSaveVertices(m);
  ModelTranslate(m, 1, 1, 0);
  EXPECT_FLOAT_EQ(m->savedVertices[0].x, -2.0f);
  EXPECT_FLOAT_EQ(m->vertices[0].x, -1.0f);
  ModelSetPosition(m, 1, 2, 3);
  ModelMove(m, 1, 1, 1);
  modelVertex position = ModelGetPosition(m);
  EXPECT_FLOAT_EQ(position.x, 2.0f);
  EXPECT_FLOAT_EQ(position.z, 4.0f);
  ModelRotate(m, 30, 40, 90);
  ModelRotate(m, 0, 0, 10);
  EXPECT_FLOAT_EQ(m->angle, 100.0f);
}

// The extent test the game uses to leave out models outside its camera: vertices plus position,
// edges touching count as covering, a rotated model always may.
TEST_F(ModelStore, MayCoverTestsTheExtentAtTheModelsPosition) {
  model* m = ModelNew(display, modelKindDynamic);
  EXPECT_FALSE(ModelMayCover(m, 0, 0, 100, 100));
  ModelSetVertex(m, 0, -10, -20, 0);
  ModelSetVertex(m, 1, 54, 44, 0);
  ModelSetPosition(m, 200, 100, -5);
  EXPECT_FALSE(ModelMayCover(m, 0, 0, 189, 300));
  EXPECT_TRUE(ModelMayCover(m, 0, 0, 190, 300));
  EXPECT_TRUE(ModelMayCover(m, 254, 0, 400, 300));
  EXPECT_FALSE(ModelMayCover(m, 255, 0, 400, 300));
  EXPECT_FALSE(ModelMayCover(m, 0, 145, 400, 300));
  EXPECT_FALSE(ModelMayCover(m, 0, 0, 400, 79));
  EXPECT_TRUE(ModelMayCover(m, 220, 90, 221, 91));
  ModelRotate(m, 0, 0, 90);
  EXPECT_TRUE(ModelMayCover(m, 1000, 1000, 1100, 1100));
  model* none = nullptr;
  EXPECT_FALSE(ModelMayCover(none, 0, 0, 100, 100));
}

TEST_F(ModelStore, EmptyReferencesDoNothing) {
  model* none = nullptr;
  ModelSetVertex(none, 0, 1, 1, 1);
  ModelSetPosition(none, 1, 1, 1);
  ModelCompile(none);
  ModelDraw(none);
  ModelFree(none);
  EXPECT_EQ(ModelGetDisplay(none), 0);
  EXPECT_EQ(ModelGetPosition(none).x, 0.0f);
  EXPECT_EQ(ModelWidth(none), 0.0f);
  EXPECT_FALSE(ModelUsesTexture(none, nullptr));
}

int32_t references = 0;
int32_t releases = 0;
int32_t frees = 0;

TEST_F(ModelStore, TexturesAreCountedOncePerModelAndFreedWithTheirDisplay) {
  modelHooks& hooks = ModelHooks();
  hooks.textureAddRef = [](texture*) { ++references; };
  hooks.textureRelease = [](texture*& t) {
    ++releases;
    t = nullptr;
  };
  hooks.textureFree = [](texture*& t) {
    ++frees;
    auto& textures = ModelDisplayRecord(ModelDisplays().front().displayId)->textures;
    textures.erase(textures.begin());
    t = nullptr;
  };
  references = releases = frees = 0;
  int tag = 0;
  auto* shared = reinterpret_cast<texture*>(&tag);
  model* m = ModelNew(display, modelKindDynamic);
  for (int32_t i = 0; i < 3; ++i) {
    ModelSetVertex(m, i, 0, 0, 0);
  }
  modelPolygon polygon;
  polygon.textures = {{shared, 0}, {shared, 1}};
  ModelSetPolygon(m, 0, polygon);
  ModelSetPolygon(m, 1, polygon);
  EXPECT_EQ(references, 1);
  model* copy = m;
  ModelFree(m);
  EXPECT_EQ(m, nullptr);
  EXPECT_EQ(releases, 1);
  ModelFree(copy);
  EXPECT_EQ(releases, 1) << "a stale reference to a freed model is ignored";

  model* kept = ModelNew(display, modelKindDynamic);
  ModelDisplayRecord(display)->textures = {shared, shared};
  ModelDisplayRemove(display);
  EXPECT_EQ(frees, 2);
  EXPECT_EQ(ModelDisplayRecord(display), nullptr);
  (void)kept;
  ModelDisplayAdd(display);
}

TEST_F(ModelStore, OpenChoosesTheLoaderByExtension) {
  EXPECT_EQ(ModelOpen(display, "Bin\\Models\\thing.Ms3d"), nullptr);
  EXPECT_EQ(GraphicsTestLog(),
            "Error: ModelOpenMS3D - Unable to open file \"Bin\\Models\\thing.Ms3d\".\r\n")
      << "the extension is compared without regard to case";
  GraphicsTestLogClear();
  EXPECT_EQ(ModelOpen(display, "readme.txt"), nullptr);
  EXPECT_EQ(GraphicsTestLog(), "Error: Unrecognized model extension for \"readme.txt\".\r\n");

  static model* opened = nullptr;
  opened = ModelNew(display, modelKindCompiled);
  ModelHooks().imageIsSupported = [](const std::string& name) {
    return name.size() > 4 && name.substr(name.size() - 4) == ".bmp";
  };
  ModelHooks().openImage = [](int32_t, const std::string&, bool smooth) {
    return smooth ? nullptr : opened;
  };
  EXPECT_EQ(ModelOpen(display, "picture.bmp"), opened);
}

}  // namespace
