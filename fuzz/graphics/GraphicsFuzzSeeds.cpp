// graphics_fuzz_seeds FOLDER: writes the seed corpora of the mesh and mat targets into
// FOLDER/fuzz_ms3d and FOLDER/fuzz_mat with the tests' own file writers.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "mats/MatTestFile.h"
#include "meshes/Ms3dTestFile.h"

namespace {

void Write(const std::filesystem::path& folder, const std::vector<std::string>& files,
           const std::string& extension) {
  std::filesystem::create_directories(folder);
  for (size_t i = 0; i < files.size(); ++i) {
    std::ofstream(folder / ("seed-" + std::to_string(i) + extension), std::ios::binary) << files[i];
  }
}

std::vector<std::string> Meshes() {
  std::vector<std::string> files;
  const ms3dTestFile square = Ms3dTestSquare(0, 0, 4);
  files.push_back(square.Bytes());
  ms3dTestFile older = square;
  older.version = 3;
  older.trailing.clear();
  files.push_back(older.Bytes());
  files.push_back(ms3dTestFile{}.Bytes());
  ms3dTestFile gaps = square;
  gaps.triangles = {{0, 1, 2}, {0, 1, 4}, {2, 1, 3}, {3, 3, 9}};
  gaps.groups = {{}, {0, 1, 2, 3}, {}};
  files.push_back(gaps.Bytes());
  ms3dTestFile fan;
  fan.vertices.push_back({0, 0, 0});
  for (uint16_t i = 1; i <= 60; ++i) {
    fan.vertices.push_back(
        {static_cast<float>(i), static_cast<float>(i % 7), -static_cast<float>(i)});
    if (i > 1) fan.triangles.push_back({0, static_cast<uint16_t>(i - 1), i});
  }
  fan.groups = {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}};
  fan.materials = 12;
  fan.trailing = std::string(100, '\x11');
  files.push_back(fan.Bytes());
  files.push_back(square.Bytes().substr(0, square.TrianglesEnd()));
  ms3dTestFile version2 = square;
  version2.version = 2;
  files.push_back(version2.Bytes().substr(0, 40));
  return files;
}

std::vector<std::string> Mats() {
  std::vector<std::string> files;
  const matTestFile small = MatTestSmall();
  files.push_back(small.Bytes());
  matTestFile many = small;
  many.width = 17;
  many.height = 9;
  many.entries.clear();
  for (int i = 0; i < 255; ++i)
    many.entries.push_back(
        {static_cast<uint32_t>(i) * 0x01010101u, std::string(i % 9, 'a' + i % 26)});
  many.runs.clear();
  for (int i = 0; i < 80; ++i)
    many.runs.push_back({static_cast<uint16_t>(i % 5), static_cast<uint8_t>(i * 3 % 255)});
  files.push_back(many.Bytes());
  matTestFile noRuns = small;
  noRuns.runs.clear();
  files.push_back(noRuns.Bytes());
  matTestFile negative = small;
  negative.width = -3;
  files.push_back(negative.Bytes());
  matTestFile large = small;
  large.width = 4097;
  large.height = 4096;
  files.push_back(large.Bytes());
  matTestFile longRuns = small;
  longRuns.runs = {{0, 1}, {65535, 1}, {3, 0}};
  files.push_back(longRuns.Bytes());
  return files;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: graphics_fuzz_seeds FOLDER\n");
    return 2;
  }
  Write(std::filesystem::path(argv[1]) / "fuzz_ms3d", Meshes(), ".ms3d");
  Write(std::filesystem::path(argv[1]) / "fuzz_mat", Mats(), ".mat");
  return 0;
}
