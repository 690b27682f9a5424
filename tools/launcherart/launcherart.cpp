// Draws the launcher's 360 x 405 background: a night sky under the arched top, the moon, a
// castle on a hill and the title, framed along the window outline. Deterministic, so every
// build writes the same file.
#include "shell/BmpHeader.h"
#include "shell/LauncherOutline.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct rgb {
  uint8_t r, g, b;
};

class Canvas {
 public:
  Canvas() : pixels_(kLauncherWidth * kLauncherHeight, rgb{0, 0, 0}) {}
  bool Inside(int x, int y) const {
    return x >= 0 && x < kLauncherWidth && y >= 0 && y < kLauncherHeight && y >= LauncherArchTop(x);
  }
  void Set(int x, int y, rgb c) {
    if (Inside(x, y)) pixels_[y * kLauncherWidth + x] = c;
  }
  rgb Get(int x, int y) const { return pixels_[y * kLauncherWidth + x]; }
  void FillRect(int x0, int y0, int x1, int y1, rgb c) {
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) Set(x, y, c);
  }

 private:
  std::vector<rgb> pixels_;
};

rgb Mix(rgb a, rgb b, double t) {
  auto lerp = [t](uint8_t p, uint8_t q) {
    return static_cast<uint8_t>(std::lround(p + (q - p) * t));
  };
  return {lerp(a.r, b.r), lerp(a.g, b.g), lerp(a.b, b.b)};
}

void DrawSky(Canvas& canvas) {
  const rgb top{8, 6, 30};
  const rgb horizon{92, 14, 24};
  for (int y = 0; y < kLauncherHeight; ++y)
    for (int x = 0; x < kLauncherWidth; ++x)
      canvas.Set(x, y, Mix(top, horizon, static_cast<double>(y) / kLauncherHeight));
  uint32_t seed = 0x5A17u;
  for (int i = 0; i < 90; ++i) {
    seed = seed * 1103515245u + 12345u;
    const int x = static_cast<int>((seed >> 8) % kLauncherWidth);
    seed = seed * 1103515245u + 12345u;
    const int y = static_cast<int>((seed >> 8) % 230);
    const uint8_t light = static_cast<uint8_t>(150 + (seed >> 24) % 100);
    canvas.Set(x, y, {light, light, static_cast<uint8_t>(std::min(255, light + 20))});
  }
}

void DrawMoon(Canvas& canvas) {
  const double cx = 262, cy = 150, radius = 34;
  for (int y = 100; y < 200; ++y)
    for (int x = 210; x < 320; ++x) {
      const double d = std::hypot(x - cx, y - cy);
      if (d <= radius) {
        const double shade = 0.75 + 0.25 * ((cx - x) + (cy - y)) / (2 * radius);
        const auto v = static_cast<uint8_t>(std::clamp(235.0 * shade, 0.0, 255.0));
        canvas.Set(x, y, {v, v, static_cast<uint8_t>(v * 0.85)});
      } else if (d <= radius + 6) {
        canvas.Set(x, y, Mix(canvas.Get(x, y), {200, 190, 160}, 0.25 * (radius + 6 - d) / 6));
      }
    }
}

void DrawCastle(Canvas& canvas) {
  const rgb dark{6, 4, 10};
  for (int x = 0; x < kLauncherWidth; ++x) {
    const int hill = 250 + static_cast<int>(18 * std::cos((x - 120) / 70.0));
    canvas.FillRect(x, hill, x + 1, kLauncherHeight, dark);
  }
  canvas.FillRect(60, 190, 200, 260, dark);
  canvas.FillRect(48, 150, 82, 260, dark);
  canvas.FillRect(178, 160, 210, 260, dark);
  canvas.FillRect(112, 125, 140, 200, dark);
  for (int x = 48; x < 82; x += 8) canvas.FillRect(x, 142, x + 5, 150, dark);
  for (int x = 178; x < 210; x += 8) canvas.FillRect(x, 152, x + 5, 160, dark);
  for (int y = 0; y < 30; ++y) canvas.FillRect(126 - y / 2, 95 + y, 127 + y / 2, 96 + y, dark);
  const rgb window{230, 170, 60};
  canvas.FillRect(61, 175, 65, 183, window);
  canvas.FillRect(190, 182, 194, 190, window);
  canvas.FillRect(123, 150, 127, 158, window);
}

// 5 x 7 block letters for the title.
const char* Glyph(char letter) {
  switch (letter) {
    case 'S': return "01111100001000001110000010000111110";
    case 'A': return "01110100011000111111100011000110001";
    case 'N': return "10001110011010110011100011000110001";
    case 'G': return "01111100001000010111100011000101111";
    case 'U': return "10001100011000110001100011000101110";
    case 'O': return "01110100011000110001100011000101110";
    case 'R': return "11110100011000111110101001001010001";
    default: return "00000000000000000000000000000000000";
  }
}

void DrawTitle(Canvas& canvas, const std::string& title) {
  const int scale = 5;
  const int advance = 6 * scale;
  int x0 = (kLauncherWidth - static_cast<int>(title.size()) * advance + scale) / 2;
  const int y0 = 50;
  for (char letter : title) {
    const char* bits = Glyph(letter);
    for (int row = 0; row < 7; ++row)
      for (int col = 0; col < 5; ++col) {
        if (bits[row * 5 + col] != '1') continue;
        const int x = x0 + col * scale, y = y0 + row * scale;
        canvas.FillRect(x + 2, y + 2, x + scale + 2, y + scale + 2, {20, 0, 0});
        canvas.FillRect(x, y, x + scale, y + scale, Mix({230, 40, 40}, {120, 0, 10}, row / 6.0));
      }
    x0 += advance;
  }
}

// A frame just inside the outline, three pixels wide.
void DrawFrame(Canvas& canvas) {
  const rgb frame{140, 20, 28};
  for (int y = 0; y < kLauncherHeight; ++y)
    for (int x = 0; x < kLauncherWidth; ++x) {
      if (!canvas.Inside(x, y)) continue;
      bool edge = false;
      for (int d = 1; d <= 3 && !edge; ++d)
        edge = !canvas.Inside(x - d, y) || !canvas.Inside(x + d, y) || !canvas.Inside(x, y - d) ||
               (y + d >= kLauncherHeight);
      if (edge) canvas.Set(x, y, frame);
    }
}

bool WriteBmp(const Canvas& canvas, const char* path) {
  const uint32_t rowBytes = BmpRowBytes(kLauncherWidth);
  std::vector<uint8_t> out;
  BmpAppendHeader(out, kLauncherWidth, kLauncherHeight);
  for (int y = kLauncherHeight - 1; y >= 0; --y) {
    for (int x = 0; x < kLauncherWidth; ++x) {
      const rgb c = canvas.Get(x, y);
      out.push_back(c.b);
      out.push_back(c.g);
      out.push_back(c.r);
    }
    out.resize(out.size() + rowBytes - kLauncherWidth * 3, 0);
  }
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
  return static_cast<bool>(file);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: launcherart OUTPUT.bmp\n");
    return 1;
  }
  Canvas canvas;
  DrawSky(canvas);
  DrawMoon(canvas);
  DrawCastle(canvas);
  DrawTitle(canvas, "SANGUOR");
  DrawFrame(canvas);
  if (!WriteBmp(canvas, argv[1])) {
    std::fprintf(stderr, "launcherart: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
