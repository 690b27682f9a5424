// Baseline JPEG: markers, tables, the interleaved scan and JFIF colour.
#include "images/fwkImageJPG.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <utility>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "images/imageInternal.h"
#include "images/jpgBits.h"
#include "images/jpgColourWide.h"
#include "images/jpgHuffman.h"
#include "images/jpgIdct.h"
#include "images/jpgTables.h"
#include "services/fwkLog.h"

namespace {

struct Component {
  bool inFrame = false;
  int h = 0;
  int v = 0;
  int quant = 0;
  int dc = 0;
  int ac = 0;
};

// Channel values from the three samples, each rounded half to even and kept within 0..255.
inline uint32_t RoundClamp(int64_t numerator, int64_t denominator) {
  int64_t q = numerator / denominator;
  int64_t r = numerator % denominator;
  if (r < 0) {
    --q;
    r += denominator;
  }
  if (2 * r > denominator || (2 * r == denominator && (q & 1) != 0)) ++q;
  return static_cast<uint32_t>(std::clamp<int64_t>(q, 0, 255));
}

inline uint32_t YCbCrPixelExact(int64_t y, int64_t cb, int64_t cr) {
  cb -= 128;
  cr -= 128;
  const uint32_t r = RoundClamp(1000 * y + 1402 * cr, 1000);
  const uint32_t g = RoundClamp(100000 * y - 34414 * cb - 71414 * cr, 100000);
  const uint32_t b = RoundClamp(1000 * y + 1772 * cb, 1000);
  return r << 16 | g << 8 | b;
}

// The same equations by table for samples within kColourRange of 128 (every sample of a sound
// file). Y is a whole number, so Y + x rounds as x does except at halves, where the parity of
// the result decides: a table entry keeps floor(x) or round(x) and whether x is a half.
constexpr int kColourRange = 1024;

struct ColourTables {
  int32_t red[2 * kColourRange];      // round(1.402 d) << 1 | half
  int32_t blue[2 * kColourRange];     // round(1.772 d) << 1 | half
  int32_t greenCb[2 * kColourRange];  // -34414 d
  int32_t greenCr[2 * kColourRange];  // -71414 d
};

int32_t TableEntry(int32_t numerator, int32_t denominator) {
  int32_t q = numerator / denominator;
  int32_t r = numerator % denominator;
  if (r < 0) {
    --q;
    r += denominator;
  }
  if (2 * r == denominator) return q * 2 | 1;
  return (2 * r > denominator ? q + 1 : q) * 2;
}

const ColourTables& Colours() {
  static const ColourTables tables = [] {
    ColourTables t{};
    for (int32_t d = -kColourRange; d < kColourRange; ++d) {
      t.red[d + kColourRange] = TableEntry(1402 * d, 1000);
      t.blue[d + kColourRange] = TableEntry(1772 * d, 1000);
      t.greenCb[d + kColourRange] = -34414 * d;
      t.greenCr[d + kColourRange] = -71414 * d;
    }
    return t;
  }();
  return tables;
}

const bool kWideColour = JpgWideColourAvailable();

inline uint32_t Clamp255(int32_t v) { return static_cast<uint32_t>(v < 0 ? 0 : v > 255 ? 255 : v); }

// Y plus a table entry: at a half the even neighbour of Y + floor and Y + floor + 1.
inline int32_t AddRounded(int32_t y, int32_t entry) {
  const int32_t base = y + (entry >> 1);
  return base + (entry & base & 1);
}

// The floor of S / 100000 and the remainder it leaves, 0 to 99999.
inline std::pair<int32_t, int32_t> FloorDivide100000(int32_t s) {
  const int32_t q = s / 100000 - (s % 100000 < 0 ? 1 : 0);
  return {q, s - q * 100000};
}

inline uint32_t YCbCrPixel(int32_t y, int32_t cb, int32_t cr) {
  const uint32_t dcb = static_cast<uint32_t>(cb - 128 + kColourRange);
  const uint32_t dcr = static_cast<uint32_t>(cr - 128 + kColourRange);
  const uint32_t dy = static_cast<uint32_t>(y + kColourRange);
  if ((dcb | dcr | dy) >= 2 * kColourRange) return YCbCrPixelExact(y, cb, cr);
  const ColourTables& t = Colours();
  const int32_t s = t.greenCb[dcb] + t.greenCr[dcr];
  const auto [q, r] = FloorDivide100000(s);
  const int32_t g = y + q + (r > 50000 ? 1 : 0) + (r == 50000 ? ((y + q) & 1) : 0);
  return Clamp255(AddRounded(y, t.red[dcr])) << 16 | Clamp255(g) << 8 |
         Clamp255(AddRounded(y, t.blue[dcb]));
}

class Decoder {
 public:
  Decoder(ImageBytes& bytes, imageData* frame, ImageBudget& budget)
      : bytes_(bytes), frame_(frame), budget_(budget), tables_(JpgTablesGet()) {}

