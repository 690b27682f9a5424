#include "levelRead.h"

#include <algorithm>

namespace {

// The sequences a human plays besides its looping animations.
constexpr const char* kSequenceSheets[] = {
    "\\Attack\\Attack Right.exp",
    "\\Attack\\Attack Left.exp",
    "\\Vamped\\Vamped.exp",
    "\\Vampire Hit\\Vampire Hit Left.exp",
    "\\Vampire Hit\\Vampire Hit Right.exp",
    "\\Vampire Collapse\\Vampire Collapse.exp",
};

void CheckSheets(const levelHumanType& type, const levelContentExists& exists,
                 std::vector<levelFinding>& out) {
  auto check = [&](const char* sheet) {
    const std::string path = "Bin\\Sprites\\" + type.name + sheet;
    if (!exists(path))
      out.push_back({type.line, "human type \"" + type.name + "\" has no sheet \"" + path + "\""});
  };
  for (const char* sheet : kLevelHumanSheets) check(sheet);
  for (const char* sheet : kSequenceSheets) check(sheet);
}

}  // namespace

levelData LevelRead(const std::vector<std::string>& lines, const levelContentExists& exists) {
  levelData level =
      LevelReadLines(lines, [&](int32_t, const std::string& path) { return exists(path); });
  // Sheet findings go among the reader's at their TYPE lines; both are in line order.
  std::vector<levelFinding> sheets;
  for (const levelHuman& human : level.humans)
    for (const levelHumanType& type : human.types) CheckSheets(type, exists, sheets);
  std::vector<levelFinding> findings;
  std::merge(level.findings.begin(), level.findings.end(), sheets.begin(), sheets.end(),
             std::back_inserter(findings),
             [](const levelFinding& a, const levelFinding& b) { return a.line < b.line; });
  level.findings = std::move(findings);

  if (!level.playerPlaced)
    level.findings.push_back(
        {0, "no usable player start (#PC): the player stays where the last level left him"});
  for (const levelHuman& human : level.humans) {
    if (!human.located)
      level.findings.push_back(
          {human.headerLine, "human without a LOCATION: it starts in the top-left corner"});
    if (human.type.empty())
      level.findings.push_back({human.headerLine, "human without a TYPE: it has no pictures"});
  }
  return level;
}

levelData LevelReadBytes(const std::string& bytes, const levelContentExists& exists) {
  levelData level = LevelRead(LevelSplitLines(bytes), exists);
  if (bytes.find('\n') != std::string::npos && bytes.find('\r') == std::string::npos)
    level.findings.insert(
        level.findings.begin(),
        {0, "the file has line feeds but no carriage returns: the game reads it as one line"});
  return level;
}
