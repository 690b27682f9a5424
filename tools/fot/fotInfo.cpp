#include "fotInfo.h"

#include "graphics/fwkFontFormat.h"

#include <fstream>
#include <sstream>

bool FotInfo(const std::string& path, std::string& report, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot open " + path;
    return false;
  }
  fontReader reader;
  reader.read = [&in](void* destination, int32_t count) {
    in.read(static_cast<char*>(destination), count);
    return in.gcount() == count;
  };
  reader.atEnd = [&in]() { return in.peek() == std::ifstream::traits_type::eof(); };

  fontFileHeader header;
  if (!FontFileReadHeader(reader, path, header, error)) return false;
  std::ostringstream out;
  out << "version " << int(header.major) << "." << int(header.minor) << "\n"
      << "name " << header.name << "\n"
      << "codes " << int(header.first) << " to " << int(header.last) << "\n"
      << "height " << int(header.height) << "\n";
  int32_t images = 0;
  int32_t glyphs = 0;
  while (!reader.atEnd()) {
    fontFileImage image;
    if (!FontFileReadImage(reader, path, image, error)) return false;
    ++images;
    glyphs += static_cast<int32_t>(image.widths.size());
    out << "image " << images << ": " << image.widths.size() << " glyphs, codes "
        << int(image.first) << " to " << int(image.last) << "\n";
  }
  out << images << " images, " << glyphs << " glyphs\n";
  report = out.str();
  return true;
}
