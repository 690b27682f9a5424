// The launcher appearance of the main window: the arched outline, the background picture and
// six image buttons that stay hidden in this program.
#include "images/fwkImage.h"
#include "platform/platform.h"
#include "shell/LauncherOutline.h"
#include "shell/UntMain.h"

#include <algorithm>

namespace {

constexpr char kBackgroundFile[] = "Launcher.bmp";

// Stand-in button pictures: one flat colour per state (inactive, normal, mouse over).
launcherImageList ButtonPictures(int32_t width, int32_t height) {
  launcherImageList list;
  list.width = width;
  list.height = height;
  for (uint32_t colour : {0x404040u, 0x801018u, 0xE02030u})
    list.pictures.emplace_back(static_cast<size_t>(width) * height, colour);
  return list;
}

void Place(launcherImage& image, int32_t left, int32_t top, int32_t width, int32_t height) {
  image.left = left;
  image.top = top;
  image.width = width;
  image.height = height;
}

void MakeButton(launcherImage& image) {
  image.visible = false;
  image.enabled = false;
  image.tag = -1;
}

std::vector<uint32_t> LoadBackground() {
  std::vector<uint32_t> pixels(static_cast<size_t>(kLauncherWidth) * kLauncherHeight, 0);
  imageData* image = nullptr;
  ImageOpen(kBackgroundFile, image);
  if (image != nullptr && image->error == 0) {
    const int32_t width = std::min(image->width, kLauncherWidth);
    const int32_t height = std::min(image->height, kLauncherHeight);
    for (int32_t y = 0; y < height; ++y)
      for (int32_t x = 0; x < width; ++x)
        pixels[static_cast<size_t>(y) * kLauncherWidth + x] =
            image->pixels[static_cast<size_t>(y) * image->width + x] & 0x00FFFFFFu;
  }
  ImageFree(image);
  return pixels;
}

}  // namespace

void TmainForm::LauncherCreateComponents() {
  imgBackground.picture = LoadBackground();
  imgListInstallGame = ButtonPictures(201, 41);
  imgListPlayGame = ButtonPictures(201, 41);
  imgListCases = ButtonPictures(89, 25);
  imgListManual = ButtonPictures(89, 25);
  imgListUninstall = ButtonPictures(89, 25);
  imgListExit = ButtonPictures(89, 25);
  for (launcherImage* button :
       {&imgPlay, &imgInstall, &imgCases, &imgManual, &imgUninstall, &imgExit})
    MakeButton(*button);
  // Later declarations lie in front of earlier ones.
  zOrder = {&imgExit, &imgUninstall, &imgManual, &imgCases, &imgInstall, &imgPlay, &imgBackground};
}

void TmainForm::MainInterfaceDrawRegions() {
  const std::vector<launcherPoint> outline = LauncherOutline();
  windowRegion.clear();
  for (const launcherPoint& point : outline) windowRegion.push_back({point.x, point.y});
  // A size change of a window not yet shaped keeps SDL on X11 from placing it: change only
  // what differs.
  const platformRect client = PlatformWindowClientRect(handle_);
  if (client.width != kLauncherWidth || client.height != kLauncherHeight)
    PlatformWindowSetClientSize(handle_, kLauncherWidth, kLauncherHeight);
  Place(imgBackground, 0, 0, kLauncherWidth, kLauncherHeight);
  Place(imgPlay, 80, 264, imgListPlayGame.width, imgListPlayGame.height);
  Place(imgInstall, 80, 264, 201, 41);
  Place(imgCases, 80, 320, 89, 25);
  Place(imgManual, 192, 320, 89, 25);
  Place(imgUninstall, 80, 360, 89, 25);
  Place(imgExit, 192, 360, 89, 25);
  PlatformWindowSetShape(handle_, windowRegion);
  // Centred on the screen, once shaped (SDL places a shaped window only when it gets its shape).
  const platformRect screen = PlatformMonitorRect(MainGetPrimaryMonitorId());
  PlatformWindowSetPosition(handle_, screen.left + (screen.width - kLauncherWidth) / 2,
                            screen.top + (screen.height - kLauncherHeight) / 2);
  LauncherRepaint();
}

void TmainForm::MainInterfaceMouseMove(uint32_t buttons, int32_t, int32_t) {
  // The platform's drag follows the mouse from where it started until the button is released;
  // starting it again on every move would pin the window where the mouse is now.
  const bool leftDown = (buttons & PlatformMouseBit(PLATFORM_MOUSE_LEFT)) != 0;
  if (leftDown && !dragging_) PlatformWindowBeginDrag(handle_);
  dragging_ = leftDown;
  MainInterfaceUpdateButtons();
}

void TmainForm::MainInterfaceUpdateButtons() {}

void TmainForm::MainInterfaceAddPointer() {}

bool TmainForm::MainInterfaceMouseInImage(int32_t x, int32_t y, const launcherImage& image) const {
  return image.left <= x && x <= image.left + image.width - 1 && image.top <= y &&
         y <= image.top + image.height - 1;
}

void TmainForm::MainInterfaceSetButtonImage(launcherImage& image, const launcherImageList& list,
                                            int32_t index) {
  if (index == image.tag) return;
  // An index the list does not hold shows nothing rather than reading past the list.
  if (index >= 0 && index < static_cast<int32_t>(list.pictures.size()))
    image.picture = list.pictures[static_cast<size_t>(index)];
  else
    image.picture.clear();
  std::erase(zOrder, &image);
  zOrder.insert(zOrder.begin(), &image);
  image.tag = index;
  image.enabled = index == 2;
  LauncherRepaint();
}

// Composes the visible images back to front and hands the result to the window.
void TmainForm::LauncherRepaint() {
  if (handle_ == 0) return;
  std::vector<uint32_t> canvas(static_cast<size_t>(kLauncherWidth) * kLauncherHeight, 0);
  for (auto image = zOrder.rbegin(); image != zOrder.rend(); ++image) {
    const launcherImage& source = **image;
    if (!source.visible ||
        source.picture.size() < static_cast<size_t>(source.width) * source.height)
      continue;
    for (int32_t y = 0; y < source.height; ++y)
      for (int32_t x = 0; x < source.width; ++x) {
        const int32_t cx = source.left + x, cy = source.top + y;
        if (cx < 0 || cy < 0 || cx >= kLauncherWidth || cy >= kLauncherHeight) continue;
        canvas[static_cast<size_t>(cy) * kLauncherWidth + cx] =
            source.picture[static_cast<size_t>(y) * source.width + x];
      }
  }
  PlatformWindowSetPicture(handle_, kLauncherWidth, kLauncherHeight, canvas);
}