  void Run();

 private:
  bool Segment(uint8_t code, ImageBytes& body);
  bool FrameHeader(ImageBytes& body);
  bool HuffmanTables(ImageBytes& body);
  bool QuantisationTables(ImageBytes& body);
  bool ScanHeader(ImageBytes& body);
  // Decodes one block into its place in the MCU, rows stride samples apart.
  bool DecodeBlock(JpgBits& bits, const Component& c, int id, int32_t* samples, int stride);
  void DecodeScan();
  void PutMcu(int mcuX, int mcuY);
  void PutMcuSharedChroma(uint32_t* out, int32_t columns, int32_t rows);

  ImageBytes& bytes_;
  imageData* frame_;
  ImageBudget& budget_;
  const JpgTables& tables_;
  bool haveFrame_ = false;
  bool stop_ = false;
  uint16_t quant_[4][64] = {};
  // 255 times each table's largest step: a bound on the coefficients the short AC codes give.
  int32_t shortCodeBound_[4] = {};
  JpgHuffman dc_[4];
  JpgHuffman ac_[4];
  Component components_[6];
  std::vector<int> frameIds_;
  std::vector<int> scanIds_;
  int restartInterval_ = 0;
  int32_t predictions_[6] = {};
  int hMax_ = 1;
  int vMax_ = 1;
  bool grey_ = false;
  // The block being decoded, and a bit for every position written into it since it was cleared.
  int32_t coefficients_[64] = {};
  uint64_t written_ = 0;
  // Samples of one MCU per component id, (8 h) x (8 v) each.
  std::vector<int32_t> mcuSamples_[6];
};

void Decoder::Run() {
  for (;;) {
    uint8_t byte = 0;
    do {
      if (!bytes_.U8(byte)) return;
    } while (byte != 0xFF);
    uint8_t code = 0xFF;
    // Any number of FF bytes may stand before a marker code.
    while (code == 0xFF) {
      if (!bytes_.U8(code)) return;
    }
    if (code == 0xD9) return;
    if (code < 2 || (code >= 0xD0 && code <= 0xD8)) continue;
    uint16_t length = 0;
    if (!bytes_.U16BigEndian(length) || length < 2) return;
    const size_t bodySize = std::min<size_t>(length - 2u, bytes_.Remaining());
    ImageBytes body(bytes_.Here(), bodySize);
    const bool whole = bodySize == length - 2u;
    if (!Segment(code, body) || stop_) return;
    if (code == 0xDA) continue;
    if (!whole || !bytes_.Skip(bodySize)) return;
  }
}

bool Decoder::Segment(uint8_t code, ImageBytes& body) {
  switch (code) {
    case 0xC0: return FrameHeader(body);
    case 0xC4: return HuffmanTables(body);
    case 0xDB: return QuantisationTables(body);
    case 0xDD: {
      uint16_t interval = 0;
      if (!body.U16BigEndian(interval)) return false;
      restartInterval_ = interval;
      return true;
    }
    case 0xDA: {
      if (!ScanHeader(body)) return false;
      bytes_.Skip(body.Size());
      DecodeScan();
      return !stop_;
    }
    default: return true;
  }
}

bool Decoder::FrameHeader(ImageBytes& body) {
  uint8_t precision = 0, count = 0;
  uint16_t height = 0, width = 0;
  if (!body.U8(precision) || !body.U16BigEndian(height) || !body.U16BigEndian(width) ||
      !body.U8(count))
    return false;
  haveFrame_ = false;
  frameIds_.clear();
  for (Component& c : components_) c.inFrame = false;
  if (width == 0 || height == 0) {
    frame_->width = width;
    frame_->height = height;
    frame_->pixels.clear();
    return false;
  }
  // The rest of the file must hold the blocks: the shortest block is two bits (a one-bit DC
  // code for a zero difference and a one-bit end of block) for 64 pixels of one component.
  const bool couldFill =
      int64_t{width} * height <= static_cast<int64_t>(bytes_.Remaining()) * 4 * 64;
  if (!couldFill || !budget_.Allocate(frame_, width, height)) {
    ImageSetError(frame_);
    return false;
  }
  frame_->bitsPerPixel = 24;
  frame_->loaded = 1;
  for (int i = 0; i < count; ++i) {
    uint8_t id = 0, sampling = 0, quant = 0;
    if (!body.U8(id) || !body.U8(sampling) || !body.U8(quant)) return false;
    if (id < 1 || id > 5 || quant > 3) return false;
    Component& c = components_[id];
    c.inFrame = true;
    c.h = sampling >> 4;
    c.v = sampling & 15;
    c.quant = quant;
    frameIds_.push_back(id);
  }
  haveFrame_ = true;
  return true;
}

bool Decoder::HuffmanTables(ImageBytes& body) {
  while (body.Remaining() > 0) {
    uint8_t classId = 0;
    uint8_t counts[16];
    if (!body.U8(classId) || !body.Read(counts, sizeof counts)) return false;
    const int id = classId & 15;
    if (id >= 4) return false;
    int total = 0;
    for (uint8_t n : counts) total += n;
    uint8_t symbols[256];
    if (total > 256 || !body.Read(symbols, static_cast<size_t>(total))) return false;
    JpgHuffman& table = (classId >> 4 & 1) != 0 ? ac_[id] : dc_[id];
    if (table.Defined() || !table.Build(counts, symbols, total)) return false;
  }
  return true;
}

bool Decoder::QuantisationTables(ImageBytes& body) {
  while (body.Remaining() > 0) {
    uint8_t precisionId = 0;
    if (!body.U8(precisionId)) return false;
    const int id = precisionId & 15;
    if (id >= 4) return false;
    const bool wide = (precisionId >> 4) >= 1;
    for (int k = 0; k < 64; ++k) {
      if (wide) {
        if (!body.U16BigEndian(quant_[id][k])) return false;
      } else {
        uint8_t value = 0;
        if (!body.U8(value)) return false;
        quant_[id][k] = value;
      }
    }
    shortCodeBound_[id] = 255 * *std::max_element(std::begin(quant_[id]), std::end(quant_[id]));
  }
  return true;
}

bool Decoder::ScanHeader(ImageBytes& body) {
  uint8_t count = 0;
  if (!haveFrame_ || !body.U8(count) || count == 0) return false;
  scanIds_.clear();
  for (int i = 0; i < count; ++i) {
    uint8_t id = 0, tables = 0;
    if (!body.U8(id) || !body.U8(tables)) return false;
    if (id < 1 || id > 5 || !components_[id].inFrame || (tables >> 4) >= 4 || (tables & 15) >= 4)
      return false;
    components_[id].dc = tables >> 4;
    components_[id].ac = tables & 15;
    scanIds_.push_back(id);
  }
  hMax_ = 1;
  vMax_ = 1;
  for (int id : frameIds_) {
    const Component& c = components_[id];
    if (c.h < 1 || c.h > 2 || c.v < 1 || c.v > 2) return false;
    hMax_ = std::max(hMax_, c.h);
    vMax_ = std::max(vMax_, c.v);
  }
  // One component is a grey picture, decoded block by block; otherwise the scan must carry
  // the Y, Cb and Cr components (ids 1, 2, 3) together.
  grey_ = frameIds_.size() == 1;
  if (grey_) {
    hMax_ = vMax_ = 1;
    components_[scanIds_[0]].h = components_[scanIds_[0]].v = 1;
  } else {
    for (int id = 1; id <= 3; ++id) {
      if (std::find(scanIds_.begin(), scanIds_.end(), id) == scanIds_.end()) return false;
    }
  }
  for (int id : scanIds_) {
    const Component& c = components_[id];
    if (!dc_[c.dc].Defined() || !ac_[c.ac].Defined()) return false;
    mcuSamples_[id].assign(static_cast<size_t>(64 * c.h * c.v), 0);
  }
  return true;
}

// Receives s bits and extends them to a signed value as T.81 does.
inline int32_t Extend(uint32_t value, int s) {
  return value < (1u << (s - 1)) ? static_cast<int32_t>(value) - ((1 << s) - 1)
                                 : static_cast<int32_t>(value);
}

bool Decoder::DecodeBlock(JpgBits& bits, const Component& c, int id, int32_t* samples, int stride) {
  // The last block's coefficients are cleared a row at a time where it wrote them, the rest are
  // still zero. Until this block ends well, every row counts as written.
  int32_t* coefficients = coefficients_;
  for (int v = 0; v < 8; ++v) {
    if ((written_ >> (8 * v) & 0xFF) != 0) std::fill_n(coefficients + 8 * v, 8, 0);
  }
  written_ = ~uint64_t{0};
  uint64_t written = 1;
  const uint16_t* q = quant_[c.quant];
  const int s = dc_[c.dc].Decode(bits);
  if (s < 0 || s > 16) return false;
  uint32_t raw = 0;
  if (!bits.Get(s, raw)) return false;
  // A restart marker met anywhere since the last block resets every prediction before this
  // difference is added.
  if (bits.TakeRestart()) std::fill(std::begin(predictions_), std::end(predictions_), 0);
  // A baseline DC value lies well inside 16 bits; holding it there keeps damaged data finite.
  int32_t& prediction = predictions_[id];
  prediction = std::clamp<int32_t>(prediction + (s == 0 ? 0 : Extend(raw, s)), -32768, 32767);
  coefficients[0] =
      std::clamp<int32_t>(prediction * q[0], -kJpgCoefficientLimit, kJpgCoefficientLimit);
  int32_t largest = shortCodeBound_[c.quant] | std::abs(coefficients[0]);
  const JpgHuffman& ac = ac_[c.ac];
  for (int k = 1; k < 64;) {
    // A short code and its extra bits at once, when the reading is far from any marker.
    if (bits.Available(16) >= 16) {
      const int32_t fast = ac.FastAc(bits.Peek(JpgHuffman::kLookupBits));
      if (fast != 0) {
        bits.Drop(fast & 15);
        k += fast >> 4 & 15;
        if (k > 63) return false;
        // At most 255 times a 16-bit step: inside the coefficient limit.
        const int position = tables_.naturalPosition[k];
        coefficients[position] = (fast >> 8) * q[k];
        written |= uint64_t{1} << position;
        ++k;
        continue;
      }
    }
    const int rs = ac.Decode(bits);
    if (rs < 0) return false;
    const int run = rs >> 4;
    const int size = rs & 15;
    if (size == 0) {
      if (run != 15) break;
      k += 16;
      continue;
    }
    k += run;
    if (k > 63 || !bits.Get(size, raw)) return false;
    const int64_t value = int64_t{Extend(raw, size)} * q[k];
    const int position = tables_.naturalPosition[k];
    coefficients[position] = static_cast<int32_t>(
        std::clamp<int64_t>(value, -kJpgCoefficientLimit, kJpgCoefficientLimit));
    largest |= std::abs(coefficients[position]);
    written |= uint64_t{1} << position;
    ++k;
  }
  written_ = written;
  JpgInverseDctWritten(coefficients, written, largest, samples, stride);
  return true;
}

void Decoder::DecodeScan() {
  JpgBits bits(bytes_.Here(), bytes_.Remaining());
  std::fill(std::begin(predictions_), std::end(predictions_), 0);
  const int32_t mcuWidth = 8 * hMax_;
  const int32_t mcuHeight = 8 * vMax_;
  const int64_t mcusX = (frame_->width + mcuWidth - 1) / mcuWidth;
  const int64_t mcusY = (frame_->height + mcuHeight - 1) / mcuHeight;
  const int64_t total = mcusX * mcusY;
  for (int64_t m = 0; m < total && !stop_; ++m) {
    for (int id : scanIds_) {
      const Component& c = components_[id];
      const int stride = 8 * c.h;
      for (int by = 0; by < c.v && !stop_; ++by) {
        for (int bx = 0; bx < c.h && !stop_; ++bx) {
          // A block that fails writes nothing: the MCU is not put then.
          if (!DecodeBlock(bits, c, id, mcuSamples_[id].data() + by * 8 * stride + bx * 8,
                           stride)) {
            stop_ = true;
            break;
          }
        }
      }
    }
    if (stop_) break;
    PutMcu(static_cast<int>(m % mcusX), static_cast<int>(m / mcusX));
    if (restartInterval_ > 0 && (m + 1) % restartInterval_ == 0 && m + 1 < total) {
      bits.AlignAtRestart();
      std::fill(std::begin(predictions_), std::end(predictions_), 0);
    }
  }
  if (bits.EndOfImage()) stop_ = true;
  bytes_.Seek(static_cast<size_t>(bits.Stop() - bytes_.Data()));
}

void Decoder::PutMcu(int mcuX, int mcuY) {
  const int32_t width = frame_->width;
  const int32_t x0 = mcuX * 8 * hMax_;
  const int32_t y0 = mcuY * 8 * vMax_;
  const int32_t columns = std::min(8 * hMax_, width - x0);
  const int32_t rows = std::min(8 * vMax_, frame_->height - y0);
  uint32_t* out = frame_->pixels.data() + static_cast<size_t>(y0) * width + x0;
  if (grey_) {
    const int32_t* samples = mcuSamples_[scanIds_[0]].data();
    for (int32_t y = 0; y < rows; ++y, out += width) {
      for (int32_t x = 0; x < columns; ++x) {
        const uint32_t v = static_cast<uint32_t>(std::clamp(samples[y * 8 + x], 0, 255));
        out[x] = v << 16 | v << 8 | v;
      }
    }
    return;
  }
  const Component& cy = components_[1];
  const Component& cb = components_[2];
  const Component& cr = components_[3];
  if (cb.h == cr.h && cb.v == cr.v && cy.h == hMax_ && cy.v == vMax_) {
    PutMcuSharedChroma(out, columns, rows);
    return;
  }
  // A component sampled at half the MCU's rate covers 2 pixels per sample in that direction.
  const int yShiftX = hMax_ / cy.h - 1, yShiftY = vMax_ / cy.v - 1;
  const int bShiftX = hMax_ / cb.h - 1, bShiftY = vMax_ / cb.v - 1;
  const int rShiftX = hMax_ / cr.h - 1, rShiftY = vMax_ / cr.v - 1;
  for (int32_t y = 0; y < rows; ++y, out += width) {
    const int32_t* rowY = mcuSamples_[1].data() + (y >> yShiftY) * 8 * cy.h;
    const int32_t* rowB = mcuSamples_[2].data() + (y >> bShiftY) * 8 * cb.h;
    const int32_t* rowR = mcuSamples_[3].data() + (y >> rShiftY) * 8 * cr.h;
    for (int32_t x = 0; x < columns; ++x) {
      out[x] = YCbCrPixel(rowY[x >> yShiftX], rowB[x >> bShiftX], rowR[x >> rShiftX]);
    }
  }
}

// The chroma part of each channel for one chroma sample, as a table entry of the AddRounded form.
struct ChromaEntries {
  int16_t red[256];
  int16_t green[256];
  int16_t blue[256];
  bool valid[256];
};

#if defined(__SSE2__)
// AddRounded on eight 16-bit lanes: every operand and result lies well inside 16 bits.
inline __m128i AddRounded8(__m128i luma, __m128i entry) {
  const __m128i base = _mm_add_epi16(luma, _mm_srai_epi16(entry, 1));
  return _mm_add_epi16(base, _mm_and_si128(_mm_and_si128(entry, base), _mm_set1_epi16(1)));
}

// Eight pixels of a row whose luma lies within kColourRange of 0 and whose chroma entries are
// valid, red, green and blue clamped by saturating packs.
inline void PutEight(uint32_t* out, __m128i luma, __m128i red, __m128i green, __m128i blue) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i r = _mm_packus_epi16(AddRounded8(luma, red), zero);
  const __m128i g = _mm_packus_epi16(AddRounded8(luma, green), zero);
  const __m128i b = _mm_packus_epi16(AddRounded8(luma, blue), zero);
  const __m128i blueGreen = _mm_unpacklo_epi8(b, g);
  const __m128i redZero = _mm_unpacklo_epi8(r, zero);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi16(blueGreen, redZero));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4), _mm_unpackhi_epi16(blueGreen, redZero));
}

