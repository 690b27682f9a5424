// Animated cursors: a RIFF file whose "icon" chunks each hold an icon; every image in them
// becomes a frame, in file order. Timing and sequence chunks are skipped.
#include <cctype>
#include <string>

#include "images/imageIconFrame.h"

namespace {

constexpr uint32_t kCursorMaskTopByte = 1;

bool ReadTag(ImageBytes& bytes, std::string& tag) {
  char raw[4];
  if (!bytes.Read(raw, sizeof raw)) return false;
  tag.assign(raw, sizeof raw);
  for (char& c : tag) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return true;
}

class FrameSource {
 public:
  explicit FrameSource(imageData*& image) : image_(image) {}
  imageData* Next() {
    if (!usedFirst_) {
      usedFirst_ = true;
      return ImageFirstFrame(image_);
    }
    return ImageAdd(image_);
  }

 private:
  imageData*& image_;
  bool usedFirst_ = false;
};

// One icon chunk; false when an image in it is damaged (its frame is then the error picture).
bool DecodeIconChunk(ImageBytes& bytes, FrameSource& frames, ImageBudget& budget,
                     int32_t chunkNumber) {
  uint8_t directory[6];
  if (!bytes.Read(directory, sizeof directory) ||
      !bytes.Skip(uint64_t{ImageLe16(directory + 4)} * 16)) {
    imageData* frame = frames.Next();
    frame->frameNumber = chunkNumber;
    ImageSetError(frame);
    return false;
  }
  const int n = ImageLe16(directory + 4);
  for (int i = 0; i < n; ++i) {
    imageData* frame = frames.Next();
    frame->frameNumber = chunkNumber;
    if (!IconDecodeImage(bytes, frame, budget, kCursorMaskTopByte)) {
      ImageSetError(frame);
      return false;
    }
  }
  return true;
}

}  // namespace

void ImageDecodeAni(ImageBytes& bytes, imageData*& image, ImageBudget& budget) {
  std::string tag;
  uint32_t riffSize = 0;
  if (!ReadTag(bytes, tag) || tag != "RIFF" || !bytes.U32(riffSize)) {
    ImageSetError(ImageFirstFrame(image));
    return;
  }
  FrameSource frames(image);
  int32_t chunkNumber = 0;
  while (ReadTag(bytes, tag)) {
    if (tag == "ACON" || tag == "FRAM" || tag == "INFO") continue;
    uint32_t stored = 0;
    if (!bytes.U32(stored)) return;
    const uint64_t size = uint64_t{stored} + (stored & 1);
    if (tag == "LIST") continue;
    if (tag == "ICON") {
      const uint64_t end = bytes.Position() + size;
      if (!DecodeIconChunk(bytes, frames, budget, ++chunkNumber)) return;
      if (!bytes.Seek(end)) return;
      continue;
    }
    if (!bytes.Skip(size)) return;
  }
}
