#include "jpegTestEncoder.h"

#include <algorithm>
#include <cfenv>
#include <cmath>

const int kJpegNaturalOrder[64] = {0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,
                                   12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28,
                                   35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
                                   58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

int JpegTestCosine(int k) { return static_cast<int>(std::lround(100.0 * std::cos(k / 100.0))); }

int JpegTestBasis(int x, int u) {
  return u == 0 ? 7 * JpegTestCosine(0) : 10 * JpegTestCosine(((2 * x + 1) * u * 19) % 629);
}

std::array<int64_t, 64> JpegTestDirectIdct(const std::array<int32_t, 64>& coefficients) {
  static std::array<int64_t, 4096> products = [] {
    std::array<int64_t, 4096> table{};
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x)
        for (int v = 0; v < 8; ++v)
          for (int u = 0; u < 8; ++u)
            table[((y * 8 + x) * 8 + v) * 8 + u] =
                int64_t{JpegTestBasis(x, u)} * JpegTestBasis(y, v);
    return table;
  }();
  std::array<int64_t, 64> samples{};
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      // At most 64 terms of 2^27 x 10^6: exact in 64 bits.
      int64_t sum = 0;
      for (int v = 0; v < 8; ++v)
        for (int u = 0; u < 8; ++u)
          sum += int64_t{coefficients[v * 8 + u]} * products[((y * 8 + x) * 8 + v) * 8 + u];
      samples[y * 8 + x] = sum / 4000000 + 128;
    }
  }
  return samples;
}

namespace {

// Huffman codes of the test files: DC categories 0 to 11 in 4 bits; AC symbols (end of block,
// sixteen zeros, run/size pairs) in 8 bits, in symbol order.
struct Code {
  uint16_t bits;
  int length;
};

std::vector<uint8_t> AcSymbols() {
  std::vector<uint8_t> symbols = {0x00, 0xF0};
  for (int run = 0; run < 16; ++run)
    for (int size = 1; size <= 10; ++size) symbols.push_back(static_cast<uint8_t>(run << 4 | size));
  return symbols;
}

class BitWriter {
 public:
  explicit BitWriter(std::vector<uint8_t>& out) : out_(out) {}
  void Put(uint32_t value, int length) {
    for (int i = length - 1; i >= 0; --i) {
      current_ = static_cast<uint8_t>(current_ << 1 | ((value >> i) & 1));
      if (++count_ == 8) Flush();
    }
  }
  void PadWithOnes() {
    while (count_ != 0) Put(1, 1);
  }

 private:
  void Flush() {
    out_.push_back(current_);
    if (current_ == 0xFF) out_.push_back(0);
    current_ = 0;
    count_ = 0;
  }
  std::vector<uint8_t>& out_;
  uint8_t current_ = 0;
  int count_ = 0;
};

int Category(int value) {
  int magnitude = value < 0 ? -value : value;
  int s = 0;
  while (magnitude > 0) {
    ++s;
    magnitude >>= 1;
  }
  return s;
}

uint32_t ValueBits(int value, int s) {
  return static_cast<uint32_t>(value >= 0 ? value : value + (1 << s) - 1);
}

void Segment(std::vector<uint8_t>& out, uint8_t marker, const std::vector<uint8_t>& body) {
  out.push_back(0xFF);
  out.push_back(marker);
  out.push_back(static_cast<uint8_t>((body.size() + 2) >> 8));
  out.push_back(static_cast<uint8_t>(body.size() + 2));
  out.insert(out.end(), body.begin(), body.end());
}

int MaxFactor(const JpegTestSpec& spec, bool horizontal) {
  int m = 1;
  for (const JpegTestComponent& c : spec.components) m = std::max(m, horizontal ? c.h : c.v);
  return m;
}

}  // namespace

