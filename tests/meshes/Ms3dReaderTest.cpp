// MilkShape 3D files written by the tests from the format's table, read into the model store of
// a headless display and drawn with real OpenGL.
#include <gtest/gtest.h>

#include <filesystem>

#include "graphics/GraphicsTestSupport.h"
#include "graphics/fwkGraphics.h"
#include "graphics/fwkModel.h"
#include "graphics/fwkModelMS3D.h"
#include "meshes/Ms3dTestFile.h"
#include "platform/platform_system.h"
#include "textures/TextureTestSupport.h"

namespace {

constexpr int32_t screenWidth = 64;
constexpr int32_t screenHeight = 48;

int32_t display = 0;
std::string data;

class Ms3dReader : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    display = TextureTestSuiteStart(screenWidth, screenHeight, data);
    std::filesystem::create_directories(data + "Bin/Meshes");
  }
  static void TearDownTestSuite() { TextureTestSuiteStop(data); }

  void SetUp() override {
    PlatformSetArguments({});
    GraphicsTestLogClear();
  }

  static model* Open(const std::string& bytes) {
    TextureTestWriteFile(data + "Bin/Meshes/test.ms3d", bytes);
    return ModelOpenMS3D(display, "Bin\\Meshes\\test.ms3d");
  }
  static size_t ModelCount() { return ModelDisplayRecord(display)->models.size(); }
};

void ExpectTriangle(const model* m, size_t index, int32_t a, int32_t b, int32_t c) {
  ASSERT_LT(index, m->polygons.size());
  const modelPolygon& polygon = m->polygons[index];
  EXPECT_TRUE(polygon.textures.empty());
  const int32_t expected[3] = {a, b, c};
  for (size_t corner = 0; corner < 3; ++corner) {
    EXPECT_EQ(polygon.corners[corner].vertex, expected[corner])
        << "triangle " << index << " corner " << corner;
    EXPECT_EQ(polygon.corners[corner].normal, 0);
    EXPECT_EQ(polygon.corners[corner].texCoord, 0);
  }
}

TEST_F(Ms3dReader, KeepsPositionsAndTrianglesAndReadsPastEverythingElse) {
  ms3dTestFile file = Ms3dTestSquare(10.5f, -2.25f, 8.0f);
  file.vertices.push_back({1e6f, -0.0f, 3.5f});
  file.triangles.push_back({4, 3, 0});
  file.groups.push_back({});
  model* m = Open(file.Bytes());
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(GraphicsTestLog(), "");
  EXPECT_EQ(m->kind, modelKindCompiled);
  EXPECT_TRUE(m->compiled);
  EXPECT_EQ(m->name, "");
  EXPECT_EQ(m->red + m->green + m->blue + m->alpha, 4 * 255);
  ASSERT_EQ(m->vertices.size(), 5u);
  for (size_t i = 0; i < file.vertices.size(); ++i) {
    EXPECT_EQ(m->vertices[i].x, file.vertices[i].x) << i;
    EXPECT_EQ(m->vertices[i].y, file.vertices[i].y) << i;
    EXPECT_EQ(m->vertices[i].z, file.vertices[i].z) << i;
  }
  EXPECT_TRUE(m->texCoords.empty());
  ASSERT_EQ(m->polygons.size(), 3u);
  ExpectTriangle(m, 0, 0, 1, 2);
  ExpectTriangle(m, 1, 2, 1, 3);
  ExpectTriangle(m, 2, 4, 3, 0);

  file.version = 3;
  EXPECT_NE(Open(file.Bytes()), nullptr) << "version 3 is read as well";
  EXPECT_EQ(GraphicsTestLog(), "");
}

TEST_F(Ms3dReader, CountsOfZeroAreValidAtEveryLevel) {
  ms3dTestFile file;
  model* m = Open(file.Bytes());
  ASSERT_NE(m, nullptr);
  EXPECT_TRUE(m->vertices.empty());
  EXPECT_TRUE(m->polygons.empty());

  file.vertices = {{1, 2, 3}};
  file.groups = {{}, {}};
  m = Open(file.Bytes());
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->vertices.size(), 1u);
  EXPECT_TRUE(m->polygons.empty());
  EXPECT_EQ(GraphicsTestLog(), "");
}

TEST_F(Ms3dReader, ATriangleNamingAMissingVertexIsLeftOut) {
  ms3dTestFile file = Ms3dTestSquare(0, 0, 4);
  file.triangles = {{0, 1, 2}, {2, 1, 4}, {2, 1, 3}, {65535, 0, 1}};
  model* m = Open(file.Bytes());
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(GraphicsTestLog(), "");
  ASSERT_EQ(m->polygons.size(), 3u) << "the last triangle is dropped, the middle gap filled";
  ExpectTriangle(m, 0, 0, 1, 2);
  ExpectTriangle(m, 1, 0, 0, 0);
  ExpectTriangle(m, 2, 2, 1, 3);
}

