#include "textures/TextureTestSupport.h"

#include "graphics/GraphicsTestSupport.h"
#include "graphics/fwkFont.h"
#include "graphics/fwkTexture.h"
#include "platform/platform_system.h"
#include "services/fwkDataFile.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

std::string TextureTestDataFolder() {
  const std::filesystem::path folder =
      std::filesystem::current_path() / ("texture-test-data-" + std::to_string(getpid()));
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  PlatformSetExecutablePath((folder / "sanguor").string());
  DataFileInit();
  return folder.string() + "/";
}

void TextureTestRemoveDataFolder(const std::string& folder) {
  DataFileCloseAll();
  std::filesystem::remove_all(folder);
}

int32_t TextureTestSuiteStart(int32_t width, int32_t height, std::string& dataFolder) {
  GraphicsTestStart();
  FontInit();
  TextureInit();
  dataFolder = TextureTestDataFolder();
  return GraphicsTestOpenDisplay(width, height);
}

void TextureTestSuiteStop(const std::string& dataFolder) {
  GraphicsTestStop();
  TextureTestRemoveDataFolder(dataFolder);
}

void TextureTestWriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void TextureTestWriteTga(const std::string& path, int32_t width, int32_t height, int32_t bits,
                         const std::function<uint32_t(int32_t, int32_t)>& colour) {
  std::string bytes(18, '\0');
  bytes[2] = 2;  // uncompressed true colour
  bytes[12] = static_cast<char>(width & 0xFF);
  bytes[13] = static_cast<char>(width >> 8);
  bytes[14] = static_cast<char>(height & 0xFF);
  bytes[15] = static_cast<char>(height >> 8);
  bytes[16] = static_cast<char>(bits);
  bytes[17] = static_cast<char>(0x20 | (bits == 32 ? 8 : 0));  // top row first
  const size_t channels = bits == 32 ? 4 : 3;
  bytes.resize(18 + static_cast<size_t>(width) * height * channels);
  char* out = bytes.data() + 18;
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) {
      const uint32_t c = colour(x, y);
      *out++ = static_cast<char>(c & 0xFF);
      *out++ = static_cast<char>((c >> 8) & 0xFF);
      *out++ = static_cast<char>((c >> 16) & 0xFF);
      if (channels == 4) *out++ = static_cast<char>(c >> 24);
    }
  TextureTestWriteFile(path, bytes);
}

uint32_t TextureTestPattern(int32_t x, int32_t y) {
  return 0xFF000000u | static_cast<uint32_t>((x * 7 + 20) & 0xFF) << 16 |
         static_cast<uint32_t>((y * 13 + 40) & 0xFF) << 8 |
         static_cast<uint32_t>(((x >> 5) * 50 + (y >> 5) * 90 + 10) & 0xFF);
}

int32_t TextureTestLogCount(const std::string& line) {
  std::istringstream log(GraphicsTestLog());
  int32_t count = 0;
  for (std::string text; std::getline(log, text);) {
    if (!text.empty() && text.back() == '\r') text.pop_back();
    count += text == line;
  }
  return count;
}
