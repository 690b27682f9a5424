#include "platform/common/polygon_winding.h"
#include "platform/sdl/video/sdl_video_state.h"

namespace {

// The outline as an alpha mask of the window's client size, for the window system's shape.
void ApplyShape(sdlWindowRecord& record) {
  if (VideoState().headless || !SDL_IsShapedWindow(record.sdl) || record.outline.empty()) {
    return;
  }
  SDL_Surface* mask =
      SDL_CreateRGBSurfaceWithFormat(0, record.width, record.height, 32, SDL_PIXELFORMAT_RGBA32);
  if (mask == nullptr) {
    SdlSetError(SDL_GetError());
    return;
  }
  for (int32_t y = 0; y < record.height; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(mask->pixels) + y * mask->pitch);
    for (int32_t x = 0; x < record.width; ++x) {
      row[x] = PolygonWindingContains(record.outline, x + 0.5, y + 0.5) ? 0xFFFFFFFFu : 0u;
    }
  }
  SDL_WindowShapeMode mode;
  mode.mode = ShapeModeBinarizeAlpha;
  mode.parameters.binarizationCutoff = 128;
  if (SDL_SetWindowShape(record.sdl, mask, &mode) != 0) {
    SdlSetError(SDL_GetError());
  }
  SDL_FreeSurface(mask);
}

}  // namespace

void PlatformWindowSetShape(platformWindow window, const std::vector<platformPoint>& outline) {
  sdlWindowRecord* record = SdlWindowRecord(window);
  if (record == nullptr) {
    return;
  }
  record->outline = outline.size() >= 3 ? outline : std::vector<platformPoint>{};
  ApplyShape(*record);
}