std::vector<uint8_t> JpegTestEncode(const JpegTestSpec& spec,
                                    const std::vector<JpegBlock>& blocks) {
  std::vector<uint8_t> out = {0xFF, 0xD8};
  for (int t = 0; t < 2; ++t) {
    std::vector<uint8_t> body = {static_cast<uint8_t>(0x10 | t)};
    for (uint16_t q : spec.quant[t]) {
      body.push_back(static_cast<uint8_t>(q >> 8));
      body.push_back(static_cast<uint8_t>(q));
    }
    Segment(out, 0xDB, body);
  }
  std::vector<uint8_t> frame = {8,
                                static_cast<uint8_t>(spec.height >> 8),
                                static_cast<uint8_t>(spec.height),
                                static_cast<uint8_t>(spec.width >> 8),
                                static_cast<uint8_t>(spec.width),
                                static_cast<uint8_t>(spec.components.size())};
  for (const JpegTestComponent& c : spec.components) {
    for (int b : {c.id, c.h << 4 | c.v, c.quant}) frame.push_back(static_cast<uint8_t>(b));
  }
  Segment(out, 0xC0, frame);
  std::vector<uint8_t> dht = {0x00};
  for (int i = 0; i < 16; ++i) dht.push_back(i == 3 ? 12 : 0);
  for (int s = 0; s < 12; ++s) dht.push_back(static_cast<uint8_t>(s));
  const std::vector<uint8_t> ac = AcSymbols();
  dht.push_back(0x10);
  for (int i = 0; i < 16; ++i) dht.push_back(i == 7 ? static_cast<uint8_t>(ac.size()) : 0);
  dht.insert(dht.end(), ac.begin(), ac.end());
  Segment(out, 0xC4, dht);
  if (spec.restartInterval > 0) {
    Segment(out, 0xDD,
            {static_cast<uint8_t>(spec.restartInterval >> 8),
             static_cast<uint8_t>(spec.restartInterval)});
  }
  std::vector<uint8_t> scan = {static_cast<uint8_t>(spec.components.size())};
  for (const JpegTestComponent& c : spec.components) {
    scan.push_back(static_cast<uint8_t>(c.id));
    scan.push_back(0x00);
  }
  for (int b : {0, 63, 0}) scan.push_back(static_cast<uint8_t>(b));
  Segment(out, 0xDA, scan);

  Code acCode[256] = {};
  for (size_t i = 0; i < ac.size(); ++i) acCode[ac[i]] = {static_cast<uint16_t>(i), 8};
  const int mcuW = 8 * MaxFactor(spec, true), mcuH = 8 * MaxFactor(spec, false);
  const int mcus = (spec.width + mcuW - 1) / mcuW * ((spec.height + mcuH - 1) / mcuH);
  BitWriter bits(out);
  std::vector<int> predictions(spec.components.size(), 0);
  size_t next = 0;
  for (int m = 0; m < mcus; ++m) {
    if (spec.restartInterval > 0 && m > 0 && m % spec.restartInterval == 0) {
      bits.PadWithOnes();
      out.push_back(0xFF);
      out.push_back(static_cast<uint8_t>(0xD0 + (m / spec.restartInterval - 1) % 8));
      std::fill(predictions.begin(), predictions.end(), 0);
    }
    for (size_t c = 0; c < spec.components.size(); ++c) {
      for (int b = 0; b < spec.components[c].h * spec.components[c].v; ++b) {
        const JpegBlock& block = blocks[next++];
        const int diff = block[0] - predictions[c];
        predictions[c] = block[0];
        const int s = Category(diff);
        bits.Put(static_cast<uint32_t>(s), 4);
        bits.Put(ValueBits(diff, s), s);
        int run = 0;
        for (int k = 1; k < 64; ++k) {
          if (block[k] == 0) {
            ++run;
            continue;
          }
          while (run > 15) {
            bits.Put(acCode[0xF0].bits, 8);
            run -= 16;
          }
          const int size = Category(block[k]);
          const Code code = acCode[run << 4 | size];
          bits.Put(code.bits, code.length);
          bits.Put(ValueBits(block[k], size), size);
          run = 0;
        }
        if (run > 0) bits.Put(acCode[0x00].bits, 8);
      }
    }
  }
  bits.PadWithOnes();
  out.push_back(0xFF);
  out.push_back(0xD9);
  return out;
}

std::vector<uint32_t> JpegTestExpected(const JpegTestSpec& spec,
                                       const std::vector<JpegBlock>& blocks) {
  const int hMax = MaxFactor(spec, true), vMax = MaxFactor(spec, false);
  const int mcuW = 8 * hMax, mcuH = 8 * vMax;
  const int mcusX = (spec.width + mcuW - 1) / mcuW, mcusY = (spec.height + mcuH - 1) / mcuH;
  // Full-resolution sample planes per component, covering whole MCUs.
  std::vector<std::vector<int64_t>> planes(
      spec.components.size(),
      std::vector<int64_t>(static_cast<size_t>(mcusX * mcuW * mcusY * mcuH)));
  const int planeWidth = mcusX * mcuW;
  size_t next = 0;
  for (int my = 0; my < mcusY; ++my) {
    for (int mx = 0; mx < mcusX; ++mx) {
      for (size_t c = 0; c < spec.components.size(); ++c) {
        const JpegTestComponent& comp = spec.components[c];
        for (int by = 0; by < comp.v; ++by) {
          for (int bx = 0; bx < comp.h; ++bx) {
            const JpegBlock& block = blocks[next++];
            std::array<int32_t, 64> natural{};
            for (int k = 0; k < 64; ++k)
              natural[kJpegNaturalOrder[k]] = block[k] * spec.quant[comp.quant][k];
            const std::array<int64_t, 64> samples = JpegTestDirectIdct(natural);
            const int sx = hMax / comp.h, sy = vMax / comp.v;
            for (int y = 0; y < 8 * sy; ++y) {
              for (int x = 0; x < 8 * sx; ++x) {
                const int px = mx * mcuW + bx * 8 * sx + x, py = my * mcuH + by * 8 * sy + y;
                planes[c][static_cast<size_t>(py) * planeWidth + px] =
                    samples[(y / sy) * 8 + x / sx];
              }
            }
          }
        }
      }
    }
  }
  std::fesetround(FE_TONEAREST);
  auto channel = [](long double value) {
    const long double rounded = std::nearbyint(value);
    return static_cast<uint32_t>(std::clamp<long double>(rounded, 0, 255));
  };
  std::vector<uint32_t> pixels(static_cast<size_t>(spec.width) * spec.height);
  for (int y = 0; y < spec.height; ++y) {
    for (int x = 0; x < spec.width; ++x) {
      const size_t at = static_cast<size_t>(y) * planeWidth + x;
      const int64_t Y = planes[0][at];
      if (spec.components.size() == 1) {
        const uint32_t g = channel(static_cast<long double>(Y));
        pixels[static_cast<size_t>(y) * spec.width + x] = g << 16 | g << 8 | g;
        continue;
      }
      const int64_t cb = planes[1][at] - 128, cr = planes[2][at] - 128;
      // Exact integers over a power of ten: the quotient rounds to nearest, halves to even.
      const uint32_t r = channel(static_cast<long double>(1000 * Y + 1402 * cr) / 1000.0L);
      const uint32_t g =
          channel(static_cast<long double>(100000 * Y - 34414 * cb - 71414 * cr) / 100000.0L);
      const uint32_t b = channel(static_cast<long double>(1000 * Y + 1772 * cb) / 1000.0L);
      pixels[static_cast<size_t>(y) * spec.width + x] = r << 16 | g << 8 | b;
    }
  }
  return pixels;
}
