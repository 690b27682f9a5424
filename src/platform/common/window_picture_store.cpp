#include "platform/common/window_picture_store.h"

#include <map>

namespace {

std::map<platformWindow, windowPicture> pictures;

}  // namespace

const windowPicture* WindowPictureKeep(platformWindow window, int32_t width, int32_t height,
                                       const std::vector<uint32_t>& pixels) {
  if (width <= 0 || height <= 0 ||
      pixels.size() / static_cast<size_t>(width) < static_cast<size_t>(height)) {
    pictures.erase(window);
    return nullptr;
  }
  windowPicture& picture = pictures[window];
  picture.width = width;
  picture.height = height;
  picture.pixels.assign(pixels.begin(),
                        pixels.begin() + static_cast<std::ptrdiff_t>(width) * height);
  return &picture;
}

const windowPicture* WindowPictureFind(platformWindow window) {
  const auto found = pictures.find(window);
  return found == pictures.end() ? nullptr : &found->second;
}

bool PlatformWindowPicture(platformWindow window, int32_t& width, int32_t& height,
                           std::vector<uint32_t>& pixels) {
  const windowPicture* picture = WindowPictureFind(window);
  if (picture == nullptr) return false;
  width = picture->width;
  height = picture->height;
  pixels = picture->pixels;
  return true;
}
