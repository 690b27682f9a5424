// Entropy-coded data, most significant bit first. "FF 00" is a data byte FF. A marker stops the
// reading ahead; only when a bit past it is really needed does it act: a restart marker resets
// the DC predictions and reading goes on after it, the end-of-image marker ends the picture,
// any other marker is an error.
#pragma once

#include <cstddef>
#include <cstdint>

class JpgBits {
 public:
  JpgBits(const uint8_t* data, size_t size) : p_(data), end_(data + size) {}

  // Fills the buffer with at least n bits when the data allows; the number available.
  int Available(int n) {
    if (count_ < n) Fill();
    return count_;
  }
  // The top n (1..16) bits without consuming them; only valid when Available(n) >= n.
  uint32_t Peek(int n) const { return static_cast<uint32_t>(buffer_ >> (64 - n)); }
  void Drop(int n) {
    buffer_ <<= n;
    count_ -= n;
  }
  // n (0..16) bits as a number; false when the data or the picture ended.
  bool Get(int n, uint32_t& value) {
    if (n == 0) {
      value = 0;
      return true;
    }
    while (Available(n) < n) {
      if (!PassMarker()) return false;
    }
    value = Peek(n);
    Drop(n);
    return true;
  }
  // Set by a restart marker met inside the data; the caller resets its predictions.
  bool TakeRestart() {
    const bool seen = restart_;
    restart_ = false;
    return seen;
  }
  // Drops the bits left in the current byte and passes a restart marker that follows them.
  void AlignAtRestart() {
    Drop(count_ % 8);
    if (count_ == 0 && marker_ >= 0xD0 && marker_ <= 0xD7) {
      marker_ = -1;
      markerAt_ = nullptr;
    }
  }
  bool EndOfImage() const { return endOfImage_; }
  // Where reading stopped: at a marker not yet passed, else after the bytes read ahead.
  const uint8_t* Stop() const { return markerAt_ != nullptr ? markerAt_ : p_; }

 private:
  void Fill() {
    while (count_ <= 56 && marker_ < 0 && p_ < end_) {
      uint8_t byte = *p_;
      if (byte == 0xFF) {
        if (p_ + 1 >= end_) {
          p_ = end_;
          return;
        }
        if (p_[1] != 0x00) {
          marker_ = p_[1];
          markerAt_ = p_;
          p_ += 2;
          return;
        }
        p_ += 2;
      } else {
        ++p_;
      }
      buffer_ |= static_cast<uint64_t>(byte) << (56 - count_);
      count_ += 8;
    }
  }
  // Acts on the marker that stopped the reading; false when no more bits will come.
  bool PassMarker() {
    if (marker_ >= 0xD0 && marker_ <= 0xD7) {
      marker_ = -1;
      markerAt_ = nullptr;
      restart_ = true;
      return true;
    }
    if (marker_ == 0xD9) endOfImage_ = true;
    return false;
  }

  const uint8_t* p_;
  const uint8_t* end_;
  uint64_t buffer_ = 0;
  int count_ = 0;
  int marker_ = -1;
  const uint8_t* markerAt_ = nullptr;
  bool restart_ = false;
  bool endOfImage_ = false;
};
