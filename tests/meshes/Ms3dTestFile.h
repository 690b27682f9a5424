// Writes MilkShape 3D files from the format's table, independently of the reader. Every field
// the reader must read past holds bytes that differ from the positions around it, so a reader
// that takes a field from the wrong place reads wrong numbers.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

struct ms3dTestVertex {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
};

struct ms3dTestFile {
  std::string identifier = "MS3D000000";
  int32_t version = 4;
  std::vector<ms3dTestVertex> vertices;
  std::vector<std::vector<uint16_t>> triangles;  // three vertex indices each
  std::vector<std::vector<uint16_t>> groups;     // triangle indices of each group
  int32_t materials = 0;
  std::string trailing;  // what follows the materials (animation data the reader leaves alone)

  // Sizes of the format's parts, for cutting files short at a chosen field.
  static constexpr size_t headerSize = 14;
  static constexpr size_t vertexSize = 15;
  static constexpr size_t triangleSize = 70;
  static constexpr size_t materialSize = 361;
  size_t VerticesEnd() const { return headerSize + 2 + vertexSize * vertices.size(); }
  size_t TrianglesEnd() const { return VerticesEnd() + 2 + triangleSize * triangles.size(); }
  size_t GroupsEnd() const {
    size_t end = TrianglesEnd() + 2;
    for (const auto& group : groups) end += 35 + 2 * group.size() + 1;
    return end;
  }

  std::string Bytes() const {
    std::string out = identifier.substr(0, 10);
    out.resize(10, '\0');
    Int32(out, version);
    Uint16(out, vertices.size());
    for (const ms3dTestVertex& vertex : vertices) {
      out += '\x01';  // flags
      Float(out, vertex.x);
      Float(out, vertex.y);
      Float(out, vertex.z);
      out += '\xFF';  // bone id -1
      out += '\x02';  // reference count
    }
    Uint16(out, triangles.size());
    for (size_t t = 0; t < triangles.size(); ++t) {
      Uint16(out, 0x0102);  // flags
      for (uint16_t index : triangles[t]) Uint16(out, index);
      for (int i = 0; i < 9; ++i) Float(out, 0.25f * static_cast<float>(i + 1));  // normals
      for (int i = 0; i < 6; ++i) Float(out, 0.5f + static_cast<float>(t + i));   // s, t
      out += '\x07';                                                              // smoothing group
      out += static_cast<char>(t % 3);                                            // group index
    }
    Uint16(out, groups.size());
    for (size_t g = 0; g < groups.size(); ++g) {
      out += '\x00';
      std::string name = "group " + std::to_string(g);
      name.resize(32, '\0');
      out += name;
      Uint16(out, groups[g].size());
      for (uint16_t index : groups[g]) Uint16(out, index);
      out += static_cast<char>(g == 0 ? -1 : 0);  // material index
    }
    Uint16(out, static_cast<size_t>(materials));
    for (int32_t k = 0; k < materials; ++k) {
      std::string material(materialSize, static_cast<char>(0x40 + k));
      out += material;
    }
    return out + trailing;
  }

  static void Uint16(std::string& out, size_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
  }
  static void Int32(std::string& out, int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((bits >> shift) & 0xFF);
  }
  static void Float(std::string& out, float value) {
    int32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    Int32(out, bits);
  }
};

// A unit square of two counter-clockwise triangles (on a screen with y downward) at depth -5,
// split in two groups, with two materials and trailing animation bytes.
inline ms3dTestFile Ms3dTestSquare(float left, float top, float size) {
  ms3dTestFile file;
  file.vertices = {{left, top, -5},
                   {left, top + size, -5},
                   {left + size, top, -5},
                   {left + size, top + size, -5}};
  file.triangles = {{0, 1, 2}, {2, 1, 3}};
  file.groups = {{0}, {1}};
  file.materials = 2;
  file.trailing = std::string(40, '\x5A');
  return file;
}
