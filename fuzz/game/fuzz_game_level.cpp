// The level reader on arbitrary level files, with the player in place as in a game.
#include <cstdlib>

#include "GameFuzzFolder.h"
#include "game/UntGameTesting.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  GameFuzzWrite("Bin\\Maps\\Map1.map", data, size);
  gameData& game = Game();
  if (game.agents.empty()) AgentAdd("Dracula");
  if (!MapLoadLevel(1)) std::abort();
  const mapData& map = game.map;
  if (map.columns < 0 || map.columns > kMaxColumns || map.rows < 0 || map.rows > kMaxRows)
    std::abort();
  for (int32_t cell : map.cells)
    if (cell < -1 || cell >= static_cast<int32_t>(map.tiles.size())) std::abort();
  if (game.vampsPercent < 0 || game.vampsPercent > 100) std::abort();
  // Every figure can take a step anywhere without reading outside the grid.
  for (size_t i = 0; i < game.agents.size(); ++i) {
    AgentStep(static_cast<int32_t>(i), 10, false, true);
    AgentStep(static_cast<int32_t>(i), -10, true, false);
  }
  // What the level made goes with it, so libFuzzer's leak check sees nothing held over.
  MapClear();
  while (game.agents.size() > 1) AgentRemove(static_cast<int32_t>(game.agents.size()) - 1);
  return 0;
}
