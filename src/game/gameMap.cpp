// Level files and the tile grid: clearing, reading a level and looking up cells.
#include <algorithm>

#include "game/gameInternal.h"
#include "game/gameStep.h"
#include "game/gameLevelRead.h"
#include "graphics/fwkModel.h"
#include "graphics/fwkModelImage.h"
#include "services/fwkDataFile.h"

namespace {

// The record's numbers are the game's own.
static_assert(kLevelUndefined == kTileUndefined && kLevelBlock == kTileBlock &&
              kLevelBlockNpc == kTileBlockNpc && kLevelLeft == kTileLeft &&
              kLevelRight == kTileRight && kLevelSpace == kTileSpace);
static_assert(kLevelTile == kTileSize && kLevelGrid == kGridSize &&
              kLevelMaxColumns == kMaxColumns && kLevelMaxRows == kMaxRows);

// The whole file; false when it cannot be opened.
bool ReadLevelText(const std::string& path, std::string& text) {
  const int32_t file = DataFileOpen(path);
  if (file == 0) return false;
  text.assign(static_cast<size_t>(std::max(DataFileSize(file), 0)), '\0');
  const int32_t read =
      text.empty() ? 0 : DataFileReadPartial(file, text.data(), static_cast<int32_t>(text.size()));
  text.resize(static_cast<size_t>(std::max(read, 0)));
  DataFileClose(file);
  return true;
}

void LoadHumanType(int32_t index, const std::string& type) {
  Game().agents[static_cast<size_t>(index)].type = type;
  for (int32_t slot = 0; slot < static_cast<int32_t>(kLevelHumanSheets.size()); ++slot)
    AgentLoadAnimation(index, slot,
                       "Bin\\Sprites\\" + type + kLevelHumanSheets[static_cast<size_t>(slot)]);
  AgentSetAnimation(index, kSlotStandLeft);
}

void AddHuman(const levelHuman& human) {
  gameData& game = Game();
  const int32_t index = AgentAdd("NPC " + std::to_string(game.agents.size()));
  if (index < 0) return;
  for (const levelHumanType& type : human.types) LoadHumanType(index, type.name);
  agent& added = game.agents[static_cast<size_t>(index)];
  if (human.located) {
    AgentMove(added, human.x, human.y);
    added.spawnX = added.x;
    added.spawnY = added.y;
  }
  added.objective = human.objective;
}

// Builds the map and the figures from the level read; the tile pictures were opened while
// reading.
void ApplyLevel(const levelData& level, const std::vector<model*>& pictures) {
  gameData& game = Game();
  mapData& map = game.map;
  map.tiles.resize(level.tiles.size());
  for (size_t i = 0; i < level.tiles.size(); ++i)
    map.tiles[i] = {level.tiles[i].type, i < pictures.size() ? pictures[i] : nullptr};
  map.cells = level.cells;
  map.columns = level.columns;
  map.rows = level.rows;
  game.briefing = level.briefing;
  game.objectiveColumn = level.objectiveColumn;
  game.objectiveRow = level.objectiveRow;
  game.vampsPercent = level.vampsPercent;
  if (level.playerPlaced && !game.agents.empty()) {
    agent& player = game.agents[0];
    AgentMove(player, level.playerX - player.x, level.playerY - player.y);
  }
  for (const levelHuman& human : level.humans) AddHuman(human);
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

int32_t MapCellOf(int32_t coordinate) { return LevelCellOf(coordinate); }

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
  game.walked = 0;
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
  std::string text;
  if (!ReadLevelText("Bin\\Maps\\Map" + std::to_string(number) + ".map", text)) return false;
  std::vector<model*> pictures;
  const levelData level = LevelReadText(text, [&](int32_t tile, const std::string& path) {
    model* image = ModelOpenImage(game.display, path, false);
    if (image == nullptr) return false;
    pictures.resize(static_cast<size_t>(tile));
    pictures.back() = image;
    return true;
  });
  ApplyLevel(level, pictures);
  return true;
}
