// Mats: a grid of cells, width x height, each holding the index of one of up to 255 named
// entries with a colour. The file stores the grid run-length encoded; this module reads it
// and expands it, and gives the cells no further meaning (script objects look them up).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct matEntry {
  std::string name;
  uint32_t colour = 0;  // stored as read
};

struct matRun {
  uint16_t length = 0;
  uint8_t index = 0;  // below the number of entries
};

// The file's content as read. Empty: no entries, width 0, height 0, no runs.
struct matRaw {
  std::vector<matEntry> entries;
  int32_t width = 0;
  int32_t height = 0;
  std::vector<matRun> runs;
};

// The expanded grid: width x height entry indices, row by row. Empty: no entries, width 0,
// height 0, no cells.
struct matData {
  std::vector<matEntry> entries;
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> cells;
};

// The largest grid MatOpen expands; larger grids, and negative sizes, are refused with a log
// line before anything is allocated.
constexpr int64_t matMaxCells = int64_t{1} << 24;

// Registers the module's version text.
void MatInit();

// Reads the file; an empty raw mat (after one log line) on any failure.
matRaw MatOpenRaw(const std::string& fileName);
// MatOpenRaw, then the expanded grid when the raw mat is usable and its size can be expanded;
// an empty mat otherwise.
matData MatOpen(const std::string& fileName);
// Width and height not 0, at least one entry and at least one run.
bool MatRawIsUsable(const matRaw& raw);
