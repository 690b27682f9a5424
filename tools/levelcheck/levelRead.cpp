#include "levelRead.h"

#include <algorithm>
#include <limits>

namespace {

enum class section { none, unknown, tiles, map, briefing, objective, pc, npc };

struct reader {
    levelData& level;
    const levelContentExists& exists;
    section current = section::none;
    std::string header;
    int32_t lineNumber = 0;
    int32_t mapRow = 0;
    int32_t briefingLines = 0;
    int32_t human = -1;

    void Report(const std::string& message) { level.findings.push_back({lineNumber, message}); }
};

section SectionOf(const std::string& line) {
    const std::string name = LevelUpper(line);
    if (name == "#TILES") return section::tiles;
    if (name == "#MAP") return section::map;
    if (name == "#BRIEFING") return section::briefing;
    if (name == "#OBJECTIVE") return section::objective;
    if (name == "#PC") return section::pc;
    if (name == "#NPC") return section::npc;
    return section::unknown;
}

uint8_t TileType(const std::string& keyword) {
    const std::string word = LevelUpper(keyword);
    if (word == "BLOCK") return kLevelBlock;
    if (word == "BLOCKNPC") return kLevelBlockNpc;
    if (word == "LEFT") return kLevelLeft;
    if (word == "RIGHT") return kLevelRight;
    if (word == "SPACE") return kLevelSpace;
    return kLevelUndefined;
}

void ReadTile(reader& r, const std::string& line) {
    const size_t first = line.find(' ');
    const size_t second = first == std::string::npos ? first : line.find(' ', first + 1);
    if (second == std::string::npos) {
        r.Report("tile line ignored: it needs a number, a blank, a keyword, a blank and a picture");
        return;
    }
    int32_t number = 0;
    if (!LevelParseInteger(line.substr(0, first), number) || number < 1 || number > kLevelMaxTileNumber) {
        r.Report("tile line ignored: \"" + line.substr(0, first) + "\" is not a tile number from 1 to " +
                 std::to_string(kLevelMaxTileNumber));
        return;
    }
    const std::string keyword = line.substr(first + 1, second - first - 1);
    const uint8_t type = TileType(keyword);
    if (type == kLevelUndefined) {
        r.Report("tile line ignored: \"" + keyword +
                 "\" is not BLOCK, BLOCKNPC, LEFT, RIGHT or SPACE (one blank between the fields)");
        return;
    }
    const std::string path = LevelTrim(line.substr(second + 1));
    if (path.empty()) {
        r.Report("tile line ignored: no picture");
        return;
    }
    if (number <= static_cast<int32_t>(r.level.tiles.size())) {
        r.Report("tile line ignored: tile " + std::to_string(number) + " is already defined");
        return;
    }
    if (!r.exists("Bin\\" + path)) {
        r.Report("tile line ignored: missing tile picture \"Bin\\" + path + "\"");
        return;
    }
    r.level.tiles.resize(static_cast<size_t>(number));
    r.level.tiles.back() = {type, path};
}

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
        if (!LevelParseInteger(token, number) || number < 1) {
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

void Split(const std::string& line, std::string& key, std::string& value) {
    const size_t equals = line.find('=');
    key = LevelUpper(line.substr(0, equals));
    value = equals == std::string::npos ? std::string() : line.substr(equals + 1);
}

void ReadObjective(reader& r, const std::string& line) {
    std::string key;
    std::string value;
    Split(line, key, value);
    levelData& level = r.level;
    int32_t a = 0;
    int32_t b = 0;
    if (key == "LOCATION") {
        if (!LevelParsePair(value, a, b)) {
            r.Report("objective ignored: LOCATION needs COLUMN,ROW without blanks");
        } else if (a < 1 || a >= level.columns || b < 1 || b >= level.rows) {
            r.Report("objective ignored: LOCATION " + value + " must lie left of the last column and above the last row of the map read so far");
        } else {
            level.objectiveColumn = a;
            level.objectiveRow = b;
        }
    } else if (key == "VAMPS") {
        if (!LevelParseInteger(value, a))
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
    if (!LevelParsePair(line, c, row)) {
        r.Report("player start ignored: it needs COLUMN,ROW without blanks");
    } else if (c < 2 || c > level.columns || row < 1 || row >= level.rows) {
        r.Report("player start ignored: " + line + " must be from column 2 on and above the last row of the map read so far");
    } else {
        level.playerPlaced = true;
        level.playerX = (c - 1) * kLevelTile + 31;
        level.playerY = row * kLevelTile - 1;
    }
}

void CheckHumanSheets(reader& r, const std::string& type) {
    static const char* const kSheets[] = {
        "\\Stand\\Stand Right.exp",
        "\\Stand\\Stand Left.exp",
        "\\Walk\\Walk Right.exp",
        "\\Walk\\Walk Left.exp",
        "\\Vampire Stand\\Vampire Stand Right.exp",
        "\\Vampire Stand\\Vampire Stand Left.exp",
        "\\Vampire Walk\\Vampire Walk Right.exp",
        "\\Vampire Walk\\Vampire Walk Left.exp",
        "\\Attack\\Attack Right.exp",
        "\\Attack\\Attack Left.exp",
        "\\Vamped\\Vamped.exp",
        "\\Vampire Hit\\Vampire Hit Left.exp",
        "\\Vampire Hit\\Vampire Hit Right.exp",
        "\\Vampire Collapse\\Vampire Collapse.exp",
    };
    for (const char* sheet : kSheets) {
        const std::string path = "Bin\\Sprites\\" + type + sheet;
        if (!r.exists(path)) r.Report("human type \"" + type + "\" has no sheet \"" + path + "\"");
    }
}

void ReadHuman(reader& r, const std::string& line) {
    if (r.human < 0) {
        r.Report("line ignored: the game keeps at most " + std::to_string(kLevelMaxHumans) + " humans");
        return;
    }
    std::string key;
    std::string value;
    Split(line, key, value);
    levelData& level = r.level;
    levelHuman& human = level.humans[static_cast<size_t>(r.human)];
    int32_t c = 0;
    int32_t row = 0;
    if (key == "TYPE") {
        human.type = value;
        CheckHumanSheets(r, value);
    } else if (key == "LOCATION") {
        if (!LevelParsePair(value, c, row)) {
            r.Report("human location ignored: it needs COLUMN,ROW without blanks");
        } else if (c < 1 || c > level.columns || row < 0 || row >= level.rows) {
            r.Report("human location ignored: " + value + " lies outside the map read so far");
        } else {
            if (human.located) r.Report("human location given twice: the game adds the second to the first");
            human.located = true;
            human.x += (c - 1) * kLevelTile + 31;
            human.y += row * kLevelTile - 1;
        }
    } else if (key == "OBJECTIVE") {
        human.objective = true;
    } else {
        r.Report("human setting ignored: \"" + key + "\" is not TYPE, LOCATION or OBJECTIVE (no blanks around =)");
    }
}

void ReadLine(reader& r, const std::string& line) {
    if (line[0] == '#') {
        r.current = SectionOf(line);
        r.header = line;
        if (r.current == section::unknown) r.Report("unknown section \"" + line + "\": its lines are ignored");
        if (r.current == section::npc) {
            if (static_cast<int32_t>(r.level.humans.size()) < kLevelMaxHumans) {
                r.human = static_cast<int32_t>(r.level.humans.size());
                r.level.humans.push_back({});
                r.level.humans.back().headerLine = r.lineNumber;
            } else {
                r.human = -1;
                r.Report("human ignored: the game keeps at most " + std::to_string(kLevelMaxHumans) + " humans");
            }
        }
        return;
    }
    switch (r.current) {
        case section::none: r.Report("line ignored: it comes before the first section header"); break;
        case section::unknown: r.Report("line ignored: it belongs to the unknown section \"" + r.header + "\""); break;
        case section::tiles: ReadTile(r, line); break;
        case section::map: ReadMapRow(r, line); break;
        case section::briefing:
            if (r.briefingLines++ > 0) r.level.briefing += "\r\n";
            if (line != "+") r.level.briefing += line;
            break;
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

std::vector<std::string> LevelSplitLines(const std::string& bytes) {
    std::vector<std::string> lines(1);
    for (const char c : bytes) {
        if (c == '\r')
            lines.emplace_back();
        else if (c != '\n')
            lines.back() += c;
    }
    if (lines.back().empty()) lines.pop_back();
    return lines;
}

levelData LevelRead(const std::vector<std::string>& lines, const levelContentExists& exists) {
    levelData level;
    reader r{level, exists, section::none, std::string(), 0, 0, 0, -1};
    for (const std::string& raw : lines) {
        ++r.lineNumber;
        const std::string line = LevelTrim(raw);
        if (!line.empty()) ReadLine(r, line);
    }
    r.lineNumber = 0;
    if (!level.playerPlaced) r.Report("no usable player start (#PC): the player stays where the last level left him");
    for (const levelHuman& human : level.humans) {
        r.lineNumber = human.headerLine;
        if (!human.located) r.Report("human without a LOCATION: it starts in the top-left corner");
        if (human.type.empty()) r.Report("human without a TYPE: it has no pictures");
    }
    return level;
}

levelData LevelReadBytes(const std::string& bytes, const levelContentExists& exists) {
    levelData level = LevelRead(LevelSplitLines(bytes), exists);
    if (bytes.find('\n') != std::string::npos && bytes.find('\r') == std::string::npos)
        level.findings.insert(level.findings.begin(),
                              {0, "the file has line feeds but no carriage returns: the game reads it as one line"});
    return level;
}

std::string LevelTrim(const std::string& text) {
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    size_t start = 0;
    size_t end = text.size();
    while (start < end && blank(text[start])) ++start;
    while (end > start && blank(text[end - 1])) --end;
    return text.substr(start, end - start);
}

std::string LevelUpper(const std::string& text) {
    std::string upper = text;
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

bool LevelParseInteger(const std::string& text, int32_t& value) {
    const size_t start = !text.empty() && text[0] == '-' ? 1 : 0;
    if (start >= text.size()) return false;
    constexpr int64_t kLimit = static_cast<int64_t>(std::numeric_limits<int32_t>::max()) + 1;
    int64_t magnitude = 0;
    for (size_t i = start; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        if (magnitude < kLimit) magnitude = magnitude * 10 + (text[i] - '0');
    }
    value = static_cast<int32_t>(start == 1 ? -std::min(magnitude, kLimit) : std::min(magnitude, kLimit - 1));
    return true;
}

bool LevelParsePair(const std::string& text, int32_t& first, int32_t& second) {
    const size_t comma = text.find(',');
    if (comma == std::string::npos) return false;
    int32_t a = 0;
    int32_t b = 0;
    if (!LevelParseInteger(text.substr(0, comma), a) || !LevelParseInteger(text.substr(comma + 1), b)) return false;
    first = a;
    second = b;
    return true;
}
