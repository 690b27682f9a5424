// Arbitrary bytes as a level file: the reader and the grid checks must neither crash nor read
// outside the grid, whatever the numbers say. Pictures whose path holds "x" count as missing,
// so both branches of the picture check are reached.
#include <cstddef>
#include <cstdint>
#include <string>

#include "levelReach.h"
#include "levelRead.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 65536) return 0;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  levelData level = LevelReadBytes(
      bytes, [](const std::string& path) { return path.find('x') == std::string::npos; });
  LevelCheckGrid(level);
  return 0;
}
