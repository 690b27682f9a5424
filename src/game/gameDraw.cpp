// Drawing a frame of the game: the letterboxed 1280 x 720 picture, the camera that follows the
// player, tiles, agents, the fog cloud and the HUD.
#include <algorithm>

#include "game/gameInternal.h"
#include "graphics/GL.h"
#include "graphics/fwkGraphics.h"
#include "graphics/fwkModel.h"
#include "platform/platform_video.h"
#include "script/fwkScript.h"

namespace {

void WorldProjection(int32_t cameraX, int32_t cameraY) {
  gl.MatrixMode(GL_PROJECTION);
  gl.LoadIdentity();
  gl.Ortho(cameraX, cameraX + kViewWidth, cameraY + kViewHeight, cameraY, -500.0, 500.0);
  gl.MatrixMode(GL_MODELVIEW);
  gl.LoadIdentity();
  gl.Disable(GL_DEPTH_TEST);
  gl.Enable(GL_TEXTURE_2D);
  gl.Enable(GL_BLEND);
}

int32_t Camera(int32_t position, int32_t offset, int32_t view, int32_t worldSize) {
  const int32_t camera = position - offset;
  if (camera < 0) return 0;
  if (camera + view >= worldSize) return worldSize - view;
  return camera;
}

// Cells outside the camera's picture are left out: a software renderer pays for every model
// it is given, even one it clips away entirely.
bool InView(const model* image, int32_t cameraX, int32_t cameraY) {
  return ModelMayCover(image, static_cast<float>(cameraX), static_cast<float>(cameraY),
                       static_cast<float>(cameraX + kViewWidth),
                       static_cast<float>(cameraY + kViewHeight));
}

// A figure is left out when its picture lies outside the camera's and so does its mark, a
// character of the game's font drawn kMarkHeight above its feet; the margin holds any glyph.
bool AgentInView(const agent& a, int32_t cameraX, int32_t cameraY) {
  constexpr int32_t kMarkMargin = 256;
  if (a.x >= cameraX - kMarkMargin && a.x <= cameraX + kViewWidth + kMarkMargin &&
      a.y >= cameraY - kMarkMargin && a.y <= cameraY + kViewHeight + kMarkMargin + kMarkHeight)
    return true;
  if (a.currentAnimation < 0 || static_cast<size_t>(a.currentAnimation) >= a.cycles.size())
    return false;
  const cycle& c = a.cycles[static_cast<size_t>(a.currentAnimation)];
  if (a.currentFrame < 0 || static_cast<size_t>(a.currentFrame) >= c.frames.size()) return false;
  return InView(c.frames[static_cast<size_t>(a.currentFrame)].image, cameraX, cameraY);
}

}  // namespace

void MapViewport(int32_t windowWidth, int32_t windowHeight, int32_t& x, int32_t& y, int32_t& width,
                 int32_t& height) {
  if (windowWidth <= 0 || windowHeight <= 0) {
    windowWidth = kViewWidth;
    windowHeight = kViewHeight;
  }
  // The picture keeps its shape: it fills the width or the height, and black bars take the rest.
  if (static_cast<int64_t>(windowWidth) * kViewHeight <=
      static_cast<int64_t>(windowHeight) * kViewWidth) {
    width = windowWidth;
    height = static_cast<int32_t>(static_cast<int64_t>(windowWidth) * kViewHeight / kViewWidth);
  } else {
    height = windowHeight;
    width = static_cast<int32_t>(static_cast<int64_t>(windowHeight) * kViewWidth / kViewHeight);
  }
  x = (windowWidth - width) / 2;
  y = (windowHeight - height) / 2;
}

void MapDraw(bool present) {
  gameData& game = Game();
  GraphicsRenderBegin(game.display);
  const platformRect client = PlatformWindowClientRect(GraphicsDisplayWindow(game.display));
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
  MapViewport(client.width, client.height, x, y, width, height);
  gl.Viewport(x, y, width, height);

  const mapData& map = game.map;
  const agent* player = game.agents.empty() ? nullptr : &game.agents[0];
  const int32_t cameraX = Camera(player ? player->x : 0, 640, kViewWidth, map.columns * kTileSize);
  const int32_t cameraY = Camera(player ? player->y : 0, 296, kViewHeight, map.rows * kTileSize);
  WorldProjection(cameraX, cameraY);

  for (int32_t row = 1; row <= map.rows; ++row) {
    for (int32_t column = 1; column <= map.columns; ++column) {
      const int32_t index = map.cells[static_cast<size_t>((column - 1) * kGridSize + row - 1)];
      if (index < 0 || index >= static_cast<int32_t>(map.tiles.size())) continue;
      const tileDefinition& tile = map.tiles[static_cast<size_t>(index)];
      if (tile.type == kTileUndefined) continue;
      ModelSetPosition(tile.image, static_cast<float>((column - 1) * kTileSize),
                       static_cast<float>((row - 1) * kTileSize), -5.0f);
      if (InView(tile.image, cameraX, cameraY)) ModelDraw(tile.image);
    }
  }
  for (const agent& a : game.agents)
    if (AgentInView(a, cameraX, cameraY)) AgentDraw(a);
  // The cloud is the sign of fog form, so it shows only while fog form lasts.
  if (game.fogForm) AgentDraw(game.fog);

  GraphicsSet2D(kViewWidth, kViewHeight);
  ModelDraw(game.healthBar);
  ModelDraw(game.healthIcon);
  if (PlayerVampireNubileExists()) {
    ModelDraw(game.fogBar);
    ModelDraw(game.fogIcon);
  }
  ScriptDraw(game.scriptId);
  if (present) GraphicsRenderEnd(game.display);
}
