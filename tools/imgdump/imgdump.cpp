// imgdump FILE [OUT.pam]: decodes an image file exactly as the program does and tells what the
// engine sees: one line per frame, and optionally the frames as PAM files (frame 1 to OUT.pam,
// frame k > 1 to OUT-k.pam, RGB_ALPHA with the pixel's top byte as alpha).
// Exit code 0 when a frame was decoded, 1 for the error picture or nothing.
#include <cstdio>
#include <string>
#include <vector>

#include "images/fwkImage.h"
#include "images/fwkImageGIF.h"
#include "images/fwkImageJPG.h"
#include "platform/platform_system.h"
#include "services/fwkDataFile.h"
#include "services/fwkUtilities.h"

namespace {

bool WritePam(const std::string& path, const imageData& frame) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  std::fprintf(file, "P7\nWIDTH %d\nHEIGHT %d\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n",
               frame.width, frame.height);
  std::vector<uint8_t> row(static_cast<size_t>(frame.width) * 4);
  bool ok = true;
  for (int32_t y = 0; y < frame.height && ok; ++y) {
    for (int32_t x = 0; x < frame.width; ++x) {
      const uint32_t p = frame.pixels[static_cast<size_t>(y) * frame.width + x];
      row[x * 4 + 0] = static_cast<uint8_t>(p >> 16);
      row[x * 4 + 1] = static_cast<uint8_t>(p >> 8);
      row[x * 4 + 2] = static_cast<uint8_t>(p);
      row[x * 4 + 3] = static_cast<uint8_t>(p >> 24);
    }
    ok = std::fwrite(row.data(), 1, row.size(), file) == row.size();
  }
  return std::fclose(file) == 0 && ok;
}

std::string FramePath(const std::string& out, int index) {
  if (index == 1) return out;
  const size_t dot = out.rfind('.');
  const size_t slash = out.rfind('/');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  const std::string stem = hasExtension ? out.substr(0, dot) : out;
  const std::string extension = hasExtension ? out.substr(dot) : "";
  return stem + "-" + std::to_string(index) + extension;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: imgdump FILE [OUT.pam]\n");
    return 2;
  }
  // The file's folder becomes the data folder, so the file is read as the program reads content.
  const std::string path = argv[1];
  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  PlatformSetArguments({});
  PlatformSetExecutablePath(folder + "/imgdump");
  UtilInit();
  DataFileInit();
  ImageJpgInit();
  ImageGifInit();
  ImageInit();

  imageData* image = nullptr;
  ImageOpen(name, image);
  bool decoded = false;
  bool written = true;
  int index = 0;
  for (const imageData* frame = image; frame != nullptr; frame = frame->next) {
    ++index;
    if (!frame->loaded && frame->width == 0) continue;
    std::printf("width=%d height=%d bpp=%d frame=%d error=%d\n", frame->width, frame->height,
                frame->bitsPerPixel, frame->frameNumber, frame->error);
    if (!frame->error && frame->width > 0 && frame->height > 0) decoded = true;
    if (argc == 3 && frame->width > 0 && frame->height > 0 &&
        !WritePam(FramePath(argv[2], index), *frame)) {
      std::fprintf(stderr, "imgdump: cannot write %s\n", FramePath(argv[2], index).c_str());
      written = false;
    }
  }
  if (index == 0 ||
      (image != nullptr && !image->loaded && image->width == 0 && image->next == nullptr)) {
    std::fprintf(stderr, "imgdump: nothing decoded from %s\n", path.c_str());
  }
  ImageFree(image);
  DataFileCloseAll();
  return decoded && written ? 0 : 1;
}
