#include "game/gameLevelRead.h"

#include <algorithm>

#include "game/gameText.h"

namespace {

// A human moved this far has left every map long before; the bound keeps the sum of many
// LOCATION lines from overflowing.
constexpr int64_t kMaxHumanOffset = int64_t{1} << 24;

enum class section { none, unknown, tiles, map, briefing, objective, pc, npc };

struct reader {
  levelData& level;
  const levelPictureOpen& picture;
  section current = section::none;
  std::string header;
  int32_t lineNumber = 0;
  int32_t mapRow = 0;
  int32_t briefingLines = 0;
  int32_t human = -1;

  void Report(const std::string& message) { level.findings.push_back({lineNumber, message}); }
};

section SectionOf(const std::string& line) {
  const std::string name = GameUpper(line);
  if (name == "#TILES") return section::tiles;
  if (name == "#MAP") return section::map;
  if (name == "#BRIEFING") return section::briefing;
  if (name == "#OBJECTIVE") return section::objective;
  if (name == "#PC") return section::pc;
  if (name == "#NPC") return section::npc;
  return section::unknown;
}

uint8_t TileType(const std::string& keyword) {
  const std::string word = GameUpper(keyword);
  if (word == "BLOCK") return kLevelBlock;
  if (word == "BLOCKNPC") return kLevelBlockNpc;
  if (word == "LEFT") return kLevelLeft;
  if (word == "RIGHT") return kLevelRight;
  if (word == "SPACE") return kLevelSpace;
  return kLevelUndefined;
}

void ReadTile(reader& r, const std::string& line) {
  // Fields are cut at the first and second blank, so a second blank in a row leaves an
  // empty keyword.
  const size_t first = line.find(' ');
  const size_t second = first == std::string::npos ? first : line.find(' ', first + 1);
  if (second == std::string::npos) {
    r.Report("tile line ignored: it needs a number, a blank, a keyword, a blank and a picture");
    return;
  }
  int32_t number = 0;
  if (!GameParseInteger(line.substr(0, first), number) || number < 1 ||
      number > kLevelMaxTileNumber) {
    r.Report("tile line ignored: \"" + line.substr(0, first) +
             "\" is not a tile number from 1 to " + std::to_string(kLevelMaxTileNumber));
    return;
  }
  const std::string keyword = line.substr(first + 1, second - first - 1);
  const uint8_t type = TileType(keyword);
  if (type == kLevelUndefined) {
    r.Report("tile line ignored: \"" + keyword +
             "\" is not BLOCK, BLOCKNPC, LEFT, RIGHT or SPACE (one blank between the fields)");
    return;
  }
  const std::string path = GameTrim(line.substr(second + 1));
  if (path.empty()) {
    r.Report("tile line ignored: no picture");
    return;
  }
  // The first definition wins; checked before the picture is asked for, so a repeated line
  // opens nothing.
  if (number <= static_cast<int32_t>(r.level.tiles.size())) {
    r.Report("tile line ignored: tile " + std::to_string(number) + " is already defined");
    return;
  }
  if (!r.picture(number, "Bin\\" + path)) {
    r.Report("tile line ignored: missing tile picture \"Bin\\" + path + "\"");
    return;
  }
  // Numbers skipped over get type 0 and no picture.
  r.level.tiles.resize(static_cast<size_t>(number));
  r.level.tiles.back() = {type, path};
}

// Tokens are not trimmed: a blank beside a comma makes the token fail. Tokens that name no
// defined tile take no column.
void ReadMapRow(reader& r, const std::string& line) {
  ++r.mapRow;
  if (r.mapRow > kLevelMaxRows) {
    r.Report("map row ignored: a level has at most " + std::to_string(kLevelMaxRows) + " rows");
    return;
  }
  levelData& level = r.level;
  int32_t column = 0;
  size_t start = 0;
  while (start <= line.size()) {
    size_t comma = line.find(',', start);
    if (comma == std::string::npos) comma = line.size();
    const std::string token = line.substr(start, comma - start);
    int32_t number = 0;
    if (!GameParseInteger(token, number) || number < 1) {
      r.Report("map token \"" + token + "\" ignored: not a tile number (no blanks around commas)");
    } else if (number > static_cast<int32_t>(level.tiles.size())) {
      r.Report("map token \"" + token + "\" ignored: tile " + token + " is not defined");
    } else if (++column > kLevelMaxColumns) {
      r.Report("map tokens from \"" + token + "\" on ignored: a level has at most " +
               std::to_string(kLevelMaxColumns) + " columns");
      return;
    } else {
      level.cells[static_cast<size_t>((column - 1) * kLevelGrid + r.mapRow - 1)] = number - 1;
      level.columns = std::max(level.columns, column);
      level.rows = std::max(level.rows, r.mapRow);
    }
    start = comma + 1;
  }
}

void ReadBriefing(reader& r, const std::string& line) {
  if (r.briefingLines++ > 0) r.level.briefing += "\r\n";
  if (line != "+") r.level.briefing += line;
}

// Key and value cut at the first "=", neither trimmed; a line without one is all key.
void Split(const std::string& line, std::string& key, std::string& value) {
  const size_t equals = line.find('=');
  key = GameUpper(line.substr(0, equals));
  value = equals == std::string::npos ? std::string() : line.substr(equals + 1);
}

// Locations are checked against the map read so far, so they belong after the grid.
void ReadObjective(reader& r, const std::string& line) {
  std::string key;
  std::string value;
  Split(line, key, value);
  levelData& level = r.level;
  int32_t a = 0;
  int32_t b = 0;
  if (key == "LOCATION") {
    if (!GameParsePair(value, a, b)) {
      r.Report("objective ignored: LOCATION needs COLUMN,ROW without blanks");
    } else if (a < 1 || a >= level.columns || b < 1 || b >= level.rows) {
      r.Report("objective ignored: LOCATION " + value +
               " must lie left of the last column and above the last row of the map read so far");
    } else {
      level.objectiveColumn = a;
      level.objectiveRow = b;
    }
  } else if (key == "VAMPS") {
    if (!GameParseInteger(value, a))
      r.Report("objective ignored: VAMPS needs a whole number");
    else
      level.vampsPercent = std::clamp(a, 0, 100);
  } else {
    r.Report("objective ignored: \"" + key + "\" is not LOCATION or VAMPS (no blanks around =)");
  }
}

void ReadPlayer(reader& r, const std::string& line) {
  levelData& level = r.level;
  int32_t c = 0;
  int32_t row = 0;
  if (!GameParsePair(line, c, row)) {
    r.Report("player start ignored: it needs COLUMN,ROW without blanks");
  } else if (c < 2 || c > level.columns || row < 1 || row >= level.rows) {
    r.Report("player start ignored: " + line +
             " must be from column 2 on and above the last row of the map read so far");
  } else {
    level.playerPlaced = true;
    level.playerX = (c - 1) * kLevelTile + 31;
    level.playerY = row * kLevelTile - 1;
  }
}

void LocateHuman(reader& r, levelHuman& human, const std::string& value) {
  const levelData& level = r.level;
  int32_t c = 0;
  int32_t row = 0;
  if (!GameParsePair(value, c, row)) {
    r.Report("human location ignored: it needs COLUMN,ROW without blanks");
    return;
  }
  if (c < 1 || c > level.columns || row < 0 || row >= level.rows) {
    r.Report("human location ignored: " + value + " lies outside the map read so far");
    return;
  }
  // A second LOCATION moves the human on from where the first one put it.
  const int64_t x = int64_t{human.x} + (c - 1) * kLevelTile + 31;
  const int64_t y = int64_t{human.y} + row * kLevelTile - 1;
  if (x > kMaxHumanOffset || y < -kMaxHumanOffset || y > kMaxHumanOffset) {
    r.Report("human location ignored: the locations given add up to a place far off the map");
    return;
  }
  if (human.located) r.Report("human location given twice: the game adds the second to the first");
  human.located = true;
  human.x = static_cast<int32_t>(x);
  human.y = static_cast<int32_t>(y);
}

void ReadHuman(reader& r, const std::string& line) {
  if (r.human < 0) {
    r.Report("line ignored: the game keeps at most " + std::to_string(kLevelMaxHumans) + " humans");
    return;
  }
  std::string key;
  std::string value;
  Split(line, key, value);
  levelHuman& human = r.level.humans[static_cast<size_t>(r.human)];
  if (key == "TYPE") {
    human.types.push_back({r.lineNumber, value});
    human.type = value;
  } else if (key == "LOCATION") {
    LocateHuman(r, human, value);
  } else if (key == "OBJECTIVE") {
    human.objective = true;
  } else {
    r.Report("human setting ignored: \"" + key +
             "\" is not TYPE, LOCATION or OBJECTIVE (no blanks around =)");
  }
}

void StartSection(reader& r, const std::string& line) {
  r.current = SectionOf(line);
  r.header = line;
  if (r.current == section::unknown)
    r.Report("unknown section \"" + line + "\": its lines are ignored");
  if (r.current != section::npc) return;
  if (static_cast<int32_t>(r.level.humans.size()) < kLevelMaxHumans) {
    r.human = static_cast<int32_t>(r.level.humans.size());
    r.level.humans.push_back({});
    r.level.humans.back().headerLine = r.lineNumber;
  } else {
    r.human = -1;
    r.Report("human ignored: the game keeps at most " + std::to_string(kLevelMaxHumans) +
             " humans");
  }
}

void ReadLine(reader& r, const std::string& line) {
  if (line[0] == '#') {
    StartSection(r, line);
    return;
  }
  switch (r.current) {
    case section::none: r.Report("line ignored: it comes before the first section header"); break;
    case section::unknown:
      r.Report("line ignored: it belongs to the unknown section \"" + r.header + "\"");
      break;
    case section::tiles: ReadTile(r, line); break;
    case section::map: ReadMapRow(r, line); break;
    case section::briefing: ReadBriefing(r, line); break;
    case section::objective: ReadObjective(r, line); break;
    case section::pc: ReadPlayer(r, line); break;
    case section::npc: ReadHuman(r, line); break;
  }
}

}  // namespace

int32_t levelData::TileAt(int32_t column, int32_t row) const {
  if (column < 1 || column > kLevelGrid || row < 1 || row > kLevelGrid) return 0;
  return cells[static_cast<size_t>((column - 1) * kLevelGrid + row - 1)] + 1;
}

std::vector<std::string> LevelSplitLines(const std::string& text) {
  std::vector<std::string> lines(1);
  for (const char c : text) {
    if (c == '\r')
      lines.emplace_back();
    else if (c != '\n')
      lines.back() += c;
  }
  if (lines.back().empty()) lines.pop_back();
  return lines;
}

levelData LevelReadLines(const std::vector<std::string>& lines, const levelPictureOpen& picture) {
  levelData level;
  reader r{level, picture, section::none, std::string(), 0, 0, 0, -1};
  for (const std::string& raw : lines) {
    ++r.lineNumber;
    const std::string line = GameTrim(raw);
    if (!line.empty()) ReadLine(r, line);
  }
  return level;
}

levelData LevelReadText(const std::string& text, const levelPictureOpen& picture) {
  return LevelReadLines(LevelSplitLines(text), picture);
}
