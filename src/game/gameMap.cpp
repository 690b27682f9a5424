// Level files and the tile grid: clearing, reading a level and looking up cells.
#include <algorithm>

#include "game/gameInternal.h"
#include "game/gameText.h"
#include "graphics/fwkModel.h"
#include "graphics/fwkModelImage.h"
#include "services/fwkDataFile.h"

namespace {

// Bounds that keep a damaged or hostile file from growing the tables without limit; real
// levels stay far below them.
constexpr int32_t kMaxTileNumber = 1024;
constexpr size_t kMaxHumans = 255;

enum class section { none, tiles, map, briefing, objective, pc, npc };

struct levelReader {
    section current = section::none;
    int32_t mapRow = 0;
    int32_t briefingLines = 0;
    int32_t human = -1;
};

section SectionOf(const std::string& header) {
    const std::string name = GameUpper(header);
    if (name == "#TILES") return section::tiles;
    if (name == "#MAP") return section::map;
    if (name == "#BRIEFING") return section::briefing;
    if (name == "#OBJECTIVE") return section::objective;
    if (name == "#PC") return section::pc;
    if (name == "#NPC") return section::npc;
    return section::none;
}

uint8_t TileTypeOfKeyword(const std::string& keyword) {
    const std::string word = GameUpper(keyword);
    if (word == "BLOCK") return kTileBlock;
    if (word == "BLOCKNPC") return kTileBlockNpc;
    if (word == "LEFT") return kTileLeft;
    if (word == "RIGHT") return kTileRight;
    if (word == "SPACE") return kTileSpace;
    return kTileUndefined;
}

void ReadTile(const std::string& line) {
    const size_t first = line.find(' ');
    if (first == std::string::npos) return;
    const size_t second = line.find(' ', first + 1);
    if (second == std::string::npos) return;
    int32_t number = 0;
    if (!GameParseInteger(line.substr(0, first), number) || number < 1 || number > kMaxTileNumber) return;
    const uint8_t type = TileTypeOfKeyword(line.substr(first + 1, second - first - 1));
    const std::string path = GameTrim(line.substr(second + 1));
    if (type == kTileUndefined || path.empty()) return;
    mapData& map = Game().map;
    // The first definition wins; checked before the image is opened so a repeated line costs
    // nothing.
    if (number <= static_cast<int32_t>(map.tiles.size())) return;
    model* image = ModelOpenImage(Game().display, "Bin\\" + path, false);
    if (image == nullptr) return;
    map.tiles.resize(static_cast<size_t>(number));
    map.tiles.back() = {type, image};
}

void ReadMapRow(const std::string& line, levelReader& reader) {
    ++reader.mapRow;
    if (reader.mapRow > kMaxRows) return;
    mapData& map = Game().map;
    int32_t column = 0;
    size_t start = 0;
    while (start <= line.size()) {
        size_t comma = line.find(',', start);
        if (comma == std::string::npos) comma = line.size();
        int32_t number = 0;
        if (GameParseInteger(line.substr(start, comma - start), number) && number >= 1 &&
            number <= static_cast<int32_t>(map.tiles.size())) {
            ++column;
            if (column > kMaxColumns) break;
            map.cells[static_cast<size_t>((column - 1) * kGridSize + reader.mapRow - 1)] = number - 1;
            map.columns = std::max(map.columns, column);
            map.rows = std::max(map.rows, reader.mapRow);
        }
        start = comma + 1;
    }
}

void ReadBriefing(const std::string& line, levelReader& reader) {
    std::string& briefing = Game().briefing;
    if (reader.briefingLines > 0) briefing += "\r\n";
    ++reader.briefingLines;
    if (line != "+") briefing += line;
}

// Key and value cut at the first "="; a line without one is all key.
void SplitSetting(const std::string& line, std::string& key, std::string& value) {
    const size_t equals = line.find('=');
    key = GameUpper(line.substr(0, equals));
    value = equals == std::string::npos ? std::string() : line.substr(equals + 1);
}

void ReadObjective(const std::string& line) {
    std::string key;
    std::string value;
    SplitSetting(line, key, value);
    gameData& game = Game();
    int32_t c = 0;
    int32_t r = 0;
    if (key == "LOCATION" && GameParsePair(value, c, r)) {
        if (c >= 1 && c < game.map.columns && r >= 1 && r < game.map.rows) {
            game.objectiveColumn = c;
            game.objectiveRow = r;
        }
    } else if (key == "VAMPS" && GameParseInteger(value, c)) {
        game.vampsPercent = std::clamp(c, 0, 100);
    }
}

void ReadPlayerStart(const std::string& line) {
    gameData& game = Game();
    int32_t c = 0;
    int32_t r = 0;
    if (game.agents.empty() || !GameParsePair(line, c, r) || c < 2 || c > game.map.columns || r < 1 || r >= game.map.rows) return;
    agent& player = game.agents[0];
    AgentMove(player, (c - 1) * kTileSize + 31 - player.x, r * kTileSize - 1 - player.y);
}

void LoadHumanType(int32_t index, const std::string& type) {
    static const char* const kSheets[8] = {
        "\\Stand\\Stand Right.exp",
        "\\Stand\\Stand Left.exp",
        "\\Walk\\Walk Right.exp",
        "\\Walk\\Walk Left.exp",
        "\\Vampire Stand\\Vampire Stand Right.exp",
        "\\Vampire Stand\\Vampire Stand Left.exp",
        "\\Vampire Walk\\Vampire Walk Right.exp",
        "\\Vampire Walk\\Vampire Walk Left.exp",
    };
    Game().agents[static_cast<size_t>(index)].type = type;
    for (int32_t slot = 0; slot < 8; ++slot)
        AgentLoadAnimation(index, slot, "Bin\\Sprites\\" + type + kSheets[slot]);
    AgentSetAnimation(index, kSlotStandLeft);
}

void ReadHuman(const std::string& line, const levelReader& reader) {
    if (reader.human < 0) return;
    std::string key;
    std::string value;
    SplitSetting(line, key, value);
    gameData& game = Game();
    int32_t c = 0;
    int32_t r = 0;
    if (key == "TYPE") {
        LoadHumanType(reader.human, value);
    } else if (key == "LOCATION" && GameParsePair(value, c, r)) {
        if (c < 1 || c > game.map.columns || r < 0 || r >= game.map.rows) return;
        agent& human = game.agents[static_cast<size_t>(reader.human)];
        AgentMove(human, (c - 1) * kTileSize + 31, r * kTileSize - 1);
        human.spawnX = human.x;
        human.spawnY = human.y;
    } else if (key == "OBJECTIVE") {
        game.agents[static_cast<size_t>(reader.human)].objective = true;
    }
}

void ReadLine(const std::string& line, levelReader& reader) {
    if (line[0] == '#') {
        reader.current = SectionOf(line);
        if (reader.current == section::npc) {
            const size_t count = Game().agents.size();
            reader.human = count <= kMaxHumans ? AgentAdd("NPC " + std::to_string(count)) : -1;
        }
        return;
    }
    switch (reader.current) {
        case section::tiles: ReadTile(line); break;
        case section::map: ReadMapRow(line, reader); break;
        case section::briefing: ReadBriefing(line, reader); break;
        case section::objective: ReadObjective(line); break;
        case section::pc: ReadPlayerStart(line); break;
        case section::npc: ReadHuman(line, reader); break;
        case section::none: break;
    }
}

}  // namespace