// Every message, with the file cut at the field it names; after the model exists, the partly
// built model stays on the display's list.
TEST_F(Ms3dReader, EveryFailureLogsItsLineAndReturnsNone) {
  ms3dTestFile file = Ms3dTestSquare(0, 0, 4);
  file.groups = {{0, 1}, {1}};
  const std::string whole = file.Bytes();
  const size_t vertices = file.VerticesEnd();
  const size_t triangles = file.TrianglesEnd();
  const size_t groups = file.GroupsEnd();
  auto withHeader = [&](const std::string& identifier, int32_t version) {
    ms3dTestFile changed = file;
    changed.identifier = identifier;
    changed.version = version;
    return changed.Bytes();
  };
  struct damaged {
    std::string bytes;
    std::string line;
    bool modelMade;
  };
  const std::vector<damaged> cases = {
      {"", "Unable to read file header.", false},
      {whole.substr(0, 13), "Unable to read file header.", false},
      {withHeader("MS3D00000A", 4), "Invalid file header.", false},
      {withHeader("ms3d000000", 4), "Invalid file header.", false},
      {withHeader("MS3D000000", 2), "Unsupported file version 2.", false},
      {withHeader("MS3D000000", 5), "Unsupported file version 5.", false},
      {withHeader("MS3D000000", -1), "Unsupported file version -1.", false},
      {whole.substr(0, 15), "Unable to read vertex count.", false},
      {whole.substr(0, 16 + 14), "Unable to read vertex 1 data.", true},
      {whole.substr(0, 16 + 15 + 1), "Unable to read vertex 2 data.", true},
      {whole.substr(0, vertices), "Unable to read face count.", true},
      {whole.substr(0, vertices + 2 + 69), "Unable to read face 1 data.", true},
      {whole.substr(0, vertices + 2 + 70), "Unable to read face 2 data.", true},
      {whole.substr(0, triangles), "Unable to read mesh count.", true},
      {whole.substr(0, triangles + 2 + 34), "Unable to read mesh 1 data.", true},
      {whole.substr(0, triangles + 2 + 35 + 2), "Unable to read mesh 1 vertex 2 data.", true},
      {whole.substr(0, triangles + 2 + 35 + 4), "Unable to read material for mesh 1.", true},
      {whole.substr(0, triangles + 2 + 40 + 35), "Unable to read mesh 2 vertex 1 data.", true},
      {whole.substr(0, groups + 1), "Unable to read material count.", true},
      {whole.substr(0, groups + 2 + 360), "Unable to read material 1 data.", true},
      {whole.substr(0, groups + 2 + 361 + 1), "Unable to read material 2 data.", true},
  };
  for (const damaged& test : cases) {
    const size_t before = ModelCount();
    EXPECT_EQ(Open(test.bytes), nullptr) << test.line;
    EXPECT_EQ(GraphicsTestLog(), "Error: ModelOpenMS3D - " + test.line + "\r\n");
    GraphicsTestLogClear();
    EXPECT_EQ(ModelCount(), before + (test.modelMade ? 1 : 0)) << test.line;
  }
  // The geometry of a file cut after its triangles was complete; the model is still refused.
  const model* left = ModelDisplayRecord(display)->models.back().get();
  EXPECT_EQ(left->vertices.size(), 4u);
  EXPECT_FALSE(left->compiled);

  EXPECT_EQ(ModelOpenMS3D(display, "Bin\\Meshes\\missing.ms3d"), nullptr);
  EXPECT_EQ(GraphicsTestLog(),
            "Error: ModelOpenMS3D - Unable to open file \"Bin\\Meshes\\missing.ms3d\".\r\n");
  GraphicsTestLogClear();
  EXPECT_EQ(ModelOpenMS3D(display + 100, "Bin\\Meshes\\test.ms3d"), nullptr);
  EXPECT_EQ(GraphicsTestLog(), "Error: ModelOpenMS3D - Invalid display ID \"" +
                                   std::to_string(display + 100) + "\".\r\n");
}

// ModelOpen hands ".MS3D" in any case to the mesh reader.
TEST_F(Ms3dReader, ModelOpenDispatchesMeshesWhateverTheCase) {
  TextureTestWriteFile(data + "Bin/Meshes/Upper.MS3D", Ms3dTestSquare(0, 0, 4).Bytes());
  model* m = ModelOpen(display, "Bin\\Meshes\\Upper.MS3D");
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->polygons.size(), 2u);
  TextureTestWriteFile(data + "Bin/Meshes/empty.ms3d", "");
  EXPECT_EQ(ModelOpen(display, "Bin\\Meshes\\EMPTY.mS3d"), nullptr);
  EXPECT_EQ(GraphicsTestLog(), "Error: ModelOpenMS3D - Unable to read file header.\r\n");
}

// A mesh drawn headless: its triangles cover their pixels in the model's colour, a dropped
// triangle draws nothing, and position and colour apply around the compiled list.
TEST_F(Ms3dReader, AMeshIsDrawnFromItsCompiledList) {
  ms3dTestFile file = Ms3dTestSquare(0, 0, 10);
  file.vertices.push_back({30, 0, -5});
  file.vertices.push_back({30, 10, -5});
  file.triangles = {{0, 1, 2}, {4, 5, 6}, {2, 1, 3}};
  model* m = Open(file.Bytes());
  ASSERT_NE(m, nullptr);
  ASSERT_TRUE(m->compiled);
  ModelSetPosition(m, 20, 5, 0);
  ModelSetColour(m, 0, 0, 255, 255);
  GraphicsRenderBegin(display);
  GraphicsSet2D(screenWidth, screenHeight);
  ModelDraw(m);
  const testFrame frame = GraphicsTestBackBuffer();
  for (int32_t y = 0; y < screenHeight; ++y) {
    for (int32_t x = 0; x < screenWidth; ++x) {
      const bool inSquare = x >= 20 && x < 30 && y >= 5 && y < 15;
      ASSERT_EQ(frame.At(x, y), inSquare ? testBlue : testBlack) << "pixel " << x << ", " << y;
    }
  }
  ModelFree(m);
}

}  // namespace
