// Structure-aware mutation for the GIF target: the signature, screen, colour tables, extensions
// and sub-block framing stay valid while the LZW codes change, read and rewritten at the widths
// the decoder reads them. Random byte mutation seldom gets past the framing to the codes, and
// the table edge (codes naming the entry being defined, or the one past it) is where LZW
// decoders fail.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

namespace {

constexpr int kTableSize = 4096;

struct GifParts {
  size_t codeSizeAt = 0;  // offset of the minimum code size byte
  size_t dataEnd = 0;     // offset just past the zero-size terminator of the data sub-blocks
  std::vector<uint8_t> data;
};

bool SkipSubBlocks(const uint8_t* p, size_t size, size_t& at) {
  for (;;) {
    if (at >= size) return false;
    const size_t n = p[at++];
    if (n == 0) return true;
    at += n;
  }
}

bool Parse(const uint8_t* p, size_t size, GifParts& parts) {
  if (size < 13 || std::memcmp(p, "GIF8", 4) != 0) return false;
  size_t at = 13;
  if (p[10] & 0x80) at += 3u << ((p[10] & 7) + 1);
  while (at < size) {
    const uint8_t introducer = p[at++];
    if (introducer == '!') {
      ++at;
      if (!SkipSubBlocks(p, size, at)) return false;
      continue;
    }
    if (introducer != ',' || at + 9 > size) return false;
    const uint8_t packed = p[at + 8];
    at += 9;
    if (packed & 0x80) at += 3u << ((packed & 7) + 1);
    if (at >= size) return false;
    parts.codeSizeAt = at++;
    for (;;) {
      if (at >= size) return false;
      const size_t n = p[at++];
      if (n == 0) break;
      if (at + n > size) return false;
      parts.data.insert(parts.data.end(), p + at, p + at + n);
      at += n;
    }
    parts.dataEnd = at;
    return true;
  }
  return false;
}

// The decoder's view of the table: after a clear code the width starts again, the first code
// adds nothing, every other code adds one entry until the table is full.
struct Widths {
  explicit Widths(int minimumSize) : clear(1 << minimumSize), minimum(minimumSize) { Reset(); }
  void Reset() {
    last = clear + 1;
    width = minimum + 1;
    first = true;
  }
  void After(int code) {
    if (code == clear) {
      Reset();
    } else if (first) {
      first = false;
    } else if (last + 1 < kTableSize) {
      ++last;
      if ((1 << width) == last + 1 && width < 12) ++width;
    }
  }
  int clear;
  int minimum;
  int last = 0;
  int width = 0;
  bool first = true;
};

std::vector<int> ReadCodes(const std::vector<uint8_t>& data, int minimumSize) {
  std::vector<int> codes;
  Widths widths(minimumSize);
  uint32_t bits = 0;
  int count = 0;
  for (uint8_t byte : data) {
    bits |= static_cast<uint32_t>(byte) << count;
    count += 8;
    while (count >= widths.width) {
      const int code = static_cast<int>(bits & ((1u << widths.width) - 1));
      bits >>= widths.width;
      count -= widths.width;
      codes.push_back(code);
      widths.After(code);
    }
  }
  return codes;
}

std::vector<uint8_t> WriteCodes(const std::vector<int>& codes, int minimumSize) {
  std::vector<uint8_t> data;
  Widths widths(minimumSize);
  uint32_t bits = 0;
  int count = 0;
  for (int code : codes) {
    code &= (1 << widths.width) - 1;
    bits |= static_cast<uint32_t>(code) << count;
    count += widths.width;
    while (count >= 8) {
      data.push_back(static_cast<uint8_t>(bits));
      bits >>= 8;
      count -= 8;
    }
    widths.After(code);
  }
  if (count > 0) data.push_back(static_cast<uint8_t>(bits));
  return data;
}

// One change to the code list, chosen to reach the table's edges.
void MutateCodes(std::vector<int>& codes, int minimumSize, std::minstd_rand& random) {
  const int clear = 1 << minimumSize;
  const size_t at = codes.empty() ? 0 : random() % (codes.size() + 1);
  // The table state where the change goes.
  Widths widths(minimumSize);
  for (size_t i = 0; i < at && i < codes.size(); ++i) widths.After(codes[i]);
  switch (random() % 7) {
    case 6: {  // a run of codes each naming the newest entry: every other entry grows by one
      const size_t run = 1 + random() % 64;
      std::vector<int> added;
      Widths w = widths;
      for (size_t i = 0; i < run; ++i) {
        const int code = w.first ? 0 : w.last;
        added.push_back(code);
        w.After(code);
      }
      codes.insert(codes.begin() + static_cast<long>(at), added.begin(), added.end());
      break;
    }
    case 0: {  // a run of codes each naming the entry being defined: strings grow by one
      const size_t run = 1 + random() % kTableSize;
      std::vector<int> added;
      Widths w = widths;
      for (size_t i = 0; i < run; ++i) {
        const int code = w.first ? 0 : w.last + 1;
        added.push_back(code);
        w.After(code);
      }
      codes.insert(codes.begin() + static_cast<long>(at), added.begin(), added.end());
      break;
    }
    case 1: {  // a code at or just past the table's edge
      const int pick[] = {widths.last, widths.last + 1, widths.last + 2, (1 << widths.width) - 1,
                          kTableSize - 1};
      const int code = pick[random() % 5];
      if (at < codes.size()) {
        codes[at] = code;
      } else {
        codes.push_back(code);
      }
      break;
    }
    case 2: codes.insert(codes.begin() + static_cast<long>(at), clear); break;
    case 3: codes.insert(codes.begin() + static_cast<long>(at), clear + 1); break;
    case 4:
      if (at < codes.size())
        codes.erase(
            codes.begin() + static_cast<long>(at),
            codes.begin() + static_cast<long>(std::min(codes.size(), at + 1 + random() % 64)));
      break;
    default:
      if (at < codes.size()) codes[at] = static_cast<int>(random() % (1u << widths.width));
      break;
  }
}

}  // namespace

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize,
                                          unsigned int seed) {
  std::minstd_rand random(seed);
  GifParts parts;
  if (random() % 8 == 0 || !Parse(data, size, parts)) return LLVMFuzzerMutate(data, size, maxSize);
  int minimumSize = data[parts.codeSizeAt];
  if (minimumSize < 1 || minimumSize > 11) minimumSize = 2;
  std::vector<uint8_t> coded;
  switch (random() % 4) {
    case 0: {  // bytes of the code stream
      coded = parts.data;
      const size_t room = coded.size() + 256;
      coded.resize(room);
      coded.resize(LLVMFuzzerMutate(coded.data(), parts.data.size(), room));
      break;
    }
    case 1:  // another minimum code size over the same codes
      minimumSize = 1 + static_cast<int>(random() % 8);
      coded = parts.data;
      break;
    default: {
      std::vector<int> codes = ReadCodes(parts.data, minimumSize);
      MutateCodes(codes, minimumSize, random);
      coded = WriteCodes(codes, minimumSize);
      break;
    }
  }
  std::vector<uint8_t> out(data, data + parts.codeSizeAt);
  out.push_back(static_cast<uint8_t>(minimumSize));
  // Sub-blocks mostly full, as encoders write them; sometimes of random sizes.
  const bool ragged = random() % 4 == 0;
  for (size_t at = 0; at < coded.size();) {
    const size_t n = std::min<size_t>(coded.size() - at, ragged ? 1 + random() % 255 : 255);
    out.push_back(static_cast<uint8_t>(n));
    out.insert(out.end(), coded.begin() + static_cast<long>(at),
               coded.begin() + static_cast<long>(at + n));
    at += n;
  }
  out.push_back(0);
  out.insert(out.end(), data + parts.dataEnd, data + size);
  if (out.size() > maxSize) return LLVMFuzzerMutate(data, size, maxSize);
  std::memcpy(data, out.data(), out.size());
  return out.size();
}
