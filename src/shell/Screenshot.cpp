#include "shell/Screenshot.h"

#include "platform/platform_system.h"
#include "services/fwkLog.h"
#include "services/fwkUtilities.h"
#include "shell/BmpHeader.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>

namespace {

// Far more than any folder will hold; the bound only keeps a hostile folder from stalling us.
constexpr int32_t kMaxNumber = 1000000;

using fileHandle = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

std::vector<uint8_t> EncodeBmp(const std::vector<screenshotPart>& parts) {
  int64_t width = 0;
  int32_t height = 0;
  for (const screenshotPart& part : parts) {
    width += std::max(0, part.width);
    height = std::max(height, part.height);
  }
  const uint32_t rowBytes = static_cast<uint32_t>((width * 3 + 3) & ~int64_t{3});
  const uint32_t imageBytes = rowBytes * static_cast<uint32_t>(height);
  std::vector<uint8_t> out;
  out.reserve(54 + imageBytes);
  BmpAppendHeader(out, static_cast<uint32_t>(width), static_cast<uint32_t>(height));
  // BMP rows run bottom-up.
  for (int32_t y = height - 1; y >= 0; --y) {
    const size_t rowStart = out.size();
    for (const screenshotPart& part : parts) {
      const bool covered =
          y < part.height && part.pixels.size() >= static_cast<size_t>(part.width) * part.height;
      for (int32_t x = 0; x < part.width; ++x) {
        const uint32_t pixel = covered ? part.pixels[static_cast<size_t>(y) * part.width + x] : 0;
        out.push_back(static_cast<uint8_t>(pixel));
        out.push_back(static_cast<uint8_t>(pixel >> 8));
        out.push_back(static_cast<uint8_t>(pixel >> 16));
      }
    }
    out.resize(rowStart + rowBytes, 0);
  }
  return out;
}

}  // namespace

std::string ScreenshotSave(const std::vector<screenshotPart>& parts) {
  const std::string separator(1, PlatformPathSeparator());
  const std::string folder = UtilUserDataFolder() + "screenshots" + separator;
  const std::string base = folder + "screenshot";
  if (!PlatformDirectoryExists(folder) && !PlatformCreateDirectory(folder)) {
    LogError("mainForm.MainDisplayScreenshot - Unable to create directory \"" + folder +
             "\" for screenshots.");
    return "";
  }
  // Exclusive creation claims a number atomically and refuses any existing entry, even one
  // we could not open (a dangling link, a file without read access, a folder).
  fileHandle file(nullptr, std::fclose);
  std::string name;
  for (int32_t n = 1; n <= kMaxNumber && !file; ++n) {
    name = base + std::to_string(n) + ".bmp";
    file.reset(PlatformCreateNewFile(name));
    if (!file && errno != EEXIST) break;
  }
  if (!file) {
    LogError("mainForm.MainDisplayScreenshot - Unable to create file \"" + name + "\".");
    return "";
  }
  const std::vector<uint8_t> bytes = EncodeBmp(parts);
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
  if (std::fclose(file.release()) != 0 || !written) {
    LogError("mainForm.MainDisplayScreenshot - Unable to write file \"" + name + "\".");
    return "";
  }
  return name;
}
