#include "shell/BmpHeader.h"

namespace {

constexpr uint32_t kHeaderBytes = 54;
constexpr uint32_t kInfoBytes = 40;
constexpr uint32_t kPixelsPerMetre = 2835;  // 72 dots per inch

void Put16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
  Put16(out, value & 0xFFFFu);
  Put16(out, value >> 16);
}

}  // namespace

uint32_t BmpRowBytes(uint32_t width) { return (width * 3 + 3) & ~3u; }

void BmpAppendHeader(std::vector<uint8_t>& out, uint32_t width, uint32_t height) {
  const uint32_t imageBytes = BmpRowBytes(width) * height;
  out.push_back('B');
  out.push_back('M');
  Put32(out, kHeaderBytes + imageBytes);
  Put32(out, 0);
  Put32(out, kHeaderBytes);
  Put32(out, kInfoBytes);
  Put32(out, width);
  Put32(out, height);
  Put16(out, 1);
  Put16(out, 24);
  Put32(out, 0);
  Put32(out, imageBytes);
  Put32(out, kPixelsPerMetre);
  Put32(out, kPixelsPerMetre);
  Put32(out, 0);
  Put32(out, 0);
}
