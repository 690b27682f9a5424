#include "graphics/fwkModelMS3D.h"

#include <cstring>

#include "graphics/fwkModel.h"
#include "services/fwkDataFile.h"
#include "services/fwkLog.h"

namespace {

constexpr int32_t headerSize = 14;
constexpr int32_t vertexSize = 15;
constexpr int32_t triangleSize = 70;
constexpr int32_t groupFixedSize = 35;
constexpr int32_t materialSize = 361;

uint16_t Uint16At(const uint8_t* bytes) { return static_cast<uint16_t>(bytes[0] | bytes[1] << 8); }

int32_t Int32At(const uint8_t* bytes) {
  return static_cast<int32_t>(
      static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
      static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24);
}

float FloatAt(const uint8_t* bytes) {
  const auto bits = static_cast<uint32_t>(Int32At(bytes));
  float value = 0.0f;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

bool ReadCount(int32_t file, uint16_t& count) {
  uint8_t bytes[2];
  if (!DataFileRead(file, bytes, 2)) return false;
  count = Uint16At(bytes);
  return true;
}

// Everything before the model exists; returns the failure's log line, or "".
std::string ReadHeaderAndVertexCount(int32_t file, uint16_t& vertexCount) {
  uint8_t header[headerSize];
  if (!DataFileRead(file, header, headerSize)) return "ModelOpenMS3D - Unable to read file header.";
  if (std::memcmp(header, "MS3D000000", 10) != 0) return "ModelOpenMS3D - Invalid file header.";
  const int32_t version = Int32At(header + 10);
  if (version != 3 && version != 4) {
    return "ModelOpenMS3D - Unsupported file version " + std::to_string(version) + ".";
  }
  if (!ReadCount(file, vertexCount)) return "ModelOpenMS3D - Unable to read vertex count.";
  return "";
}

std::string ReadGeometry(int32_t file, uint16_t vertexCount, model* m) {
  uint8_t bytes[triangleSize];
  for (int32_t k = 1; k <= vertexCount; ++k) {
    if (!DataFileRead(file, bytes, vertexSize)) {
      return "ModelOpenMS3D - Unable to read vertex " + std::to_string(k) + " data.";
    }
    ModelSetVertex(m, k - 1, FloatAt(bytes + 1), FloatAt(bytes + 5), FloatAt(bytes + 9));
  }
  uint16_t triangleCount = 0;
  if (!ReadCount(file, triangleCount)) return "ModelOpenMS3D - Unable to read face count.";
  for (int32_t k = 1; k <= triangleCount; ++k) {
    if (!DataFileRead(file, bytes, triangleSize)) {
      return "ModelOpenMS3D - Unable to read face " + std::to_string(k) + " data.";
    }
    modelPolygon triangle;
    for (int32_t corner = 0; corner < 3; ++corner) {
      triangle.corners[static_cast<size_t>(corner)] = {Uint16At(bytes + 2 + 2 * corner), 0, 0};
    }
    // The store leaves out a triangle naming a vertex past the list.
    ModelSetPolygon(m, k - 1, triangle);
  }
  return "";
}

// Groups and materials are read only so that a damaged file is noticed.
std::string ReadGroupsAndMaterials(int32_t file) {
  uint8_t bytes[materialSize];
  uint16_t groupCount = 0;
  if (!ReadCount(file, groupCount)) return "ModelOpenMS3D - Unable to read mesh count.";
  for (int32_t g = 1; g <= groupCount; ++g) {
    const std::string group = std::to_string(g);
    if (!DataFileRead(file, bytes, groupFixedSize))
      return "ModelOpenMS3D - Unable to read mesh " + group + " data.";
    const uint16_t indexCount = Uint16At(bytes + 33);
    for (int32_t j = 1; j <= indexCount; ++j) {
      if (!DataFileRead(file, bytes, 2)) {
        return "ModelOpenMS3D - Unable to read mesh " + group + " vertex " + std::to_string(j) +
               " data.";
      }
    }
    if (!DataFileRead(file, bytes, 1))
      return "ModelOpenMS3D - Unable to read material for mesh " + group + ".";
  }
  uint16_t materialCount = 0;
  if (!ReadCount(file, materialCount)) return "ModelOpenMS3D - Unable to read material count.";
  for (int32_t k = 1; k <= materialCount; ++k) {
    if (!DataFileRead(file, bytes, materialSize)) {
      return "ModelOpenMS3D - Unable to read material " + std::to_string(k) + " data.";
    }
  }
  return "";
}

}  // namespace

model* ModelOpenMS3D(int32_t displayId, const std::string& fileName) {
  if (ModelDisplayRecord(displayId) == nullptr) {
    LogError("ModelOpenMS3D - Invalid display ID \"" + std::to_string(displayId) + "\".");
    return nullptr;
  }
  const int32_t file = DataFileOpen(fileName);
  if (file == 0) {
    LogError("ModelOpenMS3D - Unable to open file \"" + fileName + "\".");
    return nullptr;
  }
  uint16_t vertexCount = 0;
  std::string failure = ReadHeaderAndVertexCount(file, vertexCount);
  model* m = nullptr;
  if (failure.empty()) {
    m = ModelNew(displayId, modelKindCompiled);
    failure = ReadGeometry(file, vertexCount, m);
  }
  if (failure.empty()) failure = ReadGroupsAndMaterials(file);
  DataFileClose(file);
  if (!failure.empty()) {
    LogError(failure);
    return nullptr;
  }
  ModelCompile(m);
  return m;
}
