// The mats a script's objects open: each file is read once and shared by every frame, list and
// Mat object naming it, within the script's limits on files, cells and file size.
#include <algorithm>

#include "graphics/fwkMat.h"
#include "script/scriptInternal.h"
#include "services/fwkDataFile.h"
#include "services/fwkLog.h"

namespace {

// Metering: reading goes byte by byte through the data files, filling the cells is a fill.
constexpr size_t kScriptMatBytesPerUnit = 8;
constexpr size_t kScriptMatCellsPerUnit = 256;

int32_t FileSize(const std::string& name) {
  const int32_t file = DataFileOpen(name);
  if (file == 0) return 0;
  const int32_t size = DataFileSize(file);
  DataFileClose(file);
  return size;
}

}  // namespace

bool ScriptMatShared(script& owner, const std::string& name, std::shared_ptr<const matData>& mat) {
  for (const scriptMatEntry& entry : owner.mats) {
    ScriptBudgetCharge(entry.name.size());
    if (entry.name != name) continue;
    mat = entry.mat;
    return true;
  }
  if (owner.mats.size() >= kScriptMatLimit) return false;
  const int32_t size = FileSize(name);
  // Reading a mat goes byte by byte through the data files, then fills its cells.
  ScriptBudgetChargeUnits(static_cast<size_t>(std::max(size, 0)) / kScriptMatBytesPerUnit);
  std::shared_ptr<const matData> opened = ScriptNoMat();
  if (size > kScriptMatFileLimit) {
    LogError("ScriptMatOpen - Mat file \"" + name + "\" is larger than " +
             std::to_string(kScriptMatFileLimit) + " bytes.");
  } else {
    matData read = MatOpen(name);
    const size_t cells = read.cells.size();
    if (cells > kScriptMatCellLimit - owner.matCells) return false;
    ScriptBudgetChargeUnits(cells / kScriptMatCellsPerUnit);
    owner.matCells += cells;
    if (cells > 0 || !read.entries.empty())
      opened = std::make_shared<const matData>(std::move(read));
  }
  owner.mats.push_back(scriptMatEntry{name, opened});
  mat = opened;
  return true;
}
