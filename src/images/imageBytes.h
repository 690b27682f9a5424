// Bounded little- and big-endian reading over a file held in memory. Every read reports a
// short read instead of going past the end, which is what makes the readers safe on any input.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

class ImageBytes {
 public:
  ImageBytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  size_t Size() const { return size_; }
  size_t Position() const { return position_; }
  size_t Remaining() const { return size_ - position_; }
  const uint8_t* Here() const { return data_ + position_; }
  const uint8_t* Data() const { return data_; }

  bool Seek(uint64_t position) {
    if (position > size_) return false;
    position_ = static_cast<size_t>(position);
    return true;
  }
  bool Skip(uint64_t count) {
    if (count > Remaining()) {
      position_ = size_;
      return false;
    }
    position_ += static_cast<size_t>(count);
    return true;
  }
  bool Read(void* destination, size_t count) {
    if (count > Remaining()) return false;
    std::memcpy(destination, data_ + position_, count);
    position_ += count;
    return true;
  }
  bool U8(uint8_t& value) {
    if (position_ >= size_) return false;
    value = data_[position_++];
    return true;
  }
  bool U16(uint16_t& value) {
    uint8_t b[2];
    if (!Read(b, 2)) return false;
    value = static_cast<uint16_t>(b[0] | b[1] << 8);
    return true;
  }
  bool U32(uint32_t& value) {
    uint8_t b[4];
    if (!Read(b, 4)) return false;
    value = static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
            static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24;
    return true;
  }
  bool U16BigEndian(uint16_t& value) {
    uint8_t b[2];
    if (!Read(b, 2)) return false;
    value = static_cast<uint16_t>(b[0] << 8 | b[1]);
    return true;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t position_ = 0;
};

inline uint16_t ImageLe16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
inline uint32_t ImageLe32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}
