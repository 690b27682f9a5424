// The modeldump tool on meshes written by the tests: its line, its picture and its failures.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "ToolRun.h"
#include "meshes/Ms3dTestFile.h"

namespace {

struct pam {
  int32_t width = 0;
  int32_t height = 0;
  std::string header;
  std::string bytes;
  bool White(int32_t x, int32_t y) const {
    return bytes.compare(static_cast<size_t>(y * width + x) * 4, 4, "\xFF\xFF\xFF\xFF") == 0;
  }
  bool Black(int32_t x, int32_t y) const {
    return bytes.compare(static_cast<size_t>(y * width + x) * 4, 4, std::string("\0\0\0\xFF", 4)) ==
           0;
  }
};

class Modeldump : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = std::filesystem::current_path() / ("modeldump-test-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
  }
  void TearDown() override { std::filesystem::remove_all(folder); }

  toolRun Dump(const std::string& bytes) {
    std::ofstream(folder / "mesh.ms3d", std::ios::binary) << bytes;
    return RunTool("modeldump",
                   (folder / "mesh.ms3d").string() + " " + (folder / "out.pam").string(),
                   folder / "stderr.txt");
  }

  pam Picture() const {
    std::ifstream file(folder / "out.pam", std::ios::binary);
    pam picture;
    for (std::string line; std::getline(file, line) && line != "ENDHDR";) {
      picture.header += line + "\n";
      std::sscanf(line.c_str(), "WIDTH %d", &picture.width);
      std::sscanf(line.c_str(), "HEIGHT %d", &picture.height);
    }
    std::stringstream rest;
    rest << file.rdbuf();
    picture.bytes = rest.str();
    return picture;
  }

  std::filesystem::path folder;
};

// The view is a 10 x 20 rectangle's extents with a tenth of each added on either side, 12 x 24
// in all: the rectangle covers pixel centres from 256 / 12 = 21.3 to 234.7 on both axes.
TEST_F(Modeldump, DrawsTheMeshWhiteOnBlackFittedWithATenthOnEachSide) {
  ms3dTestFile file = Ms3dTestSquare(-4, 100, 10);
  file.vertices[1].y = file.vertices[3].y = 120;
  file.triangles = {{0, 1, 2}, {7, 8, 9}, {2, 1, 3}};
  const toolRun result = Dump(file.Bytes());
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "vertices 4 triangles 2\n")
      << "the gap a left-out triangle leaves is not counted";
  const pam picture = Picture();
  EXPECT_EQ(picture.header, "P7\nWIDTH 256\nHEIGHT 256\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\n");
  ASSERT_EQ(picture.bytes.size(), 256u * 256u * 4u);
  int32_t wrong = 0;
  for (int32_t y = 0; y < 256; ++y) {
    for (int32_t x = 0; x < 256; ++x) {
      const bool inside = x >= 21 && x <= 234 && y >= 21 && y <= 234;
      if (!(inside ? picture.White(x, y) : picture.Black(x, y)) && ++wrong <= 5) {
        ADD_FAILURE() << "pixel " << x << ", " << y << " should be "
                      << (inside ? "white" : "black");
      }
    }
  }
}

// y points upward: a triangle with its right angle at the lowest, leftmost corner fills the
// picture's lower left.
TEST_F(Modeldump, YPointsUpward) {
  ms3dTestFile file;
  file.vertices = {{0, 0, 3}, {10, 0, -7}, {0, 10, 12}};
  file.triangles = {{0, 2, 1}};
  const toolRun result = Dump(file.Bytes());
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "vertices 3 triangles 1\n");
  const pam picture = Picture();
  EXPECT_TRUE(picture.White(30, 225));
  EXPECT_TRUE(picture.White(120, 135));
  EXPECT_TRUE(picture.Black(225, 30));
  EXPECT_TRUE(picture.Black(135, 120));
}

TEST_F(Modeldump, FailuresPrintTheLogLineAndExitWithOne) {
  toolRun result = Dump(Ms3dTestSquare(0, 0, 1).Bytes().substr(0, 20));
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "ModelOpenMS3D - Unable to read vertex 1 data.\n");
  EXPECT_FALSE(std::filesystem::exists(folder / "out.pam"));

  ms3dTestFile empty;
  result = Dump(empty.Bytes());
  EXPECT_EQ(result.status, 0) << "a mesh without vertices is an empty model: " << result.err;
  EXPECT_EQ(result.out, "vertices 0 triangles 0\n");
  EXPECT_TRUE(Picture().Black(128, 128));
}

}  // namespace
