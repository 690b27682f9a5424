#include "graphics/fwkMat.h"

#include <algorithm>

#include "services/fwkDataFile.h"
#include "services/fwkLog.h"
#include "services/fwkText.h"

namespace {

std::string QuotedNumber(int64_t number) { return TextQuoted(std::to_string(number)); }

// Little-endian reads; false on a short read.
bool ReadMatByte(int32_t file, uint8_t& value) { return DataFileRead(file, &value, 1); }

bool ReadUint16(int32_t file, uint16_t& value) {
  uint8_t bytes[2];
  if (!DataFileRead(file, bytes, 2)) return false;
  value = static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
  return true;
}

bool ReadUint32(int32_t file, uint32_t& value) {
  uint8_t bytes[4];
  if (!DataFileRead(file, bytes, 4)) return false;
  value = static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
          static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
  return true;
}

bool ReadInt32(int32_t file, int32_t& value) {
  uint32_t bits = 0;
  if (!ReadUint32(file, bits)) return false;
  value = static_cast<int32_t>(bits);
  return true;
}

// Reads everything after the open; returns the failure's log line, or "" for a whole mat.
std::string ReadMat(int32_t file, matRaw& raw) {
  char header[3];
  if (!DataFileRead(file, header, 3)) return "MatOpenRaw - Unable to read mat header.";
  if (std::string(header, 3) != "MAT") return "MatOpenRaw - Unrecognized mat header.";
  uint8_t version = 0;
  if (!ReadMatByte(file, version)) return "MatOpenRaw - Unable to read mat major version.";
  if (version != 1)
    return "MatOpenRaw - Unsupported mat major version " + QuotedNumber(version) + ".";
  if (!ReadMatByte(file, version)) return "MatOpenRaw - Unable to read mat minor version.";
  if (version != 0)
    return "MatOpenRaw - Unsupported mat minor version " + QuotedNumber(version) + ".";
  if (!ReadInt32(file, raw.width)) return "MatOpenRaw - Unable to read mat width.";
  if (raw.width == 0) return "MatOpenRaw - No mat width.";
  if (!ReadInt32(file, raw.height)) return "MatOpenRaw - Unable to read mat height.";
  if (raw.height == 0) return "MatOpenRaw - No mat height.";
  uint8_t count = 0;
  if (!ReadMatByte(file, count)) return "MatOpenRaw - Unable to read mat entry count.";
  if (count == 0) return "MatOpenRaw - No mat entries.";
  for (int32_t k = 1; k <= count; ++k) {
    matEntry entry;
    if (!ReadUint32(file, entry.colour))
      return "MatOpenRaw - Unable to read mat color for entry " + QuotedNumber(k) + ".";
    uint8_t length = 0;
    if (!ReadMatByte(file, length))
      return "MatOpenRaw - Unable to read mat name length for entry " + QuotedNumber(k) + ".";
    entry.name.resize(length);
    if (length > 0 && !DataFileRead(file, entry.name.data(), length)) {
      return "MatOpenRaw - Unable to read mat name for entry " + QuotedNumber(k) + ".";
    }
    raw.entries.push_back(std::move(entry));
  }
  // Runs past the grid's last cell (or past the largest grid that can be expanded) are read and
  // checked but not kept, nor are runs of length 0 once one run is kept: they change no cell, so
  // what a file holds beyond its grid costs no memory.
  const int64_t cells =
      raw.width > 0 && raw.height > 0 ? std::min(int64_t{raw.width} * raw.height, matMaxCells) : 0;
  int64_t covered = 0;
  while (!DataFileEof(file)) {
    matRun run;
    if (!ReadUint16(file, run.length)) return "MatOpenRaw - Unable to read mat run length.";
    if (!ReadMatByte(file, run.index)) return "MatOpenRaw - Unable to read mat run index.";
    if (run.index >= raw.entries.size())
      return "MatOpenRaw - Invalid mat run index " + QuotedNumber(run.index) + ".";
    if (raw.runs.empty() || (run.length > 0 && covered < cells)) {
      raw.runs.push_back(run);
      covered += run.length;
    }
  }
  return "";
}

}  // namespace

void MatInit() { LogVersionAdd("fwkMat - Version 1.0"); }

matRaw MatOpenRaw(const std::string& fileName) {
  const int32_t file = DataFileOpen(fileName);
  if (file == 0) {
    LogError("MatOpenRaw - Unable to open " + TextQuoted(fileName) + ".");
    return {};
  }
  matRaw raw;
  const std::string failure = ReadMat(file, raw);
  DataFileClose(file);
  if (!failure.empty()) {
    LogError(failure);
    return {};
  }
  return raw;
}

bool MatRawIsUsable(const matRaw& raw) {
  return raw.width != 0 && raw.height != 0 && !raw.entries.empty() && !raw.runs.empty();
}

matData MatOpen(const std::string& fileName) {
  const matRaw raw = MatOpenRaw(fileName);
  if (!MatRawIsUsable(raw)) return {};
  // The format only forbids 0; a negative or huge size would make the grid unallocatable.
  const std::string size =
      TextQuoted(std::to_string(raw.width) + " x " + std::to_string(raw.height));
  if (raw.width < 0 || raw.height < 0) {
    LogError("MatOpen - Invalid mat size " + size + " in " + TextQuoted(fileName) + ".");
    return {};
  }
  const int64_t cellCount = int64_t{raw.width} * raw.height;
  if (cellCount > matMaxCells) {
    LogError("MatOpen - Mat size " + size + " too large in " + TextQuoted(fileName) + ".");
    return {};
  }
  matData mat;
  mat.entries = raw.entries;
  mat.width = raw.width;
  mat.height = raw.height;
  mat.cells.assign(static_cast<size_t>(cellCount), 0);
  // Filling cell by cell in row order is the walk along the rows; it stops at the last cell.
  size_t next = 0;
  for (const matRun& run : raw.runs) {
    const size_t count = std::min<size_t>(run.length, mat.cells.size() - next);
    std::fill_n(mat.cells.begin() + static_cast<std::ptrdiff_t>(next), count, run.index);
    next += count;
    if (next == mat.cells.size()) break;
  }
  return mat;
}
