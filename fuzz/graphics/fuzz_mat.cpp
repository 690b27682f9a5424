// Arbitrary bytes as a mat file. A raw mat names only its own entries; an expanded mat is
// exactly width x height cells within the size limit, each naming an entry.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "GraphicsFuzzFolder.h"
#include "graphics/fwkMat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  GraphicsFuzzWrite("fuzz.mat", data, size);
  const matRaw raw = MatOpenRaw("fuzz.mat");
  if (raw.entries.size() > 255) std::abort();
  for (const matRun& run : raw.runs) {
    if (run.index >= raw.entries.size()) std::abort();
  }
  const matData mat = MatOpen("fuzz.mat");
  if (mat.cells.empty()) return 0;
  if (mat.width <= 0 || mat.height <= 0 || int64_t{mat.width} * mat.height > matMaxCells)
    std::abort();
  if (mat.cells.size() != static_cast<size_t>(mat.width) * static_cast<size_t>(mat.height))
    std::abort();
  for (const uint8_t cell : mat.cells) {
    if (cell >= mat.entries.size()) std::abort();
  }
  return 0;
}