// Eight luma samples as 16-bit lanes, when all lie within kColourRange of 0.
inline bool LumaEight(const int32_t* luma, __m128i& packed) {
  const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(luma));
  const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(luma + 4));
  const __m128i range = _mm_set1_epi32(kColourRange);
  const __m128i outside = _mm_set1_epi32(~(2 * kColourRange - 1));
  const __m128i test = _mm_or_si128(_mm_and_si128(_mm_add_epi32(low, range), outside),
                                    _mm_and_si128(_mm_add_epi32(high, range), outside));
  if (_mm_movemask_epi8(_mm_cmpeq_epi32(test, _mm_setzero_si128())) != 0xFFFF) return false;
  packed = _mm_packs_epi32(low, high);
  return true;
}
#endif

// Full-rate luma with Cb and Cr at one shared rate: the chroma part of each channel is worked out
// once per chroma sample (as a table entry of the same form) and added to every luma sample it covers.
void Decoder::PutMcuSharedChroma(uint32_t* out, int32_t columns, int32_t rows) {
  const int32_t width = frame_->width;
  const Component& cb = components_[2];
  const int shiftX = hMax_ / cb.h - 1, shiftY = vMax_ / cb.v - 1;
  const int chromaStride = 8 * cb.h;
  const int32_t* lumaSamples = mcuSamples_[1].data();
  const int32_t* cbSamples = mcuSamples_[2].data();
  const int32_t* crSamples = mcuSamples_[3].data();
  const int lumaStride = 8 * hMax_;
  ChromaEntries entries;
  const ColourTables& t = Colours();
  const int chromaCount = 64 * cb.h * cb.v;
  bool rowValid[16];
  std::fill(std::begin(rowValid), std::end(rowValid), true);
  // Eight samples at a time (chromaCount is a multiple of 64), each by itself where the wide
  // code is missing or a sample lies outside the tables.
  for (int group = 0; group < chromaCount; group += 8) {
    if (kWideColour &&
        JpgChromaEntriesWide(cbSamples + group, crSamples + group, entries.red + group,
                             entries.green + group, entries.blue + group)) {
      std::fill_n(entries.valid + group, 8, true);
      continue;
    }
    for (int i = group; i < group + 8; ++i) {
      const uint32_t dcb = static_cast<uint32_t>(cbSamples[i] - 128 + kColourRange);
      const uint32_t dcr = static_cast<uint32_t>(crSamples[i] - 128 + kColourRange);
      entries.valid[i] = (dcb | dcr) < 2 * kColourRange;
      if (!entries.valid[i]) {
        rowValid[i / chromaStride] = false;
        entries.red[i] = entries.green[i] = entries.blue[i] = 0;
        continue;
      }
      const int32_t s = t.greenCb[dcb] + t.greenCr[dcr];
      const auto [q, r] = FloorDivide100000(s);
      entries.red[i] = static_cast<int16_t>(t.red[dcr]);
      entries.blue[i] = static_cast<int16_t>(t.blue[dcb]);
      entries.green[i] = static_cast<int16_t>(r == 50000 ? q * 2 | 1 : (r > 50000 ? q + 1 : q) * 2);
    }
  }
  for (int32_t y = 0; y < rows; ++y, out += width) {
    const int32_t* luma = lumaSamples + y * lumaStride;
    const int chromaRow = (y >> shiftY) * chromaStride;
    int32_t x = 0;
    if (kWideColour && rowValid[y >> shiftY] && shiftX <= 1) {
      x = JpgPutRowWide(luma, entries.red + chromaRow, entries.green + chromaRow,
                        entries.blue + chromaRow, shiftX, columns, out);
    }
#if defined(__SSE2__)
    // Eight pixels at a time where the whole row's chroma is valid: from eight chroma samples,
    // or from four each covering two pixels.
    if (rowValid[y >> shiftY] && shiftX <= 1) {
      for (; x + 8 <= columns; x += 8) {
        __m128i packed;
        if (!LumaEight(luma + x, packed)) break;
        const int c = chromaRow + (x >> shiftX);
        const auto load = [&](const int16_t* table) {
          if (shiftX == 0) return _mm_loadu_si128(reinterpret_cast<const __m128i*>(table + c));
          const __m128i four = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(table + c));
          return _mm_unpacklo_epi16(four, four);
        };
        PutEight(out + x, packed, load(entries.red), load(entries.green), load(entries.blue));
      }
    }
#endif
    for (; x < columns; ++x) {
      const int c = chromaRow + (x >> shiftX);
      const int32_t l = luma[x];
      if (!entries.valid[c] || static_cast<uint32_t>(l + kColourRange) >= 2 * kColourRange) {
        out[x] = YCbCrPixelExact(l, cbSamples[c], crSamples[c]);
        continue;
      }
      out[x] = Clamp255(AddRounded(l, entries.red[c])) << 16 |
               Clamp255(AddRounded(l, entries.green[c])) << 8 |
               Clamp255(AddRounded(l, entries.blue[c]));
    }
  }
}

}  // namespace

void ImageJpgInit() {
  JpgTablesGet();
  Colours();
  LogVersionAdd("fwkImageJPG - Version Alpha.0");
}

void ImageDecodeJpg(ImageBytes& bytes, imageData*& image, ImageBudget& budget) {
  Decoder decoder(bytes, ImageFirstFrame(image), budget);
  decoder.Run();
}
