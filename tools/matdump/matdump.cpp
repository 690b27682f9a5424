// matdump FILE: reads a mat as the program does and prints what the program sees:
//   width W height H entries N
//   entry K COLOUR NAME      (one per entry, K from 0, COLOUR the stored value as 8 hex digits)
//   H lines of W cell indices separated by single spaces
// On failure the log line goes to standard error (without "Error: ") and the exit code is 1.
#include <cstdio>
#include <string>

#include "DumpLog.h"
#include "graphics/fwkMat.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: matdump FILE\n");
    return 2;
  }
  const std::string name = DumpStart(argv[1], "matdump");
  const matData mat = MatOpen(name);
  if (mat.cells.empty()) {
    // A file without runs is read without a message, yet the program sees an empty mat.
    if (DumpReportErrors() == 0)
      std::fprintf(stderr, "%s: the mat has no runs, so it is empty\n", argv[1]);
    DumpStop();
    return 1;
  }
  std::string out = "width " + std::to_string(mat.width) + " height " + std::to_string(mat.height) +
                    " entries " + std::to_string(mat.entries.size()) + "\n";
  char colour[9];
  for (size_t k = 0; k < mat.entries.size(); ++k) {
    std::snprintf(colour, sizeof colour, "%08X", mat.entries[k].colour);
    out += "entry " + std::to_string(k) + " " + colour + " " + mat.entries[k].name + "\n";
  }
  for (int32_t y = 0; y < mat.height; ++y) {
    for (int32_t x = 0; x < mat.width; ++x) {
      if (x > 0) out += ' ';
      out += std::to_string(mat.cells[static_cast<size_t>(y) * static_cast<size_t>(mat.width) + x]);
    }
    out += '\n';
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  DumpStop();
  return 0;
}
