#include "imageTestSupport.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "images/fwkImageGIF.h"
#include "images/fwkImageJPG.h"
#include "platform/platform_system.h"
#include "services/fwkDataFile.h"
#include "services/fwkUtilities.h"

namespace fs = std::filesystem;

namespace {

// Commands quote with double quotes, which both the Linux shell and the Windows command
// interpreter (the Windows build's tests run ImageMagick through Wine) understand.
bool Run(const std::string& command) {
  const int status = std::system(command.c_str());
  EXPECT_EQ(status, 0) << command;
  return status == 0;
}

std::string Key(const std::string& text) {
  std::ostringstream out;
  out << std::hex << std::hash<std::string>{}(text);
  return out.str();
}

bool dataFolderReady = false;

}  // namespace

std::string TestFolder() {
  const std::string folder = (fs::current_path() / "image-test-files").string();
  fs::create_directories(folder);
  return folder;
}

std::string Generated(const std::string& extension, const std::string& command) {
  const std::string path = TestFolder() + "/gen-" + Key(command) + extension;
  if (fs::exists(path)) return path;
  // Parallel test processes may make the same file: each writes its own and renames it in place.
  const std::string temporary =
      TestFolder() + "/tmp-" + std::to_string(getpid()) + "-" + Key(command) + extension;
  // A trailing " # ..." only keys the cache; it is no comment to the Windows command interpreter.
  std::string filled = command.substr(0, command.find(" # "));
  for (size_t at = filled.find("{out}"); at != std::string::npos; at = filled.find("{out}")) {
    filled.replace(at, 5, temporary);
  }
  if (Run(filled) && fs::exists(temporary)) fs::rename(temporary, path);
  return path;
}

