#include "resultScreen.h"

#include <cstdint>
#include <cstdlib>

#include "images/fwkImage.h"
#include "services/fwkDataFile.h"
#include "services/fwkUtilities.h"

namespace {

constexpr int32_t kWidth = 1280;
constexpr int32_t kHeight = 720;
constexpr size_t kHeaderSize = 54;
constexpr int32_t kTolerance = 8;
constexpr double kShown = 0.95;

uint32_t ShotPixel(const std::string& shot, int32_t x, int32_t y) {
  const size_t at =
      kHeaderSize + 3 * (static_cast<size_t>(kHeight - 1 - y) * kWidth + static_cast<size_t>(x));
  const auto byte = [&](size_t i) {
    return static_cast<uint32_t>(static_cast<uint8_t>(shot[at + i]));
  };
  return byte(2) << 16 | byte(1) << 8 | byte(0);
}

bool Close(uint32_t a, uint32_t b) {
  for (int shift = 0; shift < 24; shift += 8)
    if (std::abs(static_cast<int32_t>((a >> shift) & 255) -
                 static_cast<int32_t>((b >> shift) & 255)) > kTolerance)
      return false;
  return true;
}

}  // namespace

double ResultPictureShown(const std::string& shot, const std::string& picturePath) {
  if (shot.size() != kHeaderSize + 3u * kWidth * kHeight) return 0.0;
  UtilInit();
  DataFileInit();
  ImageInit();
  imageData* picture = nullptr;
  ImageOpen(picturePath, picture);
  double shown = 0.0;
  if (picture != nullptr && picture->error == 0 && picture->width > 0 && picture->width <= kWidth &&
      picture->height > 0 && picture->height <= kHeight) {
    const int32_t left = (kWidth - picture->width) / 2;
    const int32_t top = (kHeight - picture->height) / 2;
    int32_t opaque = 0;
    int32_t matching = 0;
    for (int32_t y = 0; y < picture->height; ++y) {
      for (int32_t x = 0; x < picture->width; ++x) {
        const uint32_t want =
            picture->pixels[static_cast<size_t>(y) * static_cast<size_t>(picture->width) +
                            static_cast<size_t>(x)];
        if (want >> 24 != 255) continue;
        ++opaque;
        if (Close(want, ShotPixel(shot, left + x, top + y))) ++matching;
      }
    }
    shown = opaque == 0 ? 0.0 : static_cast<double>(matching) / opaque;
  }
  ImageFree(picture);
  return shown;
}

std::string ResultScreenOf(const std::string& shot, const std::string& contentFolder) {
  if (ResultPictureShown(shot, contentFolder + "/Bin/Sprites/You Win.tga") >= kShown) return "won";
  if (ResultPictureShown(shot, contentFolder + "/Bin/Sprites/You Are Dead.tga") >= kShown)
    return "died";
  return "";
}
