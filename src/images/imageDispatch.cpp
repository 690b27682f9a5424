// Choosing the reader by extension, and reading whole data files for the readers.
#include <cctype>

#include "images/fwkImage.h"
#include "images/fwkImageGIF.h"
#include "images/fwkImageJPG.h"
#include "images/imageInternal.h"
#include "services/fwkDataFile.h"

namespace {

enum class Reader { None, Ani, Bmp, Icon, Gif, Jpg, Pcx, Tga };

std::string UpperExtension(const std::string& fileName) {
  size_t dot = fileName.rfind('.');
  if (dot == std::string::npos) return "";
  std::string extension = fileName.substr(dot);
  for (char& c : extension) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return extension;
}

Reader ReaderFor(const std::string& fileName) {
  const std::string extension = UpperExtension(fileName);
  if (extension == ".ANI") return Reader::Ani;
  if (extension == ".BMP") return Reader::Bmp;
  if (extension == ".CUR" || extension == ".ICO") return Reader::Icon;
  if (extension == ".GIF") return Reader::Gif;
  if (extension == ".JPG") return Reader::Jpg;
  if (extension == ".PCX") return Reader::Pcx;
  if (extension == ".TGA") return Reader::Tga;
  return Reader::None;
}

void Decode(Reader reader, ImageBytes& bytes, imageData*& image, int32_t first, int32_t count) {
  ImageBudget budget = reader == Reader::Ani || reader == Reader::Icon
                           ? ImageBudget::ForIcons(bytes.Size())
                           : ImageBudget::ForPicture(bytes.Size());
  switch (reader) {
    case Reader::Ani: ImageDecodeAni(bytes, image, budget); break;
    case Reader::Bmp: ImageDecodeBmp(bytes, image, budget); break;
    case Reader::Icon: ImageDecodeIcon(bytes, image, budget, first, count); break;
    case Reader::Gif: ImageDecodeGif(bytes, image, budget); break;
    case Reader::Jpg: ImageDecodeJpg(bytes, image, budget); break;
    case Reader::Pcx: ImageDecodePcx(bytes, image, budget); break;
    case Reader::Tga: ImageDecodeTga(bytes, image, budget); break;
    case Reader::None: break;
  }
}

void ReadFile(Reader reader, const std::string& fileName, imageData*& image, int32_t first,
              int32_t count) {
  std::vector<uint8_t> data;
  if (!ImageFileBytes(fileName, data)) return;
  ImageBytes bytes(data.data(), data.size());
  Decode(reader, bytes, image, first, count);
}

}  // namespace

bool ImageFileBytes(const std::string& fileName, std::vector<uint8_t>& bytes) {
  bytes.clear();
  const int32_t handle = DataFileOpen(fileName);
  if (handle == 0) return false;
  const int32_t size = DataFileSize(handle);
  if (size > 0) {
    bytes.resize(static_cast<size_t>(size));
    const int32_t got = DataFileReadPartial(handle, bytes.data(), size);
    bytes.resize(static_cast<size_t>(got < 0 ? 0 : got));
  }
  DataFileClose(handle);
  return true;
}

imageData* ImageFirstFrame(imageData*& image) { return image != nullptr ? image : ImageAdd(image); }

void ImageOpen(const std::string& fileName, imageData*& image) {
  if (image == nullptr) ImageAdd(image);
  ImageLoad(fileName, image, 0, 0);
}

void ImageLoad(const std::string& fileName, imageData*& image, int32_t first, int32_t count) {
  const Reader reader = ReaderFor(fileName);
  if (reader == Reader::None) return;
  ReadFile(reader, fileName, image, first, count);
}

void ImageLoadMemory(const std::string& fileName, const uint8_t* data, size_t size,
                     imageData*& image, int32_t first, int32_t count) {
  ImageBytes bytes(data, data == nullptr ? 0 : size);
  Decode(ReaderFor(fileName), bytes, image, first, count);
}

bool ImageIsSupported(const std::string& fileName) {
  const std::string extension = UpperExtension(fileName);
  for (const char* known :
       {".ANI", ".AVI", ".BMP", ".CUR", ".GIF", ".ICO", ".JPG", ".PCX", ".TGA"}) {
    if (extension == known) return true;
  }
  return false;
}

void ImageReadBmp(const std::string& fileName, imageData*& image) {
  ReadFile(Reader::Bmp, fileName, image, 0, 0);
}
void ImageReadTga(const std::string& fileName, imageData*& image) {
  ReadFile(Reader::Tga, fileName, image, 0, 0);
}
void ImageReadPcx(const std::string& fileName, imageData*& image) {
  ReadFile(Reader::Pcx, fileName, image, 0, 0);
}
void ImageReadIcon(const std::string& fileName, imageData*& image, int32_t first, int32_t count) {
  ReadFile(Reader::Icon, fileName, image, first, count);
}
void ImageReadAni(const std::string& fileName, imageData*& image, int32_t first, int32_t count) {
  ReadFile(Reader::Ani, fileName, image, first, count);
}
void ImageReadGif(const std::string& fileName, imageData*& image) {
  ReadFile(Reader::Gif, fileName, image, 0, 0);
}
void ImageReadJpg(const std::string& fileName, imageData*& image) {
  ReadFile(Reader::Jpg, fileName, image, 0, 0);
}
