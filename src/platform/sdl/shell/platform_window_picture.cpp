// Pictures in windows without OpenGL, drawn through the window's SDL surface. Window handles
// of the SDL backend are SDL window ids.
#include "platform/platform_shell.h"
#include "platform/platform_system.h"

#include <SDL.h>

#include <map>

namespace {

struct windowPicture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels;
};

std::map<platformWindow, windowPicture> pictures;

void Paint(platformWindow window, const windowPicture& picture) {
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

}  // namespace

void PlatformWindowSetPicture(platformWindow window, int32_t width, int32_t height,
                              const std::vector<uint32_t>& pixels) {
    if (width <= 0 || height <= 0 || pixels.size() < static_cast<size_t>(width) * static_cast<size_t>(height)) {
        pictures.erase(window);
        return;
    }
    windowPicture& picture = pictures[window];
    picture.width = width;
    picture.height = height;
    picture.pixels.assign(pixels.begin(), pixels.begin() + static_cast<std::ptrdiff_t>(width) * height);
    Paint(window, picture);
}

void PlatformWindowPaintPicture(platformWindow window) {
    const auto found = pictures.find(window);
    if (found != pictures.end()) Paint(window, found->second);
}

bool PlatformWindowPicture(platformWindow window, int32_t& width, int32_t& height, std::vector<uint32_t>& pixels) {
    const auto found = pictures.find(window);
    if (found == pictures.end()) return false;
    width = found->second.width;
    height = found->second.height;
    pixels = found->second.pixels;
    return true;
}
