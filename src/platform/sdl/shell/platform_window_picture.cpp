// Pictures in windows without OpenGL, drawn through the window's SDL surface. Window handles
// of the SDL backend are SDL window ids.
#include "platform/common/shell/native_shell.h"
#include "platform/platform_system.h"

#include <SDL.h>

void NativePaintPicture(platformWindow window, const windowPicture& picture) {
  if (PlatformHeadless()) return;
  SDL_Window* sdl = SDL_GetWindowFromID(static_cast<Uint32>(window));
  if (sdl == nullptr) return;
  // The window system's own framebuffer: an accelerated one would put an SDL renderer (with an
  // OpenGL context of its own) on a window the video part may already have used for OpenGL.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  SDL_Surface* target = SDL_GetWindowSurface(sdl);
  if (target == nullptr) return;
  SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(
      const_cast<uint32_t*>(picture.pixels.data()), picture.width, picture.height, 32,
      picture.width * 4, SDL_PIXELFORMAT_RGB888);
  if (source == nullptr) return;
  SDL_BlitSurface(source, nullptr, target, nullptr);
  SDL_FreeSurface(source);
  SDL_UpdateWindowSurface(sdl);
}
