// Huffman tables of the JPEG reader. Codes are assigned as a tree filled in canonical order:
// the codes of length 1 first, each new code taking the leftmost free leaf at its depth.
// Decoding walks that tree through a lookup of the first bits and per-length code ranges.
#pragma once

#include <cstdint>

class JpgBits;

class JpgHuffman {
 public:
  // counts[i] codes of length i + 1, then their symbols; false when the codes do not fit a
  // binary tree of depth 16.
  bool Build(const uint8_t counts[16], const uint8_t* symbols, int total);
  bool Defined() const { return defined_; }
  // The next symbol, or -1 when the bits lead nowhere or the data ends.
  int Decode(JpgBits& bits) const;
  // For an AC table: when the first 9 bits hold a whole code with a non-zero size and its extra
  // bits, value << 8 | run << 4 | bits taken; else 0.
  int32_t FastAc(uint32_t first9) const { return fastAc_[first9]; }

  static constexpr int kLookupBits = 9;

 private:
  bool defined_ = false;
  // lookup[first 9 bits] = length << 8 | symbol, 0 when the code is longer.
  uint16_t lookup_[1 << kLookupBits] = {};
  int32_t fastAc_[1 << kLookupBits] = {};
  int32_t maxCode_[18] = {};
  int32_t valueOffset_[17] = {};
  uint8_t symbols_[256] = {};
};