std::string SourcePicture(int width, int height, int seed) {
  std::ostringstream command;
  command
      << "/usr/bin/convert -size " << width << "x" << height << " -seed " << seed
      << " plasma:fractal -blur 0x1 \\( -size " << width << "x" << height
      << " gradient:red-blue \\) -compose blend -define compose:args=60 -composite -depth 8 PNG24:{out}";
  return Generated(".png", command.str());
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

std::string PlaceFile(const std::string& name, const std::vector<uint8_t>& bytes) {
  WriteBytes(TestFolder() + "/" + name, bytes);
  return name;
}

uint32_t Picture::At(int x, int y) const {
  const uint8_t* p = rgba.data() + (static_cast<size_t>(y) * width + x) * 4;
  return static_cast<uint32_t>(p[3]) << 24 | static_cast<uint32_t>(p[0]) << 16 |
         static_cast<uint32_t>(p[1]) << 8 | p[2];
}

Picture MagickDecode(const std::string& path) {
  Picture picture;
  // Files written by tests change under the same name: the content is part of the cache key.
  const std::string file = path.substr(0, path.rfind('['));
  const std::vector<uint8_t> bytes = ReadBytes(file);
  const std::string content = " # " + Key(std::string(bytes.begin(), bytes.end()));
  const std::string size =
      Generated(".txt", "/usr/bin/identify -format \"%w %h\" \"" + path + "\" > {out}" + content);
  std::ifstream(size) >> picture.width >> picture.height;
  picture.rgba = ReadBytes(
      Generated(".rgba", "/usr/bin/convert \"" + path + "\" -depth 8 rgba:{out}" + content));
  EXPECT_EQ(picture.rgba.size(), static_cast<size_t>(picture.width) * picture.height * 4) << path;
  return picture;
}

Picture DjpegDecode(const std::string& path) {
  const std::vector<uint8_t> ppm =
      ReadBytes(Generated(".ppm", "/usr/bin/djpeg -pnm -outfile {out} \"" + path + "\""));
  Picture picture;
  std::string text(ppm.begin(), ppm.begin() + std::min<size_t>(ppm.size(), 64));
  std::istringstream header(text);
  std::string magic;
  int maximum = 0;
  header >> magic >> picture.width >> picture.height >> maximum;
  const size_t start = static_cast<size_t>(header.tellg()) + 1;
  const size_t count = static_cast<size_t>(picture.width) * picture.height;
  // Grey pictures come as PGM, one byte per pixel.
  const size_t channels = magic == "P5" ? 1 : 3;
  EXPECT_TRUE(magic == "P5" || magic == "P6");
  EXPECT_EQ(ppm.size(), start + count * channels);
  picture.rgba.resize(count * 4);
  for (size_t i = 0; i < count && start + i * channels + channels - 1 < ppm.size(); ++i) {
    for (size_t c = 0; c < 3; ++c)
      picture.rgba[i * 4 + c] = ppm[start + i * channels + (channels == 3 ? c : 0)];
    picture.rgba[i * 4 + 3] = 255;
  }
  return picture;
}

imageData* OpenInTestFolder(const std::string& name, int32_t first, int32_t count) {
  if (!dataFolderReady) {
    PlatformSetArguments({});
    PlatformSetExecutablePath(TestFolder() + "/sanguor");
    UtilInit();
    DataFileInit();
    ImageJpgInit();
    ImageGifInit();
    ImageInit();
    dataFolderReady = true;
  }
  imageData* image = nullptr;
  ImageAdd(image);
  ImageLoad(name, image, first, count);
  return image;
}

imageData* DecodeBytes(const std::string& name, const std::vector<uint8_t>& bytes, int32_t first,
                       int32_t count) {
  imageData* image = nullptr;
  ImageAdd(image);
  ImageLoadMemory(name, bytes.data(), bytes.size(), image, first, count);
  return image;
}

int CountRgbDifferences(const imageData& frame, const Picture& reference, std::string& where) {
  if (frame.width != reference.width || frame.height != reference.height) {
    where = "size " + std::to_string(frame.width) + "x" + std::to_string(frame.height) +
            " against " + std::to_string(reference.width) + "x" + std::to_string(reference.height);
    return frame.width * frame.height + 1;
  }
  int differences = 0;
  for (int y = 0; y < frame.height; ++y) {
    for (int x = 0; x < frame.width; ++x) {
      const uint32_t ours = frame.pixels[static_cast<size_t>(y) * frame.width + x] & 0xFFFFFF;
      const uint32_t theirs = reference.At(x, y) & 0xFFFFFF;
      if (ours == theirs) continue;
      if (differences++ == 0) {
        char text[96];
        std::snprintf(text, sizeof text, "first at (%d, %d): ours %06X, theirs %06X", x, y, ours,
                      theirs);
        where = text;
      }
    }
  }
  return differences;
}

double PsnrRgb(const imageData& frame, const Picture& reference) {
  double sum = 0;
  const size_t count = frame.pixels.size();
  for (size_t i = 0; i < count; ++i) {
    const uint32_t ours = frame.pixels[i];
    const uint32_t theirs =
        reference.At(static_cast<int>(i % frame.width), static_cast<int>(i / frame.width));
    for (int shift = 0; shift <= 16; shift += 8) {
      const double d =
          static_cast<double>((ours >> shift) & 255) - static_cast<double>((theirs >> shift) & 255);
      sum += d * d;
    }
  }
  const double mse = sum / (3.0 * static_cast<double>(count));
  return mse == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
}

void PutU16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

void PutU32(std::vector<uint8_t>& out, uint32_t value) {
  PutU16(out, value & 0xFFFF);
  PutU16(out, value >> 16);
}

bool IsErrorPicture(const imageData& frame) {
  if (!frame.error || !frame.loaded || frame.width != 16 || frame.height != 16 ||
      frame.pixels.size() != 256)
    return false;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      const bool red = y == 0 || y == 15 || x == 0 || x == 15 || x == y || x == 15 - y;
      if (frame.pixels[y * 16 + x] != (red ? 0x00FF0000u : 0x00FFFFFFu)) return false;
    }
  }
  return true;
}
