#include "images/jpgHuffman.h"

#include "images/jpgBits.h"

bool JpgHuffman::Build(const uint8_t counts[16], const uint8_t* symbols, int total) {
  *this = JpgHuffman();
  int32_t code = 0;
  int k = 0;
  for (int length = 1; length <= 16; ++length) {
    const int n = counts[length - 1];
    valueOffset_[length] = k - code;
    for (int i = 0; i < n; ++i, ++k, ++code) {
      // No free leaf left at this depth.
      if (code >= (1 << length)) return false;
      symbols_[k] = symbols[k];
      if (length <= kLookupBits) {
        const int spread = 1 << (kLookupBits - length);
        for (int j = 0; j < spread; ++j) {
          lookup_[(code << (kLookupBits - length)) | j] =
              static_cast<uint16_t>(length << 8 | symbols[k]);
        }
      }
    }
    maxCode_[length] = n > 0 ? code - 1 : -1;
    code <<= 1;
  }
  maxCode_[17] = 0x7FFFFFFF;
  for (uint32_t window = 0; window < (1u << kLookupBits); ++window) {
    const int length = lookup_[window] >> 8;
    const int size = lookup_[window] & 15;
    if (length == 0 || size == 0 || length + size > kLookupBits) continue;
    const uint32_t raw = (window >> (kLookupBits - length - size)) & ((1u << size) - 1);
    // Extended to a signed value as the receiving of extra bits does.
    const int32_t value = raw < (1u << (size - 1)) ? static_cast<int32_t>(raw) - ((1 << size) - 1)
                                                   : static_cast<int32_t>(raw);
    fastAc_[window] =
        static_cast<int32_t>(value * 256 + (lookup_[window] >> 4 & 15) * 16 + length + size);
  }
  defined_ = k == total;
  return defined_;
}

int JpgHuffman::Decode(JpgBits& bits) const {
  if (bits.Available(16) >= 16) {
    const uint32_t entry = lookup_[bits.Peek(kLookupBits)];
    if (entry != 0) {
      bits.Drop(static_cast<int>(entry >> 8));
      return static_cast<int>(entry & 0xFF);
    }
    const uint32_t window = bits.Peek(16);
    for (int length = kLookupBits + 1; length <= 16; ++length) {
      const int32_t code = static_cast<int32_t>(window >> (16 - length));
      if (code <= maxCode_[length]) {
        bits.Drop(length);
        return symbols_[valueOffset_[length] + code];
      }
    }
    return -1;
  }
  // Near a marker or the end: one bit at a time, so that a marker acts exactly when needed.
  int32_t code = 0;
  for (int length = 1; length <= 16; ++length) {
    uint32_t bit = 0;
    if (!bits.Get(1, bit)) return -1;
    code = code << 1 | static_cast<int32_t>(bit);
    if (code <= maxCode_[length]) return symbols_[valueOffset_[length] + code];
  }
  return -1;
}
