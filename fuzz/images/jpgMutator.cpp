// Structure-aware mutation for the JPEG target: the markers, tables, frame and scan headers stay
// as they are while the entropy-coded data of a scan changes. The data is taken without its
// byte stuffing, mutated, and stuffed again, so the reader sees Huffman codes, not markers;
// restart markers are sometimes added or moved, and the restart interval sometimes changed.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

namespace {

struct Scan {
  size_t dataStart = 0;  // first byte after the scan header
  size_t dataEnd = 0;    // the 0xFF of the marker that ends the data, or the end of the file
};

// Every scan's data in the file.
std::vector<Scan> FindScans(const uint8_t* p, size_t size, size_t& restartIntervalAt) {
  std::vector<Scan> scans;
  restartIntervalAt = 0;
  size_t at = 2;
  if (size < 4 || p[0] != 0xFF || p[1] != 0xD8) return scans;
  while (at + 4 <= size) {
    if (p[at] != 0xFF) return scans;
    const uint8_t code = p[at + 1];
    if (code == 0xD9) return scans;
    const size_t length = static_cast<size_t>(p[at + 2]) << 8 | p[at + 3];
    if (length < 2 || at + 2 + length > size) return scans;
    if (code == 0xDD && length == 4) restartIntervalAt = at + 4;
    at += 2 + length;
    if (code != 0xDA) continue;
    Scan scan;
    scan.dataStart = at;
    while (at < size && !(p[at] == 0xFF && at + 1 < size && p[at + 1] != 0 &&
                          (p[at + 1] < 0xD0 || p[at + 1] > 0xD7)))
      ++at;
    scan.dataEnd = at;
    scans.push_back(scan);
  }
  return scans;
}

// The coded bytes without stuffing; restart markers stay in as the pairs FF Dn.
std::vector<uint8_t> Unstuff(const uint8_t* p, size_t size) {
  std::vector<uint8_t> out;
  for (size_t i = 0; i < size; ++i) {
    out.push_back(p[i]);
    if (p[i] == 0xFF && i + 1 < size && p[i + 1] == 0) ++i;
  }
  return out;
}

// Stuffs every FF that does not begin a restart marker.
std::vector<uint8_t> Stuff(const std::vector<uint8_t>& data) {
  std::vector<uint8_t> out;
  for (size_t i = 0; i < data.size(); ++i) {
    out.push_back(data[i]);
    if (data[i] != 0xFF) continue;
    if (i + 1 < data.size() && data[i + 1] >= 0xD0 && data[i + 1] <= 0xD7) {
      out.push_back(data[++i]);
    } else {
      out.push_back(0);
    }
  }
  return out;
}

}  // namespace

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize,
                                          unsigned int seed) {
  std::minstd_rand random(seed);
  size_t restartIntervalAt = 0;
  const std::vector<Scan> scans = FindScans(data, size, restartIntervalAt);
  if (random() % 8 == 0 || scans.empty()) return LLVMFuzzerMutate(data, size, maxSize);
  if (restartIntervalAt != 0 && random() % 8 == 0) {
    data[restartIntervalAt] = 0;
    data[restartIntervalAt + 1] = static_cast<uint8_t>(random() % 8);
    return size;
  }
  const Scan& scan = scans[random() % scans.size()];
  std::vector<uint8_t> coded = Unstuff(data + scan.dataStart, scan.dataEnd - scan.dataStart);
  if (random() % 4 == 0) {
    // A restart marker somewhere, numbered as the next one would be or not.
    const size_t at = coded.empty() ? 0 : random() % coded.size();
    const uint8_t marker = static_cast<uint8_t>(0xD0 + random() % 8);
    coded.insert(coded.begin() + static_cast<long>(at), {0xFF, marker});
  } else {
    const size_t used = coded.size();
    coded.resize(used + 64);
    coded.resize(LLVMFuzzerMutate(coded.data(), used, coded.size()));
  }
  const std::vector<uint8_t> stuffed = Stuff(coded);
  std::vector<uint8_t> out(data, data + scan.dataStart);
  out.insert(out.end(), stuffed.begin(), stuffed.end());
  out.insert(out.end(), data + scan.dataEnd, data + size);
  if (out.size() > maxSize) return LLVMFuzzerMutate(data, size, maxSize);
  std::memcpy(data, out.data(), out.size());
  return out.size();
}
