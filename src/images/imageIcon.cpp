// Icons and cursors: a directory of entries, each a bitmap with a mask. Entries first to
// count become frames; earlier entries are decoded into a scratch frame and dropped.
#include <algorithm>
#include <map>
#include <vector>

#include "images/imageIconFrame.h"

namespace {

constexpr uint8_t kPngStart[4] = {137, 80, 78, 71};
constexpr uint32_t kIconMaskTopByte = 255;

bool IsPng(const ImageBytes& bytes) {
  if (bytes.Remaining() < 4) return false;
  const uint8_t* p = bytes.Here();
  return p[0] == kPngStart[0] && p[1] == kPngStart[1] && p[2] == kPngStart[2] &&
         p[3] == kPngStart[3];
}

// The pixels, size, depth and palette of an earlier frame.
bool CopyFrame(const imageData& from, imageData* frame, ImageBudget& budget) {
  if (!budget.Allocate(frame, from.width, from.height)) return false;
  frame->pixels = from.pixels;
  frame->bitsPerPixel = from.bitsPerPixel;
  std::copy(std::begin(from.palette), std::end(from.palette), frame->palette);
  frame->loaded = 1;
  return true;
}

}  // namespace

void ImageDecodeIcon(ImageBytes& bytes, imageData*& image, ImageBudget& budget, int32_t first,
                     int32_t count) {
  imageData* firstFrame = ImageFirstFrame(image);
  uint8_t directory[6];
  if (!bytes.Read(directory, sizeof directory)) {
    ImageSetError(firstFrame);
    return;
  }
  const int32_t n = ImageLe16(directory + 4);
  if (uint64_t{16} * static_cast<uint64_t>(n) > bytes.Remaining()) {
    ImageSetError(firstFrame);
    return;
  }
  std::vector<uint32_t> offsets(static_cast<size_t>(n));
  for (int32_t e = 0; e < n; ++e) {
    uint8_t entry[16];
    if (!bytes.Read(entry, sizeof entry)) {
      ImageSetError(firstFrame);
      return;
    }
    offsets[static_cast<size_t>(e)] = ImageLe32(entry + 12);
  }
  if (first <= 0) first = 1;
  if (n < first) {
    ImageSetError(firstFrame);
    return;
  }
  const int32_t last = count <= 0 ? n : (count < n ? count : n);
  // Kept frames by the offset they were decoded from: an entry that names the same image again
  // gets a copy, and the copy counts against the budget like a decode.
  std::map<uint32_t, const imageData*> decodedAt;
  for (int32_t e = 1; e <= last; ++e) {
    imageData* scratch = nullptr;
    imageData* frame = e < first ? ImageAdd(scratch) : e == first ? firstFrame : ImageAdd(image);
    frame->frameNumber = e;
    const uint32_t offset = offsets[static_cast<size_t>(e - 1)];
    const auto seen = decodedAt.find(offset);
    if (seen != decodedAt.end()) {
      if (!CopyFrame(*seen->second, frame, budget)) {
        ImageSetError(frame);
        return;
      }
      continue;
    }
    bool decoded = false;
    if (bytes.Seek(offset)) {
      if (IsPng(bytes)) {
        ImageSetError(frame);
        ImageFree(scratch);
        continue;
      }
      decoded = IconDecodeImage(bytes, frame, budget, kIconMaskTopByte);
    }
    ImageFree(scratch);
    if (decoded && e >= first) decodedAt.emplace(offset, frame);
    if (!decoded) {
      // A damaged entry before the first wanted one spoils the caller's frame, not the scratch.
      ImageSetError(e < first ? firstFrame : frame);
      return;
    }
  }
}