void MapClear() {
    mapData& map = Game().map;
    for (tileDefinition& tile : map.tiles) ModelFree(tile.image);
    map.tiles.clear();
    map.cells.fill(-1);
    map.columns = 0;
    map.rows = 0;
}

int32_t MapCellOf(int32_t coordinate) {
    // Rounded down, so that points left of or above the world lie in cell 0 and below, which
    // count as solid: no figure can leave the grid.
    const int32_t quotient = coordinate / kTileSize;
    return (coordinate % kTileSize < 0 ? quotient - 1 : quotient) + 1;
}

uint8_t MapTileType(int32_t column, int32_t row) {
    if (column < 1 || column > kGridSize || row < 1 || row > kGridSize) return kTileBlock;
    const mapData& map = Game().map;
    const int32_t index = map.cells[static_cast<size_t>((column - 1) * kGridSize + row - 1)];
    if (index < 0 || index >= static_cast<int32_t>(map.tiles.size())) return kTileUndefined;
    return map.tiles[static_cast<size_t>(index)].type;
}

bool MapLoadLevel(int32_t number) {
    gameData& game = Game();
    MapClear();
    while (game.agents.size() > 1) AgentRemove(static_cast<int32_t>(game.agents.size()) - 1);
    game.biteCount = 0;
    if (!game.agents.empty()) {
        agent& player = game.agents[0];
        player.health = 100;
        player.active = true;
        player.reaction = kReactionNormal;
        player.victim = -1;
        AgentSetAnimation(0, kSlotStandRight);
    }
    HudBarSet(game.healthBar, 100);
    game.fogMeter = 100;
    game.fogForm = false;
    game.fogPhase = kFogPhaseSteady;
    HudBarSet(game.fogBar, 100);
    game.objectiveColumn = -1;
    game.objectiveRow = -1;
    game.vampsPercent = 0;
    game.briefing.clear();
    const int32_t file = DataFileOpen("Bin\\Maps\\Map" + std::to_string(number) + ".map");
    if (file == 0) return false;
    levelReader reader;
    while (!DataFileEof(file)) {
        const std::string line = GameTrim(DataFileReadLine(file));
        if (!line.empty()) ReadLine(line, reader);
    }
    DataFileClose(file);
    return true;
}
