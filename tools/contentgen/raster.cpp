#include "raster.h"

#include <fstream>

Raster::Raster(int w, int h, Rgba fill)
    : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill) {}

Raster RasterScale(const Raster& source, int factor) {
  Raster result(source.width * factor, source.height * factor);
  for (int y = 0; y < result.height; ++y)
    for (int x = 0; x < result.width; ++x) result.at(x, y) = source.at(x / factor, y / factor);
  return result;
}

Raster RasterMirror(const Raster& source) {
  Raster result(source.width, source.height);
  for (int y = 0; y < source.height; ++y)
    for (int x = 0; x < source.width; ++x) result.at(source.width - 1 - x, y) = source.at(x, y);
  return result;
}

void RasterBlend(Raster& target, const Raster& source, int x, int y) {
  for (int sy = 0; sy < source.height; ++sy)
    for (int sx = 0; sx < source.width; ++sx) {
      const int tx = x + sx, ty = y + sy;
      if (!target.inside(tx, ty)) continue;
      const Rgba s = source.at(sx, sy);
      if (s.a == 0) continue;
      Rgba& t = target.at(tx, ty);
      const int outA = s.a + t.a * (255 - s.a) / 255;
      auto mix = [&](uint8_t sc, uint8_t tc) {
        return static_cast<uint8_t>((sc * s.a + tc * t.a * (255 - s.a) / 255) / outA);
      };
      t = {mix(s.r, t.r), mix(s.g, t.g), mix(s.b, t.b), static_cast<uint8_t>(outA)};
    }
}

std::vector<uint8_t> RasterTgaBytes(const Raster& image, int bits) {
  std::vector<uint8_t> bytes(18, 0);
  bytes[2] = 2;
  bytes[12] = static_cast<uint8_t>(image.width & 0xFF);
  bytes[13] = static_cast<uint8_t>(image.width >> 8);
  bytes[14] = static_cast<uint8_t>(image.height & 0xFF);
  bytes[15] = static_cast<uint8_t>(image.height >> 8);
  const bool alpha = bits != 24;
  bytes[16] = alpha ? 32 : 24;
  // Top-left origin: readers that honour the descriptor and the game's reader (which always
  // takes rows top down) then agree.
  bytes[17] = alpha ? 0x28 : 0x20;
  bytes.reserve(bytes.size() + image.pixels.size() * 4);
  for (const Rgba& p : image.pixels) {
    bytes.push_back(p.b);
    bytes.push_back(p.g);
    bytes.push_back(p.r);
    if (alpha) bytes.push_back(p.a);
  }
  return bytes;
}

bool RasterWriteTga(const Raster& image, const std::string& path, int bits) {
  const std::vector<uint8_t> bytes = RasterTgaBytes(image, bits);
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}
